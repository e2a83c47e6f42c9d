#include "platform/posix/posix_processes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace hrln::test {
namespace {

namespace fs = std::filesystem;
using platform::posix::PosixProcesses;

bool Eventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::string Slurp(const fs::path& file)
{
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Field `n` (from 1) of /proc/<pid>/stat.
long StatField(pid_t pid, int n)
{
    const std::string stat = Slurp("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream rest(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= n; ++i)
        rest >> field;
    return std::stol(field);
}

class PosixProcessesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "hrln-processes-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        // Writes its folder and arguments, one a line, all at once.
        std::ofstream(dir / "record") << "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" > out.tmp && mv out.tmp out\n";
        fs::permissions(dir / "record", fs::perms::owner_all);
    }
    void TearDown() override
    {
        for (pid_t pid : sleepers)
            kill(pid, SIGKILL);
        fs::remove_all(dir);
    }
    pid_t startSleeper(platform::ProcessPriority priority)
    {
        const auto result = processes.createProcess("sleep 60", "", priority, 1);
        EXPECT_TRUE(result.created);
        sleepers.push_back(processes.lastProcess());
        return processes.lastProcess();
    }

    fs::path dir;
    PosixProcesses processes;
    std::vector<pid_t> sleepers;
};

TEST_F(PosixProcessesTest, ProgramStartsInTheFolderWithShellLikeArgumentsButNoShell)
{
    ASSERT_EQ(processes.shellOpen((dir / "record").string(), R"(one "two three" $HOME;ls)", dir.string(), 1),
              PosixProcesses::kStarted);
    ASSERT_TRUE(Eventually([&] { return fs::exists(dir / "out"); }));
    EXPECT_EQ(Slurp(dir / "out"), dir.string() + "\none\ntwo three\n$HOME;ls\n");
    // Found on PATH by its bare name as well.
    EXPECT_EQ(processes.shellOpen("true", "", "", 1), PosixProcesses::kStarted);
}

TEST_F(PosixProcessesTest, FailuresGiveTheWindowsStyleCodes)
{
    EXPECT_EQ(processes.shellOpen((dir / "missing").string(), "", "", 1), platform::kStartFileNotFound);
    EXPECT_EQ(processes.shellOpen("no-such-program-anywhere", "", "", 1), platform::kStartFileNotFound);
    EXPECT_EQ(processes.shellOpen((dir / "nowhere" / "prog").string(), "", "", 1), platform::kStartPathNotFound);
    EXPECT_EQ(processes.shellOpen("true", "", (dir / "nowhere").string(), 1), platform::kStartPathNotFound);
    EXPECT_EQ(processes.shellOpen("", "", "", 1), platform::kStartFileNotFound);
    // Marked executable, but nothing the system can run.
    std::ofstream(dir / "garbage") << "\x7f" "ELF not really";
    fs::permissions(dir / "garbage", fs::perms::owner_all);
    const int garbage = processes.shellOpen((dir / "garbage").string(), "", "", 1);
    EXPECT_GT(garbage, 0);
    EXPECT_LT(garbage, platform::kFirstStartSuccess);

    // A document without the desktop's opener has no association.
    std::ofstream(dir / "notes.txt") << "text";
    const std::string path = std::getenv("PATH");
    setenv("PATH", dir.string().c_str(), 1);
    const int document = processes.shellOpen((dir / "notes.txt").string(), "", "", 1);
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(document, platform::kStartNoAssociation);
}

TEST_F(PosixProcessesTest, AdvancedStartIsPolledWithoutBlockingAndLeavesNoZombie)
{
    EXPECT_FALSE(processes.processStillRunning());  // none yet
    const pid_t pid = startSleeper(platform::ProcessPriority::Normal);
    EXPECT_TRUE(processes.processStillRunning());
    kill(pid, SIGTERM);
    EXPECT_TRUE(Eventually([&] { return !processes.processStillRunning(); }));
    EXPECT_FALSE(fs::exists("/proc/" + std::to_string(pid)));  // reaped, not a zombie

    // Programs nobody waits for are reaped by later calls.
    ASSERT_EQ(processes.shellOpen("true", "", "", 1), PosixProcesses::kStarted);
    ASSERT_TRUE(processes.createProcess("true", "", platform::ProcessPriority::Normal, 1).created);
    ASSERT_TRUE(processes.createProcess("true", "", platform::ProcessPriority::Normal, 1).created);
    EXPECT_TRUE(Eventually([&] {
        processes.processStillRunning();
        return processes.unreapedChildren() == 0;
    }));
}

TEST_F(PosixProcessesTest, AdvancedStartFailsWithTheSystemsCode)
{
    const auto missing = processes.createProcess("no-such-program-anywhere --flag", "", platform::ProcessPriority::Normal, 1);
    EXPECT_FALSE(missing.created);
    EXPECT_EQ(missing.errorCode, ENOENT);
    EXPECT_FALSE(processes.createProcess("   ", "", platform::ProcessPriority::Normal, 1).created);
    EXPECT_FALSE(processes.createProcess("true", (dir / "nowhere").string(), platform::ProcessPriority::Normal, 1).created);
    EXPECT_FALSE(processes.processStillRunning());
}

TEST_F(PosixProcessesTest, PriorityClassesBecomeSchedulingPriorities)
{
    const long ourNice = getpriority(PRIO_PROCESS, 0);
    const pid_t idle = startSleeper(platform::ProcessPriority::Idle);
    const pid_t normal = startSleeper(platform::ProcessPriority::Normal);
    const pid_t high = startSleeper(platform::ProcessPriority::High);
    constexpr int kPolicy = 41;
    constexpr int kNice = 19;
    EXPECT_EQ(StatField(idle, kPolicy), SCHED_IDLE);
    EXPECT_EQ(StatField(normal, kPolicy), SCHED_OTHER);
    EXPECT_EQ(StatField(normal, kNice), ourNice);
    EXPECT_EQ(StatField(high, kPolicy), SCHED_OTHER);
    rlimit limit{};
    getrlimit(RLIMIT_NICE, &limit);
    const bool mayRaise = geteuid() == 0 || 20 - static_cast<long>(limit.rlim_cur) < ourNice;
    if (mayRaise)
        EXPECT_LT(StatField(high, kNice), ourNice);
    else
        EXPECT_EQ(StatField(high, kNice), ourNice);
}

// An ordinary user may not raise a priority: the start says so instead of
// quietly running at ours. Run in a child that is such a user.
TEST_F(PosixProcessesTest, HighPriorityRefusedIsSaid)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(3);
        rlimit limit{};
        getrlimit(RLIMIT_NICE, &limit);
        if (20 - static_cast<long>(limit.rlim_cur) < getpriority(PRIO_PROCESS, 0))
            _exit(4);  // this user may raise after all: nothing to see
        PosixProcesses ordinary;
        const auto high = ordinary.createProcess("sleep 30", "", platform::ProcessPriority::High, 1);
        const auto normal = ordinary.createProcess("sleep 30", "", platform::ProcessPriority::Normal, 1);
        kill(static_cast<pid_t>(high.processId), SIGKILL);
        kill(static_cast<pid_t>(normal.processId), SIGKILL);
        _exit(high.created && high.priorityRefused && normal.created && !normal.priorityRefused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 4)
        GTEST_SKIP() << "this user may raise priorities";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    if (geteuid() == 0) {
        // And one who may is not told otherwise.
        const auto raised = processes.createProcess("sleep 30", "", platform::ProcessPriority::High, 1);
        sleepers.push_back(processes.lastProcess());
        EXPECT_FALSE(raised.priorityRefused);
    }
}

}  // namespace
}  // namespace hrln::test
