#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace hrln::scheduler {

// What the scheduler asks of the script engine.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;
    virtual bool pending() const = 0;
    // Runs at most one due script item.
    virtual void processStep() = 0;
    // Starts a task's program (a blank or "N/A" command runs only the script)
    // and queues the script of task `scriptId` (0: none).
    virtual void runTaskProgram(const std::string& command, const std::string& path, std::int32_t scriptId) = 0;
    // Empties the pending list.
    virtual void stop() = 0;
    // How many items are pending, and dropping those queued after the first `count`.
    virtual std::size_t queued() const = 0;
    virtual void discardFrom(std::size_t count) = 0;
};

}  // namespace hrln::scheduler
