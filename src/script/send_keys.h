#pragma once

#include "platform/event_pump.h"
#include "platform/keyboard.h"
#include "platform/tray_icon.h"

#include <functional>
#include <string_view>

namespace hrln::script {

// The tray icons shown in turn, one per chunk, while keys are typed.
inline constexpr const char* kTypingIcons[] = {"tray_ico", "traybr_ico", "trayc_ico", "traydr_ico"};
inline constexpr const char* kTypingTip = "\"Send Keys\" in progress";

struct KeySending {
    platform::Keyboard& keyboard;
    platform::EventPump& pump;
    platform::TrayIcon& tray;
    int scriptingDelay = 50;  // hundredths of a second before each chunk
    int burstSize = 7;
    // Asked after every pause: true ends the typing (the script was stopped).
    std::function<bool()> stopRequested;
};

enum class SendResult { Sent, Stopped, Failed };

// Types a keystroke field into the focused window, chunk by chunk, each after
// its pause, animating the tray icon meanwhile and handing the previous icon
// back at the end. Failed when the keyboard could not deliver a chunk; the rest
// is then not typed.
SendResult SendKeystrokes(std::string_view keys, const KeySending& how);

// Sends the key a bracketed name stands for, or types the name itself when it
// is no key name. "PAUSE" sends nothing. False when delivery failed.
bool SendKeyByName(std::string_view name, platform::Keyboard& keyboard);

}  // namespace hrln::script
