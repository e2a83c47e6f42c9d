#pragma once

#include "common/date_time.h"
#include "common/report.h"
#include "data/database.h"

#include <memory>
#include <string>

namespace hrln::scheduler {

enum class ScheduleReport {
    DateOrder,         // grouped by day, in date and time order
    CategoryOrder,     // grouped by category, in date and time order within each
    Brief,             // one line per task, in date order
    SpecificCategory,  // one category, in date and time order
};

struct ScheduleReportOptions {
    Date from = 0;         // first day taken; 0: from the start
    Date to = 0;           // last day taken; 0: to the end
    std::string category;  // only this category (always for SpecificCategory); blank: all
    bool includeHistory = false;   // entries of occurrences performed
    bool includeDisabled = false;  // tasks switched off
};

const char* ScheduleReportName(ScheduleReport report);

// The report's rows, read from the schedule a page at a time.
std::unique_ptr<report::Source> MakeScheduleReport(data::Database& db, ScheduleReport report,
                                                   ScheduleReportOptions options);

}  // namespace hrln::scheduler
