#pragma once

#include "common/date_time.h"

namespace hrln::platform {

struct DateTime {
    Date date = 0;
    Time time = 0;
};

// The local zone's two readings of a wall-clock moment, as offsets from UTC
// in seconds east: the offset in force just before the moment and just after
// it. They differ only for a moment that a change of the offset skips
// (before < after: 02:30 when 02:00 becomes 03:00) or shows twice
// (before > after: 02:30 when 03:00 becomes 02:00).
struct WallOffsets {
    int before = 0;
    int after = 0;
};

// A wall-clock reading with the zone's offset from UTC in force at it.
struct ZonedDateTime {
    DateTime local;
    int utcOffset = 0;  // seconds east of UTC
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
    // The present with the offset in force, read together so that a reading
    // at a change of the offset cannot pair one side's wall time with the
    // other side's offset. A clock that knows no time zone gives offset 0.
    virtual ZonedDateTime zonedNow() const { return {now(), 0}; }
    // The zone's offsets at the local wall-clock moment (date, time); a clock
    // that knows no time zone gives 0 for both.
    virtual WallOffsets offsetsAt(Date, Time) const { return {}; }
    Date today() const { return now().date; }
};

}  // namespace hrln::platform
