// One idle tick (nothing due, no warning due, housekeeping done for the day)
// on schedules of 10 thousand and 1 million records, beside the two bare
// SQLite lookups a tick cannot do without.
#include "scheduler/scheduler.h"
#include "support/bench_schedule.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace hrln;

void IdleTick(benchmark::State& state)
{
    data::Database& db = bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    test::FakeClock clock(bench::BenchToday(), MakeTime(0, 0));
    data::Settings settings;
    settings.historyExpires = 3650 * 2;
    test::FakePrompter prompter;
    data::EventLog log((std::filesystem::temp_directory_path() / "hrln-bench.log").string(), clock, settings);
    test::FakeFrame frame;
    test::FakeTray trayBackend;
    test::FakeSound sound;
    test::FakeScripts scripts;
    test::FakeMessages messages;
    scheduler::MessageWindowCounter windows;
    scheduler::TrayController tray(trayBackend, frame, settings);
    scheduler::Scheduler scheduler({db, settings, log, clock, prompter, sound, frame, tray, scripts, messages,
                                    windows, nullptr, nullptr});
    scheduler.tick();  // the day's housekeeping runs on the first tick
    for (auto _ : state)
        scheduler.tick();
    if (!messages.started.empty() || !prompter.shown.empty())
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
