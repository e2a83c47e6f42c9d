#pragma once

#include "data/profile_file.h"
#include "platform/session.h"

#include <string>

namespace hrln::data {

inline constexpr const char* kSettingsFile = "HRLN.INI";
inline constexpr const char* kPositionsFile = "POSITION.INI";
inline constexpr const char* kSettingsSection = "Settings";

inline constexpr int kMinScriptingDelay = 50;  // hundredths of a second
inline constexpr int kDefaultBurstSize = 7;
inline constexpr int kMaxBurstSize = 255;
inline constexpr int kMinRepeatAlarmInterval = 5;  // seconds, when repetition is on
inline constexpr int kUserIdWidth = 30;
inline constexpr int kCurrentUserWidth = 40;

// The options, read once at start-up and written back by the settings window.
struct Settings {
    int historyExpires = 0;  // days; 0 keeps history for ever
    bool removeUncompleted = false;
    bool startUpSchedule = true;  // stored inverted
    bool startUpToDo = false;
    bool startUpClipboardSaver = false;
    bool startUpContacts = false;
    bool startUpActive = true;  // stored inverted
    bool startUpMinimized = false;
    bool fullSchedule = false;
    bool hideToolbar = false;
    bool noTray = false;
    bool multiUser = false;
    bool monitorClipboard = false;
    bool useExternalMessage = false;
    bool useModalMessage = false;
    int repeatAlarmInterval = 0;  // seconds; 0 = no repetition
    bool logEvents = false;
    std::string userId;
    bool maximizeOnRun = false;
    bool debug = false;
    int scriptingDelay = kMinScriptingDelay;
    int burstSize = kDefaultBurstSize;
    int maxClipboardEntries = 0;  // owned by the clipboard saver; written with the rest
    // Closing the frame's window leaves the program running in the notification
    // area, so later reminders still come; Exit still ends it.
    bool keepRunningInTray = false;

    // Derived at start-up: the name stamped on tasks and clipboard texts.
    std::string currentUser;
};

// Reads every option with its default and limits, and settles the current
// user (in multi-user mode a blank user id is taken from the logon name).
Settings LoadSettings(const ProfileFile& ini, const platform::Session* session);

// What the settings window's OK does: writes every option in its fixed order,
// then reads the scripting delay and burst size back with their limits.
void SaveSettings(ProfileFile& ini, Settings& settings);

// The limits applied when a value is read.
int ScriptingDelayFrom(long long stored);
int BurstSizeFrom(long long stored);
// The value written for a repeat interval typed in: 1 to 4 seconds become 5.
int RepeatAlarmIntervalToStore(int entered);

}  // namespace hrln::data
