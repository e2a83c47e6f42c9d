#include "cli/next_command.h"

#include "common/text.h"
#include "platform/prompter.h"
#include "recurrence/recurrence.h"
#include "recurrence/schedule_rule.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <ostream>

namespace hrln::cli {

const char* const kNextHelp =
    "Usage: horalyn-cli next --type TYPE [--days sun,mon,tue,wed,thu,fri,sat]\n"
    "                        [--ordinals 1st,2nd,3rd,4th,last] [--every N] [--unit UNIT]\n"
    "                        --date YYYY-MM-DD [--time HH:MM[:SS[.hh]]] [--count N]\n"
    "\n"
    "Prints the occurrence of a task at the given date and time and then each\n"
    "following one, as the scheduler moves the task after performing it, one line\n"
    "per occurrence: YYYY-MM-DD HH:MM:SS.hh\n"
    "\n"
    "Options:\n"
    "  --type TYPE       the rule, as stored: \"Once\", \"Day of Week\", \"Day of Month\",\n"
    "                    \"Monthly\", \"Yearly\"; any other text is a custom repetition\n"
    "                    every N units\n"
    "  --days LIST       weekdays for \"Day of Week\" and \"Day of Month\", separated by\n"
    "                    commas: sun, mon, tue, wed, thu, fri, sat\n"
    "  --ordinals LIST   weeks of the month for \"Day of Month\": 1st (days 1-7),\n"
    "                    2nd (8-14), 3rd (15-21), 4th (22-28), last (the final 7 days)\n"
    "  --every N         units per custom repetition (default 1; below 1 counts as 1)\n"
    "  --unit UNIT       unit of a custom repetition, as stored: minute(s), hour(s),\n"
    "                    day(s), week(s), month(s) or year(s); the first three letters\n"
    "                    count, in any case\n"
    "  --date DATE       the task's current occurrence, YYYY-MM-DD (years 1801-9999)\n"
    "  --time TIME       its time of day, HH:MM, HH:MM:SS or HH:MM:SS.hh (default 00:00)\n"
    "  --count N         how many occurrences to print, at least 1 (default 10); a\n"
    "                    \"Once\" rule has only one\n"
    "  --help            show this text\n"
    "\n"
    "Options take their value as the next argument or after '=' (--count=5).\n"
    "\n"
    "Example:\n"
    "  horalyn-cli next --type \"Day of Month\" --days fri --ordinals last --date 2027-01-29\n";

namespace {

std::optional<int> ParseWhole(std::string_view s)
{
    int value = 0;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (s.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

bool AllDigits(std::string_view s, std::size_t minLength, std::size_t maxLength)
{
    if (s.size() < minLength || s.size() > maxLength)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::optional<Date> ParseDate(std::string_view s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return std::nullopt;
    const std::string_view y = s.substr(0, 4), m = s.substr(5, 2), d = s.substr(8, 2);
    if (!AllDigits(y, 4, 4) || !AllDigits(m, 2, 2) || !AllDigits(d, 2, 2))
        return std::nullopt;
    const int year = *ParseWhole(y), month = *ParseWhole(m), day = *ParseWhole(d);
    if (year < 1801 || !IsValidDate(year, month, day))
        return std::nullopt;
    return MakeDate(month, day, year);
}

std::optional<Time> ParseTime(std::string_view s)
{
    std::array<std::string_view, 4> parts{};
    const std::size_t colon1 = s.find(':');
    if (colon1 == std::string_view::npos)
        return std::nullopt;
    parts[0] = s.substr(0, colon1);
    std::string_view rest = s.substr(colon1 + 1);
    const std::size_t colon2 = rest.find(':');
    parts[1] = rest.substr(0, colon2);
    if (colon2 != std::string_view::npos) {
        rest = rest.substr(colon2 + 1);
        const std::size_t dot = rest.find('.');
        parts[2] = rest.substr(0, dot);
        if (dot != std::string_view::npos) {
            parts[3] = rest.substr(dot + 1);
            if (!AllDigits(parts[3], 2, 2))
                return std::nullopt;
        }
        if (!AllDigits(parts[2], 2, 2))
            return std::nullopt;
    }
    if (!AllDigits(parts[0], 1, 2) || !AllDigits(parts[1], 2, 2))
        return std::nullopt;
    const int hours = *ParseWhole(parts[0]);
    const int minutes = *ParseWhole(parts[1]);
    const int seconds = parts[2].empty() ? 0 : *ParseWhole(parts[2]);
    const int hundredths = parts[3].empty() ? 0 : *ParseWhole(parts[3]);
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return MakeTime(hours, minutes, seconds, hundredths);
}

// Calls `onItem` for each comma-separated item, trimmed and in lower case;
// stops at the first item it refuses and gives that item.
template <class F>
std::optional<std::string> ForEachItem(std::string_view list, F&& onItem)
{
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string item = text::Lower(text::Trim(list.substr(0, comma)));
        if (!onItem(item))
            return item;
        if (comma == std::string_view::npos)
            return std::nullopt;
        list = list.substr(comma + 1);
    }
}

std::optional<std::string> SetWeekdays(data::ScheduleRecord& task, std::string_view list)
{
    static constexpr std::array<std::string_view, 7> kNames = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
    data::Byte* const flags[7] = {&task.sunday,   &task.monday, &task.tuesday, &task.wednesday,
                                  &task.thursday, &task.friday, &task.saturday};
    return ForEachItem(list, [&](const std::string& item) {
        for (std::size_t i = 0; i < kNames.size(); ++i)
            if (item == kNames[i]) {
                *flags[i] = 1;
                return true;
            }
        return false;
    });
}

std::optional<std::string> SetOrdinals(data::ScheduleRecord& task, std::string_view list)
{
    static constexpr std::array<std::string_view, 5> kNames = {"1st", "2nd", "3rd", "4th", "last"};
    data::Byte* const flags[5] = {&task.every1st, &task.every2nd, &task.every3rd, &task.every4th,
                                  &task.everyLast};
    return ForEachItem(list, [&](const std::string& item) {
        for (std::size_t i = 0; i < kNames.size(); ++i)
            if (item == kNames[i]) {
                *flags[i] = 1;
                return true;
            }
        return false;
    });
}

std::string Quoted(std::string_view s)
{
    return "'" + std::string(s) + "'";
}

// Shows a message box as one line on the error stream. The arguments are
// checked first, so the rule never has cause to ask.
class StreamPrompter : public platform::Prompter {
public:
    explicit StreamPrompter(std::ostream& err) : err_(err) {}
    platform::MessageButton ask(const platform::MessageBox& box) override
    {
        err_ << box.caption << ": " << box.text << '\n';
        return box.defaultButton;
    }
    void endProgram(const std::string& message) override { err_ << message << '\n'; }

private:
    std::ostream& err_;
};

}  // namespace

std::variant<NextRequest, HelpRequested, std::string> ParseNextArguments(std::span<const std::string_view> args)
{
    NextRequest request;
    data::ScheduleRecord& task = request.task;
    task.every = 1;
    task.time = MakeTime(0, 0);
    bool haveType = false, haveDate = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view option = args[i];
        if (option == "--help" || option == "-h")
            return HelpRequested{};
        std::optional<std::string_view> value;
        if (const std::size_t eq = option.find('='); option.starts_with("--") && eq != std::string_view::npos) {
            value = option.substr(eq + 1);
            option = option.substr(0, eq);
        }
        static constexpr std::array<std::string_view, 8> kOptions = {
            "--type", "--days", "--ordinals", "--every", "--unit", "--date", "--time", "--count"};
        bool known = false;
        for (std::string_view o : kOptions)
            known = known || option == o;
        if (!known)
            return "unknown option " + Quoted(option) + "; try --help";
        if (!value) {
            if (i + 1 >= args.size())
                return "option " + std::string(option) + " needs a value";
            value = args[++i];
        }

        if (option == "--type") {
            task.scheduleType = *value;
            haveType = true;
        } else if (option == "--days") {
            if (auto bad = SetWeekdays(task, *value))
                return "unknown weekday " + Quoted(*bad) + " in --days (use sun, mon, tue, wed, thu, fri, sat)";
        } else if (option == "--ordinals") {
            if (auto bad = SetOrdinals(task, *value))
                return "unknown week " + Quoted(*bad) + " in --ordinals (use 1st, 2nd, 3rd, 4th, last)";
        } else if (option == "--every") {
            const std::optional<int> every = ParseWhole(*value);
            if (!every)
                return "--every must be a whole number, not " + Quoted(*value);
            task.every = *every;
        } else if (option == "--unit") {
            task.everyType = *value;
        } else if (option == "--date") {
            const std::optional<Date> date = ParseDate(*value);
            if (!date)
                return "bad date " + Quoted(*value) + " (a real day, YYYY-MM-DD, years 1801-9999)";
            task.date = *date;
            haveDate = true;
        } else if (option == "--time") {
            const std::optional<Time> time = ParseTime(*value);
            if (!time)
                return "bad time " + Quoted(*value) + " (HH:MM, HH:MM:SS or HH:MM:SS.hh)";
            task.time = *time;
        } else if (option == "--count") {
            const std::optional<int> count = ParseWhole(*value);
            if (!count)
                return "--count must be a whole number, not " + Quoted(*value);
            if (*count < 1)
                return "--count must be at least 1";
            request.count = *count;
        }
    }

    if (!haveType)
        return std::string("--type is required");
    if (!haveDate)
        return std::string("--date is required");
    if (recurrence::KindOf(task) == recurrence::RuleKind::Custom &&
        recurrence::UnitOf(task.everyType.view()) == recurrence::Unit::Invalid)
        return "type " + Quoted(task.scheduleType.view()) +
               " is a custom repetition and needs --unit minute(s), hour(s), day(s), week(s), month(s) or year(s)";
    return request;
}

std::string FormatOccurrence(Date date, Time time)
{
    const YearMonthDay ymd = SplitDate(date);
    const TimeOfDay t = SplitTime(time);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%02d", ymd.year, ymd.month, ymd.day, t.hours,
                  t.minutes, t.seconds, t.hundredths);
    return buf;
}

void PrintOccurrences(NextRequest request, std::ostream& out, std::ostream& err)
{
    StreamPrompter prompter(err);
    data::ScheduleRecord& task = request.task;
    out << FormatOccurrence(task.date, task.time) << '\n';
    for (int i = 1; i < request.count; ++i) {
        const Date performedDate = task.date;
        const Time performedTime = task.time;
        recurrence::NextOccurrence(task, performedDate, performedTime, prompter);
        if (task.completed != 0)
            break;  // a one-time task is gone once performed
        out << FormatOccurrence(task.date, task.time) << '\n';
    }
}

}  // namespace hrln::cli
