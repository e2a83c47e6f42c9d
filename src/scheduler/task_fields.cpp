#include "scheduler/task_fields.h"

#include "common/translate.h"

#include "data/settings.h"
#include "platform/prompter.h"
#include "recurrence/recurrence.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace hrln::scheduler {
namespace {

constexpr std::array<const char*, 6> kUnits{"min", "hou", "day", "wee", "mon", "yea"};

bool KnownUnit(std::string_view everyType)
{
    std::string unit(everyType.substr(0, 3));
    std::transform(unit.begin(), unit.end(), unit.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::find(kUnits.begin(), kUnits.end(), unit) != kUnits.end();
}

bool IsCustom(std::string_view scheduleType)
{
    for (const char* rule : {"Once", "Day of Week", "Day of Month", "Monthly", "Yearly"})
        if (scheduleType == rule)
            return false;
    return true;
}

// Whether the rule names at least one day, as ValidateTask requires it to.
bool RuleCanBeFollowed(const data::ScheduleRecord& task)
{
    const ScheduleTypeFields rule = ScheduleTypeFieldsOf(task);
    if (rule.weekdays && !(task.sunday || task.monday || task.tuesday || task.wednesday || task.thursday ||
                           task.friday || task.saturday))
        return false;
    if (rule.ordinals && !(task.every1st || task.every2nd || task.every3rd || task.every4th || task.everyLast))
        return false;
    if (rule.every && (task.every < 1 || task.every > kMaxEvery || !KnownUnit(task.everyType)))
        return false;
    return true;
}

// Answers nothing: StartFromNow only steps rules whose units are known, so
// the recurrence engine has nothing to ask.
class SilentPrompter final : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox& box) override { return box.defaultButton; }
    void endProgram(const std::string&) override {}
};

}  // namespace

TaskTypeFields ApplyTaskType(data::ScheduleRecord& task)
{
    const std::string_view type = task.taskType;
    if (type == "Run Program")
        return {true, true, false};
    if (type == "Display Message")
        return {true, false, true};
    if (type == "None") {
        task.time = kNoTaskTime;
        return {false, false, true};
    }
    return {};
}

ScheduleTypeFields ScheduleTypeFieldsOf(const data::ScheduleRecord& task)
{
    const std::string_view type = task.scheduleType;
    if (type == "Day of Week")
        return {false, true, false};
    if (type == "Day of Month")
        return {true, true, false};
    if (!IsCustom(type))
        return {};
    return {false, false, true};
}

void AcceptNextDate(data::ScheduleRecord& task, const data::ProfileFile& ini, platform::Prompter& prompter)
{
    if (task.date != 0 && !recurrence::DateMatchesSchedule(task, task.date))
        prompter.ask({HrlnTranslate("TaskFields", "Date given does not match schedule type."), HrlnTranslate("TaskFields", "Warning"), platform::MessageIcon::Exclamation});
    if (ini.read("Warning", "Active").find_first_not_of(' ') == std::string::npos || task.date == 0)
        return;
    // The section holds how long before the task the warning comes: days and
    // a time of day taken as hundredths of a second. Amounts that would put
    // the warning after the task or before the calendar's first day are ignored.
    const long long days = ini.readNumber("Warning", "Date");
    const long long hundredths = ini.readNumber("Warning", "Time");
    if (days < 0 || hundredths < 0 || days > task.date || hundredths > kTicksPerDay)
        return;
    long long date = task.date - days;
    long long time = static_cast<long long>(task.time) - hundredths;
    if (time < 1) {
        time += kTicksPerDay;
        --date;
    }
    if (date < 1)
        return;
    task.advanceWarnDate = static_cast<Date>(date);
    task.advanceWarnTime = static_cast<Time>(time);
}

bool AcceptAdvanceWarning(data::ScheduleRecord& task, platform::Prompter& prompter)
{
    const bool after = task.advanceWarnDate > task.date ||
                       (task.advanceWarnDate == task.date && task.advanceWarnTime > task.time);
    if (!after || task.advanceWarnDate == 0)
        return true;
    task.advanceWarnDate = 0;
    task.advanceWarnTime = 0;
    prompter.ask({HrlnTranslate("TaskFields", "Advanced Warning cannot be after scheduled task."), HrlnTranslate("TaskFields", "Warning"), platform::MessageIcon::Exclamation});
    return false;
}

