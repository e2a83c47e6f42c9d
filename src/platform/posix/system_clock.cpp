#include "platform/posix/system_clock.h"

#include <ctime>

namespace hrln::platform::posix {

namespace {

DateTime Reading(bool utc)
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm parts{};
    if (utc)
        gmtime_r(&ts.tv_sec, &parts);
    else
        localtime_r(&ts.tv_sec, &parts);
    return {MakeDate(parts.tm_mon + 1, parts.tm_mday, parts.tm_year + 1900),
            MakeTime(parts.tm_hour, parts.tm_min, parts.tm_sec > 59 ? 59 : parts.tm_sec,
                     static_cast<int>(ts.tv_nsec / 10'000'000))};
}

}  // namespace

DateTime SystemClock::now() const
{
    return Reading(false);
}

DateTime SystemClock::nowUtc() const
{
    return Reading(true);
}

}  // namespace hrln::platform::posix
