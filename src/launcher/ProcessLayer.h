#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zentrova::launcher {

// Starting programs by name, the way the launcher's platform does it: the executable is looked up first in
// the current folder, then in each folder of PATH (entries split at the platform's separator, double quotes
// inside an entry dropped, a directory separator added when missing). The child gets a command line: the
// argument strings joined with single blanks, no quoting added; the child splits it into its argument
// vector by the platform's rules (blanks separate, double quotes group and are dropped).

#ifdef _WIN32
inline constexpr char PATH_SEPARATOR = ';';
#else
inline constexpr char PATH_SEPARATOR = ':';
#endif

// The folders searched for a bare name, in order (the current folder first).
std::vector<std::string> searchFolders(const char* pathVariable);
// The full path of the executable named `name`, or nothing.
std::optional<std::string> findExecutable(const std::string& name, const char* pathVariable);
// How a child splits its command line into arguments.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

struct WaitResult {
    bool started = false;
    bool signalled = false;
    int status = 0; // the exit status as a signed 32-bit number, when not signalled
};

// Starts `name` with the command line and waits for it to end.
WaitResult runAndWait(const std::string& name, const std::string& commandLine);
// Starts `name` detached: its own session, no terminal shared, standard streams on the null device,
// and no zombie left behind. The outcome is not reported.
void startDetached(const std::string& name, const std::string& commandLine);

} // namespace zentrova::launcher
