#include "scheduler/report_catalogue.h"

#include "pim/pim_reports.h"
#include "scheduler/schedule_reports.h"

#include <array>

namespace hrln::scheduler {
namespace {

constexpr ReportChoices kTaskChoices{true, true, false, false, true, true, false};

const std::array<ReportEntry, 8> kReports = {{
    {ReportKind::ScheduleByDate, "schedule-date", "the tasks by day, in date and time order", kTaskChoices},
    {ReportKind::ScheduleByCategory, "schedule-category", "the tasks by category, in date order within each",
     kTaskChoices},
    {ReportKind::BriefSchedule, "brief", "one line per task, in date order", kTaskChoices},
    {ReportKind::ScheduleForCategory, "category", "the tasks of one category (--category)",
     {true, true, true, false, true, true, false}},
    {ReportKind::Contacts, "contacts", "the contacts by name, with address and notes",
     {false, false, false, true, false, false, false}},
    {ReportKind::Categories, "categories", "the schedule's categories", {}},
    {ReportKind::TodoByPriority, "todo-priority", "the to-do list by priority",
     {false, true, false, false, false, false, true}},
    {ReportKind::TodoByCategory, "todo-category", "the to-do list by category",
     {false, true, false, false, false, false, true}},
}};

}  // namespace

std::span<const ReportEntry> Reports()
{
    return kReports;
}

const ReportEntry& ReportOf(ReportKind kind)
{
    for (const ReportEntry& e : kReports)
        if (e.kind == kind)
            return e;
    return kReports.front();
}

std::optional<ReportKind> ReportNamed(std::string_view name)
{
    for (const ReportEntry& e : kReports)
        if (name == e.name)
            return e.kind;
    return std::nullopt;
}

std::unique_ptr<report::Source> MakeReport(data::Database& db, ReportKind kind, const ReportRequest& request)
{
    ScheduleReportOptions tasks;
    tasks.from = request.from;
    tasks.to = request.to;
    tasks.category = request.category;
    tasks.includeHistory = request.includeHistory;
    tasks.includeDisabled = request.includeDisabled;
    switch (kind) {
    case ReportKind::ScheduleByDate: return MakeScheduleReport(db, ScheduleReport::DateOrder, tasks);
    case ReportKind::ScheduleByCategory: return MakeScheduleReport(db, ScheduleReport::CategoryOrder, tasks);
    case ReportKind::BriefSchedule: return MakeScheduleReport(db, ScheduleReport::Brief, tasks);
    case ReportKind::ScheduleForCategory: return MakeScheduleReport(db, ScheduleReport::SpecificCategory, tasks);
    case ReportKind::Contacts: return pim::MakeContactsReport(db, {request.category});
    case ReportKind::Categories: return pim::MakeCategoriesReport(db);
    case ReportKind::TodoByPriority:
        return pim::MakeTodoReport(db, pim::TodoReport::Priority, {request.category, request.includeDone});
    case ReportKind::TodoByCategory:
        return pim::MakeTodoReport(db, pim::TodoReport::Category, {request.category, request.includeDone});
    }
    return nullptr;
}

}  // namespace hrln::scheduler
