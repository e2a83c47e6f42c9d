#pragma once

#include "platform/clock.h"

namespace hrln::test {

// A clock that stands still until the test moves it.
class FakeClock : public platform::Clock {
public:
    FakeClock() = default;
    FakeClock(Date date, Time time) : current{date, time} {}
    platform::DateTime now() const override { return current; }
    void set(Date date, Time time) { current = {date, time}; }
    // Moves forward by hundredths of a second, carrying into the date.
    void advance(int hundredths)
    {
        current.time += hundredths;
        NormalizeDateTime(current.date, current.time);
    }

    platform::DateTime current{MakeDate(1, 1, 2027), MakeTime(9, 0)};
};

}  // namespace hrln::test
