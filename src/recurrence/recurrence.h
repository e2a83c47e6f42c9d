#pragma once

#include "common/date_time.h"

namespace hrln::data {
struct ScheduleRecord;
}
namespace hrln::platform {
class Prompter;
}

namespace hrln::recurrence {

// Moves the task to its next occurrence after the moment (afterDate,
// afterTime): rewrites `date` (and `time` for repetition by minutes or hours),
// raises a custom `every` below 1 to 1, or marks a "Once" task completed.
// Minutes and hours stop at the first occurrence at or after the moment,
// always one step at least; every other rule stops at the first date strictly
// after afterDate, whatever the time. Custom units it does not know are
// reported through `prompter` and move the task to the day after afterDate.
// A rule whose next occurrence would fall after kLastDate has none: the task
// is marked completed where it stands, as a "Once" task is.
// The caller reads the record before and writes it back afterwards.
void NextOccurrence(data::ScheduleRecord& task, Date afterDate, Time afterTime, platform::Prompter& prompter);

// Whether `date` fits the task's rule; 0 means the task's own date.
bool DateMatchesSchedule(const data::ScheduleRecord& task, Date date = 0);

}  // namespace hrln::recurrence
