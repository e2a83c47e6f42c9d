#pragma once

// What the kernel tells of a running program under /proc, read as text and
// turned into the figures of the resident benchmarks. The parsing takes the
// text itself, so it is checked without a process to read.
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace hrln::bench {

// utime + stime of /proc/PID/stat (clock ticks, every thread of the process,
// those already ended included), or nothing when the line is not one.
std::optional<long long> StatCpuTicks(std::string_view statLine);

// /proc/PID/task/TID/schedstat: nanoseconds on a processor, nanoseconds
// waiting for one, and how many times the thread was put on one.
struct SchedStat {
    long long runNs = 0;
    long long waitNs = 0;
    long long runs = 0;
};
std::optional<SchedStat> ParseSchedStat(std::string_view text);

// The number after "key:" on a line of its own, as /proc/PID/smaps_rollup
// ("Rss:   1234 kB"), /proc/PID/status and /proc/PID/io ("syscw: 12") write it.
std::optional<long long> KeyedNumber(std::string_view text, std::string_view key);

struct ThreadSample {
    int tid = 0;
    std::string name;
    SchedStat sched;
};

// One look at a process.
struct ProcessSample {
    long long cpuTicks = 0;
    long long writeCalls = 0;  // syscw
    std::vector<ThreadSample> threads;
};

// Reads the process now; nothing once it has ended.
std::optional<ProcessSample> SampleProcess(pid_t pid);

// Resident and proportional set sizes in kilobytes, from smaps_rollup.
struct MemorySample {
    long long rssKb = 0;
    long long pssKb = 0;
};
std::optional<MemorySample> SampleMemory(pid_t pid);

struct ThreadRuns {
    std::string name;
    long long runs = 0;
};

// What a process did between two looks. A thread that started in between
// counts from nothing; one that ended in between is lost to the per-thread
// sums (the clock ticks keep it).
struct IdleDelta {
    long long cpuTicks = 0;
    long long runNs = 0;
    long long runs = 0;
    long long writeCalls = 0;
    std::vector<ThreadRuns> busiest;  // most runs first, threads that ran at all
};
IdleDelta Between(const ProcessSample& before, const ProcessSample& after);

// "main 58, QXcbEventQueue 2": the first `count` threads of `busiest`.
std::string BusiestText(const std::vector<ThreadRuns>& busiest, std::size_t count);

// Median, least and greatest of a set of measurements.
struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};
Spread SpreadOf(std::vector<double> values);

}  // namespace hrln::bench
