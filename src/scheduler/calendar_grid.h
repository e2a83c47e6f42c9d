#pragma once

#include "common/date_time.h"
#include "data/records.h"

#include <array>
#include <string>

namespace hrln::platform {
class Prompter;
}

namespace hrln::scheduler {

inline constexpr int kCalendarCells = 42;  // six weeks of seven days, from Sunday
inline constexpr int kFirstCalendarYear = kFirstYear;
inline constexpr int kLastCalendarYear = kLastYear;
// The mode that shows every day; any other mode hides the days outside the task's rule.
inline constexpr const char* kCalendarShowAll = "None";

// One day button: its day of the month (0: blank), shown, usable.
struct CalendarCell {
    int day = 0;
    bool visible = true;
    bool enabled = true;
};

// The caption of a calendar: a blank title asks for a date in general.
std::string CalendarCaption(const std::string& title);

// The month a calendar shows and the date it returns. Navigation keeps to the
// years the program keeps (1801 to 2099), wrapping at either end.
class CalendarGrid {
public:
    // `start` 0 opens on today and is still what closing without a pick returns.
    CalendarGrid(Date start, Date today, std::string mode, const data::ScheduleRecord& task);

    int month() const { return month_; }
    int year() const { return year_; }
    const std::array<CalendarCell, kCalendarCells>& cells() const { return cells_; }
    // The cell of `day` in the shown month, -1 when it has none.
    int cellOf(int day) const;
    // Where the focus goes on opening: the start day's cell (a hidden one gives
    // way to the first usable day).
    int focusCell() const;
    Date dateOf(int cell) const;

    void previousMonth();
    void nextMonth();
    void previousYear();
    void nextYear();
    // A month or year typed in; false (and the user told) when out of range,
    // the shown month unchanged.
    bool setMonth(long long month, platform::Prompter& prompter);
    bool setYear(long long year, platform::Prompter& prompter);

    // A click on `cell`: true when it picked the result (a date before today
    // only when the user confirms); false leaves the calendar open.
    bool pick(int cell, platform::Prompter& prompter);
    // The picked date, or the start date as given when nothing was picked.
    Date result() const { return result_; }

    // The next usable cell from `cell` in steps of `step` (±1 a day, ±7 a
    // week), or `cell` itself when there is none.
    int move(int cell, int step) const;
    // An arrow key from `cell` (`days` ±1 or ±7): as `move`, but past the first or last usable
    // day it turns the month and gives the cell of the day the step lands on
    // (or the nearest usable one); -1 when the new month has none.
    int step(int cell, int days);
    // Page Up / Page Down: the previous (`months` -1) or next (+1) month, on
    // the same day number where the month has it (else its last day) or the
    // nearest usable one; -1 when the new month has none.
    int turnMonth(int cell, int months);
    // The start date's cell when its month is shown, else -1: the day to mark.
    int startCell() const;

private:
    void fill();
    bool usable(int cell) const;
    int nearest(int cell, int step) const;

    Date today_;
    std::string mode_;
    const data::ScheduleRecord& task_;
    Date start_;
    Date result_;
    int month_ = 1;
    int year_ = kFirstCalendarYear;
    std::array<CalendarCell, kCalendarCells> cells_{};
};

}  // namespace hrln::scheduler
