#pragma once

#include "platform/processes.h"
#include "support/fake_journal.h"

#include <set>
#include <string>

namespace hrln::test {

// Starts only the files it was told exist; journals "open <file>|<params>|<folder>|<show>"
// and "create <command line>|<folder>|<priority>|<show>".
class FakeProcesses : public platform::Processes {
public:
    explicit FakeProcesses(Journal* journal = nullptr) : journal_(journal) {}

    int shellOpen(const std::string& file, const std::string& parameters, const std::string& folder,
                  int showMode) override
    {
        Note(journal_, "open " + file + "|" + parameters + "|" + folder + "|" + std::to_string(showMode));
        return openable.count(file) != 0 ? 42 : failure;
    }
    platform::AdvancedStartResult createProcess(const std::string& commandLine, const std::string& folder,
                                                platform::ProcessPriority priority, int showMode) override
    {
        static const char* const kNames[] = {"idle", "normal", "high"};
        Note(journal_, "create " + commandLine + "|" + folder + "|" + kNames[static_cast<int>(priority)] + "|" +
                           std::to_string(showMode));
        if (createError != 0)
            return {false, createError};
        running = true;
        return {true, 0, processId, priority == platform::ProcessPriority::High && refuseHigh};
    }
    bool processStillRunning() override { return running; }

    std::set<std::string> openable;  // files the shell accepts
    int failure = platform::kStartFileNotFound;
    int createError = 0;             // nonzero: creation fails with this code
    bool running = false;            // the last created process
    std::int64_t processId = 4242;   // what a created process is numbered
    bool refuseHigh = false;         // high priority is refused, as for an ordinary user

private:
    Journal* journal_;
};

}  // namespace hrln::test
