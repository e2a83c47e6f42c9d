#include "data/records.h"
#include "recurrence/recurrence.h"

#include <gtest/gtest.h>

namespace hrln::recurrence {
namespace {

Date Day(int year, int month, int day)
{
    return MakeDate(month, day, year);
}

data::ScheduleRecord Task(const char* type, Date date = Day(2027, 3, 1))
{
    data::ScheduleRecord task;
    task.scheduleType = type;
    task.date = date;
    return task;
}

TEST(DateMatchesScheduleTest, RulesWithoutDayChoicesMatchEveryDate)
{
    for (const char* type : {"Once", "Monthly", "Yearly", "Custom", "", "Day of week"})
        EXPECT_TRUE(DateMatchesSchedule(Task(type), Day(2027, 3, 2))) << type;
}

TEST(DateMatchesScheduleTest, DayOfWeekFollowsTheFlags)
{
    data::ScheduleRecord task = Task("Day of Week");
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 3, 1)));
    task.monday = 1;
    task.sunday = 1;
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 3, 1)));   // Monday
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 2, 28)));  // Sunday
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 3, 6)));  // Saturday
}

TEST(DateMatchesScheduleTest, DayOfMonthNeedsWeekdayAndWeek)
{
    data::ScheduleRecord task = Task("Day of Month");
    task.every1st = 1;
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 3, 1))) << "no weekday flagged";
    task.monday = 1;
    task.every1st = 0;
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 3, 1))) << "no week flagged";

    task.every1st = 1;
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 3, 1)));
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 3, 8)));
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 3, 2))) << "Tuesday";
}

TEST(DateMatchesScheduleTest, OrdinalWeekBoundaries)
{
    // Every weekday flagged, so only the weeks decide.
    data::ScheduleRecord task = Task("Day of Month");
    task.sunday = task.monday = task.tuesday = task.wednesday = task.thursday = task.friday = task.saturday = 1;

    task.every1st = 1;
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 5, 7)));
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 5, 8)));
    task.every1st = 0;

    task.every4th = 1;
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 5, 21)));
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 5, 22)));
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 5, 28)));
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 5, 29))) << "29th to 31st are in no numbered week";
    task.every4th = 0;

    // The last week is the final seven days, overlapping the 4th week.
    task.everyLast = 1;
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2027, 5, 24)));
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 5, 25)));
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 5, 31)));
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2027, 2, 22)));
    EXPECT_FALSE(DateMatchesSchedule(task, Day(2028, 2, 22))) << "leap February ends a day later";
    EXPECT_TRUE(DateMatchesSchedule(task, Day(2028, 2, 23)));
}

TEST(DateMatchesScheduleTest, ZeroMeansTheTasksOwnDate)
{
    data::ScheduleRecord task = Task("Day of Week", Day(2027, 3, 5));  // Friday
    task.friday = 1;
    EXPECT_TRUE(DateMatchesSchedule(task, 0));
    EXPECT_TRUE(DateMatchesSchedule(task));
    task.date = Day(2027, 3, 4);
    EXPECT_FALSE(DateMatchesSchedule(task));
}

}  // namespace
}  // namespace hrln::recurrence
