// Runs the real launcher binary against a fake runtime, a script named "java.exe" that records its
// argument vector and exits with a chosen status.
#include "Launcher.h"
#include "ProcessLayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zentrova::launcher;

namespace {

std::string slurp(const fs::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct LaunchResult {
    std::string out;
    int status = -1;
};

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/launcher-test-XXXXXX";
        root = mkdtemp(tmpl);
        fs::create_directories(root / "bin dir");
        fs::create_directories(root / "work");
        fs::copy_file(LAUNCHER_BINARY, root / "bin dir" / "tool.exe");
    }
    void TearDown() override { fs::remove_all(root); }

    // A fake runtime in `folder`: the probe ("-version") exits with probeStatus (or kills itself with
    // a signal when negative); the launch records its arguments, one a line, in launch.txt.
    void fakeRuntime(const fs::path& folder, int probeStatus)
    {
        fs::create_directories(folder);
        const fs::path script = folder / "java.exe";
        std::ofstream f(script);
        f << "#!/bin/sh\n"
          << "if [ \"$1\" = -version ]; then\n"
          << "  printf '%s\\n' \"$0\" \"$@\" > '" << (root / "probe.txt").string() << "'\n"
          << "  echo 'fake runtime version 1'\n";
        if (probeStatus < 0)
            f << "  kill -KILL $$\n";
        f << "  exit " << (probeStatus < 0 ? 0 : probeStatus) << "\nfi\n"
          << "printf '%s\\n' \"$@\" > '" << (root / "launch.tmp").string() << "'\n"
          << "/bin/mv '" << (root / "launch.tmp").string() << "' '" << (root / "launch.txt").string() << "'\n";
        f.close();
        fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    }

