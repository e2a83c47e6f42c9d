#include "support/bench_schedule.h"

#include "data/table.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>

namespace hrln::bench {

using namespace hrln::data;

Date BenchToday()
{
    return MakeDate(12, 8, 2026);
}

void FillSchedule(Database& db, int records, int historyPerHundred, Date today)
{
    std::mt19937 random(7);
    Table<ScheduleRecord> t(db);
    db.begin();
    int enabled = 0;
    for (int i = 1; i <= records; ++i) {
        t.clear();
        t.rec.id = i;
        t.rec.taskType = "Display Message";
        t.rec.scheduleType = "Day of Week";
        t.rec.category = i % 3 == 0 ? "Work" : "Home";
        t.rec.description = "Task number " + std::to_string(i);
        t.rec.message = "Time for task " + std::to_string(i);
        const bool history = i % 100 < historyPerHundred;
        t.rec.disabled = history ? 1 : 0;
        t.rec.completed = history ? 1 : 0;
        t.rec.date = history ? today - 1 - static_cast<Date>(random() % 3650) : today + 2 + static_cast<Date>(random() % 3650);
        t.rec.time = MakeTime(static_cast<int>(random() % 24), static_cast<int>(random() % 60));
        // Every third task still to come warns in advance, whatever share is history.
        if (!history && ++enabled % 3 == 0) {
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
}

Database& ScheduleDatabase(int records)
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
    FillSchedule(db, records, 99);
    return db;
}

BareLookup::BareLookup(Database& db, const LookupSql& sql)
{
    std::string text = "SELECT rowid, _rowver";
    for (const ColumnDef& c : ScheduleRecord::schema().columns())
        text += ", \"" + c.name + "\"";
    text += std::string(" FROM S INDEXED BY ") + sql.index + " WHERE " + sql.where + " ORDER BY " + sql.order +
            " LIMIT 1";
    if (sqlite3_prepare_v2(db.handle(), text.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
        std::abort();
}

BareLookup::~BareLookup()
{
    sqlite3_finalize(stmt_);
}

bool BareLookup::read()
{
    if (sqlite3_step(stmt_) != SQLITE_ROW) {
        sqlite3_reset(stmt_);
        return false;
    }
    int column = 2;
    ScheduleRecord::fields(rec_, [&](const char*, auto& field) {
        using T = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_integral_v<T>) {
            field = static_cast<T>(sqlite3_column_int64(stmt_, column));
        } else {
            field = std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                                     static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
        }
        ++column;
    });
    sqlite3_reset(stmt_);
    return true;
}

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

}  // namespace hrln::bench
