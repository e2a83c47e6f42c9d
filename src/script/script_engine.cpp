#include "script/script_engine.h"

#include "common/text.h"
#include "data/errors.h"
#include "data/table.h"
#include "script/program_start.h"

#include <algorithm>
#include <limits>

namespace hrln::script {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

ScriptEngine::ScriptEngine(const ScriptServices& services) : s_(services) {}

int ScriptEngine::scriptingDelay() const
{
    return std::max(s_.settings.scriptingDelay, data::kMinScriptingDelay);
}

void ScriptEngine::Debug(const std::string& text, const std::string& caption)
{
    if (!s_.settings.debug)
        return;
    platform::MessageBox box;
    box.text = text;
    box.caption = caption;
    s_.prompter.ask(box);
}

void ScriptEngine::LogScript(std::string_view action)
{
    s_.log.logEvent("Script", text::Clip(action));
}

bool ScriptEngine::RunTaskProgram(const ProgramRequest& request)
{
    s_.log.logEvent("Run Program", request.command);
    createdProcess_ = false;
    const std::string_view command = text::Clip(request.command);
    // A blank command, like "N/A", starts nothing: there is nothing to ask
    // the desktop to open.
    if (!command.empty() && !text::EqualNoCase(command, "N/A")) {
        const int show = request.useNormalShow ? 1 : request.showMode;
        if (request.advanced) {
            const platform::AdvancedStartResult started =
                StartAdvanced(s_.processes, command, request.startFolder, request.priority,
                              request.keepDefaultPriority, show);
            if (!started.created) {
                ReportStartFailure(s_.prompter, command, started.errorCode);
                return false;
            }
            createdProcess_ = true;
            // Said, not kept quiet: the user asked for more than the system gives.
            if (started.priorityRefused)
                s_.log.logEvent("High Priority Refused", command);
            if (show != 1)
                s_.windows.applyStartMode(started.processId, show);
        } else {
            lastStartResult_ = StartSimple(s_.processes, command, request.startFolder, show);
            if (lastStartResult_ < platform::kFirstStartSuccess) {
                ReportStartFailure(s_.prompter, command, lastStartResult_);
                return false;
            }
        }
    }
    if (request.scriptTaskId != 0)
        QueueScript(request.scriptTaskId);
    return true;
}

void ScriptEngine::QueueScript(data::Long taskId)
{
    const int delay = scriptingDelay();
    const platform::DateTime now = s_.clock.now();
    Date runDate = now.date;
    Time runTime = now.time;
    AddHundredths(runDate, runTime, 2LL * delay);
    if (!pending_.empty()) {
        // A script queued while another runs starts after the other's items.
        const PendingItem& last = pending_.back();
        if (CompareDateTime(runDate, runTime, last.dueDate, last.dueTime) < 0) {
            runDate = last.dueDate;
            runTime = last.dueTime;
            AddHundredths(runDate, runTime, delay);
        }
    }
    const Date startDate = runDate;
    const Time startTime = runTime;
    const auto startResult = static_cast<std::uint16_t>(lastStartResult_ & 0xFFFF);

    data::Table<data::ScriptingRecord> items(s_.database);
    items.clear();
    items.rec.id = taskId;
    items.rec.sequence = std::numeric_limits<data::Long>::min();
    const auto report = [&](int code) {
        platform::MessageBox box;
        box.text = "Error executing script: " + data::ErrorText(code);
        s_.prompter.ask(box);
    };
    int err = items.setFrom(data::ScriptingRecord::KeyID);
    if (err != data::kOk)
        report(err);
    int errorsInARow = 0;
    while (err == data::kOk || errorsInARow > 0) {
        err = items.next();
        if (err == data::kRecordNotAvailable)
            break;
        if (err != data::kOk) {
            report(err);
            // The next record is tried; an error that comes back at once
            // would come back for ever, so the second one ends the reading.
            if (++errorsInARow == 2)
                break;
            continue;
        }
        errorsInARow = 0;
        const data::ScriptingRecord& rec = items.rec;
        if (rec.id != taskId)
            break;

        PendingItem entry;
        entry.item = rec;
        const std::string_view action = rec.action.view();
        if (StartsWith(action, "Wait")) {
            if (!(rec.ddeApplicationName == "Or"))
                AddHundredths(runDate, runTime, 100LL * std::max<long long>(rec.secondsToWait, 0));
        } else if (action.find("...") == std::string_view::npos) {
            AddHundredths(runDate, runTime, delay);
        }
        entry.dueDate = runDate;
        entry.dueTime = runTime;
        entry.startResult = startResult;
        if (action == "If Time Elapsed...") {
            entry.threshold = rec.timeElapsed;
            entry.deadlineDate = startDate;
            entry.deadlineTime = startTime;
            AddHundredths(entry.deadlineDate, entry.deadlineTime, 100LL * rec.timeElapsed);
        }
        pending_.push_back(std::move(entry));
    }

    PendingItem marker;
    marker.item.id = taskId;
    marker.item.action = kEndMarker;
    marker.dueDate = runDate;
    marker.dueTime = runTime;
    marker.startResult = startResult;
    pending_.push_back(std::move(marker));
}

void ScriptEngine::ProcessScriptStep()
{
    if (inStep_ || pending_.empty())
        return;
    inStep_ = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{inStep_};

    const platform::DateTime now = s_.clock.now();
    PendingItem& head = pending_.front();
    if (now.date < head.dueDate)
        return;
    if (StartsWith(head.item.action.view(), "Wait") && head.item.ddeApplicationName == "Or" &&
        head.deadlineTime == 0) {
        head.deadlineDate = now.date;
        head.deadlineTime = now.time;
        AddHundredths(head.deadlineDate, head.deadlineTime, 100LL * std::max<long long>(head.item.secondsToWait, 0));
    }
    if (CompareDateTime(now.date, now.time, head.dueDate, head.dueTime) > 0) {
        RunHeadItem();
        ShowScriptStatus();
    } else if (CompareDateTime(now.date, now.time + 100, head.dueDate, head.dueTime) > 0) {
        ShowScriptStatus();
    }
}

void ScriptEngine::RunHeadItem()
{
    hold_ = false;
    stopsAtStep_ = stops_;
    // A copy: handlers that serve events may see the list emptied meanwhile.
    const PendingItem entry = pending_.front();
    const std::string& action = entry.item.action.str();

    if (action == "Display Message")
        RunDisplayMessage(entry);
    else if (action == "Exit Script")
        RunExitScript();
    else if (action == "Close Program")
        CloseProgram(s_.windows, lastWindow_);
    else if (action == "Start Program")
        RunStartProgram();
    else if (action == "Send Keystrokes")
        RunSendKeystrokes(entry);
    else if (action == "DDE (Dynamic Data Exchange)")
        RunDdeItem(entry);
    else if (action == "Set Focus")
        RunSetFocus(entry);
    else if (action == "Wait")
        RunWait();
    else if (action == kWaitForProgramEnd)
        RunWaitForProgramEnd();
    else if (action == "If Window...")
        RunIfWindow(entry);
    else if (action == "If Time Elapsed...")
        RunIfTimeElapsed(entry);
    else if (action != "...End If" && action != kEndMarker) {
        platform::MessageBox box;
        box.text = "Invalid script option:  " + action;
        box.caption = "Script Error";
        s_.prompter.ask(box);
    }

    if (stopped()) {
        hold_ = false;  // the user emptied the list while the item ran
        return;
    }
    if (hold_) {
        hold_ = false;
        return;
    }
    if (!pending_.empty()) {
        LogScript(pending_.front().item.action.view());
        pending_.pop_front();
    }
}

void ScriptEngine::StopRunningScript()
{
    if (pending_.empty())
        return;
    pending_.clear();
    ++stops_;
    waitStarted_ = false;
}

}  // namespace hrln::script
