// The schedule browser over a schedule of 1,000,000 records (99 in 100 of
// them history): opened on "All by Date" with its first page drawn, a switch
// of tab, the day view of a day with 1,000 tasks, and the refresh after a
// tick changed a task; then a search over the whole table as its progress
// window runs it, with the longest batch (how long Cancel may wait).
#include "data/record_tags.h"
#include "scheduler/schedule_search.h"
#include "support/bench_schedule.h"
#include "support/silent_services.h"
#include "ui/schedule/browse_schedule.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabBar>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

using hrln::data::ScheduleRecord;
using hrln::ui::BrowseScheduleWindow;

constexpr int kRecords = 1'000'000;
constexpr int kTasksOnTheBusyDay = 1000;

hrln::Date BusyDay()
{
    return hrln::bench::BenchToday() + 40;
}

// The 1,000,000-record schedule with one day of 1,000 tasks added, and the tag file beside it.
struct Schedule {
    Schedule() : db(hrln::bench::ScheduleDatabase(kRecords))
    {
        hrln::data::OpenTagFile(tagFile, db);
        hrln::data::Table<ScheduleRecord> t(db);
        db.begin();
        for (int i = 0; i < kTasksOnTheBusyDay; ++i) {
            t.clear();
            t.rec.id = 3'000'000 + i;
            t.rec.description = "Busy day task";
            t.rec.taskType = "Display Message";
            t.rec.scheduleType = "Once";
            t.rec.date = BusyDay();
            t.rec.time = static_cast<hrln::Time>(100 + i * 1000);
            t.add();
        }
        db.commit();
    }
    hrln::data::Database& db;
    hrln::data::Database tagFile{hrln::data::kTagFile, hrln::data::TagLayout()};
    hrln::data::RecordTags tags{tagFile, 0, hrln::data::TaggedTable::Schedule};
    hrln::data::ProfileFile positions{"POSITION.INI"};
    hrln::data::ProfileFile ini{"HRLN.INI"};
    hrln::bench::SilentPrompter prompter;
    hrln::bench::SilentSound sound;
    hrln::bench::StillClock clock;
    hrln::Date selectedDay = 0;

    std::unique_ptr<BrowseScheduleWindow> open()
    {
        auto w = std::make_unique<BrowseScheduleWindow>(hrln::ui::ScheduleBrowserServices{
            {{db, positions, prompter}, clock, ini, &sound}, tags, selectedDay, "", true, {}});
        w->resize(900, 600);
        w->show();
        paint(*w);
        return w;
    }
    static void paint(BrowseScheduleWindow& w) { w.list()->view()->viewport()->repaint(); }
};

Schedule& TheSchedule()
{
    static Schedule schedule;
    return schedule;
}

void BM_OpenOnAllByDate(benchmark::State& state)
{
    Schedule& s = TheSchedule();
    for (auto _ : state) {
        auto w = s.open();
        benchmark::DoNotOptimize(w->list()->model()->rowCount());
    }
}

void BM_SwitchTab(benchmark::State& state)
{
    Schedule& s = TheSchedule();
    auto w = s.open();
    w->showCategory("General");
    int tab = BrowseScheduleWindow::DateTab;
    for (auto _ : state) {
        tab = tab == BrowseScheduleWindow::DateTab ? BrowseScheduleWindow::CategoryTab : BrowseScheduleWindow::DateTab;
        w->list()->setTab(tab);
        Schedule::paint(*w);
    }
}

void BM_DayWithAThousandTasks(benchmark::State& state)
{
    Schedule& s = TheSchedule();
    auto w = s.open();
    for (auto _ : state) {
        w->showDay(BusyDay());
        Schedule::paint(*w);
        state.PauseTiming();
        w->list()->setTab(BrowseScheduleWindow::DateTab);
        state.ResumeTiming();
    }
    state.counters["rows"] = w->list()->model()->rowCount();
}

void BM_RefreshAfterATick(benchmark::State& state)
{
    Schedule& s = TheSchedule();
    auto w = s.open();
    w->list()->selectRow(w->list()->model()->rowCount() / 2);
    hrln::data::Table<ScheduleRecord> alias(s.db);
    alias.clear();
    alias.rec.id = 3'000'000;
    alias.get(ScheduleRecord::KeyID);
    for (auto _ : state) {
        state.PauseTiming();
        alias.rec.time += 1;  // what a dispatch writes: the task moved on
        alias.put();
        state.ResumeTiming();
        w->list()->refresh();
        Schedule::paint(*w);
    }
}

void BM_SearchTheWholeSchedule(benchmark::State& state)
{
    Schedule& s = TheSchedule();
    hrln::scheduler::ScheduleCriteria criteria;
    criteria.description = "busy day";
    double longestBatchMs = 0;
    std::int64_t found = 0;
    for (auto _ : state) {
        hrln::scheduler::ScheduleSearchJob job(s.db, s.tags, criteria, true);
        hrln::BatchRun run(job, hrln::scheduler::ScheduleSearchJob::kBatch);
        run.start();
        while (run.running()) {
            const auto start = std::chrono::steady_clock::now();
            run.tick();
            longestBatchMs = std::max(
                longestBatchMs, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        found = job.found();
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["longest_batch_ms"] = longestBatchMs;
}

BENCHMARK(BM_OpenOnAllByDate)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SwitchTab)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_DayWithAThousandTasks)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RefreshAfterATick)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchTheWholeSchedule)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
