#pragma once

#include <iosfwd>
#include <string>

namespace zentrova::launcher {

inline constexpr const char* VERSION = "v2.0";
inline constexpr const char* RUNTIME = "java.exe";
inline constexpr const char* RUNTIME_OPTIONS = "-Xms128m -Xmx1024m -jar";
inline constexpr const char* BANNER_PREFIX = "TolvexLauncher ";
inline constexpr const char* PROBE_ARGUMENT = "-version";
inline constexpr const char* ERROR_LINE_1 =
    "\n\nERROR!!! No Java Virtual Machine installed or cannot be found in command path.";
inline constexpr const char* DOWNLOAD_ADDRESS = "https://www.java.com/en/download";
inline constexpr int EXIT_NO_RUNTIME = 101;

// "java.exe -Xms128m -Xmx1024m -jar \"<argv0>\"": argv0 exactly as received, nothing resolved or escaped.
std::string launchCommand(const std::string& argv0);
std::string secondErrorLine();

// The whole launcher: banner, command, probe, then the detached start or the two error lines.
// Answers the exit status.
int run(int argc, char** argv, std::ostream& out);

} // namespace zentrova::launcher