void AcceptAlarmFile(data::ScheduleRecord& task, data::ProfileFile& ini)
{
    if (task.alarmFile.empty())
        task.alarmFile = ini.read(data::kSettingsSection, "LastWAVFile");
    if (!task.alarmFile.empty())
        ini.write(data::kSettingsSection, "LastWAVFile", task.alarmFile.str());
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

void ChooseProgram(data::ScheduleRecord& task, const std::string& program)
{
    if (program.empty())
        return;
    task.command = program;
    if (task.path.empty())
        task.path = FolderOf(program);
}

bool MoveToFittingDate(data::ScheduleRecord& task)
{
    if (task.date == 0 || recurrence::DateMatchesSchedule(task, task.date))
        return true;
    // Every rule of weekdays in weeks of the month names a day within the
    // next two months; a year covers any rule with at least one day.
    const Date last = std::min<Date>(kLastDate, task.date + 366);
    for (Date d = task.date + 1; d <= last; ++d) {
        if (recurrence::DateMatchesSchedule(task, d)) {
            task.date = d;
            return true;
        }
    }
    return false;
}

bool StartFromNow(data::ScheduleRecord& task, platform::DateTime now)
{
    if (task.scheduleType == "Once" || task.date == 0 || task.time == 0 || !RuleCanBeFollowed(task))
        return false;
    const Date oldDate = task.date;
    const Time oldTime = task.time;
    // The warning's distance before the task, in hundredths of a second.
    const bool warned = task.advanceWarnDate != 0;
    const long long lead = warned ? (static_cast<long long>(task.date) - task.advanceWarnDate) * kTicksPerDay +
                                        (task.time - task.advanceWarnTime)
                                  : 0;
    if (!MoveToFittingDate(task))
        return false;
    if (CompareDateTime(task.date, task.time, now.date, now.time) < 0) {
        SilentPrompter quiet;
        recurrence::NextOccurrence(task, now.date, now.time, quiet);
        task.completed = 0;  // a rule with no day left before the last date keeps its date
    }
    if (task.date == oldDate && task.time == oldTime)
        return false;
    if (warned) {
        long long at = static_cast<long long>(task.date) * kTicksPerDay + task.time - lead;
        long long date = (at - 1) / kTicksPerDay;
        task.advanceWarnDate = static_cast<Date>(date);
        task.advanceWarnTime = static_cast<Time>(at - date * kTicksPerDay);
    }
    return true;
}

bool OnceInThePast(const data::ScheduleRecord& task, platform::DateTime now)
{
    return task.scheduleType == "Once" && task.disabled == 0 && task.skipNextTime == 0 && task.date != 0 &&
           CompareDateTime(task.date, task.time, now.date, now.time) < 0;
}

bool ConfirmOnceInThePast(const data::ScheduleRecord& task, platform::DateTime now, platform::Prompter& prompter)
{
    if (!OnceInThePast(task, now))
        return true;
    const std::string text = FillIn(HrlnTranslate("TaskFields", "This task is to run once, on %1 at %2, which has already "
                                                                "passed: saved now, it runs at once.\n\nSave it anyway?"),
                                    {FormatD3(task.date), FormatT3(task.time)});
    return prompter.ask({text, HrlnTranslate("TaskFields", "Time Already Passed"), platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                         platform::MessageButton::No}) == platform::MessageButton::Yes;
}

int TaskField(const char* name)
{
    int number = 0;
    int found = -1;
    data::ScheduleRecord record;
    data::ScheduleRecord::fields(record, [&](const char* field, const auto&) {
        if (found < 0 && std::strcmp(field, name) == 0)
            found = number;
        ++number;
    });
    return found;
}

int ValidateTask(data::ScheduleRecord& task, pim::RecordWarnings& warnings)
{
    if (std::find(kTaskTypes.begin(), kTaskTypes.end(), std::string_view(task.taskType)) == kTaskTypes.end()) {
        warnings.required(HrlnTranslate("TaskFields", "Task Type"));
        return TaskField("TaskType");
    }
    if (task.date < kFirstDate || task.date > kLastDate) {
        warnings.rangeError(HrlnTranslate("TaskFields", "Next Date to Perform Task"), KeptDatesText());
        return TaskField("Date");
    }
    if (task.time < 1 || task.time > kTimeMax) {
        warnings.rangeError("Time", "00:00:00 and 23:59:59");
        return TaskField("Time");
    }
    if (task.advanceWarnDate != 0 && (task.advanceWarnDate < kFirstDate || task.advanceWarnDate > kLastDate)) {
        warnings.rangeError(HrlnTranslate("TaskFields", "Advance Warning Date"), KeptDatesText());
        return TaskField("AdvanceWarnDate");
    }
    if (task.advanceWarnTime < 0 || task.advanceWarnTime > kTimeMax) {
        warnings.rangeError(HrlnTranslate("TaskFields", "Advance Warning Time"), HrlnTranslate("TaskFields", "00:00:00 and 23:59:59"));
        return TaskField("AdvanceWarnTime");
    }
    const ScheduleTypeFields rule = ScheduleTypeFieldsOf(task);
    if (rule.weekdays && !(task.sunday || task.monday || task.tuesday || task.wednesday || task.thursday ||
                           task.friday || task.saturday)) {
        warnings.invalid(HrlnTranslate("TaskFields", "Choose at least one day of the week on which to perform the task."));
        return TaskField("Sunday");
    }
    if (rule.ordinals && !(task.every1st || task.every2nd || task.every3rd || task.every4th || task.everyLast)) {
        warnings.invalid(HrlnTranslate("TaskFields", "Choose at least one week of the month (1st to Last) in which to perform the task."));
        return TaskField("Every1st");
    }
    if (task.advanceWarnDate != 0 &&
        (task.advanceWarnDate > task.date ||
         (task.advanceWarnDate == task.date && task.advanceWarnTime > task.time))) {
        warnings.invalid(HrlnTranslate("TaskFields", "Advanced Warning cannot be after scheduled task."));
        return TaskField("AdvanceWarnDate");
    }
    if (IsCustom(task.scheduleType)) {
        if (task.every < 1 || task.every > kMaxEvery) {
            warnings.rangeError(HrlnTranslate("TaskFields", "Every"), HrlnTranslate("TaskFields", "1 and 999999"));
            return TaskField("Every");
        }
        if (!KnownUnit(task.everyType)) {
            warnings.required(HrlnTranslate("TaskFields", "Every unit"));
            return TaskField("EveryType");
        }
    }
    return -1;
}

}  // namespace hrln::scheduler
