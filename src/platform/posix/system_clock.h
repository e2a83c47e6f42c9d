#pragma once

#include "platform/clock.h"

namespace hrln::platform::posix {

// The local wall clock, to the hundredth of a second.
class SystemClock : public Clock {
public:
    DateTime now() const override;
    DateTime nowUtc() const override;
};

}  // namespace hrln::platform::posix
