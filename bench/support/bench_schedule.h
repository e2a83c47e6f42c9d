#pragma once

#include "data/database.h"
#include "data/records.h"

#include <string>

struct sqlite3_stmt;

namespace hrln::bench {

// Resident memory of this process in kilobytes.
long ResidentKb();

// The day the generated schedules are built around.
Date BenchToday();

// Adds tasks 1 to `records` to an empty schedule, `historyPerHundred` in 100
// of them history entries dated before `today`, the others enabled tasks from
// two days after it on, one in 3 of these with an advance warning.
void FillSchedule(data::Database& db, int records, int historyPerHundred, Date today = BenchToday());

// A schedule of `records` tasks, 99 in 100 of them history entries, the rest
// enabled tasks from two days after BenchToday() on, some with an advance
// warning. Built once per size and run in the temporary folder.
data::Database& ScheduleDatabase(int records);

struct LookupSql {
    const char* index;
    const char* where;
    const char* order;
};
inline constexpr LookupSql kFirstEnabledTask{"S_KeyDateEnabled",
                                             "(Disabled <> 0 OR Date <> 0 OR Time <> 0) AND Disabled = 0",
                                             "Disabled, Date, Time, rowid"};
inline constexpr LookupSql kFirstAdvanceWarning{
    "S_KeyAdvanced", "(AdvanceWarned <> 0 OR AdvanceWarnDate <> 0 OR AdvanceWarnTime <> 0) AND AdvanceWarned = 0",
    "AdvanceWarned, AdvanceWarnDate, AdvanceWarnTime, rowid"};

// The reference lookup: one prepared statement, stepped and read column by
// column into a record, as a hand-written lookup would.
class BareLookup {
public:
    BareLookup(data::Database& db, const LookupSql& sql);
    ~BareLookup();
    BareLookup(const BareLookup&) = delete;
    BareLookup& operator=(const BareLookup&) = delete;
    bool read();
    const data::ScheduleRecord& record() const { return rec_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    data::ScheduleRecord rec_;
};

}  // namespace hrln::bench
