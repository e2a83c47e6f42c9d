#pragma once

#include "common/date_time.h"

#include <string_view>

namespace hrln::data {
struct ScheduleRecord;
}

// How a task record's fields read as a repetition rule. Shared by the
// occurrence stepping, the date test and the editors that build rules.
namespace hrln::recurrence {

// The stored texts are compared exactly; anything unknown, a blank type
// included, is a custom repetition.
enum class RuleKind { Once, DayOfWeek, DayOfMonth, Monthly, Yearly, Custom };

RuleKind KindOf(std::string_view scheduleType);
RuleKind KindOf(const data::ScheduleRecord& task);

// Units of a custom repetition: only the first three characters of the stored
// text count, in any case ("Hour(s)" and "HOURS" are both hours).
enum class Unit { Minutes, Hours, Days, Weeks, Months, Years, Invalid };

Unit UnitOf(std::string_view everyType);

// Bit w set when weekday w (0 = Sunday) is flagged.
unsigned WeekdayMask(const data::ScheduleRecord& task);
bool HasOrdinalFlags(const data::ScheduleRecord& task);

// True when `date` lies in a flagged week of its month: days 1-7 are the 1st
// week ... 22-28 the 4th; the last week is the month's final seven days.
bool InFlaggedWeek(const data::ScheduleRecord& task, Date date);

}  // namespace hrln::recurrence
