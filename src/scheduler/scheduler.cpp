#include "scheduler/scheduler.h"

#include "common/text.h"
#include "common/translate.h"
#include "data/housekeeping.h"
#include "data/placeholders.h"
#include "pim/clipboard_monitor.h"

#include <array>

namespace hrln::scheduler {
namespace {

std::string Clipped(std::string_view s)
{
    return std::string(text::Clip(s));
}

// Without a way to probe processes a station is known by its heartbeat alone.
class HeartbeatOnly : public platform::StationProbe {
public:
    platform::StationIdentity self() const override { return {}; }
    platform::Liveness probe(const platform::StationIdentity&) const override { return platform::Liveness::Unknown; }
};

const platform::StationProbe& ProbeOf(const SchedulerServices& services)
{
    static const HeartbeatOnly heartbeatOnly;
    return services.stations != nullptr ? *services.stations : heartbeatOnly;
}

// How many tasks claimed by other running stations one look for the next task passes by.
constexpr int kMostClaimsPassed = 64;

}  // namespace

Scheduler::Scheduler(SchedulerServices services)
    : s_(std::move(services)),
      alias_(s_.db),
      stations_(s_.db, ProbeOf(s_)),
      sweep_(s_.db, s_.settings, s_.log, s_.prompter, [this] { notifyBrowsers(); })
{
}

std::string Scheduler::DayName(Date date)
{
    return CurrentDateNames().weekdays[Weekday(date)];
}

void Scheduler::onTimer()
{
    if (!inTick_ && quietTick()) {
        // Nothing written, nothing due: the tick's own work, without the file.
        if (s_.clipboard != nullptr)
            s_.clipboard->step();
        s_.tray.tickStep(false);
        refreshClockZones();
        return;
    }
    // Also while a question holds the tick: the others must see this station runs.
    const std::int64_t now = nowSeconds();
    // Once this station has its number, the placeholders of programs that
    // died with a form open go; one a running station owns stays.
    if (stations_.keepAlive(now) != 0 && !placeholdersSwept_ && !s_.db.inTransaction())
        placeholdersSwept_ = data::RemoveOrphanPlaceholders(s_.db, stations_, now) == data::kOk;
    tick();
    refreshClockZones();
}

void Scheduler::refreshClockZones()
{
    const platform::DateTime now = s_.clock.now();
    // The zones show the minute: a tick within the same one has nothing to write.
    const std::int64_t minute = static_cast<std::int64_t>(now.date) * 1440 + (now.time - 1) / kTicksPerMinute;
    if (minute == shownMinute_)
        return;
    shownMinute_ = minute;
    s_.frame.setZoneText(3, DayName(now.date) + ", " + FormatD4(now.date));
    s_.frame.setZoneText(4, FormatT3(now.time));
}

void Scheduler::tick()
{
    if (inTick_)
        return;
    inTick_ = true;
    const Holding leave{inTick_};

    scriptRunning_ = false;
    if (s_.clipboard != nullptr)
        s_.clipboard->step();
    // What another program or station wrote shows in the open lists within a tick.
    if (const std::int64_t version = s_.db.dataVersion(); version != seenVersion_) {
        if (seenVersion_ >= 0)
            notifyBrowsers();
        else
            seenVersion_ = version;
    }

    if (!s_.settings.startUpActive) {
        s_.frame.setTitle(FillIn(HrlnTranslate("Scheduler", "%1 (Inactive)"), {Clipped(kApplicationTitle)}));
        s_.frame.setZoneText(2, HrlnTranslate("Scheduler", "Inactive"));
        s_.frame.setScriptIndicator(false);
        s_.frame.setTimerInterval(kInactiveInterval);
    } else {
        // What this reading finds tells the quiet ticks after it how long they may be quiet.
        quiet_ = {false, 0, 0, s_.clock.today(), nowSeconds(), s_.frame.isMinimized()};
        checkNextTask();
        // An occurrence still to be recorded keeps the alias buffer for itself.
        if (!pending_.active) {
            checkAdvanceWarning();
            removeExpiredHistory();
        }
        quiet_.readAgain = quiet_.readAgain || pending_.active || s_.scripts.pending() || sweep_.running();
        // The items of an occurrence not yet recorded wait with its programs.
        if (s_.scripts.pending() && !pending_.active) {
            scriptRunning_ = true;
            s_.frame.setTimerInterval(kScriptInterval);
            s_.scripts.processStep();
            s_.frame.setScriptIndicator(true);
        } else {
            s_.frame.setScriptIndicator(false);
            s_.frame.setTimerInterval(kIdleInterval);
        }
    }
    s_.tray.tickStep(scriptRunning_);
}

void Scheduler::checkNextTask()
{
    if (pending_.active) {
        finishDispatch();
        return;
    }
    const std::int64_t now = nowSeconds();
    stations_.keepAlive(now);
    alias_.clear();
    alias_.set(data::ScheduleRecord::KeyDateEnabled);
    // A task another running station is performing holds back none behind it.
    int err = alias_.next();
    int passed = 0;
    for (; err == data::kOk && alias_.rec.disabled == 0 && passed < kMostClaimsPassed &&
           stations_.binds(alias_.claimHolder(), now);
         ++passed)
        err = alias_.next();
    // A claim that binds ends with its station, which no write tells: read again.
    quiet_.readAgain = quiet_.readAgain || passed > 0;
    if (err != data::kOk || alias_.rec.disabled != 0 || stations_.binds(alias_.claimHolder(), now)) {
        quiet_.readAgain = quiet_.readAgain || (err != data::kOk && err != data::kRecordNotAvailable) ||
                           (err == data::kOk && alias_.rec.disabled == 0);
        s_.frame.setTitle(Clipped(kApplicationTitle));
        s_.frame.setZoneText(2, "");
        return;
    }
    const data::ScheduleRecord& task = alias_.rec;
    if (s_.frame.isMinimized())
        s_.frame.setTitle(Clipped(kApplicationTitle) + " - " + task.description.str() + " " + FormatD3(task.date) +
                          " " + FormatT3(task.time));
    else
        s_.frame.setTitle(Clipped(kApplicationTitle));
    if (!s_.scripts.pending())
        s_.frame.setZoneText(2, FillIn(HrlnTranslate("Scheduler", "Next: %1"), {task.description.str()}));
    if (!s_.settings.noTray)
        s_.tray.refresh();

    saved_ = task;
    skip_ = false;
    const platform::DateTime at = s_.clock.now();
    if (CompareDateTime(at.date, at.time, task.date, task.time) >= 0) {
        dispatchDueTask();
        notifyBrowsers();
        quiet_.readAgain = true;
    } else {
        quiet_.untilDate = task.date;
        quiet_.untilTime = task.time;
    }
}

bool Scheduler::quietTick()
{
    // Asked at every tick, so that a write since the last one is seen now.
    const bool written = s_.storeWatch == nullptr || s_.storeWatch->changedSinceAsked();
    if (written || quiet_.readAgain || !s_.settings.startUpActive || pending_.active || s_.scripts.pending() ||
        sweep_.running() || stations_.heartbeating())
        return false;
    const platform::DateTime now = s_.clock.now();
    const std::int64_t seconds = nowSeconds();
    if (now.date != quiet_.day || seconds < quiet_.readAt || seconds - quiet_.readAt >= kQuietAtMostSeconds ||
        s_.frame.isMinimized() != quiet_.minimized)
        return false;
    return quiet_.untilDate == 0 || CompareDateTime(now.date, now.time, quiet_.untilDate, quiet_.untilTime) < 0;
}

void Scheduler::removeExpiredHistory()
{
    sweep_.step(s_.clock.today(), lastHousekeepingDay_);
}

void Scheduler::notifyBrowsers()
{
    // The lists read the file as it is now: a tick need not tell them again
    // of what they are about to see. Taken before, so a commit made while
    // they read is told on the next tick.
    seenVersion_ = s_.db.dataVersion();
    if (s_.notifyScheduleBrowsers)
        s_.notifyScheduleBrowsers();
}

}  // namespace hrln::scheduler
