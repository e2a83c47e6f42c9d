// The delete and update operations where they do the most: a task deleted with
// 1,000 script items and 100 contact links, and a category rename that a
// schedule of 100 thousand records refuses.
#include "data/integrity.h"
#include "support/bench_schedule.h"

#include <benchmark/benchmark.h>

namespace {

using namespace hrln;
using namespace hrln::data;

constexpr int kScheduleRecords = 100'000;

// Adds a task above every generated one, with its script and links.
void AddTaskWithChildren(Database& db, Long id)
{
    db.begin();
    Table<ScheduleRecord> task(db);
    task.rec.id = id;
    task.rec.category = "Work";
    task.rec.description = "Task with a long script";
    task.add();
    Table<ScriptingRecord> item(db);
    for (Long seq = 1; seq <= 1000; ++seq) {
        item.clear();
        item.rec.id = id;
        item.rec.sequence = seq;
        item.rec.action = "Send Keystrokes";
        item.rec.keystrokes = "Hello{Enter}";
        item.add();
    }
    Table<LinkRecord> link(db);
    for (Long client = 1; client <= 100; ++client) {
        link.rec.id = id;
        link.rec.clientId = client;
        link.add();
    }
    db.commit();
}

void DeleteTaskWithScriptAndLinks(benchmark::State& state)
{
    Database& db = bench::ScheduleDatabase(kScheduleRecords);
    Table<ScheduleRecord> task(db);
    Long id = kScheduleRecords + 1;
    for (auto _ : state) {
        state.PauseTiming();
        AddTaskWithChildren(db, id);
        task.rec.id = id++;
        if (task.get(ScheduleRecord::KeyID) != kOk)
            state.SkipWithError("task not added");
        state.ResumeTiming();
        if (!IntegrityDelete(task).ok())
            state.SkipWithError("delete failed");
    }
    Table<ScriptingRecord> left(db);
    left.set(ScriptingRecord::KeyID);
    if (left.next() != kRecordNotAvailable)
        state.SkipWithError("script items left behind");
}

void RenameOfCategoryInUseRefused(benchmark::State& state)
{
    Database& db = bench::ScheduleDatabase(kScheduleRecords);
    Table<CategoryRecord> category(db);
    category.rec.category = "Work";
    if (category.get(CategoryRecord::KeyCategory) != kOk && category.add() != kOk)
        state.SkipWithError("no category");
    const CategoryRecord saved = category.rec;
    for (auto _ : state) {
        category.rec.category = "Office";
        if (IntegrityUpdate(category, saved).step != IntegrityStep::Restricted)
            state.SkipWithError("rename not refused");
    }
}

}  // namespace

BENCHMARK(DeleteTaskWithScriptAndLinks)->Unit(benchmark::kMillisecond);
BENCHMARK(RenameOfCategoryInUseRefused)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
