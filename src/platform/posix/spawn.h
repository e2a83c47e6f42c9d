#pragma once

#include "platform/processes.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace hrln::platform::posix {

// A start held back: `program` (the gate program) runs first with `arguments`
// before the real command line, and reads its word to go on from descriptor 3,
// a copy of `fd`.
struct SpawnGate {
    std::string program;
    std::vector<std::string> arguments;
    int fd = -1;
};

struct SpawnRequest {
    std::vector<std::string> arguments;  // the program first
    bool searchPath = false;             // a program named without "/" is looked up on PATH
    std::string folder;                  // blank: ours
    ProcessPriority priority = ProcessPriority::Normal;
    const SpawnGate* gate = nullptr;
};

struct SpawnResult {
    pid_t pid = -1;
    int error = 0;  // errno of the failed start
    bool priorityRefused = false;  // the user may not raise priorities: it runs at ours
};

// Starts a program directly (posix_spawn, never a shell) in a session of its
// own, so it outlives us and our terminal's signals, with default signal
// handling and none of our file descriptors beyond the standard three. The
// caller reaps it.
SpawnResult Spawn(const SpawnRequest& request);

}  // namespace hrln::platform::posix
