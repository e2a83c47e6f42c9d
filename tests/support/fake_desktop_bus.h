#pragma once

#include "platform/desktop_bus.h"
#include "support/fake_journal.h"

namespace hrln::test {

// Journals "bus <service>|<path>|<command>" and answers as told.
class FakeDesktopBus : public platform::DesktopBus {
public:
    explicit FakeDesktopBus(Journal* journal = nullptr) : journal_(journal) {}

    platform::BusReply call(const std::string& service, const std::string& path, const std::string& command) override
    {
        Note(journal_, "bus " + service + "|" + path + "|" + command);
        return reply;
    }

    platform::BusReply reply{platform::BusOutcome::Answered, {}};

private:
    Journal* journal_;
};

}  // namespace hrln::test
