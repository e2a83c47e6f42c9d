#pragma once

#include "common/date_time.h"

#include <string>
#include <string_view>

namespace hrln::data {
struct ScheduleRecord;
}

// A task's repetition rule as an iCalendar recurrence rule (RFC 5545 RRULE),
// and back. The rule starts at the task's Date and Time, which iCalendar takes
// as the first occurrence whether or not it fits the rule, as the task does.
namespace hrln::exchange {

struct RuleText {
    // The RRULE value ("FREQ=WEEKLY;BYDAY=MO,FR"); empty for a one-time task
    // and for a rule iCalendar cannot express exactly.
    std::string rrule;
    // Why the rule could not be expressed; empty when it was (or needs none).
    std::string inexact;
};

RuleText RecurrenceRuleFor(const data::ScheduleRecord& task);

// Sets the task's rule fields (ScheduleType, weekday and ordinal flags, Every,
// EveryType) from an RRULE value for a task starting on `start`. The reason
// the rule cannot become a task's rule, empty when it did; on failure the
// task is left as it was.
std::string RuleFromRecurrence(std::string_view rrule, Date start, data::ScheduleRecord& task);

}  // namespace hrln::exchange
