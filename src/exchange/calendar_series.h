#pragma once

#include "exchange/calendar_times.h"

#include <string>
#include <vector>

namespace hrln::data {
struct ScheduleRecord;
}

namespace hrln::exchange {

// What the reading of events' times found, for the import's summary.
struct SeriesCounts {
    int zoned = 0;     // times in UTC or a named zone, moved to the local one
    int advanced = 0;  // series begun before today, now started at their next occurrence
    int drifting = 0;  // series whose local time changes when zones change on different days
};

// When an event is performed, from the present on: sets the task's Date,
// Time, rule fields and SkipNextTime from the event's DTSTART, RRULE and
// EXDATEs, and from `moved`, the original times (RECURRENCE-ID) of the
// occurrences that other components of the same UID move or cancel.
//
// A series starts at its first occurrence from now on. An occurrence left
// out or moved is passed over as a rescheduled task's is, which a task can do
// for its next occurrence only: a series that leaves out or moves a later
// one is refused rather than performed on a day the calendar no longer has
// it. A series whose end (COUNT, UNTIL) has passed is refused; one with a
// single occurrence left becomes a one-time task. The rule found is checked
// against libical's own occurrences, in local time, before it is kept.
// Returns why the event cannot be a task; empty when it became one.
std::string ScheduleFromEvent(icalcomponent* event, const ical::LocalTimes& times,
                              const std::vector<icaltimetype>& moved, data::ScheduleRecord& task,
                              SeriesCounts& counts);

// The local moment of a date-time property, its TZID resolved from the
// calendar holding the component or from the zone database; nothing when
// absent or unreadable. `why` says what was wrong with one present.
std::optional<ical::Moment> LocalOf(icalcomponent* c, icalproperty* p, const ical::LocalTimes& times,
                                    std::string& why);

}  // namespace hrln::exchange
