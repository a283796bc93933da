#include "app/ZentrovaMain.h"

int main(int argc, char** argv)
{
    return zentrova::ZentrovaMain::main(argc, argv);
}
