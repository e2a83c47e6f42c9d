// The daily sweep of 100,000 expired history entries as the frame lives it:
// the sweep works beside the ticks while a task comes due on every tick, so
// each tick writes (claim, move, history) against the sweep's batches. The
// frame's connection leaves its checkpoints to their own thread, as in the
// program. Between ticks the frame serves its events for 20 ms: the program's
// timer is never shorter than 500 ms, so this is 25 times harsher than any
// real schedule, yet leaves the sweep room to end.
// Reports the longest tick (the longest the frame is kept from its events;
// goal at most 50 ms), the ticks over 50 ms, and the whole sweep's time.
#include "data/records.h"
#include "data/table.h"
#include "scheduler_rig.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using namespace hrln;
using Clock = std::chrono::steady_clock;

const Date kToday = MakeDate(3, 1, 2027);

constexpr int kDueTasks = 20'000;
constexpr std::chrono::milliseconds kFrameBetweenTicks{20};
constexpr double kGoalMs = 50;

void FillHistory(data::Database& db, int entries)
{
    data::Table<data::ScheduleRecord> t(db);
    db.begin();
    for (int id = 1; id <= entries; ++id) {
        t.clear();
        t.rec.id = id;
        t.rec.description = "History entry";
        t.rec.taskType = "Display Message";
        t.rec.scheduleType = "Once";
        t.rec.message = "A message of some length, as a performed task leaves behind it";
        t.rec.date = kToday - 400 + id % 300;
        t.rec.time = MakeTime(9, 0);
        t.rec.disabled = 1;
        t.rec.completed = 1;
        t.add();
    }
    // Messages due one after the other all afternoon.
    for (int id = entries + 1; id <= entries + kDueTasks; ++id) {
        t.clear();
        t.rec.id = id;
        t.rec.description = "Due";
        t.rec.taskType = "Display Message";
        t.rec.scheduleType = "Once";
        t.rec.date = kToday;
        t.rec.time = MakeTime(12, 0);
        t.add();
    }
    db.commit();
}

void SweepOverTicks(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    double longestTick = 0;
    double wholeSweep = 0;
    std::size_t ticks = 0;
    std::size_t performed = 0;
    std::size_t overGoal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        test::TempDir dir;
        data::Database db(dir.file(data::kMainDatabaseFile), data::MainLayout());
        db.create();
        FillHistory(db, entries);
        db.checkpointInBackground();
        bench::SchedulerRig rig(db, kToday, MakeTime(12, 0), 30, dir.file(data::kEventLogFile));
        state.ResumeTiming();
        const auto start = Clock::now();
        ticks = 0;
        overGoal = 0;
        do {
            const auto before = Clock::now();
            rig.scheduler.tick();
            ++ticks;
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
            longestTick = std::max(longestTick, ms);
            overGoal += ms > kGoalMs ? 1 : 0;
            rig.clock.advance(125);
            std::this_thread::sleep_for(kFrameBetweenTicks);
        } while ((ticks < 2 || rig.scheduler.housekeepingRunning()) && ticks < kDueTasks);
        wholeSweep = std::chrono::duration<double>(Clock::now() - start).count();
        performed = rig.messages.started.size();
    }
    state.counters["longest_tick_ms"] = longestTick;
    state.counters["sweep_s"] = wholeSweep;
    state.counters["ticks"] = static_cast<double>(ticks);
    state.counters["ticks_over_50ms"] = static_cast<double>(overGoal);
    state.counters["performed"] = static_cast<double>(performed);
}

}  // namespace

BENCHMARK(SweepOverTicks)->Arg(100'000)->Arg(10'000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
