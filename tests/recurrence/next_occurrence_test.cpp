#include "data/records.h"
#include "recurrence/recurrence.h"
#include "support/fake_prompter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace hrln::recurrence {
namespace {

Date Day(int year, int month, int day)
{
    return MakeDate(month, day, year);
}

data::ScheduleRecord Task(std::string_view type, Date date, Time time = MakeTime(9, 0))
{
    data::ScheduleRecord task;
    task.scheduleType = type;
    task.date = date;
    task.time = time;
    return task;
}

data::ScheduleRecord Custom(int every, std::string_view unit, Date date, Time time = MakeTime(9, 0))
{
    data::ScheduleRecord task = Task("Custom", date, time);
    task.every = every;
    task.everyType = unit;
    return task;
}

bool KindOfTicks(const data::ScheduleRecord& task)
{
    return task.scheduleType == "Custom" && (task.everyType == "min" || task.everyType == "hou");
}

class NextOccurrenceTest : public ::testing::Test {
protected:
    // Moves the task as the scheduler does and gives the new date.
    Date next(data::ScheduleRecord& task, Date afterDate, Time afterTime = MakeTime(12, 0))
    {
        NextOccurrence(task, afterDate, afterTime, prompter);
        return task.date;
    }

    test::FakePrompter prompter;
};

TEST_F(NextOccurrenceTest, OnceIsCompletedWhereItStands)
{
    data::ScheduleRecord task = Task("Once", Day(2027, 3, 1));
    NextOccurrence(task, Day(2027, 3, 1), MakeTime(9, 0), prompter);
    EXPECT_EQ(task.completed, 1);
    EXPECT_EQ(task.date, Day(2027, 3, 1));
    EXPECT_EQ(task.time, MakeTime(9, 0));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(NextOccurrenceTest, TypeIsExactText)
{
    // Anything but the exact words is a custom repetition, which wants units.
    data::ScheduleRecord lower = Task("once", Day(2027, 3, 1));
    next(lower, Day(2027, 3, 1));
    EXPECT_EQ(lower.completed, 0);
    EXPECT_EQ(prompter.shown.size(), 1u);

    data::ScheduleRecord blank = Custom(2, "day(s)", Day(2027, 3, 1));
    blank.scheduleType = "";
    EXPECT_EQ(next(blank, Day(2027, 3, 1)), Day(2027, 3, 3));
}

TEST_F(NextOccurrenceTest, MonthlyDriftsFromTheEndOfLongMonths)
{
    data::ScheduleRecord task = Task("Monthly", Day(2027, 1, 31));
    EXPECT_EQ(next(task, Day(2027, 1, 31)), Day(2027, 3, 3));
    EXPECT_EQ(next(task, Day(2027, 3, 3)), Day(2027, 4, 3));
    EXPECT_EQ(next(task, Day(2027, 4, 3)), Day(2027, 5, 3));

    data::ScheduleRecord leap = Task("Monthly", Day(2028, 1, 31));
    EXPECT_EQ(next(leap, Day(2028, 1, 31)), Day(2028, 3, 2));

    // The 30th survives until February.
    data::ScheduleRecord thirtieth = Task("Monthly", Day(2026, 10, 30));
    EXPECT_EQ(next(thirtieth, Day(2027, 1, 15)), Day(2027, 1, 30));
    EXPECT_EQ(next(thirtieth, Day(2027, 2, 10)), Day(2027, 3, 2));
}

TEST_F(NextOccurrenceTest, DateRulesStopStrictlyAfterTheDateWhateverTheTime)
{
    data::ScheduleRecord monthly = Task("Monthly", Day(2027, 5, 10), MakeTime(23, 0));
    EXPECT_EQ(next(monthly, Day(2027, 5, 10), MakeTime(1, 0)), Day(2027, 6, 10));
    EXPECT_EQ(monthly.time, MakeTime(23, 0));
    // Already after the moment: left alone.
    EXPECT_EQ(next(monthly, Day(2027, 6, 9), MakeTime(23, 59)), Day(2027, 6, 10));

    // Years behind: lands on the first month after, not one too far.
    data::ScheduleRecord late = Task("Monthly", Day(1990, 4, 20));
    EXPECT_EQ(next(late, Day(2027, 6, 19)), Day(2027, 6, 20));
    data::ScheduleRecord later = Task("Monthly", Day(1990, 4, 20));
    EXPECT_EQ(next(later, Day(2027, 6, 20)), Day(2027, 7, 20));
}

TEST_F(NextOccurrenceTest, YearlyLeapDayMovesToMarchForGood)
{
    data::ScheduleRecord task = Task("Yearly", Day(2028, 2, 29));
    EXPECT_EQ(next(task, Day(2028, 2, 29)), Day(2029, 3, 1));
    EXPECT_EQ(next(task, Day(2031, 6, 1)), Day(2032, 3, 1));

    data::ScheduleRecord plain = Task("Yearly", Day(1900, 7, 4));
    EXPECT_EQ(next(plain, Day(2027, 7, 3)), Day(2027, 7, 4));
}

TEST_F(NextOccurrenceTest, DayOfWeek)
{
    // No weekday flagged: daily, landing on the day after the moment.
    data::ScheduleRecord daily = Task("Day of Week", Day(2020, 1, 1));
    EXPECT_EQ(next(daily, Day(2027, 3, 10)), Day(2027, 3, 11));

    data::ScheduleRecord task = Task("Day of Week", Day(2027, 3, 1));  // a Monday
    task.monday = 1;
    task.friday = 1;
    EXPECT_EQ(next(task, Day(2027, 3, 1)), Day(2027, 3, 5));
    EXPECT_EQ(next(task, Day(2027, 3, 5)), Day(2027, 3, 8));
    EXPECT_EQ(next(task, Day(2027, 3, 20)), Day(2027, 3, 22));
    EXPECT_EQ(next(task, Day(2027, 3, 1)), Day(2027, 3, 22)) << "a later date is kept";
}

TEST_F(NextOccurrenceTest, DayOfMonthOrdinalWeeks)
{
    data::ScheduleRecord first = Task("Day of Month", Day(2027, 3, 1));  // Monday the 1st
    first.monday = 1;
    first.every1st = 1;
    EXPECT_EQ(next(first, Day(2027, 3, 1)), Day(2027, 4, 5));

    // Friday 30 April 2027 ends its month: it is the last Friday, not the 23rd.
    data::ScheduleRecord last = Task("Day of Month", Day(2027, 4, 16));
    last.friday = 1;
    last.everyLast = 1;
    EXPECT_EQ(next(last, Day(2027, 4, 16)), Day(2027, 4, 30));
    EXPECT_EQ(next(last, Day(2027, 4, 30)), Day(2027, 5, 28));

    // Several weeks: the 2nd and the 4th Wednesday.
    data::ScheduleRecord twice = Task("Day of Month", Day(2027, 3, 10));
    twice.wednesday = 1;
    twice.every2nd = 1;
    twice.every4th = 1;
    EXPECT_EQ(next(twice, Day(2027, 3, 10)), Day(2027, 3, 24));
    EXPECT_EQ(next(twice, Day(2027, 3, 24)), Day(2027, 4, 14));

    // The 29th to 31st belong to no numbered week.
    data::ScheduleRecord fourth = Task("Day of Month", Day(2027, 3, 22));
    fourth.monday = 1;
    fourth.every4th = 1;
    EXPECT_EQ(next(fourth, Day(2027, 3, 22)), Day(2027, 4, 26));
}

TEST_F(NextOccurrenceTest, DayOfMonthWithoutOrdinalsOrWeekdays)
{
    data::ScheduleRecord weekdaysOnly = Task("Day of Month", Day(2027, 3, 1));
    weekdaysOnly.tuesday = 1;
    weekdaysOnly.thursday = 1;
    EXPECT_EQ(next(weekdaysOnly, Day(2027, 3, 11)), Day(2027, 3, 16));

    // No weekday: every day is a candidate, filtered by the weeks.
    data::ScheduleRecord lastWeek = Task("Day of Month", Day(2027, 2, 1));
    lastWeek.everyLast = 1;
    EXPECT_EQ(next(lastWeek, Day(2027, 2, 5)), Day(2027, 2, 22));
    EXPECT_EQ(next(lastWeek, Day(2027, 2, 28)), Day(2027, 3, 25));

    data::ScheduleRecord nothing = Task("Day of Month", Day(2027, 2, 1));
    EXPECT_EQ(next(nothing, Day(2027, 2, 5)), Day(2027, 2, 6));
}

TEST_F(NextOccurrenceTest, DayOfMonthAlwaysMovesForward)
{
    data::ScheduleRecord task = Task("Day of Month", Day(2027, 4, 5));
    task.monday = 1;
    task.every1st = 1;
    EXPECT_EQ(next(task, Day(2027, 3, 20)), Day(2027, 5, 3));

    data::ScheduleRecord farBack = Task("Day of Month", Day(1850, 1, 1));
    farBack.friday = 1;
    farBack.everyLast = 1;
    EXPECT_EQ(next(farBack, Day(2027, 1, 29)), Day(2027, 2, 26));
}

TEST_F(NextOccurrenceTest, MinutesCarryIntoTheNextDay)
{
    data::ScheduleRecord task = Custom(90, "minute(s)", Day(2027, 3, 1), MakeTime(23, 30));
    NextOccurrence(task, Day(2027, 3, 1), MakeTime(23, 30), prompter);
    EXPECT_EQ(task.date, Day(2027, 3, 2));
    EXPECT_EQ(task.time, MakeTime(1, 0));

    // Above a day's worth, a step is whole days plus the rest.
    data::ScheduleRecord big = Custom(2000, "min", Day(2027, 3, 1), MakeTime(8, 0));
    NextOccurrence(big, Day(2027, 3, 1), MakeTime(8, 0), prompter);
    EXPECT_EQ(big.date, Day(2027, 3, 2));
    EXPECT_EQ(big.time, MakeTime(17, 20));
}

TEST_F(NextOccurrenceTest, MinutesAndHoursMoveAtLeastOneStep)
{
    // Performed exactly at its moment, the task must not stay there, or the
    // next tick would perform it again.
    data::ScheduleRecord task = Custom(15, "Minutes", Day(2027, 3, 1), MakeTime(10, 0));
    NextOccurrence(task, Day(2027, 3, 1), MakeTime(10, 0), prompter);
    EXPECT_EQ(task.time, MakeTime(10, 15));

    data::ScheduleRecord hourly = Custom(1, "Hours", Day(2027, 3, 1), MakeTime(23, 0));
    NextOccurrence(hourly, Day(2027, 3, 1), MakeTime(23, 0), prompter);
    EXPECT_EQ(hourly.date, Day(2027, 3, 2));
    EXPECT_EQ(hourly.time, MakeTime(0, 0));

    // Already later than the moment: still one step.
    data::ScheduleRecord ahead = Custom(30, "min", Day(2027, 3, 1), MakeTime(12, 0));
    NextOccurrence(ahead, Day(2027, 3, 1), MakeTime(9, 0), prompter);
    EXPECT_EQ(ahead.time, MakeTime(12, 30));
}

TEST_F(NextOccurrenceTest, MinutesAndHoursStopAtOrAfterTheMoment)
{
    // From far behind, an occurrence exactly at the moment is the answer.
    data::ScheduleRecord task = Custom(15, "min", Day(1827, 3, 1), MakeTime(10, 0));
    NextOccurrence(task, Day(2027, 3, 1), MakeTime(14, 45), prompter);
    EXPECT_EQ(task.date, Day(2027, 3, 1));
    EXPECT_EQ(task.time, MakeTime(14, 45));

    data::ScheduleRecord between = Custom(15, "min", Day(1827, 3, 1), MakeTime(10, 0));
    NextOccurrence(between, Day(2027, 3, 1), MakeTime(14, 45, 0, 1), prompter);
    EXPECT_EQ(between.time, MakeTime(15, 0));

    // The time counts for minutes: a moment later in the day is reached that day.
    data::ScheduleRecord hours = Custom(5, "HOURS", Day(2027, 3, 1), MakeTime(1, 0));
    NextOccurrence(hours, Day(2027, 3, 2), MakeTime(9, 0), prompter);
    EXPECT_EQ(hours.date, Day(2027, 3, 2));
    EXPECT_EQ(hours.time, MakeTime(12, 0));

    // 30 hours: a day and six hours per step.
    data::ScheduleRecord thirtyHours = Custom(30, "Hour(s)", Day(2027, 3, 1), MakeTime(20, 0));
    NextOccurrence(thirtyHours, Day(2027, 3, 4), MakeTime(0, 0), prompter);
    EXPECT_EQ(thirtyHours.date, Day(2027, 3, 4));
    EXPECT_EQ(thirtyHours.time, MakeTime(8, 0));
}

TEST_F(NextOccurrenceTest, CustomDaysWeeksMonthsYears)
{
    data::ScheduleRecord days = Custom(10, "Day(s)", Day(2027, 1, 1));
    EXPECT_EQ(next(days, Day(2027, 1, 21)), Day(2027, 1, 31));

    data::ScheduleRecord weeks = Custom(2, "week(s)", Day(2027, 1, 4));
    EXPECT_EQ(next(weeks, Day(2027, 1, 4)), Day(2027, 1, 18));
    EXPECT_EQ(weeks.time, MakeTime(9, 0));

    // 30 November plus three months is 30 February, which rolls over.
    data::ScheduleRecord quarter = Custom(3, "Month(s)", Day(2026, 11, 30));
    EXPECT_EQ(next(quarter, Day(2026, 11, 30)), Day(2027, 3, 2));

    // Every 4 years from a leap day runs into 1900, which is no leap year.
    data::ScheduleRecord leap = Custom(4, "Year(s)", Day(1804, 2, 29));
    EXPECT_EQ(next(leap, Day(1896, 2, 29)), Day(1900, 3, 1));
    EXPECT_EQ(next(leap, Day(1900, 3, 1)), Day(1904, 3, 1));
}

// Past 31 December 2099 the program keeps no day: a rule whose next
// occurrence would fall there ends as a once-only task does.
TEST_F(NextOccurrenceTest, EveryRuleEndsWhereItsNextOccurrenceLeavesTheDaysKept)
{
    const Date lastDay = Day(2099, 12, 31);
    ASSERT_EQ(lastDay, kLastDate);
    data::ScheduleRecord weekdays = Task("Day of Week", Day(2099, 12, 28));  // a Monday
    weekdays.monday = 1;
    data::ScheduleRecord lastFriday = Task("Day of Month", Day(2099, 12, 25));
    lastFriday.friday = 1;
    lastFriday.everyLast = 1;
    struct Case {
        const char* name;
        data::ScheduleRecord task;
        Date after;
        Time afterTime;
    };
    std::vector<Case> cases = {
        {"yearly", Task("Yearly", Day(2099, 1, 1)), Day(2099, 1, 1), MakeTime(9, 0)},
        {"monthly", Task("Monthly", Day(2099, 12, 15)), Day(2099, 12, 15), MakeTime(9, 0)},
        {"day of week", weekdays, Day(2099, 12, 28), MakeTime(9, 0)},
        {"day of month", lastFriday, Day(2099, 12, 25), MakeTime(9, 0)},
        {"daily", Custom(1, "day(s)", lastDay), lastDay, MakeTime(9, 0)},
        {"weekly", Custom(1, "week(s)", Day(2099, 12, 29)), Day(2099, 12, 29), MakeTime(9, 0)},
        {"every 2 months", Custom(2, "month(s)", Day(2099, 11, 30)), Day(2099, 11, 30), MakeTime(9, 0)},
        {"every 3 years", Custom(3, "year(s)", Day(2097, 6, 1)), Day(2097, 6, 1), MakeTime(9, 0)},
        {"hourly", Custom(1, "hour(s)", lastDay, MakeTime(23, 30)), lastDay, MakeTime(23, 30)},
        {"every minute", Custom(1, "minute(s)", lastDay, MakeTime(23, 59)), lastDay, MakeTime(23, 59)},
        // A date already beyond the days kept, as an import of old may hold.
        {"daily from beyond", Custom(1, "day(s)", lastDay + 10), Day(2027, 1, 1), MakeTime(9, 0)},
    };
    for (Case& c : cases) {
        const data::ScheduleRecord before = c.task;
        NextOccurrence(c.task, c.after, c.afterTime, prompter);
        EXPECT_EQ(c.task.completed, 1) << c.name;
        EXPECT_EQ(c.task.date, before.date) << c.name;
        EXPECT_EQ(c.task.time, before.time) << c.name;
    }

    // Up to the last day itself every rule goes on.
    data::ScheduleRecord monthly = Task("Monthly", Day(2099, 11, 30));
    EXPECT_EQ(next(monthly, Day(2099, 11, 30)), Day(2099, 12, 30));
    data::ScheduleRecord daily = Custom(1, "day(s)", Day(2099, 12, 30));
    EXPECT_EQ(next(daily, Day(2099, 12, 30)), lastDay);
    data::ScheduleRecord minutes = Custom(1, "minute(s)", lastDay, MakeTime(23, 58));
    NextOccurrence(minutes, lastDay, MakeTime(23, 58), prompter);
    EXPECT_EQ(minutes.time, MakeTime(23, 59));
    for (const data::ScheduleRecord* t : {&monthly, &daily, &minutes})
        EXPECT_EQ(t->completed, 0);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(NextOccurrenceTest, EveryBelowOneCountsAsOneAndIsWrittenBack)
{
    data::ScheduleRecord zero = Custom(0, "day", Day(2027, 1, 1));
    EXPECT_EQ(next(zero, Day(2027, 1, 1)), Day(2027, 1, 2));
    EXPECT_EQ(zero.every, 1);

    data::ScheduleRecord negative = Custom(-5, "min", Day(2027, 1, 1), MakeTime(9, 0));
    NextOccurrence(negative, Day(2027, 1, 1), MakeTime(9, 0), prompter);
    EXPECT_EQ(negative.every, 1);
    EXPECT_EQ(negative.time, MakeTime(9, 1));

    // Only custom rules own Every.
    data::ScheduleRecord monthly = Task("Monthly", Day(2027, 1, 1));
    next(monthly, Day(2027, 1, 1));
    EXPECT_EQ(monthly.every, 0);
}

TEST_F(NextOccurrenceTest, UnknownUnitsAreReportedAndMoveToTheNextDay)
{
    data::ScheduleRecord task = Custom(3, "fortnights", Day(2027, 1, 1));
    EXPECT_EQ(next(task, Day(2027, 2, 10)), Day(2027, 2, 11));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Custom repetition is not set up properly.  Select units.");
    EXPECT_EQ(prompter.shown[0].caption, "Invalid Units");
    EXPECT_EQ(prompter.shown[0].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(task.disabled, 0);

    // A later date stays, but the message comes all the same.
    EXPECT_EQ(next(task, Day(2027, 2, 1)), Day(2027, 2, 11));
    EXPECT_EQ(prompter.shown.size(), 2u);

    // Only the first three characters count: "mi" is no unit, "Monday" is months.
    data::ScheduleRecord shortUnit = Custom(1, "mi", Day(2027, 1, 1));
    next(shortUnit, Day(2027, 1, 1));
    EXPECT_EQ(prompter.shown.size(), 3u);
    data::ScheduleRecord monday = Custom(1, "Monday", Day(2027, 1, 1));
    EXPECT_EQ(next(monday, Day(2027, 1, 1)), Day(2027, 2, 1));
    EXPECT_EQ(prompter.shown.size(), 3u);
}

TEST_F(NextOccurrenceTest, DamagedRecordsNeitherHangNorOverflow)
{
    // Values no editor writes, but a damaged or imported record may hold.
    // Each rule must still stop, past the moment or at the last date there is.
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const char* const units[] = {"min", "hou", "day", "wee", "mon", "yea", "xyz"};
    const char* const types[] = {"Monthly", "Yearly", "Day of Week", "Day of Month"};
    std::vector<data::ScheduleRecord> tasks;
    for (const char* unit : units)
        for (int every : {kMax, kMax - 1439, 1})
            tasks.push_back(Custom(every, unit, 0));
    for (const char* type : types) {
        tasks.push_back(Task(type, 0));
        tasks.back().friday = 1;
        tasks.back().everyLast = 1;
    }
    for (data::ScheduleRecord task : tasks)
        for (Date date : {kMin + 1, -1, Day(2027, 1, 31), kMax - 40, kMax})
            for (Date afterDate : {kMin, 0, Day(2027, 2, 28), kMax - 1, kMax})
                for (Time time : {kMin, 0, kTicksPerDay, kMax}) {
                    task.date = date;
                    task.time = time;
                    const Time afterTime = kMax;
                    NextOccurrence(task, afterDate, afterTime, prompter);
                    if (task.completed != 0) {
                        // Past the last day kept: ended where it stood.
                        EXPECT_EQ(task.date, date);
                        task.completed = 0;
                        continue;
                    }
                    EXPECT_LE(task.date, kLastDate);
                    const std::string unit = task.everyType.str();
                    if (KindOfTicks(task)) {
                        // The moment's time past the end of its day counts as the next day.
                        const std::int64_t day = std::int64_t{afterDate} + 1;
                        const std::int64_t tick = std::int64_t{afterTime} - kTicksPerDay;
                        EXPECT_TRUE(task.date > day || (task.date == day && task.time >= tick))
                            << unit << " " << date << "/" << time << " after " << afterDate;
                    } else {
                        EXPECT_GT(task.date, afterDate) << task.scheduleType.str() << unit << " " << date;
                    }
                }
}

}  // namespace
}  // namespace hrln::recurrence
