// The schedule entry form opened on a task of a 1,000,000-record schedule,
// ready for input; and the copy of a 10,000-item script as its progress
// window runs it, with the longest batch (how long Cancel may wait) reported.
#include "support/bench_schedule.h"
#include "support/silent_services.h"
#include "scheduler/schedule_form.h"
#include "script/script_jobs.h"
#include "ui/schedule/update_schedule.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <chrono>

namespace {

using hrln::data::ScheduleRecord;

using hrln::bench::SilentPrompter;
using hrln::bench::SilentSound;
using hrln::bench::StillClock;

void BM_OpenEntryForm(benchmark::State& state)
{
    hrln::data::Database& db = hrln::bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    hrln::data::ProfileFile positions("POSITION.INI"), ini("HRLN.INI");
    SilentPrompter prompter;
    SilentSound sound;
    StillClock clock;
    const hrln::ui::ScheduleFormServices services{{db, positions, prompter}, ini, clock, sound, 0};
    hrln::data::Table<ScheduleRecord> probe(db);
    probe.set(ScheduleRecord::KeyDate);
    probe.previous();
    const std::int64_t rowid = probe.rowId();
    for (auto _ : state) {
        hrln::data::Table<ScheduleRecord> table(db);
        hrln::pim::RecordWarnings warnings(prompter);
        hrln::pim::RecordForm<ScheduleRecord> form(table, warnings, hrln::pim::Request::Change,
                                                    hrln::scheduler::ScheduleFormRules(0, 0, nullptr));
        form.open(ScheduleRecord::KeyID, rowid);
        hrln::ui::UpdateScheduleWindow window(services, form, table, 0);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}

void BM_CopyScript(benchmark::State& state)
{
    hrln::data::Database& db = hrln::bench::ScheduleDatabase(100000);
    const int items = static_cast<int>(state.range(0));
    constexpr hrln::data::Long kSource = 2000000000;
    {
        hrln::data::Table<hrln::data::ScriptingRecord> t(db);
        db.begin();
        for (int i = 1; i <= items; ++i) {
            t.rec.id = kSource;
            t.rec.sequence = i;
            t.rec.action = "Send Keystrokes";
            t.rec.keystrokes = "{Enter}";
            t.add();
        }
        db.commit();
    }
    SilentPrompter prompter;
    hrln::pim::RecordWarnings warnings(prompter);
    double longestBatchMs = 0;
    hrln::data::Long target = kSource + 1;
    for (auto _ : state) {
        hrln::script::CopyScriptJob job(db, kSource, target, warnings);
        hrln::BatchRun run(job, hrln::script::CopyScriptJob::kBatch);
        run.start();
        while (run.running()) {
            const auto start = std::chrono::steady_clock::now();
            run.tick();
            longestBatchMs = std::max(
                longestBatchMs, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        state.PauseTiming();
        hrln::script::DeleteScriptJob cleanup(db, target, warnings);
        hrln::BatchRun clean(cleanup, 1000);
        clean.start();
        while (clean.running())
            clean.tick();
        state.ResumeTiming();
    }
    state.counters["longest_batch_ms"] = longestBatchMs;
}

BENCHMARK(BM_OpenEntryForm)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_CopyScript)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
