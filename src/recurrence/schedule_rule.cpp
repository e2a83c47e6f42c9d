#include "recurrence/schedule_rule.h"

#include "common/text.h"
#include "data/records.h"

namespace hrln::recurrence {

RuleKind KindOf(std::string_view scheduleType)
{
    const std::string_view type = text::Clip(scheduleType);
    if (type == "Once")
        return RuleKind::Once;
    if (type == "Day of Week")
        return RuleKind::DayOfWeek;
    if (type == "Day of Month")
        return RuleKind::DayOfMonth;
    if (type == "Monthly")
        return RuleKind::Monthly;
    if (type == "Yearly")
        return RuleKind::Yearly;
    return RuleKind::Custom;
}

RuleKind KindOf(const data::ScheduleRecord& task)
{
    return KindOf(task.scheduleType.view());
}

Unit UnitOf(std::string_view everyType)
{
    const std::string prefix = text::Lower(text::CutToWidth(everyType, 3));
    if (prefix == "min")
        return Unit::Minutes;
    if (prefix == "hou")
        return Unit::Hours;
    if (prefix == "day")
        return Unit::Days;
    if (prefix == "wee")
        return Unit::Weeks;
    if (prefix == "mon")
        return Unit::Months;
    if (prefix == "yea")
        return Unit::Years;
    return Unit::Invalid;
}

unsigned WeekdayMask(const data::ScheduleRecord& task)
{
    const data::Byte flags[7] = {task.sunday,   task.monday, task.tuesday, task.wednesday,
                                 task.thursday, task.friday, task.saturday};
    unsigned mask = 0;
    for (unsigned w = 0; w < 7; ++w)
        if (flags[w] != 0)
            mask |= 1u << w;
    return mask;
}

bool HasOrdinalFlags(const data::ScheduleRecord& task)
{
    return task.every1st != 0 || task.every2nd != 0 || task.every3rd != 0 || task.every4th != 0 ||
           task.everyLast != 0;
}

bool InFlaggedWeek(const data::ScheduleRecord& task, Date date)
{
    const int day = SplitDate(date).day;
    const data::Byte numbered[4] = {task.every1st, task.every2nd, task.every3rd, task.every4th};
    if (day <= 28 && numbered[(day - 1) / 7] != 0)
        return true;
    return task.everyLast != 0 && LastOfMonth(date) - date <= 6;
}

}  // namespace hrln::recurrence
