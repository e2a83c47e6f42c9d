// What the scheduler asks of the store on every tick (the first enabled task,
// the first pending advance warning) and what it adds after each performed
// task (a history entry), on schedules of 10 thousand and 1 million records,
// most of them history. The same lookups through the bare SQLite API are the
// reference.
#include "data/records.h"
#include "data/schedule_store.h"
#include "data/table.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>

namespace {

using namespace hrln;
using namespace hrln::data;

// One database per size, built once per run in the temporary folder.
Database& Schedule(int records)
{
    static std::map<int, std::unique_ptr<Database>> made;
    auto& slot = made[records];
    if (slot)
        return *slot;
    const auto path = std::filesystem::temp_directory_path() / ("hrln-bench-" + std::to_string(records) + ".tps");
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(path.string() + suffix);
    slot = std::make_unique<Database>(path.string(), MainLayout());
    Database& db = *slot;
    if (db.create() != kOk)
        std::abort();
    std::mt19937 random(7);
    Table<ScheduleRecord> t(db);
    db.begin();
    const Date today = MakeDate(12, 8, 2026);
    for (int i = 1; i <= records; ++i) {
        t.clear();
        t.rec.id = i;
        t.rec.taskType = "Display Message";
        t.rec.scheduleType = "Day of Week";
        t.rec.category = i % 3 == 0 ? "Work" : "Home";
        t.rec.description = "Task number " + std::to_string(i);
        t.rec.message = "Time for task " + std::to_string(i);
        const bool history = i % 100 != 0;  // 99 in 100 are history entries
        t.rec.disabled = history ? 1 : 0;
        t.rec.completed = history ? 1 : 0;
        t.rec.date = today + static_cast<Date>(random() % 3650) - (history ? 3650 : 0);
        t.rec.time = MakeTime(static_cast<int>(random() % 24), static_cast<int>(random() % 60));
        if (!history && i % 300 == 0) {
            t.rec.advanceWarnDate = t.rec.date - 1;
            t.rec.advanceWarnTime = t.rec.time;
        }
        if (t.add() != kOk)
            std::abort();
        if (i % 50000 == 0) {
            db.commit();
            db.begin();
        }
    }
    db.commit();
    return db;
}

void FirstEnabledTask(benchmark::State& state)
{
    Database& db = Schedule(static_cast<int>(state.range(0)));
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
    Database& db = Schedule(static_cast<int>(state.range(0)));
    Table<ScheduleRecord> alias(db);
    for (auto _ : state) {
        alias.clear();
        alias.setFrom(ScheduleRecord::KeyAdvanced);
        if (alias.next() != kOk)
            state.SkipWithError("no advance warning");
        benchmark::DoNotOptimize(alias.rec.advanceWarnDate);
    }
}

// The reference: one prepared statement, stepped and read column by column
// into the same record, as a hand-written lookup would.
void BareSqlite(benchmark::State& state, const char* index, const char* where, const char* order)
{
    Database& db = Schedule(static_cast<int>(state.range(0)));
    std::string sql = "SELECT rowid, _rowver";
    for (const ColumnDef& c : ScheduleRecord::schema().columns())
        sql += ", \"" + c.name + "\"";
    sql += std::string(" FROM S INDEXED BY ") + index + " WHERE " + where + " ORDER BY " + order + " LIMIT 1";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db.handle()));
        return;
    }
    ScheduleRecord rec;
    for (auto _ : state) {
        if (sqlite3_step(stmt) != SQLITE_ROW)
            state.SkipWithError("no row");
        int column = 2;
        ScheduleRecord::fields(rec, [&](const char*, auto& field) {
            using T = std::remove_cvref_t<decltype(field)>;
            if constexpr (std::is_integral_v<T>)
                field = static_cast<T>(sqlite3_column_int64(stmt, column++));
            else
                field = std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                         static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
            if constexpr (!std::is_integral_v<T>)
                ++column;
        });
        sqlite3_reset(stmt);
        benchmark::DoNotOptimize(rec.date);
    }
    sqlite3_finalize(stmt);
}

void BareFirstEnabledTask(benchmark::State& state)
{
    BareSqlite(state, "S_KeyDateEnabled", "(Disabled <> 0 OR Date <> 0 OR Time <> 0) AND Disabled = 0",
               "Disabled, Date, Time, rowid");
}

void BareFirstAdvanceWarning(benchmark::State& state)
{
    BareSqlite(state, "S_KeyAdvanced",
               "(AdvanceWarned <> 0 OR AdvanceWarnDate <> 0 OR AdvanceWarnTime <> 0) AND AdvanceWarned = 0",
               "AdvanceWarned, AdvanceWarnDate, AdvanceWarnTime, rowid");
}

void AddHistory(benchmark::State& state)
{
    Database& db = Schedule(static_cast<int>(state.range(0)));
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
