#include "platform/posix/system_clock.h"

#include <ctime>

namespace hrln::platform::posix {

namespace {

ZonedDateTime Reading(bool utc)
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm parts{};
    if (utc)
        gmtime_r(&ts.tv_sec, &parts);
    else
        localtime_r(&ts.tv_sec, &parts);
    return {{MakeDate(parts.tm_mon + 1, parts.tm_mday, parts.tm_year + 1900),
             MakeTime(parts.tm_hour, parts.tm_min, parts.tm_sec > 59 ? 59 : parts.tm_sec,
                      static_cast<int>(ts.tv_nsec / 10'000'000))},
            static_cast<int>(parts.tm_gmtoff)};
}

// Seconds east of UTC in force at the moment `at`.
long OffsetAt(std::time_t at)
{
    tm parts{};
    localtime_r(&at, &parts);
    return parts.tm_gmtoff;
}

}  // namespace

DateTime SystemClock::now() const
{
    return Reading(false).local;
}

DateTime SystemClock::nowUtc() const
{
    return Reading(true).local;
}

ZonedDateTime SystemClock::zonedNow() const
{
    return Reading(false);
}

WallOffsets SystemClock::offsetsAt(Date date, Time time) const
{
    static const Date kEpoch = MakeDate(1, 1, 1970);
    // The wall-clock moment counted as if it were UTC; a reading with offset
    // o names the moment wall - o, and is one the clock shows when the zone
    // has offset o there.
    const std::time_t wall = static_cast<std::time_t>(date - kEpoch) * 86'400 + (time > 0 ? (time - 1) / 100 : 0);
    const long early = OffsetAt(wall - 86'400);
    const long late = OffsetAt(wall + 86'400);
    const bool earlyShown = OffsetAt(wall - early) == early;
    const bool lateShown = OffsetAt(wall - late) == late;
    // Both readings shown: the moment comes twice; neither: the change skips
    // it. Otherwise it has the one reading shown (the same when no change is near).
    if (earlyShown == lateShown)
        return {static_cast<int>(early), static_cast<int>(late)};
    const int offset = static_cast<int>(earlyShown ? early : late);
    return {offset, offset};
}

}  // namespace hrln::platform::posix
