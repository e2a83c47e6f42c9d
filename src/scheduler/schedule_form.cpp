#include "scheduler/schedule_form.h"

#include "common/date_time.h"
#include "data/schedule_store.h"
#include "data/settings.h"
#include "recurrence/recurrence.h"

namespace hrln::scheduler {

using data::ScheduleRecord;

ScheduleFormEnabling FormEnabling(const ScheduleRecord& task)
{
    ScheduleFormEnabling e;
    const std::string_view schedule = task.scheduleType.view();
    if (schedule == "Day of Week") {
        e.weekdays = true;
    } else if (schedule == "Day of Month") {
        e.ordinals = true;
        e.weekdays = true;
    } else if (schedule != "Once" && schedule != "Monthly" && schedule != "Yearly") {
        e.every = true;
    }
    const std::string_view type = task.taskType.view();
    e.command = type != "Display Message" && type != "None";
    e.message = type != "Run Program";
    e.time = type != "None";
    e.alarmFile = task.alarm != 0;
    return e;
}

bool PrepareNewTask(ScheduleRecord& task, Date day, Time now)
{
    if (!task.taskType.view().empty()) {
        task.completed = 0;
        task.advanceWarned = 0;
        task.disabled = 0;
        return true;
    }
    task.date = day;
    task.time = now;
    task.scheduleType = "Day of Week";
    for (data::Byte* d : {&task.sunday, &task.monday, &task.tuesday, &task.wednesday, &task.thursday, &task.friday,
                          &task.saturday})
        *d = 1;
    task.everyLast = 1;
    task.warn = 1;
    task.taskType = "Both";
    task.every = 1;
    task.everyType = "hour(s)";
    return false;
}

void TaskTypeAccepted(ScheduleRecord& task)
{
    if (task.taskType == "None")
        task.time = kNoneTaskTime;
}

void AlarmAccepted(ScheduleRecord& task, data::ProfileFile& ini)
{
    if (task.alarm == 0)
        return;
    if (task.alarmFile.view().empty())
        task.alarmFile = ini.read(data::kSettingsSection, "LastWAVFile");
    if (!task.alarmFile.view().empty())
        ini.write(data::kSettingsSection, "LastWAVFile", task.alarmFile.view());
}

bool NextDateAccepted(ScheduleRecord& task, const data::ProfileFile& ini)
{
    const bool fits = task.date == 0 || recurrence::DateMatchesSchedule(task);
    if (!ini.read("Warning", "Active").empty() && task.date != 0) {
        // The keys hold how far ahead of the task its warning comes.
        Date date = task.date - static_cast<Date>(ini.readNumber("Warning", "Date"));
        Time time = task.time - static_cast<Time>(ini.readNumber("Warning", "Time"));
        while (time < 1) {
            time += 8640000;
            --date;
        }
        NormalizeDateTime(date, time);
        task.advanceWarnDate = date > 0 ? date : 0;
        task.advanceWarnTime = date > 0 ? time : 0;
    }
    return fits;
}

bool AdvanceWarningAccepted(ScheduleRecord& task)
{
    if (task.advanceWarnDate == 0)
        return true;
    if (task.advanceWarnDate > task.date ||
        (task.advanceWarnDate == task.date && task.advanceWarnTime > task.time)) {
        task.advanceWarnDate = 0;
        task.advanceWarnTime = 0;
        return false;
    }
    return true;
}

int ValidateTask(ScheduleRecord& task, pim::RecordWarnings& warnings)
{
    const std::string_view type = task.taskType.view();
    if ((type == "Run Program" || type == "Both") && task.command.view().empty()) {
        warnings.required("SCH:Command");
        return kFieldCommand;
    }
    const ScheduleFormEnabling e = FormEnabling(task);
    if (e.every && (task.every < 1 || task.every > kLargestEvery)) {
        warnings.rangeError("SCH:Every", "1 and 999999");
        return kFieldEvery;
    }
    const bool anyWeekday = task.sunday || task.monday || task.tuesday || task.wednesday || task.thursday ||
                            task.friday || task.saturday;
    if (e.weekdays && !anyWeekday) {
        warnings.invalid("Choose at least one day of the week on which to perform the task.");
        return kFieldWeekdays;
    }
    if (e.ordinals && !(task.every1st || task.every2nd || task.every3rd || task.every4th || task.everyLast)) {
        warnings.invalid("Choose at least one week of the month (1st to Last) in which to perform the task.");
        return kFieldOrdinals;
    }
    if (task.date == 0) {
        warnings.required("SCH:Date");
        return kFieldDate;
    }
    if (task.time == 0) {
        warnings.required("SCH:Time");
        return kFieldTime;
    }
    if (task.advanceWarnDate != 0 && task.advanceWarnTime == 0)
        task.advanceWarnTime = 1;  // midnight of that day
    if (!AdvanceWarningAccepted(task)) {
        warnings.invalid(kWarningAfterTask);
        return kFieldAdvanceWarnDate;
    }
    return -1;
}

pim::FormRules<ScheduleRecord> ScheduleFormRules(Date day, Time now, std::function<bool()> askRetry)
{
    pim::FormRules<ScheduleRecord> rules;
    rules.insertTitle = "Adding a Schedule Task";
    rules.changeTitle = "Changing a Schedule Task";
    rules.defaults = [day, now](ScheduleRecord& task) { PrepareNewTask(task, day, now); };
    rules.validate = ValidateTask;
    rules.keyNames = {{ScheduleRecord::KeyID, "By System ID", kFieldDescription}};
    rules.placeholder = true;
    rules.addPlaceholder = [askRetry = std::move(askRetry)](data::Table<ScheduleRecord>& table) {
        // The reserved record stands in the table while the user edits it:
        // stored disabled and already warned, the timer passes over it rather
        // than firing a task that is not finished.
        const data::Byte disabled = table.rec.disabled;
        const data::Byte warned = table.rec.advanceWarned;
        table.rec.disabled = 1;
        table.rec.advanceWarned = 1;
        const int err = data::AddTaskWithNewId(table, askRetry);
        table.rec.disabled = disabled;
        table.rec.advanceWarned = warned;
        return err;
    };
    return rules;
}

}  // namespace hrln::scheduler
