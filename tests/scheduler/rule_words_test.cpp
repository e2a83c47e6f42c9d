#include "scheduler/rule_words.h"

#include <gtest/gtest.h>

namespace hrln::scheduler {
namespace {

data::ScheduleRecord Rule(const char* type, Time time = MakeTime(9, 0))
{
    data::ScheduleRecord r;
    r.scheduleType = type;
    r.date = MakeDate(12, 8, 2026);
    r.time = time;
    return r;
}

TEST(RuleInWords, FixedDatesSayTheirDay)
{
    EXPECT_EQ(RuleInWords(Rule("Once", MakeTime(13, 5))), "Once on December 8, 2026 at 1:05 PM");
    EXPECT_EQ(RuleInWords(Rule("Monthly")), "Every month on the 8th at 9:00 AM");
    EXPECT_EQ(RuleInWords(Rule("Yearly")), "Every year on December 8 at 9:00 AM");
    data::ScheduleRecord untimed = Rule("Monthly", 0);
    untimed.date = MakeDate(1, 22, 2027);
    EXPECT_EQ(RuleInWords(untimed), "Every month on the 22nd");
    untimed.date = MakeDate(1, 11, 2027);
    EXPECT_EQ(RuleInWords(untimed), "Every month on the 11th");
}

TEST(RuleInWords, WeekdaysAreListedAndNoneOrAllMeanEveryDay)
{
    data::ScheduleRecord r = Rule("Day of Week");
    EXPECT_EQ(RuleInWords(r), "Every day at 9:00 AM");  // no day chosen moves on daily
    r.monday = r.wednesday = r.friday = 1;
    EXPECT_EQ(RuleInWords(r), "Every Monday, Wednesday and Friday at 9:00 AM");
    for (int d = 0; d < 7; ++d)
        r.weekdayFlag(d) = 1;
    EXPECT_EQ(RuleInWords(r), "Every day at 9:00 AM");
}

TEST(RuleInWords, DayOfMonthNamesTheWeeksOfTheMonth)
{
    data::ScheduleRecord r = Rule("Day of Month");
    r.friday = 1;
    r.everyLast = 1;
    EXPECT_EQ(RuleInWords(r), "Every last Friday of the month at 9:00 AM");
    r.every1st = r.every3rd = 1;
    r.monday = 1;
    EXPECT_EQ(RuleInWords(r), "Every 1st, 3rd and last Monday and Friday of the month at 9:00 AM");
    r.every1st = r.every3rd = r.everyLast = 0;
    EXPECT_EQ(RuleInWords(r), "Every Monday and Friday at 9:00 AM");  // no week chosen: every such day
    r.monday = r.friday = 0;
    r.every2nd = 1;
    EXPECT_EQ(RuleInWords(r), "Every day in the 2nd week of the month at 9:00 AM");
}

TEST(RuleInWords, CustomRepetitionReadsItsUnitAsTheSchedulerDoes)
{
    data::ScheduleRecord r = Rule("Custom");
    r.every = 3;
    r.everyType = "day(s)";
    EXPECT_EQ(RuleInWords(r), "Every 3 days at 9:00 AM");
    r.every = 0;  // taken as 1
    r.everyType = "Week(s)";
    EXPECT_EQ(RuleInWords(r), "Every week at 9:00 AM");
    r.every = 90;
    r.everyType = "minute(s)";
    EXPECT_EQ(RuleInWords(r), "Every 90 minutes from 9:00 AM");
    r.every = 1;
    r.everyType = "HOURS";
    EXPECT_EQ(RuleInWords(r), "Every hour from 9:00 AM");
    r.everyType = "fortnights";
    EXPECT_EQ(RuleInWords(r), "Custom repetition without units");
    r.scheduleType = "";  // a blank type repeats as a custom rule
    r.everyType = "year(s)";
    r.every = 2;
    EXPECT_EQ(RuleInWords(r), "Every 2 years at 9:00 AM");
}

}  // namespace
}  // namespace hrln::scheduler
