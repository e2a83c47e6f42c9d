#pragma once

#include <span>
#include <string>
#include <string_view>

namespace hrln::app {

// What the program was asked for on its command line. Qt's own options
// (-display, -platform, ...) are taken out by QApplication before the full
// reading; --help and --version are answered before any display is opened.
struct ProgramOptions {
    enum class Action { Run, Help, Version, Fail };
    Action action = Action::Run;
    bool verbose = false;
    bool minimized = false;
    // Why the command line was refused (Action::Fail).
    std::string problem;
};

// Reads the arguments after the program name.
ProgramOptions ReadProgramOptions(std::span<const std::string_view> args);

// The text of --help and of --version.
std::string ProgramHelp(std::string_view dataFolder);
std::string ProgramVersion();

// Whether debugging messages are asked for through the environment: the
// variable HORALYN_DEBUG set to anything but "" or "0".
bool DebugFromEnvironment(const char* value);

}  // namespace hrln::app
