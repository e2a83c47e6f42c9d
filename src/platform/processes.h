#pragma once

#include <cstdint>
#include <string>

namespace hrln::platform {

// Start results below this value are failure codes.
inline constexpr int kFirstStartSuccess = 32;

// Windows-style codes the simple start reports for its commonest failures.
inline constexpr int kStartFileNotFound = 2;
inline constexpr int kStartPathNotFound = 3;
inline constexpr int kStartAccessDenied = 5;
inline constexpr int kStartNoAssociation = 31;

enum class ProcessPriority { Idle, Normal, High };

struct AdvancedStartResult {
    bool created = false;
    int errorCode = 0;           // the system's code when not created
    std::int64_t processId = 0;  // the process created, for finding its windows
    bool priorityRefused = false;  // high priority was asked for and refused: it runs at ours
};

// Starting programs. `showMode` is a window-mode number (0 hidden, 1 normal,
// 2 minimised with focus, 3 maximised, 7 minimised without focus, 8 shown
// without focus); starting a program does not apply it (see
// Windows::applyStartMode).
class Processes {
public:
    virtual ~Processes() = default;
    // Opens `file` (a program or a document) with `parameters` in `folder`
    // (blank: the current folder). Returns 32 or more when started, otherwise a
    // failure code below 32.
    virtual int shellOpen(const std::string& file, const std::string& parameters, const std::string& folder,
                          int showMode) = 0;
    // Creates a process from a command line (program and arguments, never
    // through a shell) in `folder` (blank: the current folder). On success it
    // becomes the last process.
    virtual AdvancedStartResult createProcess(const std::string& commandLine, const std::string& folder,
                                              ProcessPriority priority, int showMode) = 0;
    // Whether the last process created is still running; false when there is none.
    virtual bool processStillRunning() = 0;
};

}  // namespace hrln::platform
