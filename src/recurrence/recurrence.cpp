#include "common/text.h"
#include "data/records.h"
#include "platform/prompter.h"
#include "recurrence/recurrence.h"
#include "recurrence/schedule_rule.h"
#include "recurrence/stepping.h"

#include <algorithm>
#include <limits>

namespace hrln::recurrence {
namespace {

constexpr Date kLastDayNumber = std::numeric_limits<Date>::max();

// Passes from day to flagged day (or to every day when no weekday is
// flagged) until one lies after both the task's date and afterDate and falls
// in a flagged week. The task always moves, even when it is already later
// than afterDate; every flagged day up to afterDate would be passed over, so
// the search starts from the later of the two.
Date NextDayOfMonth(const data::ScheduleRecord& task, Date afterDate)
{
    const unsigned mask = WeekdayMask(task);
    const bool anyWeek = !HasOrdinalFlags(task);
    Date day = std::max(task.date, afterDate);
    while (day < kLastDayNumber) {
        day = NextFlaggedDay(mask, day);
        if (anyWeek || InFlaggedWeek(task, day))
            return day;
    }
    return day;
}

void ReportInvalidUnits(platform::Prompter& prompter)
{
    platform::MessageBox box;
    box.text = "Custom repetition is not set up properly.  Select units.";
    box.caption = "Invalid Units";
    box.buttons = platform::MessageButtons::Ok;
    prompter.ask(box);
}

void NextCustom(data::ScheduleRecord& task, Date afterDate, Time afterTime, platform::Prompter& prompter)
{
    if (task.every < 1)
        task.every = 1;
    const std::int64_t every = task.every;
    const Unit unit = UnitOf(task.everyType.view());
    switch (unit) {
    case Unit::Minutes:
    case Unit::Hours: {
        const bool minutes = unit == Unit::Minutes;
        const Moment next = StepTicksUntil({task.date, task.time}, {afterDate, afterTime}, every,
                                           minutes ? 1440 : 24, minutes ? kTicksPerMinute : kTicksPerHour);
        task.date = next.date;
        task.time = next.time;
        return;
    }
    case Unit::Days:
        task.date = StepDaysPast(task.date, afterDate, every);
        return;
    case Unit::Weeks:
        task.date = StepDaysPast(task.date, afterDate, 7 * every);
        return;
    case Unit::Months:
        task.date = StepMonthsPast(task.date, afterDate, every);
        return;
    case Unit::Years:
        task.date = StepMonthsPast(task.date, afterDate, 12 * every);
        return;
    case Unit::Invalid:
        // The task stays enabled; the message comes again next time.
        ReportInvalidUnits(prompter);
        if (task.date <= afterDate)
            task.date = afterDate < kLastDayNumber ? afterDate + 1 : kLastDayNumber;
        return;
    }
}

void MoveOn(data::ScheduleRecord& task, Date afterDate, Time afterTime, platform::Prompter& prompter)
{
    switch (KindOf(task)) {
    case RuleKind::Once:
        task.completed = 1;
        return;
    case RuleKind::Monthly:
        task.date = StepMonthsPast(task.date, afterDate, 1);
        return;
    case RuleKind::Yearly:
        task.date = StepMonthsPast(task.date, afterDate, 12);
        return;
    case RuleKind::DayOfWeek:
        if (task.date <= afterDate)
            task.date = NextFlaggedDay(WeekdayMask(task), afterDate);
        return;
    case RuleKind::DayOfMonth:
        task.date = NextDayOfMonth(task, afterDate);
        return;
    case RuleKind::Custom:
        NextCustom(task, afterDate, afterTime, prompter);
        return;
    }
}

}  // namespace

void NextOccurrence(data::ScheduleRecord& task, Date afterDate, Time afterTime, platform::Prompter& prompter)
{
    const Date date = task.date;
    const Time time = task.time;
    MoveOn(task, afterDate, afterTime, prompter);
    // No occurrence lies past the last day the program keeps: there the rule
    // ends as a once-only task does, completed where it stands, so that the
    // scheduler removes it rather than store a date no form would take.
    if (task.date > kLastDate) {
        task.date = date;
        task.time = time;
        task.completed = 1;
    }
}

bool DateMatchesSchedule(const data::ScheduleRecord& task, Date date)
{
    if (date == 0)
        date = task.date;
    switch (KindOf(task)) {
    case RuleKind::DayOfWeek:
        return (WeekdayMask(task) & (1u << Weekday(date))) != 0;
    case RuleKind::DayOfMonth:
        return (WeekdayMask(task) & (1u << Weekday(date))) != 0 && InFlaggedWeek(task, date);
    default:
        return true;
    }
}

}  // namespace hrln::recurrence
