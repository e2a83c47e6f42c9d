// What the program costs by being there: how long it takes to show its
// window, how much memory it holds, and what it does while it waits, each
// beside a Qt main window with a title and nothing else, started the same way
// on the same desktop (a display, openbox and a session bus of our own, no
// tray host). The goals are printed beside the figures, not enforced.
#include "data/database.h"
#include "data/records.h"
#include "resident/bench_desktop.h"
#include "resident/proc_figures.h"
#include "support/bench_schedule.h"

#include <benchmark/benchmark.h>

#include <sys/inotify.h>
#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace hrln;
using namespace hrln::bench;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kTasks = 100'000;
constexpr int kRounds = 9;
constexpr auto kSettle = std::chrono::seconds(10);
constexpr auto kIdle = std::chrono::seconds(60);
constexpr auto kMapLimit = std::chrono::seconds(60);

// The goals.
constexpr double kLaunchRatioFull = 1.2;
constexpr double kLaunchRatioFirst = 1.3;
constexpr double kResidentRatio = 1.2;
constexpr double kIdleCpuMsPerMinute = 2;
constexpr double kWakeupsPerSecond = 1;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

Date Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return MakeDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
}

// The desktop, and a data folder of kTasks tasks still to come (none due
// while the benchmark runs, so no message interrupts the waiting), made once.
struct Session {
    BenchDesktop desktop;
    std::unique_ptr<MapWatch> watch;
    std::string fullHome;
    std::string error;
    int folders = 0;

    void open();

    // A new $XDG_DATA_HOME with nothing in it: the program's first start.
    std::string emptyHome()
    {
        const std::string home = desktop.scratch() + "/empty-" + std::to_string(++folders);
        fs::create_directories(home);
        return home;
    }
};

void Session::open()
{
    error = desktop.start();
    if (!error.empty())
        return;
    watch = std::make_unique<MapWatch>();
    if (!watch->ok()) {
        error = "cannot watch the display";
        return;
    }
    fullHome = desktop.scratch() + "/full";
    fs::create_directories(fullHome + "/horalyn");
    data::Database db(fullHome + "/horalyn/" + data::kMainDatabaseFile, data::MainLayout());
    if (db.create() != data::kOk) {
        error = "cannot make the schedule of " + std::to_string(kTasks) + " tasks";
        return;
    }
    FillSchedule(db, kTasks, 0, Today());
    db.close();
}

Session& TheSession()
{
    static Session s;
    static const bool opened = (s.open(), true);
    (void)opened;
    return s;
}

// Milliseconds from starting `program` to its first window mapped; the
// program is stopped again before this returns.
std::optional<double> LaunchOnce(Session& s, const std::string& program, const std::string& dataHome)
{
    const auto start = Clock::now();
    const pid_t pid = s.desktop.launch(program, dataHome);
    if (pid <= 0)
        return std::nullopt;
    const auto mapped = s.watch->waitMapped(pid, start + kMapLimit);
    s.desktop.stop(pid);
    if (!mapped)
        return std::nullopt;
    return Ms(*mapped - start);
}

// Interleaved rounds, bare window then ours, after one unrecorded start of
// each (the files' first opening and the disk cache would favour whichever came second).
void Launches(benchmark::State& state, bool firstStart, double goal)
{
    Session& s = TheSession();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    for (auto _ : state) {
        std::vector<double> bare;
        std::vector<double> ours;
        for (int round = -1; round < kRounds; ++round) {
            const auto b = LaunchOnce(s, BARE_WINDOW_PROGRAM, firstStart ? s.emptyHome() : s.fullHome);
            const auto o = LaunchOnce(s, HORALYN_PROGRAM, firstStart ? s.emptyHome() : s.fullHome);
            if (!b || !o) {
                state.SkipWithError(!b ? "the bare window never showed" : "the program's window never showed");
                return;
            }
            if (round >= 0) {
                bare.push_back(*b);
                ours.push_back(*o);
            }
        }
        const Spread b = SpreadOf(bare);
        const Spread o = SpreadOf(ours);
        state.SetIterationTime(o.median / 1000);
        state.counters["bare_ms"] = b.median;
        state.counters["bare_min_ms"] = b.min;
        state.counters["bare_max_ms"] = b.max;
        state.counters["ours_ms"] = o.median;
        state.counters["ours_min_ms"] = o.min;
        state.counters["ours_max_ms"] = o.max;
        state.counters["ratio"] = o.median / b.median;
        state.counters["ratio_goal"] = goal;
        state.SetLabel("n=" + std::to_string(kRounds) + " interleaved, median ratio, goal <= " +
                       std::to_string(goal).substr(0, 3) + "x");
    }
}

