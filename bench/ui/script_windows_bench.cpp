// A script of 100,000 items: its browse list opened and drawn, one item moved
// up through a free number, the whole script exported to a script file, and
// a script file of 100,000 lines imported, each job run batch by batch as its
// progress window runs it, with the longest batch (how long Cancel may wait).
#include "script/script_editing.h"
#include "script/script_file.h"
#include "support/bench_schedule.h"
#include "support/silent_services.h"
#include "ui/script/browse_scripting.h"

#include <benchmark/benchmark.h>

#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

using hrln::data::ScriptingRecord;

constexpr int kItems = 100'000;
constexpr hrln::data::Long kScripted = 1;    // the task with the long script
constexpr hrln::data::Long kImportedTo = 2;  // the task a script file is read into
const char* const kExported = "bench_export.hsx";
const char* const kToImport = "bench_import.hsx";

struct LongScript {
    LongScript() : db(hrln::bench::ScheduleDatabase(1000))
    {
        hrln::data::Table<ScriptingRecord> t(db);
        db.begin();
        for (int i = 1; i <= kItems; ++i) {
            t.clear();
            t.rec.id = kScripted;
            t.rec.sequence = i;
            t.rec.action = i % 2 == 0 ? "Send Keystrokes" : "Wait";
            t.rec.keystrokes = "Hello, world {ENTER}";
            t.rec.timeElapsed = 100;
            t.add();
        }
        db.commit();
        t.clear();
        t.rec.id = kScripted;
        t.rec.sequence = kItems / 2;
        t.get(ScriptingRecord::KeyID);
        middle = t.rowId();
    }
    hrln::data::Database& db;
    hrln::data::ProfileFile positions{"POSITION.INI"};
    hrln::bench::SilentPrompter prompter;
    std::int64_t middle = 0;
};

LongScript& TheScript()
{
    static LongScript script;
    return script;
}

// Runs `job` to its end batch by batch; the longest batch in milliseconds.
double RunJob(hrln::BatchJob& job, int batch)
{
    hrln::BatchRun run(job, batch);
    run.start();
    double longest = 0;
    while (run.running()) {
        const auto start = std::chrono::steady_clock::now();
        run.tick();
        longest = std::max(longest,
                           std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return longest;
}

void BM_OpenScriptBrowser(benchmark::State& state)
{
    LongScript& s = TheScript();
    for (auto _ : state) {
        hrln::ui::BrowseScriptingWindow w({{s.db, s.positions, s.prompter}, nullptr}, kScripted);
        w.resize(700, 500);
        w.show();
        w.list()->view()->viewport()->repaint();
        benchmark::DoNotOptimize(w.list()->model()->rowCount());
    }
}

void BM_MoveAnItemUp(benchmark::State& state)
{
    LongScript& s = TheScript();
    for (auto _ : state) {
        if (!hrln::script::MoveScriptItem(s.db, s.middle, hrln::script::Move::Up, s.prompter)) {
            state.SkipWithError("the move failed");
            break;
        }
    }
}

// The item in the middle to the top and back to the bottom: each a move of
// its own past 50,000 items.
void BM_MoveAnItemToTheTopAndBottom(benchmark::State& state)
{
    LongScript& s = TheScript();
    for (auto _ : state) {
        if (!hrln::script::MoveScriptItem(s.db, s.middle, hrln::script::Move::Top, s.prompter) ||
            !hrln::script::MoveScriptItem(s.db, s.middle, hrln::script::Move::Bottom, s.prompter)) {
            state.SkipWithError("the move failed");
            break;
        }
    }
}

void BM_ExportTheScript(benchmark::State& state)
{
    LongScript& s = TheScript();
    double longest = 0;
    int written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(kExported);  // an export appends to the file
        state.ResumeTiming();
        hrln::script::ExportScriptJob job(s.db, kScripted, kExported, s.prompter);
        longest = std::max(longest, RunJob(job, hrln::script::ExportScriptJob::kBatch));
        written = job.written();
    }
    state.counters["items"] = written;
    state.counters["longest_batch_ms"] = longest;
}

void BM_ImportAScriptFile(benchmark::State& state)
{
    LongScript& s = TheScript();
    std::remove(kToImport);
    {
        hrln::script::ExportScriptJob job(s.db, kScripted, kToImport, s.prompter);
        RunJob(job, hrln::script::ExportScriptJob::kBatch);
    }
    double longest = 0;
    int added = 0;
    for (auto _ : state) {
        hrln::script::ImportScriptJob job(s.db, kImportedTo, kToImport, s.prompter);
        longest = std::max(longest, RunJob(job, hrln::script::ImportScriptJob::kBatch));
        added = job.added();
        state.PauseTiming();
        hrln::data::Table<ScriptingRecord> t(s.db);
        s.db.begin();
        t.clear();
        t.rec.id = kImportedTo;
        t.setFrom(ScriptingRecord::KeyID);
        while (t.next() == hrln::data::kOk && t.rec.id == kImportedTo)
            t.remove();
        s.db.commit();
        state.ResumeTiming();
    }
    state.counters["items"] = added;
    state.counters["longest_batch_ms"] = longest;
}

BENCHMARK(BM_OpenScriptBrowser)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_MoveAnItemUp)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_MoveAnItemToTheTopAndBottom)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ExportTheScript)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportAScriptFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
