#pragma once

#include "common/date_time.h"
#include "common/report.h"
#include "data/database.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Every report the program prints, by the name the command line knows it by,
// with the choices each one takes. The Reports menu and `horalyn-cli report`
// both start from here.
namespace hrln::scheduler {

enum class ReportKind {
    ScheduleByDate,
    ScheduleByCategory,
    BriefSchedule,
    ScheduleForCategory,
    Contacts,
    Categories,
    TodoByPriority,
    TodoByCategory,
};

// Which of the choices a report takes.
struct ReportChoices {
    bool dates = false;             // a first and a last day
    bool category = false;          // one schedule category (or all)
    bool categoryRequired = false;  // ... and it must be given
    bool contactCategory = false;   // one contact category (or all)
    bool history = false;           // history entries too
    bool disabled = false;          // disabled tasks too
    bool done = false;              // done to-do items too
};

struct ReportRequest {
    Date from = 0;
    Date to = 0;
    std::string category;
    bool includeHistory = false;
    bool includeDisabled = false;
    bool includeDone = true;
};

struct ReportEntry {
    ReportKind kind;
    const char* name;   // on the command line: "schedule-date"
    const char* about;  // one line for the command's help
    ReportChoices choices;
};

std::span<const ReportEntry> Reports();
const ReportEntry& ReportOf(ReportKind kind);
std::optional<ReportKind> ReportNamed(std::string_view name);

// The report's rows as `request` narrows them; the choices it does not take are ignored.
std::unique_ptr<report::Source> MakeReport(data::Database& db, ReportKind kind, const ReportRequest& request);

}  // namespace hrln::scheduler
