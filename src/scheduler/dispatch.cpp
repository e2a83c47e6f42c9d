// Performing one due task: alarm, the rules and questions that may pass it
// over, the move to its next occurrence and its history entry, then the
// message and the program.
//
// Each occurrence is performed once, whatever dies or waits. The station
// claims the task (one conditional write), so the others pass it by while it
// asks its questions; it records the occurrence (the move, the history entry
// and a journal entry, in one transaction conditional on its claim) before it
// performs it; and the programs it starts are held until that transaction has
// committed, so they run exactly when the occurrence was recorded, even if
// this process dies in between. docs/ARCHITECTURE.md lists every crash point.
#include "common/text.h"
#include "common/translate.h"
#include "data/schedule_store.h"
#include "recurrence/recurrence.h"
#include "scheduler/alarm.h"
#include "scheduler/scheduler.h"

#include <chrono>

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

// How long ago the task's moment passed, in hundredths: the wall clock's
// difference less the change of the zone's offset in between, so that the
// hour a change of the offset skips or repeats does not count as time that
// passed. A moment the change skipped reads with the offset before it (02:30
// is then 03:30 of the new time, still to come at 03:00); one the clock shows
// twice reads on the side of the change the present is on.
std::int64_t Lateness(const data::ScheduleRecord& task, const platform::ZonedDateTime& now,
                      platform::WallOffsets at)
{
    const int taskOffset = at.after < at.before && now.utcOffset == at.after ? at.after : at.before;
    const std::int64_t wall =
        (std::int64_t{now.local.date} - task.date) * kTicksPerDay + (std::int64_t{now.local.time} - task.time);
    return wall - (std::int64_t{now.utcOffset} - taskOffset) * 100;
}

}  // namespace

std::int64_t Scheduler::nowSeconds() const
{
    const platform::DateTime at = s_.clock.now();
    return static_cast<std::int64_t>(at.date) * 86'400 + (at.time > 0 ? (at.time - 1) / 100 : 0);
}

bool Scheduler::claimTask()
{
    if (stations_.id() == 0 || s_.db.begin(std::chrono::milliseconds(kDispatchWaitMs)) != data::kOk)
        return false;
    if (alias_.claim(stations_.id()) == data::kOk && s_.db.commit() == data::kOk)
        return true;
    s_.db.rollback();
    return false;
}

bool Scheduler::dispatchDueTask(bool userAsked)
{
    data::ScheduleRecord& task = alias_.rec;
    // While this station's claim stands, the others pass the task by. A claim
    // that cannot be written now (another writer, another station first) is
    // tried again on the next tick.
    if (!claimTask())
        return false;

    if (userAsked) {
        if (task.alarm != 0)
            SoundAlarm(s_.sound, task.alarmFile);
        const platform::DateTime ran = s_.clock.now();
        task.lastRunDate = ran.date;
        task.lastRunTime = ran.time;
    } else if (task.skipNextTime == 0) {
        // Bring the frame back when the task needs it.
        // A message shown as a desktop notification leaves the frame where it is.
        const bool needsFrame =
            (ShowsMessage(task) && !s_.settings.useModalMessage && !s_.settings.useExternalMessage) ||
            s_.settings.maximizeOnRun;
        if (needsFrame && s_.frame.isMinimized()) {
            s_.frame.unminimize();
            if (!s_.settings.noTray && s_.tray.shown())
                s_.tray.removeForFrame(!ShowsMessage(task));
        }

        if (task.alarm != 0)
            SoundAlarm(s_.sound, task.alarmFile);

        const std::string name(text::Clip(task.description.view()));
        const platform::ZonedDateTime zoned = s_.clock.zonedNow();
        const platform::DateTime now = zoned.local;
        if (Lateness(task, zoned, s_.clock.offsetsAt(task.date, task.time)) > kLateAllowance &&
            task.skipIfMissed != 0) {
            skip_ = true;  // too late: passed over without a question
        } else if (now.date > task.date && task.warn != 0 && task.taskType != "Display Message") {
            const MessageButton answer = s_.prompter.ask({FillIn(HrlnTranslate("Dispatch", "%1 was not run.  Run it now?"), {name}),
                                                          HrlnTranslate("Dispatch", "Missed Task"),
                                                          MessageIcon::Exclamation, MessageButtons::YesNo,
                                                          MessageButton::No});
            skip_ = answer != MessageButton::Yes;
        } else if (task.userSkip != 0) {
            const MessageButton answer = s_.prompter.ask({FillIn(HrlnTranslate("Dispatch", "%1 is due to run.  Run it now?"), {name}),
                                                          HrlnTranslate("Dispatch", "Confirm Task"),
                                                          MessageIcon::Exclamation, MessageButtons::YesNo,
                                                          MessageButton::No});
            skip_ = answer != MessageButton::Yes;
        }
        const platform::DateTime ran = s_.clock.now();
        task.lastRunDate = ran.date;
        task.lastRunTime = ran.time;
    }
    const bool perform = userAsked || (task.skipNextTime == 0 && !skip_);
    const bool runsProgram = perform && RunsProgram(task);
    const std::string command = task.command.str();
    const std::string path = task.path.str();
    const data::Long id = task.id;
    advance(userAsked);

    pending_ = {true, perform, false, stations_.nextSerial(), s_.scripts.queued()};
    if (runsProgram) {
        if (s_.startGate != nullptr) {
            s_.startGate->hold(s_.db.path(), stations_.id(), pending_.serial);
            pending_.gateHeld = true;
        }
        s_.scripts.runTaskProgram(command, path, id);
    }
    finishDispatch();
    return true;
}

