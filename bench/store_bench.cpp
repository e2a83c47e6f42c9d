// What the scheduler asks of the store on every tick (the first enabled task,
// the first pending advance warning) and what it adds after each performed
// task (a history entry), on schedules of 10 thousand and 1 million records,
// most of them history. The same lookups through the bare SQLite API are the
// reference.
#include "data/records.h"
#include "data/schedule_store.h"
#include "data/table.h"
#include "support/bench_schedule.h"

#include <benchmark/benchmark.h>

namespace {

using namespace hrln;
using namespace hrln::data;

void FirstEnabledTask(benchmark::State& state)
{
    Database& db = bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    Table<ScheduleRecord> alias(db);
    for (auto _ : state) {
        alias.clear();
        alias.setFrom(ScheduleRecord::KeyDateEnabled);
        if (alias.next() != kOk || alias.rec.disabled != 0)
            state.SkipWithError("no enabled task");
        benchmark::DoNotOptimize(alias.rec.date);
    }
}

void FirstAdvanceWarning(benchmark::State& state)
{
    Database& db = bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    Table<ScheduleRecord> alias(db);
    for (auto _ : state) {
        alias.clear();
        alias.setFrom(ScheduleRecord::KeyAdvanced);
        if (alias.next() != kOk)
            state.SkipWithError("no advance warning");
        benchmark::DoNotOptimize(alias.rec.advanceWarnDate);
    }
}

void BareFirstEnabledTask(benchmark::State& state)
{
    bench::BareLookup lookup(bench::ScheduleDatabase(static_cast<int>(state.range(0))), bench::kFirstEnabledTask);
    for (auto _ : state)
        if (!lookup.read())
            state.SkipWithError("no row");
}

void BareFirstAdvanceWarning(benchmark::State& state)
{
    bench::BareLookup lookup(bench::ScheduleDatabase(static_cast<int>(state.range(0))), bench::kFirstAdvanceWarning);
    for (auto _ : state)
        if (!lookup.read())
            state.SkipWithError("no row");
}

void AddHistory(benchmark::State& state)
{
    Database& db = bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    Table<ScheduleRecord> alias(db);
    alias.clear();
    alias.setFrom(ScheduleRecord::KeyDateEnabled);
    alias.next();
    const ScheduleRecord task = alias.rec;
    for (auto _ : state) {
        alias.rec = task;
        alias.rec.disabled = 1;
        alias.rec.completed = 1;
        if (AddHistoryEntry(alias) != kOk)
            state.SkipWithError("add failed");
    }
}

}  // namespace

BENCHMARK(FirstEnabledTask)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareFirstEnabledTask)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FirstAdvanceWarning)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareFirstAdvanceWarning)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(AddHistory)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
