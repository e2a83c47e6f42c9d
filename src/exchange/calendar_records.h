#pragma once

#include "exchange/calendar_times.h"

#include <string>
#include <vector>

namespace hrln::data {
struct ScheduleRecord;
struct TodoRecord;
}

// One calendar component as one record of the schedule or the to-do list.
namespace hrln::exchange {

struct SeriesCounts;

struct EventContext {
    const ical::LocalTimes& times;
    const std::vector<icaltimetype>& moved;  // original times of the occurrences moved away
    SeriesCounts& counts;
};

// The task an event stands for: its texts, its start and rule from the
// present on (see ScheduleFromEvent), its first reminder as the advance
// warning and the program's own X-HRLN- fields. An event this program wrote
// gives back its record unless another program has changed its start, rule,
// skipped occurrence or reminder: then those standard properties win.
// `allDay` tells a day-long event. Returns why the event cannot be a task.
std::string TaskFromEvent(icalcomponent* c, const EventContext& context, data::ScheduleRecord& task, bool& allDay);

// The to-do item a VTODO stands for, its due time in local time; `zoned`
// tells one that named a zone. Returns why it cannot be an item.
std::string ItemFromTodo(icalcomponent* c, const ical::LocalTimes& times, data::TodoRecord& item, bool& zoned);

// The identity a component gives the record made of it, so that the record
// keeps the component's UID and the file read again writes over the records
// it made instead of adding them twice. Our own UIDs come back as the record
// had them; an occurrence moved out of its series (RECURRENCE-ID) is a task
// of its own and is named after both. Empty for a component without a UID.
std::string IdentityOf(icalcomponent* c);
// The UID a record's identity is written as: ours with the program's domain,
// another calendar's as it came.
std::string UidOfIdentity(const std::string& identity);

}  // namespace hrln::exchange
