#include "common/text.h"
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
        return "Command:  " + task.command.str();
    if (task.taskType == "Both" || !task.command.empty())
        return std::string(TrimLeft(std::string(text::Clip(message)) + "\rCommand: " + task.command.str()));
    return std::string(TrimLeft(text::Clip(message)));
}

}  // namespace

void Scheduler::checkAdvanceWarning()
{
    alias_.clear();
    alias_.set(data::ScheduleRecord::KeyAdvanced);
    if (alias_.next() != data::kOk)
        return;
    data::ScheduleRecord& task = alias_.rec;
    if (task.advanceWarned != 0 || task.scheduleType.empty())
        return;
    const platform::DateTime now = s_.clock.now();
    const bool due = now.date > task.advanceWarnDate ||
                     (now.date == task.advanceWarnDate && now.time > task.advanceWarnTime);
    if (!due)
        return;
    // Marked as given before it is shown: the box may stay open for long, and
    // meanwhile no other station gives the same warning again.
    task.advanceWarned = 1;
    if (alias_.put() != data::kOk || task.skipNextTime != 0)
        return;
    s_.log.logEvent("Advanced Warning", task.description.view());
    s_.prompter.ask({FormatD3(task.date) + " " + FormatT3(task.time) + "\r" + WarningBody(task), "Advanced Warning"});
}

}  // namespace hrln::scheduler
