#pragma once

#include "platform/clock.h"

namespace hrln::platform::posix {

// The local wall clock, to the hundredth of a second, in the system's time
// zone (TZ, else the system's setting).
class SystemClock : public Clock {
public:
    DateTime now() const override;
    DateTime nowUtc() const override;
    ZonedDateTime zonedNow() const override;
    WallOffsets offsetsAt(Date date, Time time) const override;
};

}  // namespace hrln::platform::posix
