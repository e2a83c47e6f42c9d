// The gate that holds a task's programs until its occurrence is recorded,
// with the real gate program, database and processes.
#include "data/database.h"
#include "data/stations.h"
#include "platform/posix/posix_processes.h"
#include "platform/posix/station_probe.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace hrln::test {
namespace {

namespace fs = std::filesystem;
using platform::posix::PosixProcesses;

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class StartGateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(db.create(), data::kOk);
        ASSERT_NE(stations.keepAlive(1'000), 0);
        // Occurrence 1 is recorded, occurrence 2 never is.
        ASSERT_EQ(db.begin(), data::kOk);
        ASSERT_EQ(stations.record(1, 7, 1'000), data::kOk);
        ASSERT_EQ(db.commit(), data::kOk);
    }

    // Starts a program that leaves `marker` behind, while occurrence `serial` is held.
    void startHeld(PosixProcesses& processes, std::int64_t serial, const std::string& marker)
    {
        processes.hold(db.path(), stations.id(), serial);
        ASSERT_EQ(processes.shellOpen("/bin/sh", "-c 'echo ran > " + marker + "'", dir.path().string(), 1),
                  PosixProcesses::kStarted);
    }

    bool exists(const std::string& marker) const { return fs::exists(dir.path() / marker); }

    TempDir dir;
    data::Database db{dir.file("HRLN.TPS"), data::MainLayout()};
    platform::posix::PosixStationProbe probe;
    data::Stations stations{db, probe};
};

TEST_F(StartGateTest, HeldProgramsRunOnlyWhenReleasedToRun)
{
    PosixProcesses processes(HRLN_GATE_PROGRAM);
    startHeld(processes, 1, "go");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(exists("go"));  // waiting at the gate
    processes.release(true);
    EXPECT_TRUE(Eventually([&] { return exists("go"); }));

    startHeld(processes, 1, "stop");
    processes.release(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(exists("stop"));
}

// The scheduler dies between its record and its word: each held program asks
// the journal, and runs exactly when its occurrence was recorded.
TEST_F(StartGateTest, ProgramsOfADeadSchedulerAskTheJournal)
{
    // Each "scheduler" holds one occurrence's program and dies without a word.
    const auto dieHolding = [&](std::int64_t serial, const std::string& marker) {
        const pid_t scheduler = fork();
        ASSERT_GE(scheduler, 0);
        if (scheduler == 0) {
            PosixProcesses processes(HRLN_GATE_PROGRAM);
            processes.hold(db.path(), stations.id(), serial);
            const int started =
                processes.shellOpen("/bin/sh", "-c 'echo ran > " + marker + "'", dir.path().string(), 1);
            _exit(started == PosixProcesses::kStarted ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(scheduler, &status, 0), scheduler);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    };
    dieHolding(1, "recorded");
    dieHolding(2, "unrecorded");
    EXPECT_TRUE(Eventually([&] { return exists("recorded"); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(exists("unrecorded"));
}

// A dying scheduler's gate can close before its last descriptors, and its
// locks with them: a held program decides only once the scheduler is gone,
// so a commit it made at the very end counts. Here the scheduler closes its
// gates itself, then records and ends.
TEST_F(StartGateTest, AHeldProgramAsksTheJournalOnlyOnceItsSchedulerIsGone)
{
    const std::string path = db.path();
    const pid_t scheduler = fork();
    ASSERT_GE(scheduler, 0);
    if (scheduler == 0) {
        // Its own connection: the parent's is not for a child's use.
        data::Database own(path, data::MainLayout());
        platform::posix::PosixStationProbe ownProbe;
        data::Stations self(own, ownProbe);
        if (own.open() != data::kOk || self.keepAlive(1'000) == 0)
            _exit(1);
        PosixProcesses processes(HRLN_GATE_PROGRAM);
        processes.hold(path, self.id(), 3);
        if (processes.shellOpen("/bin/sh", "-c 'echo ran > late'", dir.path().string(), 1) != PosixProcesses::kStarted)
            _exit(1);
        for (int fd = 3; fd < 1024; ++fd) {
            struct stat st {};
            if (fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode))
                close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const bool recorded =
            own.begin() == data::kOk && self.record(3, 7, 1'000) == data::kOk && own.commit() == data::kOk;
        _exit(recorded ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(scheduler, &status, 0), scheduler);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(Eventually([&] { return exists("late"); }));
}

TEST(ChildReapingTest, AnEndedProgramIsCollectedWithoutAnotherStart)
{
    PosixProcesses processes;
    ASSERT_EQ(processes.shellOpen("/bin/sh", "-c 'exit 0'", "", 1), PosixProcesses::kStarted);
    ASSERT_TRUE(processes.createProcess("true", "", platform::ProcessPriority::Normal, 1).created);
    const pid_t child = processes.lastProcess();
    EXPECT_TRUE(Eventually([&] {
        processes.reapEnded();
        return processes.unreapedChildren() == 0;
    }));
    EXPECT_FALSE(fs::exists("/proc/" + std::to_string(child)));
    EXPECT_FALSE(processes.processStillRunning());
}

}  // namespace
}  // namespace hrln::test
