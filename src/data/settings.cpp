#include "data/settings.h"

#include "common/text.h"

#include <algorithm>
#include <climits>

namespace hrln::data {
namespace {

bool Flag(const ProfileFile& ini, const char* key)
{
    return ini.readNumber(kSettingsSection, key) != 0;
}

// Stored as 1 minus the flag: on unless the stored value is exactly 1.
bool InvertedFlag(const ProfileFile& ini, const char* key)
{
    return ini.readNumber(kSettingsSection, key) != 1;
}

int NonNegative(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, 0, INT_MAX));
}

std::string Cut(std::string_view s, std::size_t width)
{
    return std::string(text::Clip(text::CutToWidth(text::SanitizeUtf8(s), width)));
}

}  // namespace

int ScriptingDelayFrom(long long stored)
{
    return static_cast<int>(std::clamp<long long>(stored, kMinScriptingDelay, INT_MAX));
}

int BurstSizeFrom(long long stored)
{
    if (stored < 1)
        return kDefaultBurstSize;
    return static_cast<int>(std::min<long long>(stored, kMaxBurstSize));
}

int RepeatAlarmIntervalToStore(int entered)
{
    if (entered <= 0)
        return 0;
    return std::max(entered, kMinRepeatAlarmInterval);
}

Settings LoadSettings(const ProfileFile& ini, const platform::Session* session)
{
    Settings s;
    // A negative age would sweep away history dated in the future: keep it for ever instead.
    s.historyExpires = NonNegative(ini.readNumber(kSettingsSection, "HistoryExpires"));
    s.removeUncompleted = Flag(ini, "RemoveUncompleted");
    s.startUpSchedule = InvertedFlag(ini, "StartUpSchedule");
    s.startUpToDo = Flag(ini, "StartUpToDo");
    s.startUpClipboardSaver = Flag(ini, "StartUpClipboardSaver");
    s.startUpContacts = Flag(ini, "StartUpContacts");
    s.startUpActive = InvertedFlag(ini, "StartUpActive");
    s.startUpMinimized = Flag(ini, "StartUpMinimized");
    s.fullSchedule = Flag(ini, "FullSchedule");
    s.hideToolbar = Flag(ini, "HideToolbar");
    s.noTray = Flag(ini, "NoTray");
    s.multiUser = Flag(ini, "MultiUser");
    s.monitorClipboard = Flag(ini, "MonitorClipboard");
    s.useExternalMessage = Flag(ini, "UseExternalMessage");
    s.useModalMessage = Flag(ini, "UseModalMessage");
    s.repeatAlarmInterval = NonNegative(ini.readNumber(kSettingsSection, "RepeatAlarmInterval"));
    s.logEvents = Flag(ini, "LogEvents");
    s.userId = Cut(ini.read(kSettingsSection, "UserID"), kUserIdWidth);
    s.maximizeOnRun = Flag(ini, "MaximizeOnRun");
    s.debug = Flag(ini, "Debug");
    s.scriptingDelay = ScriptingDelayFrom(ini.readNumber(kSettingsSection, "ScriptingDelay"));
    s.burstSize = BurstSizeFrom(ini.readNumber(kSettingsSection, "BurstSize"));
    s.keepRunningInTray = Flag(ini, "KeepRunningInTray");

    if (s.multiUser && s.userId.empty() && session != nullptr) {
        if (const auto name = session->networkUserName())
            s.userId = Cut(*name, kUserIdWidth);
    }
    s.currentUser = Cut(s.userId, kCurrentUserWidth);
    return s;
}

void SaveSettings(ProfileFile& ini, Settings& s)
{
    const auto flag = [&](const char* key, bool on) { ini.write(kSettingsSection, key, on ? 1 : 0); };
    s.repeatAlarmInterval = RepeatAlarmIntervalToStore(s.repeatAlarmInterval);
    s.userId = Cut(s.userId, kUserIdWidth);

    ini.write(kSettingsSection, "HistoryExpires", std::max(s.historyExpires, 0));
    flag("RemoveUncompleted", s.removeUncompleted);
    flag("StartUpSchedule", !s.startUpSchedule);
    flag("StartUpToDo", s.startUpToDo);
    flag("StartUpClipboardSaver", s.startUpClipboardSaver);
    flag("StartUpContacts", s.startUpContacts);
    flag("StartUpActive", !s.startUpActive);
    flag("StartUpMinimized", s.startUpMinimized);
    flag("FullSchedule", s.fullSchedule);
    flag("HideToolbar", s.hideToolbar);
    flag("NoTray", s.noTray);
    flag("MaximizeOnRun", s.maximizeOnRun);
    flag("UseExternalMessage", s.useExternalMessage);
    flag("MultiUser", s.multiUser);
    ini.write(kSettingsSection, "UserID", s.userId);
    flag("LogEvents", s.logEvents);
    flag("MonitorClipboard", s.monitorClipboard);
    flag("UseExternalMessage", s.useExternalMessage);
    flag("UseModalMessage", s.useModalMessage);
    ini.write(kSettingsSection, "MaxClipboardEntries", s.maxClipboardEntries);
    ini.write(kSettingsSection, "RepeatAlarmInterval", s.repeatAlarmInterval);
    ini.write(kSettingsSection, "ScriptingDelay", s.scriptingDelay);
    ini.write(kSettingsSection, "BurstSize", s.burstSize);
    flag("KeepRunningInTray", s.keepRunningInTray);

    s.scriptingDelay = ScriptingDelayFrom(ini.readNumber(kSettingsSection, "ScriptingDelay"));
    s.burstSize = BurstSizeFrom(ini.readNumber(kSettingsSection, "BurstSize"));
}

}  // namespace hrln::data
