#pragma once

#include <string>

namespace hrln::platform::posix {

// The helper programs (hrlnmsg, hrlnstart) are ours alone: they are started
// by the program, never by hand. The program marks its environment, which
// every child inherits, and a helper refuses to run without the mark.
inline constexpr const char* kStartedByVariable = "HORALYN_STARTED_BY";

void MarkHelpersStartedByUs();
bool StartedByUs();

// Where the helper `name` is for a program in `programFolder`: beside it in
// the build tree, or in the installed helper folder `helperFolder`, given
// relative to the program's folder. Empty when neither holds it.
std::string HelperProgram(const std::string& programFolder, const std::string& helperFolder,
                          const std::string& name);
// The same for a module the program loads (not executable once installed).
std::string HelperModule(const std::string& programFolder, const std::string& helperFolder, const std::string& name);

}  // namespace hrln::platform::posix
