#include "platform/posix/system_clock.h"

#include "support/zone_rules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

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

// Sets TZ for the life of the object, then puts it back.
class ZoneSetting {
public:
    explicit ZoneSetting(const char* zone)
    {
        if (const char* before = std::getenv("TZ")) {
            had_ = true;
            saved_ = before;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneSetting()
    {
        if (had_)
            setenv("TZ", saved_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneSetting(const ZoneSetting&) = delete;
    ZoneSetting& operator=(const ZoneSetting&) = delete;

private:
    bool had_ = false;
    std::string saved_;
};

// The system's zone, here written out as a rule so that no zone file is
// needed, knows the hour skipped in spring and the hour shown twice in autumn
// as the zone database the test clock pins does.
TEST(SystemClockTest, TheZonesOffsetsAtAWallTimeKnowTheChanges)
{
    const ZoneSetting berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    const SystemClock clock;
    const test::ZoneRules rules("Europe/Berlin");
    struct Case {
        Date date;
        Time time;
        WallOffsets expected;
    };
    const Date spring = MakeDate(3, 28, 2027), autumn = MakeDate(10, 31, 2027);
    const Case cases[] = {
        {MakeDate(1, 15, 2027), MakeTime(12, 0), {3600, 3600}},
        {MakeDate(7, 15, 2027), MakeTime(12, 0), {7200, 7200}},
        {spring, MakeTime(1, 59, 59), {3600, 3600}},
        {spring, MakeTime(2, 0), {3600, 7200}},  // skipped
        {spring, MakeTime(2, 30), {3600, 7200}},
        {spring, MakeTime(3, 0), {7200, 7200}},
        {autumn, MakeTime(1, 59, 59), {7200, 7200}},
        {autumn, MakeTime(2, 0), {7200, 3600}},  // shown twice
        {autumn, MakeTime(2, 59, 59), {7200, 3600}},
        {autumn, MakeTime(3, 0), {3600, 3600}},
    };
    for (const Case& c : cases) {
        const WallOffsets system = clock.offsetsAt(c.date, c.time);
        const WallOffsets pinned = rules.offsetsAt(c.date, c.time);
        const std::string at = FormatD17(c.date) + " " + FormatT7(c.time);
        EXPECT_EQ(system.before, c.expected.before) << at;
        EXPECT_EQ(system.after, c.expected.after) << at;
        EXPECT_EQ(pinned.before, c.expected.before) << at;
        EXPECT_EQ(pinned.after, c.expected.after) << at;
    }

    // The present's offset comes with its reading.
    const ZonedDateTime now = clock.zonedNow();
    EXPECT_TRUE(now.utcOffset == 3600 || now.utcOffset == 7200) << now.utcOffset;
    const DateTime utc = clock.nowUtc();
    const long difference = Minutes(now.local) - Minutes(utc);
    EXPECT_GE(difference, now.utcOffset / 60 - 1);
    EXPECT_LE(difference, now.utcOffset / 60 + 1);
}

}  // namespace
}  // namespace hrln::platform::posix