void BM_LaunchFullFolder(benchmark::State& state)
{
    Launches(state, false, kLaunchRatioFull);
}

void BM_LaunchFirstStart(benchmark::State& state)
{
    Launches(state, true, kLaunchRatioFirst);
}

struct FileState {
    bool exists = false;
    long long size = 0;
    long long mtimeNs = 0;
    bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::string& path)
{
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {true, static_cast<long long>(st.st_size),
            static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

// Both programs side by side on the full folder: memory after the settle,
// then what each does over the idle minute.
struct IdleRun {
    std::string error;
    MemorySample bareMemory;
    MemorySample oursMemory;
    IdleDelta bare;
    IdleDelta ours;
    double seconds = 0;
    int databaseChanges = 0;       // write events on the database or its log
    int databaseFilesChanged = 0;  // of the two, how many differ in size or time after
    std::map<std::string, int> otherChanges;
    // The same during the settle: the start writes, which shows the watch sees writes at all.
    int settleDatabaseChanges = 0;
};

bool IsDatabaseFile(const std::string& name)
{
    return name == data::kMainDatabaseFile || name == std::string(data::kMainDatabaseFile) + "-wal";
}

// Counts the write events on the data folder's files until `deadline`,
// asleep on the watch in between.
void CountChanges(int watch, Clock::time_point deadline, std::map<std::string, int>& changes)
{
    for (;;) {
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t n = read(watch, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0)
                    ++changes[event->name];
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return;
        pollfd p{watch, POLLIN, 0};
        poll(&p, 1, static_cast<int>(left.count()));
    }
}

IdleRun MeasureIdle()
{
    IdleRun run;
    Session& s = TheSession();
    if (!s.error.empty()) {
        run.error = s.error;
        return run;
    }
    const std::string folder = s.fullHome + "/horalyn/";
    const std::string database = folder + data::kMainDatabaseFile;
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0 || inotify_add_watch(watch, folder.c_str(), IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_TO) < 0) {
        run.error = "cannot watch the data folder";
        return run;
    }
    const auto start = Clock::now();
    const pid_t bare = s.desktop.launch(BARE_WINDOW_PROGRAM, s.fullHome);
    const pid_t ours = s.desktop.launch(HORALYN_PROGRAM, s.fullHome);
    if (!s.watch->waitMapped(bare, start + kMapLimit) || !s.watch->waitMapped(ours, start + kMapLimit)) {
        run.error = "a window never showed";
    } else {
        std::map<std::string, int> settleChanges;
        CountChanges(watch, start + kSettle, settleChanges);
        for (const auto& [name, count] : settleChanges)
            run.settleDatabaseChanges += IsDatabaseFile(name) ? count : 0;
        const auto bareMemory = SampleMemory(bare);
        const auto oursMemory = SampleMemory(ours);
        const auto bareBefore = SampleProcess(bare);
        const auto oursBefore = SampleProcess(ours);
        const FileState databaseBefore = StateOf(database);
        const FileState logBefore = StateOf(database + "-wal");
        const auto from = Clock::now();
        std::map<std::string, int> changes;
        CountChanges(watch, from + kIdle, changes);
        const auto bareAfter = SampleProcess(bare);
        const auto oursAfter = SampleProcess(ours);
        run.seconds = std::chrono::duration<double>(Clock::now() - from).count();
        if (!bareMemory || !oursMemory || !bareBefore || !oursBefore || !bareAfter || !oursAfter) {
            run.error = "a program ended while it waited";
        } else {
            run.bareMemory = *bareMemory;
            run.oursMemory = *oursMemory;
            run.bare = Between(*bareBefore, *bareAfter);
            run.ours = Between(*oursBefore, *oursAfter);
            run.databaseFilesChanged =
                (StateOf(database) == databaseBefore ? 0 : 1) + (StateOf(database + "-wal") == logBefore ? 0 : 1);
            for (const auto& [name, count] : changes) {
                if (IsDatabaseFile(name))
                    run.databaseChanges += count;
                else
                    run.otherChanges[name] += count;
            }
        }
    }
    s.desktop.stop(ours);
    s.desktop.stop(bare);
    close(watch);
    return run;
}

const IdleRun& TheIdleRun()
{
    static const IdleRun run = MeasureIdle();
    return run;
}

// The idle figures come from one run of both programs; each benchmark reports its part.
template <typename Report>
void FromIdleRun(benchmark::State& state, Report report)
{
    for (auto _ : state) {
        const IdleRun& run = TheIdleRun();
        if (!run.error.empty()) {
            state.SkipWithError(run.error.c_str());
            return;
        }
        report(run);
    }
}

double Mb(long long kb)
{
    return static_cast<double>(kb) / 1024;
}

void BM_MemoryAfterSettle(benchmark::State& state)
{
    FromIdleRun(state, [&](const IdleRun& run) {
        state.counters["bare_rss_MB"] = Mb(run.bareMemory.rssKb);
        state.counters["ours_rss_MB"] = Mb(run.oursMemory.rssKb);
        state.counters["rss_ratio"] = static_cast<double>(run.oursMemory.rssKb) / static_cast<double>(run.bareMemory.rssKb);
        state.counters["bare_pss_MB"] = Mb(run.bareMemory.pssKb);
        state.counters["ours_pss_MB"] = Mb(run.oursMemory.pssKb);
        state.counters["pss_ratio"] = static_cast<double>(run.oursMemory.pssKb) / static_cast<double>(run.bareMemory.pssKb);
        state.counters["rss_ratio_goal"] = kResidentRatio;
        // PSS splits each shared page among the processes mapping it: the two
        // programs run side by side, so the Qt pages both use count half to each.
        state.SetLabel(std::to_string(kSettle.count()) + " s after start, " + std::to_string(kTasks) +
                       " tasks, both running (PSS shares pages with each other and the machine); goal RSS <= 1.2x");
    });
}

void BM_IdleCpu(benchmark::State& state)
{
    FromIdleRun(state, [&](const IdleRun& run) {
        const double perMinute = 60 / run.seconds;
        const double tickMs = 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
        const auto ms = [&](const IdleDelta& d) { return static_cast<double>(d.cpuTicks) * tickMs * perMinute; };
        const auto runMs = [&](const IdleDelta& d) { return static_cast<double>(d.runNs) / 1e6 * perMinute; };
        state.counters["ours_ms_per_min"] = ms(run.ours);
        state.counters["ours_ms_per_s"] = ms(run.ours) / 60;
        state.counters["ours_oncpu_ms_per_min"] = runMs(run.ours);
        state.counters["bare_ms_per_min"] = ms(run.bare);
        state.counters["bare_oncpu_ms_per_min"] = runMs(run.bare);
        state.counters["goal_ms_per_min"] = kIdleCpuMsPerMinute;
        // The clock ticks of stat are whole hundredths; the time on a processor
        // summed over the threads' schedstat is exact.
        state.SetLabel("utime+stime in " + std::to_string(static_cast<int>(tickMs)) +
                       " ms ticks; oncpu = schedstat; goal <= 2 ms/min");
    });
}

void BM_IdleWakeups(benchmark::State& state)
{
    FromIdleRun(state, [&](const IdleRun& run) {
        const double perMinute = 60 / run.seconds;
        state.counters["ours_per_min"] = static_cast<double>(run.ours.runs) * perMinute;
        state.counters["ours_per_s"] = static_cast<double>(run.ours.runs) * perMinute / 60;
        state.counters["bare_per_min"] = static_cast<double>(run.bare.runs) * perMinute;
        state.counters["bare_per_s"] = static_cast<double>(run.bare.runs) * perMinute / 60;
        state.counters["goal_per_s"] = kWakeupsPerSecond;
        state.SetLabel("goal <= 1/s; ours by thread: " + BusiestText(run.ours.busiest, 4) +
                       "; bare: " + BusiestText(run.bare.busiest, 2));
    });
}

void BM_IdleDatabaseWrites(benchmark::State& state)
{
    FromIdleRun(state, [&](const IdleRun& run) {
        state.counters["db_changes"] = run.databaseChanges;
        state.counters["db_files_changed"] = run.databaseFilesChanged;
        state.counters["ours_write_calls"] = static_cast<double>(run.ours.writeCalls);
        state.counters["bare_write_calls"] = static_cast<double>(run.bare.writeCalls);
        state.counters["goal_db_changes"] = 0;
        state.counters["db_changes_at_start"] = run.settleDatabaseChanges;
        std::string others;
        for (const auto& [name, count] : run.otherChanges)
            others += (others.empty() ? "" : ", ") + name + " " + std::to_string(count);
        state.SetLabel("one station, over the idle minute (at_start: the first 10 s); write_calls = syscw (any file or "
                       "socket); other files: " +
                       (others.empty() ? std::string("none") : others));
    });
}

BENCHMARK(BM_LaunchFullFolder)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaunchFirstStart)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryAfterSettle)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleCpu)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleWakeups)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleDatabaseWrites)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
