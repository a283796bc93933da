#include "ProcessLayer.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zentrova::launcher {

std::vector<std::string> searchFolders(const char* pathVariable)
{
    std::vector<std::string> folders{"."};
    if (!pathVariable)
        return folders;
    std::string entry;
    auto flush = [&]() {
        if (!entry.empty()) {
            if (entry.back() != '/')
                entry += '/';
            folders.push_back(entry);
        }
        entry.clear();
    };
    for (const char* p = pathVariable; *p; ++p) {
        if (*p == PATH_SEPARATOR)
            flush();
        else if (*p != '"')
            entry += *p;
    }
    flush();
    return folders;
}

std::optional<std::string> findExecutable(const std::string& name, const char* pathVariable)
{
    for (const std::string& folder : searchFolders(pathVariable)) {
        const std::string candidate = folder == "." ? "./" + name : folder + name;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

std::vector<std::string> splitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (c == '\\') {
            // Backslashes are literal unless a double quote follows them.
            std::size_t n = 0;
            while (i < commandLine.size() && commandLine[i] == '\\') {
                ++n;
                ++i;
            }
            if (i < commandLine.size() && commandLine[i] == '"') {
                current.append(n / 2, '\\');
                if (n % 2 == 1)
                    current += '"';
                else
                    quoted = !quoted;
            } else {
                current.append(n, '\\');
                --i;
            }
            inArgument = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                args.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        args.push_back(current);
    return args;
}

namespace {
std::vector<char*> argvOf(std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}
} // namespace

WaitResult runAndWait(const std::string& name, const std::string& commandLine)
{
    WaitResult result;
    const auto path = findExecutable(name, std::getenv("PATH"));
    if (!path)
        return result;
    std::vector<std::string> args = splitCommandLine(commandLine);
    std::vector<char*> argv = argvOf(args);
    pid_t pid = 0;
    if (::posix_spawn(&pid, path->c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return result;
    result.started = true;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.signalled = true;
            return result;
        }
    }
    if (WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    } else {
        result.signalled = true;
    }
    return result;
}

void startDetached(const std::string& name, const std::string& commandLine)
{
    const auto path = findExecutable(name, std::getenv("PATH"));
    if (!path)
        return;
    std::vector<std::string> args = splitCommandLine(commandLine);
    std::vector<char*> argv = argvOf(args);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);
    for (int fd = 0; fd <= 2; ++fd)
        ::posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

    // An intermediate child spawns the program and ends at once, so the program is adopted by init and
    // never waits as a zombie of ours, however long the launcher lives.
    const pid_t middle = ::fork();
    if (middle == 0) {
        pid_t pid = 0;
        ::posix_spawn(&pid, path->c_str(), &actions, &attributes, argv.data(), environ);
        ::_exit(0);
    }
    if (middle > 0) {
        int status = 0;
        while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
        }
    }
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
}

} // namespace zentrova::launcher
