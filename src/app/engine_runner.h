#pragma once

#include "scheduler/script_runner.h"
#include "script/script_engine.h"

namespace hrln::app {

// The scheduler's view of the script engine.
class EngineRunner : public scheduler::ScriptRunner {
public:
    explicit EngineRunner(script::ScriptEngine& engine) : engine_(engine) {}

    bool pending() const override { return engine_.hasPendingItems(); }
    void processStep() override { engine_.ProcessScriptStep(); }
    void runTaskProgram(const std::string& command, const std::string& path, std::int32_t scriptId) override
    {
        script::ProgramRequest request;
        request.command = command;
        request.startFolder = path;
        request.scriptTaskId = scriptId;
        engine_.RunTaskProgram(request);
    }
    void stop() override { engine_.StopRunningScript(); }
    std::size_t queued() const override { return engine_.pendingItems().size(); }
    void discardFrom(std::size_t count) override
    {
        if (count < engine_.pendingItems().size())
            engine_.pendingItems().resize(count);
    }

private:
    script::ScriptEngine& engine_;
};

}  // namespace hrln::app
