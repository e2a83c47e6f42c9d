// Performing one due task: alarm, the rules and questions that may pass it
// over, the message and the program, then the move to its next occurrence and
// its history entry.
#include "common/text.h"
#include "data/schedule_store.h"
#include "recurrence/recurrence.h"
#include "scheduler/alarm.h"
#include "scheduler/scheduler.h"

namespace hrln::scheduler {
namespace {

using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr Time kLateAllowance = 60'000;  // ten minutes

bool ShowsMessage(const data::ScheduleRecord& task)
{
    return task.taskType == "Display Message" || task.taskType == "Both";
}

bool RunsProgram(const data::ScheduleRecord& task)
{
    return task.taskType == "Run Program" || task.taskType == "Both";
}

// A moment as whole seconds, comparable between stations.
std::int64_t Stamp(const platform::DateTime& at)
{
    return static_cast<std::int64_t>(at.date) * 86'400 + (at.time > 0 ? (at.time - 1) / 100 : 0);
}

}  // namespace

void Scheduler::dispatchDueTask()
{
    data::ScheduleRecord& task = alias_.rec;
    platform::DateTime now = s_.clock.now();

    // Claim this occurrence first: where several stations share the schedule,
    // only the one whose claim holds performs it.
    if (alias_.claim(Stamp(now), Stamp(now) - kClaimLifetimeSeconds) != data::kOk)
        return;

    if (task.skipNextTime == 0) {
        // Bring the frame back when the task needs it.
        const bool needsFrame = (ShowsMessage(task) && !s_.settings.useModalMessage) || s_.settings.maximizeOnRun;
        if (needsFrame && s_.frame.isMinimized()) {
            s_.frame.unminimize();
            if (!s_.settings.noTray && s_.tray.shown())
                s_.tray.removeForFrame();
        }

        if (task.alarm != 0)
            SoundAlarm(s_.sound, task.alarmFile);

        const std::string name(text::Clip(task.description.view()));
        now = s_.clock.now();
        if (CompareDateTime(now.date, now.time, task.date, task.time + kLateAllowance) == 1 &&
            task.skipIfMissed != 0) {
            skip_ = true;  // too late: passed over without a question
        } else if (now.date > task.date && task.warn != 0 && task.taskType != "Display Message") {
            const MessageButton answer = s_.prompter.ask({name + " was not run.  Run it now?", "Missed Task",
                                                          MessageIcon::Exclamation, MessageButtons::YesNo,
                                                          MessageButton::No});
            skip_ = answer != MessageButton::Yes;
        } else if (task.userSkip != 0) {
            const MessageButton answer = s_.prompter.ask({name + " is due to run.  Run it now?", "Confirm Task",
                                                          MessageIcon::Exclamation, MessageButtons::YesNo,
                                                          MessageButton::No});
            skip_ = answer != MessageButton::Yes;
        }

        now = s_.clock.now();
        task.lastRunDate = now.date;
        task.lastRunTime = now.time;

        if (!skip_) {
            if (ShowsMessage(task)) {
                if (!s_.messageWindows.full()) {
                    s_.messages.startMessage(MakeMessageSlots(task.description.view(), task.message.view(),
                                                              task.alarm != 0 ? task.alarmFile.view() : ""));
                } else {
                    s_.prompter.ask({std::string(text::Clip(task.message.view())), ""});
                }
            }
            if (RunsProgram(task)) {
                s_.scripts.runTaskProgram(task.command.str(), task.path.str(), task.id);
                if (s_.scripts.pending())
                    s_.frame.setTimerInterval(kScriptInterval);
            }
        }
    }
    advanceAndRecord();
}

void Scheduler::advanceAndRecord()
{
    data::ScheduleRecord& task = alias_.rec;
    const platform::DateTime now = s_.clock.now();

    // The advance warning keeps its distance before the occurrence.
    bool offset = false;
    if (task.advanceWarnDate != 0) {
        task.advanceWarnDate -= task.date;
        offset = true;
    }
    if (task.advanceWarnTime != 0) {
        task.advanceWarnTime -= task.time;
        offset = true;
    }
    const Time after = now.date > task.date && task.skipIfMissed != 0 ? 0 : now.time;
    recurrence::NextOccurrence(task, now.date, after, s_.prompter);

    // The move and the history entry stand or fall together.
    const bool transaction = s_.db.begin() == data::kOk;
    if (task.completed != 0) {
        data::DeleteTask(alias_);
    } else {
        task.skipNextTime = 0;
        if (offset) {
            task.advanceWarnDate += task.date;
            task.advanceWarnTime += task.time;
        }
        task.advanceWarned = 0;
        alias_.put();
    }
    if (saved_.noHistory == 0) {
        alias_.rec = saved_;
        alias_.rec.completed = 1;
        alias_.rec.disabled = 1;
        data::AddHistoryEntry(alias_);
    }
    if (transaction && s_.db.commit() != data::kOk)
        s_.db.rollback();
}

}  // namespace hrln::scheduler
