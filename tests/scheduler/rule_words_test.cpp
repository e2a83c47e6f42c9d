#include "scheduler/rule_words.h"

#include "recurrence/recurrence.h"
#include "support/fake_prompter.h"

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
    EXPECT_EQ(RuleInWords(r), "Every 2 years on December 8 at 9:00 AM");
    r.everyType = "month(s)";
    r.every = 3;
    EXPECT_EQ(RuleInWords(r), "Every 3 months on the 8th at 9:00 AM");
}

// The occurrences of `task` as the recurrence engine steps it, its own first.
std::vector<Date> Occurrences(data::ScheduleRecord task, int n)
{
    test::FakePrompter quiet;
    std::vector<Date> out{task.date};
    while (static_cast<int>(out.size()) < n) {
        recurrence::NextOccurrence(task, task.date, task.time, quiet);
        if (task.completed != 0)
            break;
        out.push_back(task.date);
    }
    return out;
}

std::string MonthAndDay(Date date)
{
    static const char* const kNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    const YearMonthDay ymd = SplitDate(date);
    return std::string(kNames[ymd.month - 1]) + " " + std::to_string(ymd.day);
}

// A day some months lack: the words say where the engine takes the task when
// it first meets such a month, and that it keeps the new day; a rule that
// never meets one says nothing of it.
TEST(RuleInWords, ADayAShortMonthLacksSaysWhereTheTaskGoes)
{
    struct Case {
        const char* type;
        Date date;
        data::Long every;
        const char* unit;
        int steps;  // how many occurrences to follow
    };
    const Case cases[] = {
        {"Monthly", MakeDate(1, 31, 2027), 1, "", 30},        {"Monthly", MakeDate(3, 30, 2027), 1, "", 30},
        {"Monthly", MakeDate(1, 29, 2027), 1, "", 30},        {"Yearly", MakeDate(2, 29, 2028), 1, "", 10},
        {"Custom", MakeDate(11, 30, 2026), 2, "month(s)", 30}, {"Custom", MakeDate(1, 31, 2027), 12, "month(s)", 20},
        {"Custom", MakeDate(2, 29, 2028), 4, "year(s)", 18},   {"Custom", MakeDate(2, 29, 2028), 3, "year(s)", 10},
        {"Yearly", MakeDate(3, 31, 2027), 1, "", 20},
    };
    for (const Case& c : cases) {
        data::ScheduleRecord r = Rule(c.type);
        r.date = c.date;
        r.every = c.every;
        r.everyType = c.unit;
        const std::string words = RuleInWords(r);
        const std::vector<Date> dates = Occurrences(r, c.steps);
        const int day = SplitDate(c.date).day;
        const auto moved = std::find_if(dates.begin(), dates.end(), [&](Date d) { return SplitDate(d).day != day; });
        const std::string where = std::string(c.type) + " from " + MonthAndDay(c.date) + ": " + words;
        if (moved == dates.end()) {
            EXPECT_EQ(words.find("moves"), std::string::npos) << where;
            continue;
        }
        EXPECT_NE(words.find("moves to " + MonthAndDay(*moved) + " "), std::string::npos) << where;
        // The year before the move is the one the words name as too short.
        EXPECT_NE(words.find(std::to_string(SplitDate(*moved - 1).year)), std::string::npos) << where;
        for (auto it = moved; it != dates.end(); ++it)
            EXPECT_EQ(SplitDate(*it).day, SplitDate(*moved).day) << where << ", then " << MonthAndDay(*it);
    }
}

}  // namespace
}  // namespace hrln::scheduler
