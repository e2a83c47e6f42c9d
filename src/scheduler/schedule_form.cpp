#include "scheduler/schedule_form.h"

#include "common/translate.h"
#include "scheduler/add_wizards.h"

namespace hrln::scheduler {

using data::ScheduleRecord;

ScheduleFormEnabling FormEnabling(const ScheduleRecord& task)
{
    ScheduleRecord probe = task;
    const TaskTypeFields type = ApplyTaskType(probe);
    const ScheduleTypeFields rule = ScheduleTypeFieldsOf(task);
    ScheduleFormEnabling e;
    e.ordinals = rule.ordinals;
    e.weekdays = rule.weekdays;
    e.every = rule.every;
    e.time = type.time;
    e.command = type.command;
    e.message = type.message;
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

pim::FormRules<ScheduleRecord> ScheduleFormRules(Date day, Time now, std::function<bool()> askRetry)
{
    pim::FormRules<ScheduleRecord> rules;
    rules.insertTitle = HRLN_TEXT("FormTitle", "Adding a Schedule Task");
    rules.changeTitle = HRLN_TEXT("FormTitle", "Changing a Schedule Task");
    rules.defaults = [day, now](ScheduleRecord& task) { PrepareNewTask(task, day, now); };
    ApplyScheduleFormChecks(rules, std::move(askRetry));
    return rules;
}

}  // namespace hrln::scheduler
