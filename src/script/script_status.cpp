#include "common/text.h"
#include "common/translate.h"
#include "script/script_engine.h"

namespace hrln::script {

std::string ScriptEngine::ScriptStatusText() const
{
    if (pending_.empty())
        return HrlnTranslate("ScriptStatus", "Script completed");
    const PendingItem& head = pending_.front();
    const data::ScriptingRecord& item = head.item;
    const std::string a = item.action.str();
    // The action as the user reads it, then what it works on.
    const std::string shown = ShownStoredValue(a) + ":";
    const auto seconds = [](std::int64_t n) {
        return FillIn(HrlnTranslate("ScriptStatus", "%1 seconds"), {std::to_string(n)});
    };
    if (a == "Start Program" || a == kWaitForProgramEnd)
        return shown + item.command.str();
    if (a == "Send Keystrokes")
        return shown + item.keystrokes.str();
    if (a == "DDE (Dynamic Data Exchange)")
        return shown + item.ddeType.str() + " " + item.ddeApplicationName.str() + " " + item.ddeApplicationTopic.str();
    if (a == "Set Focus")
        return shown + item.focusOnWindow.str();
    if (a == "Wait") {
        if (item.secondsToWait == 0)
            return shown + item.waitForWindow.str();
        return shown + seconds(item.secondsToWait) + " " + item.waitForWindow.str();
    }
    if (a == "If Window...")
        return shown + item.windowTitleToCheckFor.str();
    if (a == "If Time Elapsed...")
        return shown + seconds(head.threshold);
    return ShownStoredValue(a);
}

void ScriptEngine::ShowScriptStatus()
{
    s_.statusBar.setZoneText(kScriptStatusZone, ScriptStatusText());
}

}  // namespace hrln::script
