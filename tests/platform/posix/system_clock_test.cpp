#include "platform/posix/system_clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace hrln::platform::posix {
namespace {

// Minutes from the start of day 0, for readings that may straddle midnight.
long Minutes(const DateTime& t)
{
    const TimeOfDay tod = SplitTime(t.time);
    return static_cast<long>(t.date) * 1440 + tod.hours * 60 + tod.minutes;
}

TEST(SystemClockTest, TheUtcReadingIsTheLocalOneLessTheZonesOffset)
{
    const char* before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    // Three and a half hours east of UTC (POSIX writes the offset westward).
    setenv("TZ", "XYZ-3:30", 1);
    tzset();
    const SystemClock clock;
    const DateTime local = clock.now();
    const DateTime utc = clock.nowUtc();
    if (before)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    // The two readings are taken a moment apart: allow a minute between them.
    const long difference = Minutes(local) - Minutes(utc);
    EXPECT_GE(difference, 209);
    EXPECT_LE(difference, 211);
}

}  // namespace
}  // namespace hrln::platform::posix