    // Runs the launcher from `cwd` as argv0 with extra arguments and the given PATH (unset when null).
    LaunchResult launch(const std::string& argv0, const fs::path& cwd, const char* path, std::vector<std::string> extra = {})
    {
        int pipefd[2];
        EXPECT_EQ(pipe(pipefd), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(pipefd[1], 1);
            close(pipefd[0]);
            if (chdir(cwd.c_str()) != 0)
                _exit(120);
            if (path)
                setenv("PATH", path, 1);
            else
                unsetenv("PATH");
            std::vector<char*> argv{const_cast<char*>(argv0.c_str())};
            for (auto& e : extra)
                argv.push_back(e.data());
            argv.push_back(nullptr);
            execv((root / "bin dir" / "tool.exe").c_str(), argv.data());
            _exit(121);
        }
        close(pipefd[1]);
        LaunchResult r;
        char buf[4096];
        ssize_t n;
        while ((n = read(pipefd[0], buf, sizeof buf)) > 0)
            r.out.append(buf, static_cast<size_t>(n));
        close(pipefd[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    }

    std::string waitForLaunch()
    {
        const fs::path p = root / "launch.txt";
        for (int i = 0; i < 500 && !fs::exists(p); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return slurp(p);
    }

    fs::path root;
};

const std::string BANNER = "TolvexLauncher v2.0\n";
const std::string ERRORS = "\n\nERROR!!! No Java Virtual Machine installed or cannot be found in command path.\n"
                           "Go to \"https://www.java.com/en/download\" to download and install a JVM\n";

} // namespace

TEST_F(LauncherTest, PathWithBlanksReachesTheRuntimeAsOneArgument)
{
    fakeRuntime(root / "jre", 0);
    const std::string self = (root / "bin dir" / "tool.exe").string();
    const std::string path = (root / "jre").string() + ":/usr/bin:/bin";
    const LaunchResult r = launch(self, root / "work", path.c_str(), {"ignored", "also ignored"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, BANNER + "java.exe -Xms128m -Xmx1024m -jar \"" + self + "\"\nfake runtime version 1\n");
    EXPECT_EQ(slurp(root / "probe.txt"), (root / "jre" / "java.exe").string() + "\n-version\n");
    EXPECT_EQ(waitForLaunch(), "-Xms128m\n-Xmx1024m\n-jar\n" + self + "\n");
}

TEST_F(LauncherTest, RelativeNameIsPassedUnchangedAndCurrentFolderComesFirst)
{
    fakeRuntime(root / "work", 0);       // found in the current folder...
    fakeRuntime(root / "elsewhere", 7);  // ...before this one on PATH
    const std::string path = (root / "elsewhere").string() + ":/usr/bin:/bin";
    const LaunchResult r = launch("../bin dir/tool.exe", root / "work", path.c_str());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, BANNER + "java.exe -Xms128m -Xmx1024m -jar \"../bin dir/tool.exe\"\nfake runtime version 1\n");
    EXPECT_EQ(waitForLaunch(), "-Xms128m\n-Xmx1024m\n-jar\n../bin dir/tool.exe\n");
}

TEST_F(LauncherTest, EmptyOrUnsetPathStillFindsTheCurrentFolder)
{
    fakeRuntime(root / "work", 0);
    for (const char* path : {"", static_cast<const char*>(nullptr)}) {
        fs::remove(root / "launch.txt");
        const LaunchResult r = launch("tool.exe", root / "work", path);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, BANNER + "java.exe -Xms128m -Xmx1024m -jar \"tool.exe\"\nfake runtime version 1\n");
        EXPECT_EQ(waitForLaunch(), "-Xms128m\n-Xmx1024m\n-jar\ntool.exe\n");
    }
}

TEST_F(LauncherTest, FailedProbeGivesTheTwoErrorLinesAnd101)
{
    struct Case {
        int probeStatus; // negative: killed by a signal
        bool fails;
    } cases[] = {{0, false}, {1, true}, {255, true}, {-9, true}};
    for (const Case& c : cases) {
        fs::remove(root / "launch.txt");
        fakeRuntime(root / "jre", c.probeStatus);
        const std::string path = (root / "jre").string() + ":/usr/bin:/bin";
        const LaunchResult r = launch("tool.exe", root / "work", path.c_str());
        const std::string head = BANNER + "java.exe -Xms128m -Xmx1024m -jar \"tool.exe\"\nfake runtime version 1\n";
        if (c.fails) {
            EXPECT_EQ(r.status, 101) << c.probeStatus;
            EXPECT_EQ(r.out, head + ERRORS) << c.probeStatus;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            EXPECT_FALSE(fs::exists(root / "launch.txt")) << "nothing is started after a failed probe";
        } else {
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(r.out, head);
            EXPECT_FALSE(waitForLaunch().empty());
        }
    }
}

TEST_F(LauncherTest, MissingRuntime)
{
    const LaunchResult r = launch("tool.exe", root / "work", "/nonexistent");
    EXPECT_EQ(r.status, 101);
    EXPECT_EQ(r.out, BANNER + "java.exe -Xms128m -Xmx1024m -jar \"tool.exe\"\n" + ERRORS);
}

TEST(ProcessLayer, SearchFoldersAndCommandLineSplitting)
{
    EXPECT_EQ(searchFolders("/a:\"/b c\":/d/::"), (std::vector<std::string>{".", "/a/", "/b c/", "/d/"}));
    EXPECT_EQ(searchFolders(nullptr), (std::vector<std::string>{"."}));
    struct Case {
        const char* line;
        std::vector<std::string> args;
    } cases[] = {
        {"java.exe -version", {"java.exe", "-version"}},
        {"java.exe -jar \"C:\\Program Files\\tool.exe\"", {"java.exe", "-jar", "C:\\Program Files\\tool.exe"}},
        {"a  \"\"  b", {"a", "", "b"}},
        {"x \\\"y\\\" z\\\\\"w v\"", {"x", "\"y\"", "z\\w v"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitCommandLine(c.line), c.args) << c.line;
}
