#pragma once

#include "platform/event_pump.h"

namespace hrln::app {

// A pause that keeps the windows alive: a local event loop that quits on a timer.
class QtEventPump : public platform::EventPump {
public:
    void pause(int hundredths) override;
};

}  // namespace hrln::app
