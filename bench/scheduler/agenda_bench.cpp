// The agenda's first page (and the pages after it) over a schedule of a
// million tasks, every one enabled and repeated daily, so that the coming
// week holds far more occurrences than any page: the cost must follow the
// page, not the schedule.
#include "data/database.h"
#include "data/records.h"
#include "scheduler/agenda.h"
#include "support/bench_schedule.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace hrln;

constexpr int kTasks = 1'000'000;

// Making the file takes minutes: a complete one left by an earlier run
// (marked once filled, and still opening) is used again.
data::Database& AgendaDatabase()
{
    static std::unique_ptr<data::Database> db = [] {
        const auto folder = std::filesystem::temp_directory_path() / "hrln-bench-agenda";
        const auto file = (folder / data::kMainDatabaseFile).string();
        const auto mark = folder / ("filled-" + std::to_string(kTasks));
        auto made = std::make_unique<data::Database>(file, data::MainLayout());
        if (std::filesystem::exists(mark) && made->open() == data::kOk)
            return made;
        made.reset();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        made = std::make_unique<data::Database>(file, data::MainLayout());
        if (made->create() != data::kOk)
            std::abort();
        bench::FillSchedule(*made, kTasks, 0);
        std::ofstream(mark).put('\n');
        return made;
    }();
    return *db;
}

// From the start of the generated schedule's first busy day: about 270 tasks
// start on each day, so the coming week holds some 7,500 occurrences.
platform::DateTime From()
{
    return {bench::BenchToday() + 2, MakeTime(0, 0)};
}

void AgendaFirstPage(benchmark::State& state)
{
    data::Database& db = AgendaDatabase();
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        scheduler::Agenda agenda(db, From(), 7);
        const auto page = agenda.next(rows);
        if (static_cast<int>(page.size()) != rows)
            state.SkipWithError("short page");
        benchmark::DoNotOptimize(page.data());
    }
}

// Ten pages one after the other, as a list scrolled down reads them.
void AgendaTenPages(benchmark::State& state)
{
    data::Database& db = AgendaDatabase();
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        scheduler::Agenda agenda(db, From(), 7);
        for (int p = 0; p < 10; ++p) {
            const auto page = agenda.next(rows);
            if (static_cast<int>(page.size()) != rows)
                state.SkipWithError("short page");
            benchmark::DoNotOptimize(page.data());
        }
    }
}

// The whole week, for scale: every occurrence in it.
void AgendaWholeWeek(benchmark::State& state)
{
    data::Database& db = AgendaDatabase();
    std::size_t total = 0;
    for (auto _ : state) {
        scheduler::Agenda agenda(db, From(), 7);
        total = 0;
        for (auto page = agenda.next(64); !page.empty(); page = agenda.next(64))
            total += page.size();
    }
    state.counters["occurrences"] = static_cast<double>(total);
}

}  // namespace

BENCHMARK(AgendaFirstPage)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(AgendaTenPages)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(AgendaWholeWeek)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
