#pragma once

#include "data/profile_file.h"
#include "data/records.h"
#include "pim/record_warnings.h"
#include "platform/clock.h"

#include <array>
#include <string>

namespace hrln::platform {
class Prompter;
}

namespace hrln::scheduler {

// The time of a task that does nothing at a time of its own: 23:59:54.99.
inline constexpr Time kNoTaskTime = 8'639'500;
inline constexpr data::Long kMaxEvery = 999'999;  // "Every" holds six digits

// The values a task's choices take, in the order the windows offer them.
inline constexpr std::array<const char*, 4> kTaskTypes{"Run Program", "Display Message", "Both", "None"};
inline constexpr std::array<const char*, 6> kScheduleTypes{"Once",    "Day of Week", "Day of Month",
                                                           "Monthly", "Yearly",      "Custom"};
inline constexpr std::array<const char*, 6> kEveryTypes{"minute(s)", "hour(s)",   "day(s)",
                                                        "week(s)",   "month(s)", "year(s)"};

// Which fields the task type leaves to the user.
struct TaskTypeFields {
    bool time = true;
    bool command = true;
    bool message = true;
};
// The task type's fields; "None" also moves the time to kNoTaskTime.
TaskTypeFields ApplyTaskType(data::ScheduleRecord& task);

// Which rule fields the schedule type uses; the values of the others stay.
struct ScheduleTypeFields {
    bool ordinals = false;  // 1st .. 4th, Last
    bool weekdays = false;
    bool every = false;     // "Every:" and its unit
};
ScheduleTypeFields ScheduleTypeFieldsOf(const data::ScheduleRecord& task);

// The next date accepted: warns when a given date does not fit the rule, then
// presets the advance warning from section "Warning" when it is active.
void AcceptNextDate(data::ScheduleRecord& task, const data::ProfileFile& ini, platform::Prompter& prompter);

// The advance warning accepted: one after the task is cleared with a message.
// False when it was cleared.
bool AcceptAdvanceWarning(data::ScheduleRecord& task, platform::Prompter& prompter);

// The alarm's file: a blank one is taken from "Settings"/"LastWAVFile", a
// filled one is kept there for the next task.
void AcceptAlarmFile(data::ScheduleRecord& task, data::ProfileFile& ini);

// A program chosen for the task: the command, and its folder as the start
// folder when none is given yet.
void ChooseProgram(data::ScheduleRecord& task, const std::string& program);
// The folder part of a path: everything before the last '/', "/" for a file in the root.
std::string FolderOf(const std::string& path);

// Moves the task's date to the first day from it on that its rule names: a
// task for chosen weekdays (or weeks of the month) begun on a day the rule
// leaves out first runs on the next day it names, not on the day begun.
// False when the rule names no day at all, the date then standing.
bool MoveToFittingDate(data::ScheduleRecord& task);

// Where a new repeating task starts: on its first date that fits the rule and,
// when that moment has already passed by `now`, at its first occurrence after
// now, so that saving it does not perform it at once. An advance warning keeps
// its distance before the task. A once-only task, and a rule not filled in
// well enough to be followed (ValidateTask refuses it), are left as they are.
// True when the date or time moved.
bool StartFromNow(data::ScheduleRecord& task, platform::DateTime now);

// Whether the task, saved now, would be performed at once although it is meant
// for one moment only: an enabled once-only task whose moment lies before `now`.
bool OnceInThePast(const data::ScheduleRecord& task, platform::DateTime now);
// Asks whether to save such a task anyway (No is the default); true when the
// task is not one of them or the user says Yes.
bool ConfirmOnceInThePast(const data::ScheduleRecord& task, platform::DateTime now, platform::Prompter& prompter);

// What OK and Finish check before a task is written, so that the store and
// the recurrence engine never meet a value they refuse or mis-read. The
// failing field's number after its message, -1 when all pass.
int ValidateTask(data::ScheduleRecord& task, pim::RecordWarnings& warnings);

// Field numbers ValidateTask answers with (the order of the record's fields).
int TaskField(const char* name);

}  // namespace hrln::scheduler
