// A browse list over the schedule as the user meets it: opened on a table of
// 10,000 or 1,000,000 records, its first page drawn, then End to the last
// page and a jump to the middle, in a real (offscreen) window. The memory
// the list adds is reported beside the times.
#include "support/bench_schedule.h"
#include "ui/widgets/browse_list.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include <fstream>
#include <memory>
#include <string>

namespace {

using hrln::data::ScheduleRecord;

using hrln::bench::ResidentKb;

std::unique_ptr<hrln::ui::BrowseList> ScheduleList(hrln::data::Database& db)
{
    std::vector<hrln::ui::BrowseColumn<ScheduleRecord>> columns{
        {QStringLiteral("Date"), 10, [](const ScheduleRecord& r) { return QString::number(r.date); }},
        {QStringLiteral("Time"), 8, [](const ScheduleRecord& r) { return QString::number(r.time); }},
        {QStringLiteral("Description"), 40,
         [](const ScheduleRecord& r) { return QString::fromStdString(r.description.str()); }},
        {QStringLiteral("Category"), 20,
         [](const ScheduleRecord& r) { return QString::fromStdString(r.category.str()); }},
    };
    auto list = std::make_unique<hrln::ui::BrowseList>(
        std::make_unique<hrln::ui::TableBrowseSource<ScheduleRecord>>(db, std::move(columns)),
        std::vector<hrln::ui::BrowseTab>{{QStringLiteral("All by Date"), ScheduleRecord::KeyDate}},
        hrln::ui::BrowseList::Add | hrln::ui::BrowseList::Edit | hrln::ui::BrowseList::Delete);
    list->resize(800, 600);
    return list;
}

// Draws what the list shows now, as the window system would ask.
void Paint(hrln::ui::BrowseList& list)
{
    list.view()->viewport()->repaint();
}

void BM_OpenFirstPage(benchmark::State& state)
{
    hrln::data::Database& db = hrln::bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    const long before = ResidentKb();
    long added = 0;
    for (auto _ : state) {
        auto list = ScheduleList(db);
        list->show();
        Paint(*list);
        benchmark::DoNotOptimize(list->model()->rowCount());
        added = ResidentKb() - before;
    }
    state.counters["rows"] = static_cast<double>(state.range(0));
    state.counters["list_rss_kb"] = static_cast<double>(added);
}

void BM_JumpToLastPage(benchmark::State& state)
{
    hrln::data::Database& db = hrln::bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    auto list = ScheduleList(db);
    list->show();
    Paint(*list);
    bool atEnd = false;
    for (auto _ : state) {
        // A fresh read each time, as after a refresh: no page may be held.
        list->model()->refresh();
        list->selectRow(atEnd ? 0 : list->model()->rowCount() - 1);
        Paint(*list);
        atEnd = !atEnd;
    }
    state.counters["pages_held"] = static_cast<double>(list->model()->cachedPages());
}

void BM_JumpToTheMiddle(benchmark::State& state)
{
    hrln::data::Database& db = hrln::bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    auto list = ScheduleList(db);
    list->show();
    for (auto _ : state) {
        list->model()->refresh();
        list->selectRow(list->model()->rowCount() / 2);
        Paint(*list);
    }
}

void BM_ScrollPageByPage(benchmark::State& state)
{
    hrln::data::Database& db = hrln::bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    auto list = ScheduleList(db);
    list->show();
    list->selectRow(list->model()->rowCount() / 2);
    const long before = ResidentKb();
    for (auto _ : state) {
        list->selectRow(list->selectedRow() + hrln::ui::BrowseModel::kPageRows);
        Paint(*list);
    }
    state.counters["rss_growth_kb"] = static_cast<double>(ResidentKb() - before);
}

BENCHMARK(BM_OpenFirstPage)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_JumpToLastPage)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_JumpToTheMiddle)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ScrollPageByPage)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
