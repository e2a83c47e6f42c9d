#include "common/text.h"
#include "script/script_engine.h"

namespace hrln::script {

std::string ScriptEngine::ScriptStatusText() const
{
    if (pending_.empty())
        return "Script completed";
    const PendingItem& head = pending_.front();
    const data::ScriptingRecord& item = head.item;
    const std::string a = item.action.str();
    if (a == "Start Program" || a == kWaitForProgramEnd)
        return a + ":" + item.command.str();
    if (a == "Send Keystrokes")
        return a + ":" + item.keystrokes.str();
    if (a == "DDE (Dynamic Data Exchange)")
        return a + ":" + item.ddeType.str() + " " + item.ddeApplicationName.str() + " " +
               item.ddeApplicationTopic.str();
    if (a == "Set Focus")
        return a + ":" + item.focusOnWindow.str();
    if (a == "Wait") {
        if (item.secondsToWait == 0)
            return a + ":" + item.waitForWindow.str();
        return a + ":" + std::to_string(item.secondsToWait) + " seconds " + item.waitForWindow.str();
    }
    if (a == "If Window...")
        return a + ":" + item.windowTitleToCheckFor.str();
    if (a == "If Time Elapsed...")
        return a + ":" + std::to_string(head.threshold) + " seconds";
    return a;
}

void ScriptEngine::ShowScriptStatus()
{
    s_.statusBar.setZoneText(kScriptStatusZone, ScriptStatusText());
}

}  // namespace hrln::script
