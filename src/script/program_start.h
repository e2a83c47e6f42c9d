#pragma once

#include "platform/processes.h"
#include "platform/prompter.h"
#include "platform/windows.h"

#include <string>
#include <string_view>

namespace hrln::script {

// The "Start Program" item's options code: three digit characters.
struct StartOptions {
    bool waitForEnd = false;
    int priority = 2;    // 1 low, 2 normal, 3 high
    int windowMode = 1;  // 1, 2, 7 or 8
};
StartOptions ReadStartOptions(std::string_view code);
// The code of `options` in place of the first three characters of `field`;
// whatever follows them stays.
std::string WriteStartOptions(const StartOptions& options, std::string_view field);

// The simple start: hands the command (program or document) to the desktop in
// `folder`; when that fails, splits it into file and parameters at the closing
// quote or the first blank, then at every blank from the right, until one is
// accepted. Returns the last start result (below 32: failed).
int StartSimple(platform::Processes& processes, std::string_view command, std::string_view folder, int showMode);

// The advanced start: creates the process from the command line with a priority
// class (1 idle, 3 high, anything else or `forceNormal` normal).
platform::AdvancedStartResult StartAdvanced(platform::Processes& processes, std::string_view command,
                                            std::string_view folder, int priority, bool forceNormal, int showMode);

// The "Could not start" message, with the failure's code in its caption.
void ReportStartFailure(platform::Prompter& prompter, std::string_view command, int code);

// "Close Program": asks the last matched window to close. Nothing happens
// without one, and our own main window is never closed by a script.
void CloseProgram(platform::Windows& windows, platform::WindowHandle lastWindow);

}  // namespace hrln::script
