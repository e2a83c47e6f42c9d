#include "scheduler/calendar_grid.h"

#include "support/fake_clock.h"
#include "support/fake_prompter.h"

#include <gtest/gtest.h>

namespace hrln::test {
namespace {

using platform::MessageButton;
using scheduler::CalendarGrid;

data::ScheduleRecord MondaysOnly()
{
    data::ScheduleRecord task;
    task.scheduleType = "Day of Week";
    task.monday = 1;
    return task;
}

class CalendarGridTest : public ::testing::Test {
protected:
    FakeClock clock{MakeDate(3, 10, 2027), MakeTime(9, 0)};  // a Wednesday
    FakePrompter prompter;
    data::ScheduleRecord task;
};

TEST_F(CalendarGridTest, AMonthFromSaturdayWithThirtyOneDaysFillsTheSixthRow)
{
    CalendarGrid grid(MakeDate(5, 12, 2027), clock.today(), "None", task);  // 1 May 2027 is a Saturday
    ASSERT_EQ(grid.month(), 5);
    ASSERT_EQ(grid.year(), 2027);
    const auto& cells = grid.cells();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(cells[static_cast<std::size_t>(i)].day, 0) << i;
        EXPECT_FALSE(cells[static_cast<std::size_t>(i)].enabled) << i;
    }
    EXPECT_EQ(cells[6].day, 1);
    EXPECT_EQ(cells[35].day, 30);  // the sixth row starts with the 30th
    EXPECT_EQ(cells[36].day, 31);
    EXPECT_TRUE(cells[36].enabled);
    for (int i = 37; i < scheduler::kCalendarCells; ++i) {
        EXPECT_EQ(cells[static_cast<std::size_t>(i)].day, 0) << i;
        EXPECT_FALSE(cells[static_cast<std::size_t>(i)].enabled) << i;
    }
    EXPECT_EQ(grid.dateOf(36), MakeDate(5, 31, 2027));
    EXPECT_EQ(grid.focusCell(), grid.cellOf(12));

