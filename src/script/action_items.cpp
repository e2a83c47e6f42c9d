// The items that act on the desktop: messages, keys, windows, programs, the bus.
#include "common/text.h"
#include "script/program_start.h"
#include "script/script_engine.h"
#include "script/send_keys.h"
#include "script/window_match.h"

#include <algorithm>

namespace hrln::script {

void ScriptEngine::RunDisplayMessage(const PendingItem& entry)
{
    platform::MessageBox box;
    box.text = entry.item.ddeApplicationName.str();
    box.caption = entry.item.ddeApplicationTopic.str();
    s_.prompter.ask(box);
}

void ScriptEngine::RunSendKeystrokes(const PendingItem& entry)
{
    int burst = s_.settings.burstSize;
    if (burst < 1)
        burst = data::kDefaultBurstSize;
    burst = std::min(burst, data::kMaxBurstSize);
    const KeySending how{s_.keyboard, s_.pump, s_.tray, scriptingDelay(), burst, [this] { return stopped(); }};
    if (SendKeystrokes(entry.item.keystrokes.view(), how) == SendResult::Failed) {
        platform::MessageBox box;
        box.text = "Could not send keystrokes.";
        box.caption = "Script Error";
        s_.prompter.ask(box);
    }
}

void ScriptEngine::RunDdeItem(const PendingItem& entry)
{
    const std::string service(text::Clip(entry.item.ddeApplicationName.view()));
    const std::string path(text::Clip(entry.item.ddeApplicationTopic.view()));
    const std::string command(text::Clip(entry.item.ddeCommand.view()));
    // Nothing to say, or no one to say it to. Whether the service answered
    // changes nothing: the script goes on either way. A command that could
    // not be written is the script's own fault, and its author is told.
    if (service.empty() || command.empty())
        return;
    const platform::BusReply reply = s_.bus.call(service, path, command);
    if (reply.outcome == platform::BusOutcome::BadCommand) {
        platform::MessageBox box;
        box.text = "Could not send " + command + ": " + reply.problem + ".";
        box.caption = "Script Error";
        s_.prompter.ask(box);
    }
}

void ScriptEngine::RunSetFocus(const PendingItem& entry)
{
    const std::string pattern = entry.item.focusOnWindow.str();
    Debug(pattern, "Set Focus");
    lastWindow_ = FindWindowByPattern(s_.windows, pattern);
    if (lastWindow_ > 31)
        ActivateWindow(s_.windows, lastWindow_);
    else
        Debug(pattern, "Failed Set Focus");
}

void ScriptEngine::RunStartProgram()
{
    const data::ScriptingRecord item = pending_.front().item;
    const StartOptions options = ReadStartOptions(item.ddeApplicationName.view());
    ProgramRequest request;
    request.command = item.command.str();
    request.startFolder = item.path.str();
    request.advanced = true;
    request.showMode = options.windowMode;
    request.useNormalShow = false;
    request.keepDefaultPriority = false;
    request.priority = options.priority;
    RunTaskProgram(request);
    // Only a process this item created is waited for; otherwise the last
    // process would be some earlier one.
    if (!options.waitForEnd || !createdProcess_ || stopped())
        return;

    PendingItem& head = pending_.front();
    if (item.timeElapsed != 0) {
        const platform::DateTime now = s_.clock.now();
        head.deadlineDate = now.date;
        head.deadlineTime = now.time;
        AddHundredths(head.deadlineDate, head.deadlineTime, 100LL * item.timeElapsed);
    }
    head.item.action = kWaitForProgramEnd;
    hold_ = true;
}

void ScriptEngine::RunWaitForProgramEnd()
{
    const PendingItem& head = pending_.front();
    if (!s_.processes.processStillRunning())
        return;
    if (head.item.timeElapsed == 0) {
        hold_ = true;
        return;
    }
    const platform::DateTime now = s_.clock.now();
    hold_ = CompareDateTime(now.date, now.time, head.deadlineDate, head.deadlineTime) <= 0;
}

}  // namespace hrln::script
