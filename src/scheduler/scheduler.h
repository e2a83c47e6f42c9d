#pragma once

#include "data/database.h"
#include "data/event_log.h"
#include "data/housekeeping.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/stations.h"
#include "data/table.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/sound.h"
#include "platform/station.h"
#include "platform/store_watch.h"
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

// The longest a waiting program goes without reading the file, however
// sure it is that nobody wrote it.
inline constexpr std::int64_t kQuietAtMostSeconds = 600;

// How long the dispatch waits for another writer before it tries again on the next tick.
inline constexpr int kDispatchWaitMs = 500;

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
    // Who this program is among those sharing the file (none: known by heartbeat only).
    const platform::StationProbe* stations = nullptr;
    // Holds a task's programs until its occurrence is recorded (none: they start at once).
    platform::StartGate* startGate = nullptr;
    // Tells a tick with nothing due whether it must read the file (none: every tick reads).
    platform::StoreWatch* storeWatch = nullptr;
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

    // What became of "Run Now".
    enum class RunNow {
        Done,        // performed (or recorded on the next tick, when another writer held the file)
        Busy,        // the scheduler or another station is at the task now: try again
        Gone,        // no such task any more
        NotEnabled,  // a disabled task, or a history entry
    };
    // "Run Now": performs the task with row id `rowid` at once, as the dispatch
    // does when it falls due, and moves it on. The user's asking answers the
    // questions that would pass a due task over, and a skip flag does not hold
    // it back. Its occurrence is recorded like any other, so neither a tick
    // nor another station performs that occurrence again.
    RunNow runNow(std::int64_t rowid);

    // Whether the last tick found script items pending.
    bool scriptRunning() const { return scriptRunning_; }
    // Whether an occurrence waits to be recorded (another writer held the file).
    bool dispatchPending() const { return pending_.active; }
    std::int64_t stationId() const { return stations_.id(); }
    Date lastHousekeepingDay() const { return lastHousekeepingDay_; }
    // Whether the day's history sweep is still at work.
    bool housekeepingRunning() const { return sweep_.running(); }

    // Day names as the status bar shows them, 0 = Sunday.
    static std::string DayName(Date date);

private:
    // An occurrence decided on and not yet recorded. Until it is, the alias
    // buffer holds the task moved on, its programs are held at the gate and
    // the tick does nothing else of the scheduler's.
    struct PendingDispatch {
        bool active = false;
        bool perform = false;  // not passed over: show the message, let the programs run
        bool gateHeld = false;
        std::int64_t serial = 0;
        std::size_t scriptMark = 0;  // script items queued before this occurrence's
    };

    // Clears the flag it holds when the scope that set it ends.
    struct Holding {
        bool& flag;
        ~Holding() { flag = false; }
    };

    bool claimTask();
    // Claims the due task in the alias buffer, asks what must be asked, moves
    // it on and records the occurrence; then performs it. False when the task
    // could not be claimed now. `userAsked`: the user's "Run Now".
    bool dispatchDueTask(bool userAsked = false);
    // Turns the task into its next occurrence (or marks it completed);
    // `early`: past its own moment when that is still to come.
    void advance(bool early = false);
    // Records the pending occurrence and then performs it; tried again on the
    // next tick while another writer holds the file.
    void finishDispatch();
    int recordOccurrence();
    void notifyBrowsers();
    std::int64_t nowSeconds() const;
    // Whether this tick may read nothing: nobody wrote the file since the
    // last tick that read it, and nothing it found comes due yet.
    bool quietTick();

    SchedulerServices s_;
    data::Table<data::ScheduleRecord> alias_;
    data::Stations stations_;
    data::HistorySweep sweep_;  // a batch per tick while it runs
    PendingDispatch pending_;
    data::ScheduleRecord saved_;  // the due task as it stood, for its history entry
    bool skip_ = false;
    bool scriptRunning_ = false;
    bool inTick_ = false;
    Date lastHousekeepingDay_ = 0;
    std::int64_t seenVersion_ = -1;  // the file as last seen, to notice other programs' writes
    std::int64_t shownMinute_ = -1;  // the minute the clock zones show
    bool placeholdersSwept_ = false;  // those left by programs that died, once a run
    // What the last tick that read the file left for the quiet ones: the
    // first moment something it found comes due (the next task, an advance
    // warning), the day, and when it read. Not quiet while `readAgain_`.
    struct Quiet {
        bool readAgain = true;
        Date untilDate = 0;  // 0: nothing comes due
        Time untilTime = 0;
        Date day = 0;
        std::int64_t readAt = 0;
        bool minimized = false;  // the frame's title names the next task only then
    };
    Quiet quiet_;
};

}  // namespace hrln::scheduler
