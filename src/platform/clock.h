#pragma once

#include "common/date_time.h"

namespace hrln::platform {

struct DateTime {
    Date date = 0;
    Time time = 0;
};

// Local wall-clock time. Read both halves together so a reading near midnight
// cannot pair today's date with tomorrow's time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    // The same moment in UTC, for files that carry time stamps in UTC; a
    // clock that knows no time zone gives its own reading.
    virtual DateTime nowUtc() const { return now(); }
    Date today() const { return now().date; }
};

}  // namespace hrln::platform
