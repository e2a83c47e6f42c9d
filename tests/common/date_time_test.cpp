#include "common/date_time.h"

#include <gtest/gtest.h>

namespace hrln {
namespace {

TEST(DateTest, EpochAndWeekdays)
{
    EXPECT_EQ(MakeDate(1, 1, 1801), 4);
    EXPECT_EQ(MakeDate(12, 28, 1800), 0);
    EXPECT_EQ(Weekday(MakeDate(1, 1, 1801)), 4);   // a Thursday
    EXPECT_EQ(Weekday(MakeDate(12, 8, 2026)), 2);  // a Tuesday
    EXPECT_EQ(Weekday(MakeDate(2, 29, 2000)), 2);
}

TEST(DateTest, SplitIsTheInverseOfMakeAcrossCenturies)
{
    for (Date d = 1; d < MakeDate(1, 1, 2300); d += 37) {
        const YearMonthDay ymd = SplitDate(d);
        ASSERT_TRUE(IsValidDate(ymd.year, ymd.month, ymd.day)) << d;
        ASSERT_EQ(MakeDate(ymd.month, ymd.day, ymd.year), d);
        ASSERT_EQ(Weekday(d + 1), (Weekday(d) + 1) % 7);
    }
}

TEST(DateTest, GregorianLeapYears)
{
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_TRUE(IsLeapYear(2028));
    EXPECT_EQ(MakeDate(3, 1, 1900) - MakeDate(2, 28, 1900), 1);
    EXPECT_EQ(MakeDate(3, 1, 2000) - MakeDate(2, 28, 2000), 2);
}

TEST(DateTest, OverflowCarriesForward)
{
    EXPECT_EQ(MakeDate(2, 31, 2027), MakeDate(3, 3, 2027));
    EXPECT_EQ(MakeDate(2, 31, 2028), MakeDate(3, 2, 2028));
    EXPECT_EQ(MakeDate(13, 1, 2026), MakeDate(1, 1, 2027));
    EXPECT_EQ(MakeDate(11 + 3, 30, 2026), MakeDate(3, 2, 2027));  // 30 February rolls over
    EXPECT_EQ(MakeDate(25, 1, 2026), MakeDate(1, 1, 2028));
    EXPECT_EQ(MakeDate(3, 0, 2027), MakeDate(2, 28, 2027));
}

TEST(DateTest, FirstAndLastOfMonth)
{
    EXPECT_EQ(FirstOfMonth(MakeDate(2, 17, 2028)), MakeDate(2, 1, 2028));
    EXPECT_EQ(LastOfMonth(MakeDate(2, 17, 2028)), MakeDate(2, 29, 2028));
    EXPECT_EQ(LastOfMonth(MakeDate(12, 5, 2026)), MakeDate(12, 31, 2026));
}

TEST(TimeTest, BuildAndSplit)
{
    EXPECT_EQ(MakeTime(0, 0), 1);
    EXPECT_EQ(MakeTime(23, 59, 59, 99), kTimeMax);
    const TimeOfDay t = SplitTime(MakeTime(13, 5, 9, 42));
    EXPECT_EQ(t.hours, 13);
    EXPECT_EQ(t.minutes, 5);
    EXPECT_EQ(t.seconds, 9);
    EXPECT_EQ(t.hundredths, 42);
}

TEST(TimeTest, CompareAndNormalizeCarryPastMidnight)
{
    const Date d = MakeDate(6, 1, 2027);
    EXPECT_EQ(CompareDateTime(d, kTimeMax + 1, d + 1, 1), 0);
    EXPECT_EQ(CompareDateTime(d, MakeTime(23, 0), d + 1, MakeTime(0, 0)), -1);
    EXPECT_EQ(CompareDateTime(d + 1, 1, d, MakeTime(23, 0)), 1);
    EXPECT_EQ(CompareDateTime(d, 5, d, 5), 0);

    Date date = d;
    Time time = kTimeMax + 1;
    NormalizeDateTime(date, time);
    EXPECT_EQ(date, d + 1);
    EXPECT_EQ(time, 1);

    date = d;
    time = 3 * kTicksPerDay + MakeTime(1, 0);
    NormalizeDateTime(date, time);
    EXPECT_EQ(date, d + 3);
    EXPECT_EQ(time, MakeTime(1, 0));

    date = d;
    time = kTimeMax;
    NormalizeDateTime(date, time);
    EXPECT_EQ(date, d);
}

TEST(PictureTest, DatesAndTimes)
{
    const Date d = MakeDate(12, 8, 2026);
    EXPECT_EQ(FormatD3(d), "Dec 8, 2026");
    EXPECT_EQ(FormatD4(d), "December 8, 2026");
    EXPECT_EQ(FormatD17(d), "2026-12-08");
    EXPECT_EQ(FormatT3(MakeTime(0, 5)), "12:05 AM");
    EXPECT_EQ(FormatT3(MakeTime(12, 0)), "12:00 PM");
    EXPECT_EQ(FormatT3(MakeTime(13, 7)), "1:07 PM");
    EXPECT_EQ(FormatT7(MakeTime(13, 7, 9)), "13:07:09");
    EXPECT_EQ(FormatD3(0), "");
    EXPECT_EQ(FormatT3(0), "");
}

// One range of days for everything that takes a date: both ends are read,
// a day beyond either is not, and messages name the same two days.
TEST(PictureTest, TheDaysKeptAreOneRange)
{
    EXPECT_EQ(kFirstDate, MakeDate(1, 1, kFirstYear));
    EXPECT_EQ(kLastDate, MakeDate(12, 31, kLastYear));
    EXPECT_EQ(ParseD17("1801-01-01"), kFirstDate);
    EXPECT_EQ(ParseD17("2099-12-31"), kLastDate);
    EXPECT_EQ(ParseD17("1800-12-31"), std::nullopt);
    EXPECT_EQ(ParseD17("2100-01-01"), std::nullopt);
    EXPECT_EQ(ParseD17("9999-12-31"), std::nullopt);
    EXPECT_EQ(FormatD17(*ParseD17("2099-02-28")), "2099-02-28");
    EXPECT_EQ(KeptDatesText(), "January 1, 1801 and December 31, 2099");
}

}  // namespace
}  // namespace hrln
