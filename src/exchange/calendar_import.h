#pragma once

#include "common/batch_job.h"
#include "exchange/csv_import.h"
#include "exchange/field_layout.h"
#include "data/worker_job.h"

#include <memory>
#include <string>

namespace hrln::data {
class Database;
}
namespace hrln::platform {
class Clock;
class Prompter;
}

namespace hrln::exchange {

namespace detail {
class CalendarImportWork;
}

// Reads an iCalendar file (RFC 5545) into the schedule (its VEVENTs) or the
// to-do list (its VTODOs), each through the table's own rules as a comma-
// delimited import adds them. An event whose rule a task can follow (weekdays,
// Nth and last weekdays of the month, monthly, yearly, every N minutes ...
// years) becomes a task; an event with a rule it cannot follow, and any other
// component, is reported and skipped, copied to the .rejected.ics file beside
// the input. Times are the user's local ones and a series starts at its next
// occurrence (see ScheduleFromEvent). The file is read twice, a component at a
// time so that memory stays flat: the first reading keeps the time zones and
// notes the occurrences moved, and refuses a file that is no calendar before
// anything is added (one whose first line begins none before it is read, one
// with a line or a component longer than any calendar needs, one cut short);
// the second checks the records. A file this program wrote gives back the
// records it was written from, unless another program has since changed an
// event's start, rule or reminder. The reading, the checks and the final
// store run on a thread of their own (see data::WorkerJob).
class CalendarImportJob : public ImportOnThread {
public:
    // The clock gives the present, from which a series is followed, and the
    // zone every time is moved into: the present when the job is made.
    CalendarImportJob(data::Database& db, ExchangeTable table, std::string path, const platform::Clock& clock,
                      platform::Prompter& prompter);
    ~CalendarImportJob() override;
};

}  // namespace hrln::exchange
