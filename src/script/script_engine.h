#pragma once

#include "data/database.h"
#include "data/event_log.h"
#include "data/settings.h"
#include "platform/clock.h"
#include "platform/desktop_bus.h"
#include "platform/event_pump.h"
#include "platform/keyboard.h"
#include "platform/processes.h"
#include "platform/prompter.h"
#include "platform/status_bar.h"
#include "platform/tray_icon.h"
#include "platform/windows.h"
#include "script/pending_items.h"

#include <cstdint>
#include <string>

namespace hrln::script {

// Everything the engine reaches outside itself.
struct ScriptServices {
    data::Database& database;  // the Scripting table is read from here
    const data::Settings& settings;
    data::EventLog& log;
    const platform::Clock& clock;
    platform::Prompter& prompter;
    platform::Windows& windows;
    platform::Keyboard& keyboard;
    platform::Processes& processes;
    platform::DesktopBus& bus;
    platform::EventPump& pump;
    platform::StatusBar& statusBar;
    platform::TrayIcon& tray;
};

// A program start, with its task's script to queue after it.
struct ProgramRequest {
    std::string command;      // blank, or "N/A" in any letter case: start nothing
    std::string startFolder;
    data::Long scriptTaskId = 0;  // 0 queues nothing
    bool advanced = false;        // "Start Program" items create the process directly
    int showMode = 1;
    bool useNormalShow = true;    // show mode 1 whatever `showMode` says
    bool keepDefaultPriority = true;
    int priority = 0;             // 1 low, 2 normal, 3 high (advanced start only)
};

// The status bar zone the engine writes to.
inline constexpr int kScriptStatusZone = 2;

// The script interpreter of the main window: runs queued script items one per
// timer tick, never blocking between them. Not thread-safe; everything runs in
// the user-interface thread.
class ScriptEngine {
public:
    explicit ScriptEngine(const ScriptServices& services);

    // Logs the start, starts the program (unless blank or "N/A") and queues
    // the task's script after it. Returns false when the program could not be
    // started (the user was told and nothing was queued).
    bool RunTaskProgram(const ProgramRequest& request);

    // One timer tick: runs the head item when it is due. A tick that arrives
    // while a step is still running (a message box or a typing pause serves
    // events) is dropped.
    void ProcessScriptStep();

    // Puts a line about the head item into the status bar.
    void ShowScriptStatus();
    // The line itself; "Script completed" when nothing is pending.
    std::string ScriptStatusText() const;

    // The user's stop: empties the pending list at once, also in the middle of
    // typing (the rest of the keys are not typed).
    void StopRunningScript();

    bool hasPendingItems() const { return !pending_.empty(); }
    PendingItems& pendingItems() { return pending_; }
    const PendingItems& pendingItems() const { return pending_; }

    // Interpreter state, visible for the status and for tests.
    platform::WindowHandle lastWindow() const { return lastWindow_; }
    int lastStartResult() const { return lastStartResult_; }
    bool waitStarted() const { return waitStarted_; }

private:
    void QueueScript(data::Long taskId);
    void RunHeadItem();
    void finishHead();

    // Handlers; each may set hold_ to keep the head for the next tick.
    void RunDisplayMessage(const PendingItem& entry);
    void RunExitScript();
    void RunSendKeystrokes(const PendingItem& entry);
    void RunDdeItem(const PendingItem& entry);
    void RunSetFocus(const PendingItem& entry);
    void RunWait();
    void AdjustRemainingItems();
    void RunStartProgram();
    void RunWaitForProgramEnd();
    void RunIfWindow(const PendingItem& entry);
    void RunIfTimeElapsed(const PendingItem& entry);
    void TestPassed();
    void TestFailed();
    void SkipToEndIf();
    void Debug(const std::string& text, const std::string& caption);
    void LogScript(std::string_view action);
    int scriptingDelay() const;
    // Whether the user stopped the scripts since the running item began.
    bool stopped() const { return stops_ != stopsAtStep_; }

    ScriptServices s_;
    PendingItems pending_;

    bool hold_ = false;
    bool waitStarted_ = false;
    Date waitStartDate_ = 0;
    Time waitStartTime_ = 0;
    platform::WindowHandle lastWindow_ = 0;
    int windowFound_ = 0;
    int beforeDeadline_ = 0;
    int lastStartResult_ = 0;
    bool createdProcess_ = false;  // the latest RunTaskProgram created a process

    bool inStep_ = false;
    std::uint64_t stops_ = 0;  // counts StopRunningScript calls
    std::uint64_t stopsAtStep_ = 0;
};

}  // namespace hrln::script
