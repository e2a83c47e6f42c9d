#pragma once

#include "platform/posix/child_reaper.h"
#include "platform/posix/spawn.h"
#include "platform/processes.h"
#include "platform/station.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hrln::platform::posix {

// Starting programs on a POSIX desktop: executables run directly with their
// parameters split like a shell's words (but no shell runs), documents and
// URLs open through xdg-open. The window mode is not passed on: X11 has no
// standard way to ask a new program for a minimised or unfocused window, so
// the windows backend applies it to the program's window once it appears.
// Not thread-safe; every call also reaps children that have ended.
//
// As the start gate, it starts the programs of a held occurrence through
// `gateProgram` (hrlnstart), which waits for the word to go on; without a
// gate program, held programs start at once.
class PosixProcesses : public Processes, public StartGate {
public:
    explicit PosixProcesses(std::string gateProgram = {});
    ~PosixProcesses() override;
    PosixProcesses(const PosixProcesses&) = delete;
    PosixProcesses& operator=(const PosixProcesses&) = delete;

    // What the simple start reports for a program started.
    static constexpr int kStarted = 42;

    void hold(const std::string& databasePath, std::int64_t station, std::int64_t serial) override;
    void release(bool run) override;
    // Collects the children that have ended, so none stays a zombie.
    void reapEnded();
    // Called when a child starts, so that the caller collects children only
    // while there are some.
    void setWhenChildStarts(std::function<void()> call) { whenChildStarts_ = std::move(call); }

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
    // Spawns, through the gate while one is held.
    SpawnResult spawn(SpawnRequest& request);

    ChildReaper reaper_;
    pid_t last_ = -1;
    std::string gateProgram_;
    bool holding_ = false;
    std::vector<std::string> gateArguments_;
    std::vector<int> heldFds_;  // the write ends of the held programs' gates
    std::function<void()> whenChildStarts_;
};

}  // namespace hrln::platform::posix
