#pragma once

#include "platform/posix/child_reaper.h"
#include "platform/processes.h"

namespace hrln::platform::posix {

// Starting programs on a POSIX desktop: executables run directly with their
// parameters split like a shell's words (but no shell runs), documents and
// URLs open through xdg-open. The window mode is not passed on: X11 has no
// standard way to ask a new program for a minimised or unfocused window.
// Not thread-safe; every call also reaps children that have ended.
class PosixProcesses : public Processes {
public:
    // What the simple start reports for a program started.
    static constexpr int kStarted = 42;

    int shellOpen(const std::string& file, const std::string& parameters, const std::string& folder,
                  int showMode) override;
    AdvancedStartResult createProcess(const std::string& commandLine, const std::string& folder,
                                      ProcessPriority priority, int showMode) override;
    bool processStillRunning() override;

    // The process of the last advanced start; -1 when there is none or it ended.
    pid_t lastProcess() const { return last_; }
    // Children started and not yet seen to end.
    std::size_t unreapedChildren() const { return reaper_.pending() + (last_ > 0 ? 1 : 0); }

private:
    ChildReaper reaper_;
    pid_t last_ = -1;
};

}  // namespace hrln::platform::posix
