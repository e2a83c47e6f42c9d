#include "platform/posix/system_clock.h"

#include <ctime>

namespace hrln::platform::posix {

DateTime SystemClock::now() const
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    return {MakeDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900),
            MakeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                     static_cast<int>(ts.tv_nsec / 10'000'000))};
}

}  // namespace hrln::platform::posix
