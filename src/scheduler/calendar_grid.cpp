#include "scheduler/calendar_grid.h"

#include "common/translate.h"

#include "platform/prompter.h"
#include "recurrence/recurrence.h"

#include <algorithm>

namespace hrln::scheduler {
namespace {

void ErrorMessage(platform::Prompter& prompter, std::string text)
{
    prompter.ask({std::move(text), "Error Message", platform::MessageIcon::Exclamation});
}

}  // namespace

std::string CalendarCaption(const std::string& title)
{
    return title.find_first_not_of(' ') == std::string::npos ? HrlnTranslate("CalendarGrid", "Select Date") : title;
}

CalendarGrid::CalendarGrid(Date start, Date today, std::string mode, const data::ScheduleRecord& task)
    : today_(today), mode_(std::move(mode)), task_(task), start_(start), result_(start)
{
    const YearMonthDay shown = SplitDate(start != 0 ? start : today);
    month_ = shown.month;
    year_ = shown.year;
    // A start outside the years the calendar offers opens on today instead.
    if (year_ < kFirstCalendarYear || year_ > kLastCalendarYear) {
        const YearMonthDay now = SplitDate(today);
        month_ = now.month;
        year_ = now.year;
    }
    fill();
}

void CalendarGrid::fill()
{
    cells_.fill(CalendarCell{});
    const Date first = MakeDate(month_, 1, year_);
    const int column = Weekday(first);
    const int days = DaysInMonth(month_, year_);
    for (int day = 1; day <= days; ++day) {
        CalendarCell& cell = cells_[static_cast<std::size_t>(column + day - 1)];
        cell.day = day;
        if (mode_ != kCalendarShowAll)
            cell.visible = recurrence::DateMatchesSchedule(task_, first + day - 1);
    }
    for (CalendarCell& cell : cells_)
        if (cell.day == 0)
            cell.enabled = false;
}

int CalendarGrid::cellOf(int day) const
{
    for (int i = 0; i < kCalendarCells; ++i)
        if (cells_[static_cast<std::size_t>(i)].day == day && day != 0)
            return i;
    return -1;
}

bool CalendarGrid::usable(int cell) const
{
    if (cell < 0 || cell >= kCalendarCells)
        return false;
    const CalendarCell& c = cells_[static_cast<std::size_t>(cell)];
    return c.day != 0 && c.visible && c.enabled;
}

int CalendarGrid::focusCell() const
{
    const Date shownFrom = start_ != 0 ? start_ : today_;
    const YearMonthDay start = SplitDate(shownFrom);
    if (start.month == month_ && start.year == year_) {
        if (const int cell = cellOf(start.day); usable(cell))
            return cell;
    }
    for (int i = 0; i < kCalendarCells; ++i)
        if (usable(i))
            return i;
    return -1;
}

Date CalendarGrid::dateOf(int cell) const
{
    if (cell < 0 || cell >= kCalendarCells || cells_[static_cast<std::size_t>(cell)].day == 0)
        return 0;
    return MakeDate(month_, cells_[static_cast<std::size_t>(cell)].day, year_);
}

int CalendarGrid::move(int cell, int step) const
{
    for (int next = cell + step; next >= 0 && next < kCalendarCells; next += step)
        if (usable(next))
            return next;
    return cell;
}

int CalendarGrid::nearest(int cell, int step) const
{
    if (usable(cell))
        return cell;
    if (const int ahead = move(cell, step); ahead != cell)
        return ahead;
    if (const int behind = move(cell, -step); behind != cell)
        return behind;
    return -1;
}

int CalendarGrid::step(int cell, int days)
{
    if (const int next = move(cell, days); next != cell || !usable(cell))
        return next;
    const YearMonthDay target = SplitDate(dateOf(cell) + days);
    if (days > 0)
        nextMonth();
    else
        previousMonth();
    // The step lands in the new month unless hidden days were in its way or
    // the years offered wrapped: then the new month is entered from its edge.
    const int day = target.month == month_ && target.year == year_ ? target.day
                    : days > 0                                      ? 1
                                                                    : DaysInMonth(month_, year_);
    return nearest(cellOf(day), days > 0 ? 1 : -1);
}

int CalendarGrid::turnMonth(int cell, int months)
{
    const int day = cell >= 0 && cell < kCalendarCells ? cells_[static_cast<std::size_t>(cell)].day : 1;
    if (months < 0)
        previousMonth();
    else
        nextMonth();
    return nearest(cellOf(std::clamp(day, 1, DaysInMonth(month_, year_))), 1);
}

int CalendarGrid::startCell() const
{
    const YearMonthDay start = SplitDate(start_ != 0 ? start_ : today_);
    return start.month == month_ && start.year == year_ ? cellOf(start.day) : -1;
}

void CalendarGrid::previousMonth()
{
    if (--month_ < 1) {
        month_ = 12;
        previousYear();
        return;
    }
    fill();
}

void CalendarGrid::nextMonth()
{
    if (++month_ > 12) {
        month_ = 1;
        nextYear();
        return;
    }
    fill();
}

void CalendarGrid::previousYear()
{
    if (--year_ < kFirstCalendarYear)
        year_ = kLastCalendarYear;
    fill();
}

void CalendarGrid::nextYear()
{
    if (++year_ > kLastCalendarYear)
        year_ = kFirstCalendarYear;
    fill();
}

bool CalendarGrid::setMonth(long long month, platform::Prompter& prompter)
{
    if (month < 1 || month > 12) {
        ErrorMessage(prompter, "Month should be between 1 to 12");
        return false;
    }
    month_ = static_cast<int>(month);
    fill();
    return true;
}

bool CalendarGrid::setYear(long long year, platform::Prompter& prompter)
{
    if (year < kFirstCalendarYear || year > kLastCalendarYear) {
        ErrorMessage(prompter, "Year should be between " + std::to_string(kFirstCalendarYear) + " to " +
                                   std::to_string(kLastCalendarYear));
        return false;
    }
    year_ = static_cast<int>(year);
    fill();
    return true;
}

bool CalendarGrid::pick(int cell, platform::Prompter& prompter)
{
    if (!usable(cell))
        return false;
    const Date date = dateOf(cell);
    if (date < today_) {
        const platform::MessageButton answer =
            prompter.ask({"You have selected a date earlier than today.  Do you wish to use this date?", "Confirm",
                          platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                          platform::MessageButton::No});
        if (answer != platform::MessageButton::Yes)
            return false;
    }
    result_ = date;
    return true;
}

}  // namespace hrln::scheduler
