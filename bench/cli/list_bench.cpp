// `horalyn-cli list` over a schedule of a million tasks, the whole command
// with its output formatted, against the reference: one prepared SELECT of the
// same columns over the same key in the same order, stepped to the end.
#include "cli/cli.h"
#include "data/database.h"
#include "data/records.h"
#include "support/bench_schedule.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace hrln;

constexpr int kTasks = 1'000'000;

// Counts what is written and keeps none of it, so the output is formatted in
// full but costs no terminal.
class CountingBuffer : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    int_type overflow(int_type c) override
    {
        ++bytes;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        bytes += static_cast<std::size_t>(n);
        return n;
    }
};

// The data folder of a million tasks, none of them history; the command finds
// it through XDG_DATA_HOME. Making it takes minutes, so a complete one left by
// an earlier run (marked once filled, and still opening) is used again.
const std::filesystem::path& ListFolder()
{
    static const std::filesystem::path home = [] {
        const auto path = std::filesystem::temp_directory_path() / "hrln-bench-list";
        const auto file = (path / "horalyn" / data::kMainDatabaseFile).string();
        const auto mark = path / ("filled-" + std::to_string(kTasks));
        if (std::filesystem::exists(mark)) {
            data::Database db(file, data::MainLayout());
            if (db.open() == data::kOk)
                return path;
        }
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path / "horalyn");
        data::Database db(file, data::MainLayout());
        if (db.create() != data::kOk)
            std::abort();
        bench::FillSchedule(db, kTasks, 0);
        db.close();
        std::ofstream(mark).put('\n');
        return path;
    }();
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    return home;
}

void RunList(benchmark::State& state, const std::vector<std::string_view>& args, std::size_t expectedLines)
{
    ListFolder();
    const auto start = std::filesystem::current_path();
    for (auto _ : state) {
        CountingBuffer counted;
        std::ostream out(&counted);
        std::ostringstream err;
        if (cli::RunCli(args, out, err) != 0 || !err.str().empty())
            state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(counted.bytes);
    }
    std::filesystem::current_path(start);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kTasks);
    state.counters["lines"] = static_cast<double>(expectedLines);
}

void ListTasks(benchmark::State& state)
{
    RunList(state, {"list"}, kTasks);
}

void ListHistory(benchmark::State& state)
{
    RunList(state, {"list", "--history"}, 0);
}

// The plain scan: the listed columns read row by row from one statement.
void BareScan(benchmark::State& state, bool history)
{
    const auto& home = ListFolder();
    data::Database db((home / "horalyn" / data::kMainDatabaseFile).string(), data::MainLayout());
    if (db.open() != data::kOk)
        std::abort();
    const std::string sql = std::string("SELECT ID, Date, Time, TaskType, ScheduleType, Description FROM S ") +
                            "INDEXED BY S_KeyDate WHERE (Date <> 0 OR Time <> 0) AND " +
                            (history ? "" : "NOT ") + "(Disabled = 1 AND Completed = 1) ORDER BY Date, Time, rowid";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        std::abort();
    for (auto _ : state) {
        std::int64_t sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sum += sqlite3_column_int64(stmt, 0) + sqlite3_column_int64(stmt, 1) + sqlite3_column_int64(stmt, 2);
            for (int c = 3; c < 6; ++c) {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
                sum += sqlite3_column_bytes(stmt, c);
            }
        }
        sqlite3_reset(stmt);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_finalize(stmt);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kTasks);
}

void BareListScan(benchmark::State& state)
{
    BareScan(state, false);
}

void BareHistoryScan(benchmark::State& state)
{
    BareScan(state, true);
}

}  // namespace

BENCHMARK(ListTasks)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BareListScan)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(ListHistory)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BareHistoryScan)->Unit(benchmark::kMillisecond)->MinTime(2);

BENCHMARK_MAIN();
