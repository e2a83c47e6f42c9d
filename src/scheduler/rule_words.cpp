#include "scheduler/rule_words.h"

#include "common/text.h"
#include "recurrence/stepping.h"

#include <array>
#include <vector>

namespace hrln::scheduler {
namespace {

constexpr std::array<const char*, 7> kDays{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonths{"January", "February", "March",     "April",   "May",      "June",
                                              "July",    "August",   "September", "October", "November", "December"};

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items)
{
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += i + 1 == items.size() ? " and " : ", ";
        out += items[i];
    }
    return out;
}

std::vector<std::string> FlaggedDays(const data::ScheduleRecord& task)
{
    std::vector<std::string> out;
    for (int d = 0; d < 7; ++d)
        if (task.weekdayFlag(d) != 0)
            out.emplace_back(kDays[static_cast<std::size_t>(d)]);
    return out;
}

std::string AtTime(Time time)
{
    return time == 0 ? std::string() : " at " + FormatT3(time);
}

std::string MonthName(int month)
{
    return kMonths[static_cast<std::size_t>(month - 1)];
}

// The day the task keeps in steps of `months`, and what happens to it when a
// month is too short for it, as the recurrence engine steps it: the day
// carries into the next month and the task keeps the new day from then on.
std::string KeptDay(const data::ScheduleRecord& task, std::int64_t months)
{
    const YearMonthDay ymd = SplitDate(task.date);
    const bool yearly = months % 12 == 0;
    std::string out = yearly ? " on " + MonthName(ymd.month) + " " + std::to_string(ymd.day)
                             : " on the " + text::Ordinal(ymd.day);
    out += AtTime(task.time);
    const Date carried = task.date == 0 ? 0 : recurrence::FirstCarriedDate(task.date, months, kLastDate);
    if (carried == 0)
        return out;
    const YearMonthDay to = SplitDate(carried);
    const YearMonthDay shortMonth = SplitDate(MakeDate(to.month, 1, to.year) - 1);
    if (yearly)
        return out + "; in " + std::to_string(shortMonth.year) + ", a common year, it moves to " + MonthName(to.month) +
               " " + std::to_string(to.day) + " and stays on that day";
    return out + "; " + MonthName(shortMonth.month) + " " + std::to_string(shortMonth.year) + " is too short for the " +
           text::Ordinal(ymd.day) + ": it moves to " + MonthName(to.month) + " " + std::to_string(to.day) +
           " and stays on the " + text::Ordinal(to.day) + " from then on";
}

std::string Custom(const data::ScheduleRecord& task)
{
    const long long every = task.every < 1 ? 1 : task.every;  // as the scheduler reads it
    const std::string unit = text::Lower(std::string(task.everyType.str()).substr(0, 3));
    const struct {
        const char* key;
        const char* one;
        const char* many;
    } units[] = {{"min", "minute", "minutes"}, {"hou", "hour", "hours"}, {"day", "day", "days"},
                 {"wee", "week", "weeks"},     {"mon", "month", "months"}, {"yea", "year", "years"}};
    for (const auto& u : units) {
        if (unit != u.key)
            continue;
        std::string out = every == 1 ? std::string("Every ") + u.one : "Every " + std::to_string(every) + " " + u.many;
        // Minutes and hours move the time on; the other units keep it.
        if (unit == "min" || unit == "hou")
            return task.time == 0 ? out : out + " from " + FormatT3(task.time);
        if (task.date != 0 && unit == "mon")
            return out + KeptDay(task, every);
        if (task.date != 0 && unit == "yea")
            return out + KeptDay(task, 12 * every);
        return out + AtTime(task.time);
    }
    return "Custom repetition without units";
}

}  // namespace

std::string RuleInWords(const data::ScheduleRecord& task)
{
    const std::string type(text::Clip(task.scheduleType.view()));
    if (type == "Once")
        return task.date == 0 ? "Once" + AtTime(task.time) : "Once on " + FormatD4(task.date) + AtTime(task.time);
    if (type == "Monthly")
        return "Every month" + KeptDay(task, 1);
    if (type == "Yearly")
        return "Every year" + KeptDay(task, 12);
    if (type == "Day of Week") {
        const std::vector<std::string> days = FlaggedDays(task);
        // No day chosen moves the task on by one day, as all seven do.
        if (days.empty() || days.size() == 7)
            return "Every day" + AtTime(task.time);
        return "Every " + Listed(days) + AtTime(task.time);
    }
    if (type == "Day of Month") {
        std::vector<std::string> which;
        const data::Byte flags[] = {task.every1st, task.every2nd, task.every3rd, task.every4th};
        for (int i = 0; i < 4; ++i)
            if (flags[i] != 0)
                which.push_back(text::Ordinal(i + 1));
        if (task.everyLast != 0)
            which.emplace_back("last");
        const std::vector<std::string> days = FlaggedDays(task);
        if (days.empty())  // any day of the chosen weeks
            return which.empty() ? "Every day" + AtTime(task.time)
                                 : "Every day in the " + Listed(which) + " week of the month" + AtTime(task.time);
        if (which.empty())
            return "Every " + Listed(days) + AtTime(task.time);
        return "Every " + Listed(which) + " " + Listed(days) + " of the month" + AtTime(task.time);
    }
    return Custom(task);
}

}  // namespace hrln::scheduler
