// The resident benchmarks' reading of /proc: a misread field would print a
// plausible figure that means nothing, so the parsing is checked on the
// kernel's own layouts and on this very process.
#include "resident/proc_figures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace hrln::bench {
namespace {

TEST(ResidentFiguresTest, StatTicksAreUserPlusSystemWhateverTheCommandName)
{
    // Fields 14 and 15 (utime 31, stime 7); the name holds blanks and a parenthesis.
    const char* line =
        "4242 (Qt (bg) pool) S 1 4242 4242 0 -1 4194560 900 0 3 0 31 7 0 0 20 0 6 0 123 456789 1234 "
        "18446744073709551615 1 1 0 0 0 0 0 4096 0 0 0 0 17 1 0 0 0 0 0\n";
    EXPECT_EQ(StatCpuTicks(line), 38);
    EXPECT_EQ(StatCpuTicks("4242 (short) S 1 2 3"), std::nullopt);
    EXPECT_EQ(StatCpuTicks("4242 short S 1 4242 4242 0 -1 0 0 0 0 0 31 7 0"), std::nullopt);
    EXPECT_EQ(StatCpuTicks("4242 (x) S 1 4242 4242 0 -1 0 0 0 0 0 3x 7 0"), std::nullopt);
}

TEST(ResidentFiguresTest, SchedStatGivesTimeWaitAndRuns)
{
    const auto s = ParseSchedStat("1941895 120 17\n");
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->runNs, 1941895);
    EXPECT_EQ(s->waitNs, 120);
    EXPECT_EQ(s->runs, 17);
    EXPECT_EQ(ParseSchedStat("1941895 120\n"), std::nullopt);
    EXPECT_EQ(ParseSchedStat("a b c"), std::nullopt);
}

TEST(ResidentFiguresTest, KeyedNumberTakesTheWholeKeyOnly)
{
    // SwapPss and Pss_Anon come before Pss here: neither may stand in for it.
    const char* rollup =
        "558f546fc000-7ffcccc8a000 ---p 00000000 00:00 0   [rollup]\n"
        "SwapPss:               9 kB\n"
        "Pss_Anon:            116 kB\n"
        "Rss:                1728 kB\n"
        "Pss:                 327 kB\n";
    EXPECT_EQ(KeyedNumber(rollup, "Rss"), 1728);
    EXPECT_EQ(KeyedNumber(rollup, "Pss"), 327);
    EXPECT_EQ(KeyedNumber(rollup, "Swap"), std::nullopt);
    EXPECT_EQ(KeyedNumber("rchar: 6976\nsyscr: 10\nsyscw: 12", "syscw"), 12);
    EXPECT_EQ(KeyedNumber("syscw:\n", "syscw"), std::nullopt);
}

ProcessSample Sample(long long ticks, long long writes, std::vector<ThreadSample> threads)
{
    ProcessSample s;
    s.cpuTicks = ticks;
    s.writeCalls = writes;
    s.threads = std::move(threads);
    return s;
}

TEST(ResidentFiguresTest, BetweenCountsEachThreadFromItsOwnStart)
{
    const ProcessSample before = Sample(100, 40, {{1, "main", {5'000'000, 0, 300}}, {2, "gone", {9, 0, 50}},
                                                  {3, "QXcbEventQueue", {1'000, 0, 20}}});
    const ProcessSample after = Sample(103, 52, {{1, "main", {6'500'000, 0, 360}},
                                                 {3, "QXcbEventQueue", {1'000, 0, 20}},
                                                 {7, "worker", {2'000, 0, 4}}});
    const IdleDelta d = Between(before, after);
    EXPECT_EQ(d.cpuTicks, 3);
    EXPECT_EQ(d.writeCalls, 12);
    // main 60 runs, the new worker all of its 4; the ended thread drops out,
    // the one that slept throughout is not among the busy.
    EXPECT_EQ(d.runs, 64);
    EXPECT_EQ(d.runNs, 1'502'000);
    ASSERT_EQ(d.busiest.size(), 2u);
    EXPECT_EQ(d.busiest[0].name, "main");
    EXPECT_EQ(d.busiest[1].name, "worker");
    EXPECT_EQ(BusiestText(d.busiest, 1), "main 60");
    EXPECT_EQ(BusiestText(d.busiest, 5), "main 60, worker 4");
    EXPECT_EQ(BusiestText({}, 3), "no thread ran");
}

TEST(ResidentFiguresTest, SpreadIsMedianAndRange)
{
    const Spread odd = SpreadOf({9, 1, 5});
    EXPECT_EQ(odd.median, 5);
    EXPECT_EQ(odd.min, 1);
    EXPECT_EQ(odd.max, 9);
    const Spread even = SpreadOf({4, 10, 2, 8});
    EXPECT_EQ(even.median, 6);
    EXPECT_EQ(even.min, 2);
    EXPECT_EQ(even.max, 10);
    EXPECT_EQ(SpreadOf({}).median, 0);
}

TEST(ResidentFiguresTest, ThisProcessIsReadAsTheKernelShowsIt)
{
    if (!std::filesystem::exists("/proc/self/schedstat") || !std::filesystem::exists("/proc/self/io"))
        GTEST_SKIP() << "this kernel keeps no scheduler or I/O statistics";
    const auto before = SampleProcess(getpid());
    ASSERT_TRUE(before.has_value());
    // A helper thread that sleeps and wakes is one more thread with runs of its own.
    std::thread sleeper([] {
        for (int i = 0; i < 5; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    sleeper.join();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto after = SampleProcess(getpid());
    ASSERT_TRUE(after.has_value());
    ASSERT_FALSE(after->threads.empty());
    EXPECT_EQ(after->threads.front().tid, getpid());
    const IdleDelta d = Between(*before, *after);
    EXPECT_GE(d.runs, 1);  // the sleep above ended with a run of this thread
    EXPECT_GE(d.cpuTicks, 0);

    const auto memory = SampleMemory(getpid());
    ASSERT_TRUE(memory.has_value());
    EXPECT_GT(memory->rssKb, 0);
    EXPECT_GT(memory->pssKb, 0);
    EXPECT_LE(memory->pssKb, memory->rssKb);

    // A process that has ended (and been reaped) reads as nothing.
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    ASSERT_GT(child, 0);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(SampleProcess(child), std::nullopt);
    EXPECT_EQ(SampleMemory(child), std::nullopt);
}

}  // namespace
}  // namespace hrln::bench