    // February of a common year from a Monday: four rows and a blank fifth.
    grid.setMonth(2, prompter);
    grid.setYear(2027, prompter);
    EXPECT_EQ(grid.cells()[1].day, 1);
    EXPECT_EQ(grid.cells()[28].day, 28);
    EXPECT_EQ(grid.cells()[29].day, 0);
}

TEST_F(CalendarGridTest, NavigationWrapsAtBothEndsOfTheYearsOffered)
{
    CalendarGrid grid(MakeDate(1, 15, 1801), clock.today(), "None", task);
    grid.previousYear();
    EXPECT_EQ(grid.year(), 2099);
    EXPECT_EQ(grid.month(), 1);
    grid.nextYear();
    EXPECT_EQ(grid.year(), 1801);

    // A month back from January 1801 would leave the calendar: it wraps with the year.
    grid.previousMonth();
    EXPECT_EQ(grid.month(), 12);
    EXPECT_EQ(grid.year(), 2099);
    grid.nextMonth();
    EXPECT_EQ(grid.month(), 1);
    EXPECT_EQ(grid.year(), 1801);
    grid.nextMonth();
    EXPECT_EQ(grid.month(), 2);
    EXPECT_EQ(grid.year(), 1801);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(CalendarGridTest, EntriesOutOfRangeAreRefusedWithTheirMessages)
{
    CalendarGrid grid(MakeDate(6, 1, 2027), clock.today(), "None", task);
    EXPECT_FALSE(grid.setMonth(13, prompter));
    EXPECT_FALSE(grid.setMonth(0, prompter));
    EXPECT_FALSE(grid.setYear(1800, prompter));
    EXPECT_FALSE(grid.setYear(2100, prompter));
    EXPECT_EQ(grid.month(), 6);
    EXPECT_EQ(grid.year(), 2027);
    ASSERT_EQ(prompter.shown.size(), 4u);
    EXPECT_EQ(prompter.shown[0].text, "Month should be between 1 to 12");
    EXPECT_EQ(prompter.shown[0].caption, "Error Message");
    EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(prompter.shown[2].text, "Year should be between 1801 to 2099");
    EXPECT_EQ(prompter.shown[3].caption, "Error Message");

    EXPECT_TRUE(grid.setMonth(12, prompter));
    EXPECT_TRUE(grid.setYear(2099, prompter));
    EXPECT_EQ(grid.dateOf(grid.cellOf(31)), MakeDate(12, 31, 2099));
}

TEST_F(CalendarGridTest, OnlyTheDaysOfTheRuleShowInEveryMonthUnlessTheModeIsNone)
{
    const data::ScheduleRecord mondays = MondaysOnly();
    CalendarGrid grid(MakeDate(3, 10, 2027), clock.today(), "", mondays);
    for (int step = 0; step < 3; ++step) {
        int visible = 0;
        for (int i = 0; i < scheduler::kCalendarCells; ++i) {
            const auto& cell = grid.cells()[static_cast<std::size_t>(i)];
            if (cell.day == 0 || !cell.visible)
                continue;
            ++visible;
            EXPECT_EQ(Weekday(grid.dateOf(i)), 1) << grid.month() << "/" << cell.day;
        }
        EXPECT_GE(visible, 4);
        EXPECT_LE(visible, 5);
        grid.nextMonth();
    }
    // The start day is a Wednesday, hidden: the focus goes to the first Monday shown.
    CalendarGrid march(MakeDate(3, 10, 2027), clock.today(), "", mondays);
    EXPECT_EQ(march.dateOf(march.focusCell()), MakeDate(3, 1, 2027));
    // Arrows pass over hidden days.
    EXPECT_EQ(march.dateOf(march.move(march.focusCell(), 1)), MakeDate(3, 8, 2027));
    EXPECT_EQ(march.dateOf(march.move(march.cellOf(8), -7)), MakeDate(3, 1, 2027));
    EXPECT_EQ(march.move(march.cellOf(1), -1), march.cellOf(1));  // nothing usable before it

    CalendarGrid all(MakeDate(3, 10, 2027), clock.today(), "None", mondays);
    EXPECT_TRUE(all.cells()[static_cast<std::size_t>(all.cellOf(10))].visible);
}

TEST_F(CalendarGridTest, AnEarlierDateNeedsAYesAndClosingReturnsTheStartAsGiven)
{
    CalendarGrid grid(0, clock.today(), "None", task);
    EXPECT_EQ(grid.month(), 3);  // 0 opens on today's month
    EXPECT_EQ(grid.year(), 2027);
    EXPECT_EQ(grid.dateOf(grid.focusCell()), clock.today());

    // Yesterday: No is the default, and keeps the calendar open.
    EXPECT_FALSE(grid.pick(grid.cellOf(9), prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "You have selected a date earlier than today.  Do you wish to use this date?");
    EXPECT_EQ(prompter.shown[0].caption, "Confirm");
    EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(prompter.shown[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(prompter.shown[0].defaultButton, MessageButton::No);
    EXPECT_EQ(grid.result(), 0);  // still the start as given

    prompter.answer(MessageButton::Yes);
    EXPECT_TRUE(grid.pick(grid.cellOf(9), prompter));
    EXPECT_EQ(grid.result(), MakeDate(3, 9, 2027));

    // Today and later need no question; a blank cell picks nothing.
    CalendarGrid later(MakeDate(3, 20, 2027), clock.today(), "None", task);
    EXPECT_TRUE(later.pick(later.cellOf(10), prompter));
    EXPECT_EQ(later.result(), clock.today());
    EXPECT_FALSE(later.pick(0, prompter));  // 1 March 2027 is a Monday: cell 0 is blank
    EXPECT_EQ(prompter.shown.size(), 2u);  // only the two questions about yesterday
}

TEST(CalendarCaptionTest, ABlankTitleAsksForADate)
{
    EXPECT_EQ(scheduler::CalendarCaption(""), "Select Date");
    EXPECT_EQ(scheduler::CalendarCaption("   "), "Select Date");
    EXPECT_EQ(scheduler::CalendarCaption("Pick Day"), "Pick Day");
}

TEST_F(CalendarGridTest, ArrowsCrossTheMonthsEdgeAndPagesTurnTheMonthOnTheSameDay)
{
    CalendarGrid grid(MakeDate(5, 31, 2027), clock.today(), "None", task);
    EXPECT_EQ(grid.startCell(), grid.cellOf(31));
    // Right from the 31st: the 1st of June.
    int cell = grid.step(grid.cellOf(31), 1);
    EXPECT_EQ(grid.month(), 6);
    EXPECT_EQ(grid.dateOf(cell), MakeDate(6, 1, 2027));
    EXPECT_EQ(grid.startCell(), -1);
    // Up from the 3rd: a week back, the 27th of May.
    cell = grid.step(grid.cellOf(3), -7);
    EXPECT_EQ(grid.dateOf(cell), MakeDate(5, 27, 2027));
    // Inside the month a step stays there.
    EXPECT_EQ(grid.dateOf(grid.step(cell, 1)), MakeDate(5, 28, 2027));
    // Page Down from the 31st: June has no 31st, so its last day.
    cell = grid.turnMonth(grid.cellOf(31), 1);
    EXPECT_EQ(grid.dateOf(cell), MakeDate(6, 30, 2027));
    cell = grid.turnMonth(cell, -1);
    EXPECT_EQ(grid.dateOf(cell), MakeDate(5, 30, 2027));
    // Left from the 1st of January 1801 wraps to the last day offered.
    CalendarGrid first(MakeDate(1, 1, 1801), clock.today(), "None", task);
    EXPECT_EQ(first.dateOf(first.step(first.cellOf(1), -1)), MakeDate(12, 31, 2099));
}

TEST_F(CalendarGridTest, KeysAcrossMonthsLandOnlyOnShownDays)
{
    const data::ScheduleRecord mondays = MondaysOnly();
    CalendarGrid grid(MakeDate(5, 31, 2027), clock.today(), "", mondays);  // the last Monday of May
    int cell = grid.step(grid.cellOf(31), 1);
    EXPECT_EQ(grid.dateOf(cell), MakeDate(6, 7, 2027));  // the first Monday of June
    cell = grid.step(cell, -1);
    EXPECT_EQ(grid.dateOf(cell), MakeDate(5, 31, 2027));
    cell = grid.turnMonth(cell, 1);  // June has no 31st nor a Monday 30th: the nearest Monday before
    EXPECT_EQ(grid.dateOf(cell), MakeDate(6, 28, 2027));
}

}  // namespace
}  // namespace hrln::test
