#include "common/text.h"
#include "common/translate.h"
#include "scheduler/scheduler.h"

namespace hrln::scheduler {
namespace {

std::string_view TrimLeft(std::string_view s)
{
    const std::size_t start = s.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view{} : s.substr(start);
}

// The warning's text after its first line.
std::string WarningBody(const data::ScheduleRecord& task)
{
    const std::string_view message = task.message.view();
    if (task.taskType == "Display Message")
        return std::string(message);
    if (task.taskType == "Run Program")
        return FillIn(HrlnTranslate("AdvanceWarning", "Command:  %1"), {task.command.str()});
    if (task.taskType == "Both" || !task.command.empty())
        return std::string(TrimLeft(std::string(text::Clip(message)) + "\r" +
                                    FillIn(HrlnTranslate("AdvanceWarning", "Command: %1"), {task.command.str()})));
    return std::string(TrimLeft(text::Clip(message)));
}

}  // namespace

void Scheduler::checkAdvanceWarning()
{
    alias_.clear();
    alias_.set(data::ScheduleRecord::KeyAdvanced);
    if (const int err = alias_.next(); err != data::kOk) {
        quiet_.readAgain = quiet_.readAgain || err != data::kRecordNotAvailable;
        return;
    }
    data::ScheduleRecord& task = alias_.rec;
    if (task.advanceWarned != 0 || task.scheduleType.empty())
        return;
    const platform::DateTime now = s_.clock.now();
    const bool due = now.date > task.advanceWarnDate ||
                     (now.date == task.advanceWarnDate && now.time > task.advanceWarnTime);
    if (!due) {
        // The quiet ticks end when the warning comes due.
        if (quiet_.untilDate == 0 ||
            CompareDateTime(task.advanceWarnDate, task.advanceWarnTime, quiet_.untilDate, quiet_.untilTime) < 0) {
            quiet_.untilDate = task.advanceWarnDate;
            quiet_.untilTime = task.advanceWarnTime;
        }
        return;
    }
    quiet_.readAgain = true;
    // Marked as given before it is shown: the box may stay open for long, and
    // meanwhile no other station gives the same warning again.
    task.advanceWarned = 1;
    if (alias_.put() != data::kOk || task.skipNextTime != 0)
        return;
    s_.log.logEvent("Advanced Warning", task.description.view());
    s_.prompter.ask({FormatD3(task.date) + " " + FormatT3(task.time) + "\r" + WarningBody(task),
                     HrlnTranslate("AdvanceWarning", "Advanced Warning")});
}

}  // namespace hrln::scheduler
