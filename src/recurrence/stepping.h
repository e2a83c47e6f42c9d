#pragma once

#include "common/date_time.h"

#include <cstdint>

// The repetition loops of the occurrence rules, each computed in one jump that
// lands exactly where stepping one unit at a time would have stopped. A task
// whose date lies years back is moved in constant time.
//
// Results that would leave the range of Date stay at its nearest end.
namespace hrln::recurrence {

struct Moment {
    Date date = 0;
    Time time = 0;
};

// While `date` <= `after`: day, month and year of `date`, the month raised by
// `months` (carrying into years) and the date rebuilt, a day beyond the end
// of that month carrying into the next. `months` >= 1.
Date StepMonthsPast(Date date, Date after, std::int64_t months);

// The first date of the steps of `months` from `date` on which the day has
// carried into the next month (the 31st in a 30-day month, February 29 in a
// common year), before `last`; 0 when the day holds to `last`. From there the
// steps keep the day they landed on.
Date FirstCarriedDate(Date date, std::int64_t months, Date last);

// While `date` <= `after`: add `days` (>= 1).
Date StepDaysPast(Date date, Date after, std::int64_t days);

// The first day after `after` whose weekday is in `mask` (bit 0 = Sunday); with
// an empty mask, the day after `after`.
Date NextFlaggedDay(unsigned mask, Date after);

// One step, then more while (date, time) is before (after, afterTime). A step
// of `every` units adds every * ticksPerUnit hundredths, split as whole days
// plus a remainder when `every` exceeds the units of one day, and then carries
// whole days out of the time. At least one step is always taken, so a task
// performed exactly at its moment moves on. `every` >= 1.
Moment StepTicksUntil(Moment from, Moment after, std::int64_t every, int unitsPerDay, Time ticksPerUnit);

}  // namespace hrln::recurrence
