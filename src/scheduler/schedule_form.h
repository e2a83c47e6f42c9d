#pragma once

#include "data/profile_file.h"
#include "data/records.h"
#include "pim/record_form.h"

#include <functional>

// The rules of the schedule entry form that its window does not decide:
// defaults of a new task, which controls are enabled, what accepting a
// control does, and the checks before a task is written.
namespace hrln::scheduler {

// The time of a task of type "None": 23:59:54.99.
inline constexpr Time kNoneTaskTime = 8639500;
// The largest repetition the form takes ("Every", six digits).
inline constexpr data::Long kLargestEvery = 999999;

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

// The fields the checks name, to return the focus to.
enum ScheduleFormField {
    kFieldDescription = 0,
    kFieldCommand,
    kFieldEvery,
    kFieldWeekdays,
    kFieldOrdinals,
    kFieldDate,
    kFieldTime,
    kFieldAdvanceWarnDate,
    kFieldAdvanceWarnTime,
};

// A new, empty task (blank task type): the form's defaults on `day` at `now`.
// A task given as a copy keeps its values but not its done, warned and
// disabled marks. Returns whether `task` was a copy.
bool PrepareNewTask(data::ScheduleRecord& task, Date day, Time now);

// Task type accepted: a task of type "None" has no time of its own.
void TaskTypeAccepted(data::ScheduleRecord& task);
// Alarm accepted: a blank file is taken from Settings/LastWAVFile, and a file
// that stands is kept there for the next task.
void AlarmAccepted(data::ScheduleRecord& task, data::ProfileFile& ini);
// Next date accepted: whether the date fits the schedule rule (it stands
// either way; the caller warns). With Warning/Active set, the advance warning
// follows the task at the distance Warning/Date days and Warning/Time
// hundredths of a second before it.
bool NextDateAccepted(data::ScheduleRecord& task, const data::ProfileFile& ini);
// Advance warning date accepted: false, with both advance warning fields
// cleared, when the warning would come after the task.
bool AdvanceWarningAccepted(data::ScheduleRecord& task);

// The texts of the form's own messages.
inline constexpr const char* kDateDoesNotFit = "Date given does not match schedule type.";
inline constexpr const char* kWarningAfterTask = "Advanced Warning cannot be after scheduled task.";

// The checks on OK: the failing field after its message, or -1.
int ValidateTask(data::ScheduleRecord& task, pim::RecordWarnings& warnings);

// The form's rules for RecordForm: titles, defaults on `day` at `now`,
// checks, "By System ID", and the placeholder under a fresh task number.
pim::FormRules<data::ScheduleRecord> ScheduleFormRules(Date day, Time now, std::function<bool()> askRetry);

}  // namespace hrln::scheduler
