#pragma once

#include "exchange/ical_handle.h"
#include "platform/clock.h"

#include <compare>
#include <optional>

// A calendar's times on this computer's wall clock.
namespace hrln::exchange::ical {

// Moments in the order of the wall clock, to the second: the program keeps
// hundredths that no calendar carries.
std::strong_ordering Compare(const Moment& a, const Moment& b);
inline bool SameMoment(const Moment& a, const Moment& b)
{
    return Compare(a, b) == std::strong_ordering::equal;
}

// Reads a calendar's times as the user's wall clock shows them, through the
// injected clock's zone: a time in UTC or in a named zone is moved into it,
// a date (a day-long event) stays on its day and a floating time is taken as
// written. The present is read once, so that a whole file is measured
// against one moment.
class LocalTimes {
public:
    explicit LocalTimes(const platform::Clock& clock);

    Moment now() const { return now_; }
    // Nothing for a time that is none, lies outside the program's calendar or
    // names a zone that was not found.
    std::optional<Moment> local(const icaltimetype& t) const;
    // The local moment of a UTC instant, in seconds since 1970-01-01 UTC.
    std::optional<Moment> fromUtc(std::int64_t utcSeconds) const;
    // Whether the time names a zone or UTC, so that it is moved when read.
    static bool Zoned(const icaltimetype& t);

private:
    const platform::Clock& clock_;
    Moment now_;
    int nowOffset_ = 0;
};

}  // namespace hrln::exchange::ical
