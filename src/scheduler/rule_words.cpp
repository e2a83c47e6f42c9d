#include "scheduler/rule_words.h"

#include "common/text.h"

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

std::string Ordinal(int n)
{
    const int tens = n % 100;
    const char* suffix = "th";
    if (tens < 11 || tens > 13) {
        switch (n % 10) {
        case 1: suffix = "st"; break;
        case 2: suffix = "nd"; break;
        case 3: suffix = "rd"; break;
        default: break;
        }
    }
    return std::to_string(n) + suffix;
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
        return out + AtTime(task.time);
    }
    return "Custom repetition without units";
}

}  // namespace

std::string RuleInWords(const data::ScheduleRecord& task)
{
    const std::string type(text::Clip(task.scheduleType.view()));
    const YearMonthDay ymd = SplitDate(task.date);
    if (type == "Once")
        return task.date == 0 ? "Once" + AtTime(task.time) : "Once on " + FormatD4(task.date) + AtTime(task.time);
    if (type == "Monthly")
        return "Every month on the " + Ordinal(ymd.day) + AtTime(task.time);
    if (type == "Yearly")
        return "Every year on " + std::string(kMonths[static_cast<std::size_t>(ymd.month - 1)]) + " " +
               std::to_string(ymd.day) + AtTime(task.time);
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
                which.push_back(Ordinal(i + 1));
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
