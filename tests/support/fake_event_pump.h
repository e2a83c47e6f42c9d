#pragma once

#include "platform/event_pump.h"
#include "support/fake_clock.h"
#include "support/fake_journal.h"

#include <functional>

namespace hrln::test {

// A pause that moves the fake clock on and journals "pause N". `during`, when
// set, runs inside each pause, as an event the pump serves would.
class FakeEventPump : public platform::EventPump {
public:
    FakeEventPump(FakeClock& clock, Journal* journal = nullptr) : clock_(clock), journal_(journal) {}

    void pause(int hundredths) override
    {
        Note(journal_, "pause " + std::to_string(hundredths));
        clock_.advance(hundredths);
        ++pauses;
        if (during)
            during();
    }

    std::function<void()> during;
    int pauses = 0;

private:
    FakeClock& clock_;
    Journal* journal_;
};

}  // namespace hrln::test
