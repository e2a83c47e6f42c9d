#include "scheduler/schedule_reports.h"

#include "common/text.h"
#include "data/record_pages.h"
#include "data/records.h"
#include "scheduler/rule_words.h"

#include <array>

namespace hrln::scheduler {
namespace {

using data::ScheduleRecord;

constexpr std::array<const char*, 7> kDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};

std::string Clipped(std::string_view s)
{
    return std::string(text::Clip(s));
}

std::string DayTitle(Date date)
{
    if (date == 0)
        return "No date";
    return std::string(kDayNames[static_cast<std::size_t>(Weekday(date))]) + ", " + FormatD4(date);
}

std::string TypeText(const ScheduleRecord& task)
{
    std::string type = Clipped(task.taskType.view());
    if (task.isHistoryEntry())
        type += task.skipNextTime != 0 ? " (history, passed over)" : " (history)";
    else if (task.disabled != 0)
        type += " (disabled)";
    return type;
}

// The program and the message, each on lines of its own.
std::string Details(const ScheduleRecord& task)
{
    std::string out;
    const std::string command = Clipped(task.command.view());
    if (!command.empty() && command != "N/A")
        out = "Program: " + command;
    const std::string message = Clipped(task.message.view());
    if (!message.empty())
        out += (out.empty() ? "" : "\n") + message;
    return out;
}

// Which tasks the options take, as a condition over the table's columns.
data::KeyView::Restriction Restriction(const ScheduleReportOptions& o, bool categoryByKey)
{
    data::KeyView::Restriction r;
    const auto add = [&](const std::string& sql) { r.sql += (r.sql.empty() ? "" : " AND ") + sql; };
    if (!o.includeHistory && !o.includeDisabled)
        add("\"Disabled\" = 0");
    else if (!o.includeHistory)
        add("NOT (\"Disabled\" = 1 AND \"Completed\" = 1)");
    else if (!o.includeDisabled)
        add("(\"Disabled\" = 0 OR \"Completed\" = 1)");
    if (o.from != 0) {
        add("\"Date\" >= ?");
        r.values.emplace_back(std::int64_t{o.from});
    }
    if (o.to != 0) {
        add("\"Date\" <= ?");
        r.values.emplace_back(std::int64_t{o.to});
    }
    if (!categoryByKey && !o.category.empty()) {
        add("\"Category\" = ?");  // compared as the keys compare texts
        r.values.emplace_back(o.category);
    }
    return r;
}

std::string Criteria(const ScheduleReportOptions& o)
{
    std::string out;
    const auto add = [&](const std::string& part) { out += (out.empty() ? "" : "; ") + part; };
    if (o.from != 0 && o.to != 0)
        add("From " + FormatD4(o.from) + " to " + FormatD4(o.to));
    else if (o.from != 0)
        add("From " + FormatD4(o.from) + " on");
    else if (o.to != 0)
        add("Up to " + FormatD4(o.to));
    if (!o.category.empty())
        add("Category " + o.category);
    if (o.includeHistory)
        add("history entries included");
    if (o.includeDisabled)
        add("disabled tasks included");
    return out;
}

class ScheduleSource : public report::Source {
public:
    ScheduleSource(data::Database& db, ScheduleReport kind, ScheduleReportOptions options)
        : kind_(kind), options_(std::move(options)),
          pages_(db, ByCategory() ? ScheduleRecord::KeyCategoryDate : ScheduleRecord::KeyDate,
                 ByCategory() && !options_.category.empty() ? std::vector<data::Value>{options_.category}
                                                            : std::vector<data::Value>{},
                 Restriction(options_, ByCategory()))
    {
    }

    std::string name() const override { return ScheduleReportName(kind_); }

    std::vector<report::Column> columns() const override
    {
        switch (kind_) {
        case ScheduleReport::DateOrder:
            return {{"Time", 10}, {"Task", 24}, {"Category", 13}, {"Type", 20}, {"Repeats", 33}};
        case ScheduleReport::Brief:
            return {{"Date", 14}, {"Time", 10}, {"Task", 32}, {"Category", 16}, {"Type", 20}};
        case ScheduleReport::CategoryOrder:
        case ScheduleReport::SpecificCategory:
            return {{"Date", 14}, {"Time", 10}, {"Task", 21}, {"Type", 20}, {"Repeats", 34}};
        }
        return {};
    }

    std::string groupTitle() const override
    {
        switch (kind_) {
        case ScheduleReport::DateOrder: return "Day";
        case ScheduleReport::Brief: return {};
        case ScheduleReport::CategoryOrder:
        case ScheduleReport::SpecificCategory: return "Category";
        }
        return {};
    }

    std::string detailTitle() const override { return kind_ == ScheduleReport::Brief ? "" : "Details"; }
    std::string criteria() const override { return Criteria(options_); }

    int read(std::int64_t first, int n, std::vector<report::Row>& out) override
    {
        return pages_.read(first, n, [&](const ScheduleRecord* task) {
            out.push_back(report::RowOf(task, [this](const ScheduleRecord& t) { return rowOf(t); }));
        });
    }

    int error() const override { return pages_.error(); }

private:
    bool ByCategory() const
    {
        return kind_ == ScheduleReport::CategoryOrder || kind_ == ScheduleReport::SpecificCategory;
    }

    report::Row rowOf(const ScheduleRecord& t) const
    {
        report::Row row;
        const std::string description = Clipped(t.description.view());
        const std::string category = Clipped(t.category.view());
        switch (kind_) {
        case ScheduleReport::DateOrder:
            row.group = DayTitle(t.date);
            row.cells = {FormatT3(t.time), description, category, TypeText(t), RuleInWords(t)};
            row.detail = Details(t);
            break;
        case ScheduleReport::Brief:
            row.cells = {FormatD3(t.date), FormatT3(t.time), description, category, TypeText(t)};
            break;
        case ScheduleReport::CategoryOrder:
        case ScheduleReport::SpecificCategory:
            row.group = category.empty() ? std::string("No category") : category;
            row.cells = {FormatD3(t.date), FormatT3(t.time), description, TypeText(t), RuleInWords(t)};
            row.detail = Details(t);
            break;
        }
        return row;
    }

    ScheduleReport kind_;
    ScheduleReportOptions options_;
    data::RecordPages<ScheduleRecord> pages_;
};

}  // namespace

const char* ScheduleReportName(ScheduleReport report)
{
    switch (report) {
    case ScheduleReport::DateOrder: return "Schedule by Date";
    case ScheduleReport::CategoryOrder: return "Schedule by Category";
    case ScheduleReport::Brief: return "Brief Schedule";
    case ScheduleReport::SpecificCategory: return "Schedule for One Category";
    }
    return "";
}

std::unique_ptr<report::Source> MakeScheduleReport(data::Database& db, ScheduleReport report,
                                                   ScheduleReportOptions options)
{
    return std::make_unique<ScheduleSource>(db, report, std::move(options));
}

}  // namespace hrln::scheduler
