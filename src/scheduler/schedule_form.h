#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "scheduler/task_fields.h"

#include <functional>

// The rules of the schedule entry form beside the field rules it shares with
// the wizards (task_fields.h): the defaults of a new task, which controls are
// enabled, and the form's rules for RecordForm.
namespace hrln::scheduler {

// Which controls are enabled for the record as it stands.
struct ScheduleFormEnabling {
    bool ordinals = false;  // "1st" .. "Last"
    bool weekdays = false;  // "Sunday" .. "Saturday"
    bool every = false;     // "Every:" and "Every Type"
    bool time = true;       // next time prompt and entry
    bool command = true;    // the Command tab and its controls
    bool message = true;    // the Message tab and its text
    bool alarmFile = false;  // WAV file prompt, entry, Browse and Play (shown or hidden)
};
ScheduleFormEnabling FormEnabling(const data::ScheduleRecord& task);

// A new, empty task (blank task type): the form's defaults on `day` at `now`.
// A task given as a copy keeps its values but not its done, warned and
// disabled marks. Returns whether `task` was a copy.
bool PrepareNewTask(data::ScheduleRecord& task, Date day, Time now);

// The form's rules for RecordForm: titles, defaults on `day` at `now`, the
// checks of every task, "By System ID", the placeholder under a fresh number.
pim::FormRules<data::ScheduleRecord> ScheduleFormRules(Date day, Time now, std::function<bool()> askRetry);

}  // namespace hrln::scheduler
