#include "Launcher.h"

#include "ProcessLayer.h"

#include <ostream>

namespace zentrova::launcher {

std::string launchCommand(const std::string& argv0)
{
    return std::string(RUNTIME) + " " + RUNTIME_OPTIONS + " \"" + argv0 + "\"";
}

std::string secondErrorLine()
{
    return std::string("Go to \"") + DOWNLOAD_ADDRESS + "\" to download and install a JVM";
}

int run(int argc, char** argv, std::ostream& out)
{
    const std::string command = launchCommand(argc > 0 && argv[0] ? argv[0] : "");
    out << BANNER_PREFIX << VERSION << '\n' << std::flush;
    out << command << '\n' << std::flush;

    const WaitResult probe = runAndWait(RUNTIME, std::string(RUNTIME) + " " + PROBE_ARGUMENT);
    if (!probe.started || probe.signalled || probe.status > 0) {
        out << ERROR_LINE_1 << '\n' << std::flush;
        out << secondErrorLine() << '\n' << std::flush;
        return EXIT_NO_RUNTIME;
    }
    startDetached(RUNTIME, command);
    return 0;
}

} // namespace zentrova::launcher
