#include "cli/task_options.h"

#include "cli/command.h"
#include "cli/values.h"
#include "common/text.h"
#include "recurrence/schedule_rule.h"

#include <algorithm>
#include <span>

namespace hrln::cli {
namespace {

// Sets the flag named by each comma-separated item (trimmed, any case); gives
// the first item that names none.
std::optional<std::string> SetFlags(std::string_view list, std::span<const std::string_view> names,
                                    std::span<data::Byte* const> flags)
{
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string item = text::Lower(text::Trim(list.substr(0, comma)));
        const auto found = std::find(names.begin(), names.end(), item);
        if (found == names.end())
            return item;
        *flags[static_cast<std::size_t>(found - names.begin())] = 1;
        if (comma == std::string_view::npos)
            return std::nullopt;
        list = list.substr(comma + 1);
    }
}

// A custom repetition needs a unit it knows.
std::optional<std::string> CheckCustomUnit(const data::ScheduleRecord& task)
{
    if (recurrence::KindOf(task) == recurrence::RuleKind::Custom &&
        recurrence::UnitOf(task.everyType.view()) == recurrence::Unit::Invalid)
        return "type " + Quoted(task.scheduleType.view()) +
               " is a custom repetition and needs --unit minute(s), hour(s), day(s), week(s), month(s) or year(s)";
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ApplyTaskOption(data::ScheduleRecord& task, std::string_view option,
                                           std::string_view value)
{
    if (option == "--type") {
        task.scheduleType = value;
    } else if (option == "--days") {
        static constexpr std::array<std::string_view, 7> kNames = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
        data::Byte* const flags[] = {&task.sunday,   &task.monday, &task.tuesday, &task.wednesday,
                                     &task.thursday, &task.friday, &task.saturday};
        if (auto bad = SetFlags(value, kNames, flags))
            return "unknown weekday " + Quoted(*bad) + " in --days (use sun, mon, tue, wed, thu, fri, sat)";
    } else if (option == "--ordinals") {
        static constexpr std::array<std::string_view, 5> kNames = {"1st", "2nd", "3rd", "4th", "last"};
        data::Byte* const flags[] = {&task.every1st, &task.every2nd, &task.every3rd, &task.every4th,
                                     &task.everyLast};
        if (auto bad = SetFlags(value, kNames, flags))
            return "unknown week " + Quoted(*bad) + " in --ordinals (use 1st, 2nd, 3rd, 4th, last)";
    } else if (option == "--every") {
        const std::optional<int> every = ParseWhole(value);
        if (!every)
            return "--every must be a whole number, not " + Quoted(value);
        task.every = *every;
    } else if (option == "--unit") {
        task.everyType = value;
    } else if (option == "--date") {
        const std::optional<Date> date = ParseDate(value);
        if (!date)
            return "bad date " + Quoted(value) + " (YYYY-MM-DD, a real day between " + KeptDatesText() + ")";
        task.date = *date;
    } else if (option == "--time") {
        const std::optional<Time> time = ParseTime(value);
        if (!time)
            return "bad time " + Quoted(value) + " (HH:MM, HH:MM:SS or HH:MM:SS.hh)";
        task.time = *time;
    } else {
        return "unknown option " + Quoted(option) + "; try --help";
    }
    return std::nullopt;
}

std::optional<std::string> CheckRuleOptions(const data::ScheduleRecord& task, const Arguments& given)
{
    const recurrence::RuleKind kind = recurrence::KindOf(task);
    for (const auto& [option, value] : given.options) {
        if (option == "--days" && kind != recurrence::RuleKind::DayOfWeek && kind != recurrence::RuleKind::DayOfMonth)
            return "--days is for \"Day of Week\" and \"Day of Month\", not " + Quoted(task.scheduleType.view());
        if (option == "--ordinals" && kind != recurrence::RuleKind::DayOfMonth)
            return "--ordinals is for \"Day of Month\", not " + Quoted(task.scheduleType.view());
    }
    return CheckCustomUnit(task);
}

}  // namespace hrln::cli
