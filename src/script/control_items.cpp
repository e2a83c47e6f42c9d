// The items that steer a script: tests, their blocks, waiting and "Exit Script".
#include "common/text.h"
#include "common/translate.h"
#include "script/script_engine.h"
#include "script/window_match.h"

#include <algorithm>
#include <string>

namespace hrln::script {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// Hundredths as seconds: 3050 is "30.5", 3000 is "30".
std::string Seconds(Time hundredths)
{
    std::string out = std::to_string(hundredths / 100);
    const int rest = hundredths % 100;
    if (rest != 0) {
        out += '.' + std::to_string(rest / 10);
        if (rest % 10 != 0)
            out += std::to_string(rest % 10);
    }
    return out;
}

}  // namespace

void ScriptEngine::RunIfTimeElapsed(const PendingItem& entry)
{
    const platform::DateTime now = s_.clock.now();
    beforeDeadline_ = CompareDateTime(now.date, now.time, entry.deadlineDate, entry.deadlineTime) < 0 ? 1 : 0;
    // The field holds the chosen option as far as it fits ("Time Elapsed is
    // Less"); everything else is the "Greater Than" default.
    const bool lessThan = text::ToUpper(entry.item.ifTimeElapsed.view()).find("LESS") != std::string::npos;
    if (lessThan ? beforeDeadline_ == 1 : beforeDeadline_ == 0)
        TestPassed();
    else
        TestFailed();
}

void ScriptEngine::RunIfWindow(const PendingItem& entry)
{
    const platform::WindowHandle found = FindWindowByPattern(s_.windows, entry.item.windowTitleToCheckFor.view());
    windowFound_ = found != 0 ? 1 : 0;
    if (found != 0)
        lastWindow_ = found;
    // "Window Exists" asks for the window, "Window Doesn't Exist" for its absence.
    const bool wantsWindow = entry.item.windowExistance.str().find("Exists", 1) != std::string::npos;
    if (wantsWindow == (windowFound_ == 1))
        TestPassed();
    else
        TestFailed();
}

void ScriptEngine::TestPassed()
{
    Debug("Next item will be processed.", "Test passed");
}

void ScriptEngine::TestFailed()
{
    LogScript(pending_.front().item.action.view());
    SkipToEndIf();
}

void ScriptEngine::SkipToEndIf()
{
    Debug("Removing task items.", "Test failed");
    if (stopped())
        return;  // the user emptied the list while the message was open
    // Removes the failed test and its block, nested blocks included, and stops
    // at its "...End If", which the step then finishes. A block without one
    // ends with its own script: the skip never runs into a later script.
    int depth = 0;
    pending_.pop_front();
    while (!pending_.empty()) {
        const std::string_view action = pending_.front().item.action.view();
        if (action == kEndMarker)
            return;
        if (action == "...End If" || StartsWith(action, "End")) {
            if (depth == 0)
                return;
            --depth;
        } else if (StartsWith(action, "If ")) {
            ++depth;
        }
        pending_.pop_front();
    }
    hold_ = true;  // nothing left to finish
}

void ScriptEngine::RunExitScript()
{
    // Up to this script's marker, which the step then finishes.
    pending_.pop_front();
    while (!pending_.empty() && pending_.front().item.action.view() != kEndMarker)
        pending_.pop_front();
    if (pending_.empty())
        hold_ = true;
}

void ScriptEngine::RunWait()
{
    PendingItem& head = pending_.front();
    const platform::DateTime now = s_.clock.now();
    if (head.item.ddeApplicationName == "Or" &&
        CompareDateTime(now.date, now.time, head.deadlineDate, head.deadlineTime) > 0) {
        // The seconds won. Time spent waiting for the window still pushes the
        // later items back, and the next wait starts afresh.
        AdjustRemainingItems();
        return;
    }
    const std::string pattern = head.item.waitForWindow.str();
    if (text::Clip(pattern).empty())
        return;
    if (!waitStarted_) {
        waitStarted_ = true;
        waitStartDate_ = now.date;
        waitStartTime_ = now.time;
    }
    const bool untilGone = pattern.front() == '~';
    const platform::WindowHandle found = FindWindowByPattern(s_.windows, pattern);
    if (found != 0)
        lastWindow_ = found;

    if (found == 0) {
        hold_ = !untilGone;
        AdjustRemainingItems();
    } else if (found > 31 && untilGone) {
        hold_ = true;
        AdjustRemainingItems();
    } else if (found > 31) {
        ActivateWindow(s_.windows, found);
        AdjustRemainingItems();
        Debug("Switched to window:\n" + std::string(text::Clip(pattern)), "Debug");
    } else {
        hold_ = true;
        AdjustRemainingItems();
        Debug("Other state " + std::to_string(found) + ":\n" + std::string(text::Clip(pattern)), "Debug");
    }
}

void ScriptEngine::AdjustRemainingItems()
{
    if (!waitStarted_ || hold_)
        return;
    waitStarted_ = false;
    if (pending_.size() < 2)
        return;

    const platform::DateTime now = s_.clock.now();
    Date days = now.date - waitStartDate_;
    Time elapsed = now.time - waitStartTime_;
    if (elapsed < 0) {
        --days;
        elapsed += kTicksPerDay;
    }
    if (days < 0) {
        days = 0;
        elapsed = 100;
    }
    s_.statusBar.setZoneText(kScriptStatusZone,
                             ShownStoredValue(pending_.front().item.action.str()) + ":" +
                                 HrlnTranslate("ScriptStatus", "Adjusting Remaining Items"));
    Debug("Adjusting remaining items by " + Seconds(elapsed) + " seconds", "Adjustment Required");
    if (stopped())
        return;
    for (auto it = std::next(pending_.begin()); it != pending_.end(); ++it) {
        it->dueDate += days;
        AddHundredths(it->dueDate, it->dueTime, elapsed);
    }
}

}  // namespace hrln::script
