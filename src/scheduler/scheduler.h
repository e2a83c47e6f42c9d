#pragma once

#include "data/database.h"
#include "data/event_log.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/sound.h"
#include "scheduler/frame_view.h"
#include "scheduler/message_window.h"
#include "scheduler/script_runner.h"
#include "scheduler/tray_controller.h"

#include <functional>
#include <string>

namespace hrln::pim {
class ClipboardMonitor;
}

namespace hrln::scheduler {

inline constexpr const char* kApplicationTitle = "Horalyn 97";

// Timer intervals, in hundredths of a second.
inline constexpr int kIdleInterval = 125;
inline constexpr int kScriptInterval = 50;
inline constexpr int kInactiveInterval = 250;

// How long one station's claim on a due task keeps the others away, in
// seconds: long enough for any question the dispatch asks to be answered,
// short enough that a station that died mid-dispatch does not lose the task.
inline constexpr int kClaimLifetimeSeconds = 60 * 60;

struct SchedulerServices {
    data::Database& db;
    data::Settings& settings;
    data::EventLog& log;
    const platform::Clock& clock;
    platform::Prompter& prompter;
    platform::Sound& sound;
    FrameView& frame;
    TrayController& tray;
    ScriptRunner& scripts;
    MessageLauncher& messages;
    MessageWindowCounter& messageWindows;
    pim::ClipboardMonitor* clipboard = nullptr;
    std::function<void()> notifyScheduleBrowsers;
};

// The scheduler behind the main frame: the tick, the next-task check, the
// dispatch of due tasks, advance warnings and the daily history sweep. It
// reads and writes the schedule only through its own buffer (the alias), so
// a task shown in a window is never disturbed.
class Scheduler {
public:
    explicit Scheduler(SchedulerServices services);

    // The frame's timer event: the tick, then the date and time zones.
    void onTimer();
    // One tick. A tick never starts while another is still running (a question
    // box opened inside a tick holds it).
    void tick();

    // The steps of the tick, callable on their own.
    void checkNextTask();
    void checkAdvanceWarning();
    void removeExpiredHistory();
    void refreshClockZones();

    // Whether the last tick found script items pending.
    bool scriptRunning() const { return scriptRunning_; }
    Date lastHousekeepingDay() const { return lastHousekeepingDay_; }

    // Day names as the status bar shows them, 0 = Sunday.
    static std::string DayName(Date date);

private:
    // Performs (or passes over) the due task in the alias buffer and moves it on.
    void dispatchDueTask();
    void advanceAndRecord();
    void notifyBrowsers();

    SchedulerServices s_;
    data::Table<data::ScheduleRecord> alias_;
    data::ScheduleRecord saved_;  // the due task as it stood, for its history entry
    bool skip_ = false;
    bool scriptRunning_ = false;
    bool inTick_ = false;
    Date lastHousekeepingDay_ = 0;
};

}  // namespace hrln::scheduler
