#include "cli/next_command.h"

#include "cli/stream_prompter.h"
#include "cli/values.h"
#include "recurrence/recurrence.h"

#include <array>
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
    "  --date DATE       the task's current occurrence, YYYY-MM-DD (years 1801-2099)\n"
    "  --time TIME       its time of day, HH:MM, HH:MM:SS or HH:MM:SS.hh (default 00:00)\n"
    "  --count N         how many occurrences to print, at least 1 (default 10); a\n"
    "                    \"Once\" rule has only one\n"
    "  --help            show this text\n"
    "\n"
    "Options take their value as the next argument or after '=' (--count=5).\n"
    "\n"
    "Example:\n"
    "  horalyn-cli next --type \"Day of Month\" --days fri --ordinals last --date 2027-01-29\n";

std::variant<NextRequest, std::string> ParseNextArguments(const Arguments& given)
{
    if (!given.operands.empty())
        return "unexpected argument " + Quoted(given.operands.front()) + "; try --help";

    NextRequest request;
    data::ScheduleRecord& task = request.task;
    task.every = 1;
    task.time = MakeTime(0, 0);
    bool haveType = false, haveDate = false;
    for (const auto& [option, value] : given.options) {
        if (option == "--count") {
            const std::optional<int> count = ParseWhole(value);
            if (!count)
                return "--count must be a whole number, not " + Quoted(value);
            if (*count < 1)
                return "--count must be at least 1";
            request.count = *count;
            continue;
        }
        if (auto reason = ApplyTaskOption(task, option, value))
            return std::move(*reason);
        haveType = haveType || option == "--type";
        haveDate = haveDate || option == "--date";
    }

    if (!haveType)
        return std::string("--type is required");
    if (!haveDate)
        return std::string("--date is required");
    if (auto reason = CheckRuleOptions(task, given))
        return std::move(*reason);
    return request;
}

std::string FormatOccurrence(Date date, Time time)
{
    return FormatD17(date) + ' ' + FormatTimeHundredths(time);
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

int RunNext(const Arguments& given, const CommandContext& context)
{
    auto parsed = ParseNextArguments(given);
    if (auto* reason = std::get_if<std::string>(&parsed))
        return context.fail(*reason);
    PrintOccurrences(std::get<NextRequest>(std::move(parsed)), context.out, context.err);
    return kDone;
}

}  // namespace hrln::cli
