#include "Launcher.h"

#include <iostream>

int main(int argc, char** argv)
{
    return zentrova::launcher::run(argc, argv, std::cout);
}
