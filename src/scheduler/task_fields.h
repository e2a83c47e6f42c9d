#pragma once

#include "data/profile_file.h"
#include "data/records.h"
#include "pim/record_warnings.h"

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

// What OK and Finish check before a task is written, so that the store and
// the recurrence engine never meet a value they refuse or mis-read. The
// failing field's number after its message, -1 when all pass.
int ValidateTask(data::ScheduleRecord& task, pim::RecordWarnings& warnings);

// Field numbers ValidateTask answers with (the order of the record's fields).
int TaskField(const char* name);

}  // namespace hrln::scheduler