Scheduler::RunNow Scheduler::runNow(std::int64_t rowid)
{
    if (inTick_ || pending_.active)
        return RunNow::Busy;
    // A question asked on the way keeps the tick out, as in a tick.
    inTick_ = true;
    const Holding leave{inTick_};

    const std::int64_t now = nowSeconds();
    stations_.keepAlive(now);  // enters the file when no tick has yet
    alias_.clear();
    if (alias_.reget(data::ScheduleRecord::KeyDateEnabled, rowid) != data::kOk)
        return RunNow::Gone;
    if (alias_.rec.disabled != 0 || alias_.rec.completed != 0)
        return RunNow::NotEnabled;
    if (stations_.binds(alias_.claimHolder(), now))
        return RunNow::Busy;
    saved_ = alias_.rec;
    skip_ = false;
    if (!dispatchDueTask(true))
        return RunNow::Busy;
    notifyBrowsers();
    return RunNow::Done;
}

void Scheduler::advance(bool early)
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
    Date afterDate = now.date;
    Time after = now.date > task.date && task.skipIfMissed != 0 ? 0 : now.time;
    // Run before its time, the occurrence is spent: the task moves past it.
    if (early && CompareDateTime(task.date, task.time, now.date, now.time) > 0) {
        afterDate = task.date;
        after = task.time;
    }
    recurrence::NextOccurrence(task, afterDate, after, s_.prompter);
    if (task.completed == 0) {
        task.skipNextTime = 0;
        if (offset) {
            task.advanceWarnDate += task.date;
            task.advanceWarnTime += task.time;
        }
        task.advanceWarned = 0;
    }
}

int Scheduler::recordOccurrence()
{
    if (const int err = s_.db.begin(std::chrono::milliseconds(kDispatchWaitMs)); err != data::kOk)
        return err;
    // The write over the claimed record fails if anyone else changed it since:
    // then this station did not record the occurrence and must not perform it.
    int err = alias_.rec.completed != 0 ? data::DeleteTask(alias_) : alias_.put();
    if (err == data::kOk && saved_.noHistory == 0) {
        data::Table<data::ScheduleRecord> history(s_.db);
        history.rec = saved_;
        history.rec.completed = 1;
        history.rec.disabled = 1;
        // The entry tells an occurrence passed over (late, skipped, answered
        // No) from one performed.
        history.rec.skipNextTime = pending_.perform ? 0 : 1;
        err = data::AddHistoryEntry(history);
        // With every task number in use the occurrence still counts: it goes
        // without its history entry rather than come due again and again.
        if (err == data::kNoNumberLeft)
            err = data::kOk;
    }
    if (err == data::kOk)
        err = stations_.record(pending_.serial, saved_.id, nowSeconds());
    if (err == data::kOk)
        err = s_.db.commit();
    if (err != data::kOk)
        s_.db.rollback();
    return err;
}

void Scheduler::finishDispatch()
{
    const int err = recordOccurrence();
    if (err == data::kIsLocked || err == data::kTransactionActive)
        return;  // another writer holds the file: the next tick tries again, nothing is half written

    const PendingDispatch done = pending_;
    pending_ = {};
    if (done.gateHeld)
        s_.startGate->release(err == data::kOk);
    if (err != data::kOk) {
        // Not recorded (the task was changed meanwhile, or the disk failed):
        // nothing of it runs; the next tick reads the task afresh.
        s_.scripts.discardFrom(done.scriptMark);
        return;
    }
    if (done.perform && ShowsMessage(saved_)) {
        if (!s_.messageWindows.full()) {
            s_.messages.startMessage(MakeMessageSlots(saved_.description.view(), saved_.message.view(),
                                                      saved_.alarmFile.view(), saved_.alarm != 0));
        } else {
            s_.prompter.ask({std::string(text::Clip(saved_.message.view())), ""});
        }
    }
    if (s_.scripts.pending())
        s_.frame.setTimerInterval(kScriptInterval);
}

}  // namespace hrln::scheduler
