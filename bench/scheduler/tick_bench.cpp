// One idle tick (nothing due, no warning due, housekeeping done for the day)
// on schedules of 10 thousand and 1 million records, beside the two bare
// SQLite lookups a tick cannot do without.
#include "scheduler_rig.h"
#include "support/bench_schedule.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace hrln;

void IdleTick(benchmark::State& state)
{
    data::Database& db = bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    bench::SchedulerRig rig(db, bench::BenchToday(), MakeTime(0, 0), 3650 * 2,
                            (std::filesystem::temp_directory_path() / "hrln-bench.log").string());
    rig.scheduler.tick();  // the day's housekeeping runs on the first tick
    for (auto _ : state)
        rig.scheduler.tick();
    if (!rig.messages.started.empty() || !rig.prompter.shown.empty())
        state.SkipWithError("the tick was not idle");
}

void BareTickLookups(benchmark::State& state)
{
    data::Database& db = bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    bench::BareLookup next(db, bench::kFirstEnabledTask);
    bench::BareLookup warning(db, bench::kFirstAdvanceWarning);
    for (auto _ : state) {
        if (!next.read() || !warning.read())
            state.SkipWithError("no row");
    }
}

}  // namespace

BENCHMARK(IdleTick)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareTickLookups)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
