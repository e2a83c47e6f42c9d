#include "scheduler/schedule_form.h"

#include "data/settings.h"
#include "store_fixture.h"
#include "support/fake_prompter.h"

namespace hrln::test {
namespace {

using data::ScheduleRecord;
using namespace scheduler;

class ScheduleFormTest : public StoreTest {
protected:
    FakePrompter prompter;
    pim::RecordWarnings warnings{prompter};
    data::ProfileFile ini{dir.file(data::kSettingsFile)};
};

TEST_F(ScheduleFormTest, NewTaskDefaultsAndACopyKeepsAllButItsMarks)
{
    const Date friday = MakeDate(1, 8, 2027);
    ScheduleRecord task;
    EXPECT_FALSE(PrepareNewTask(task, friday, MakeTime(14, 30)));
    EXPECT_EQ(task.date, friday);
    EXPECT_EQ(task.time, MakeTime(14, 30));
    EXPECT_EQ(task.scheduleType.str(), "Day of Week");
    EXPECT_EQ(task.taskType.str(), "Both");
    EXPECT_TRUE(task.sunday && task.monday && task.tuesday && task.wednesday && task.thursday && task.friday &&
                task.saturday);
    EXPECT_EQ(task.everyLast, 1);
    EXPECT_EQ(task.warn, 1);
    EXPECT_EQ(task.every, 1);
    EXPECT_EQ(task.everyType.str(), "hour(s)");  // ready for a custom hourly rule

    ScheduleRecord copy = Task(9, MakeDate(3, 1, 2027), MakeTime(8, 0), "copied");
    copy.completed = copy.advanceWarned = copy.disabled = 1;
    copy.alarm = 1;
    EXPECT_TRUE(PrepareNewTask(copy, friday, MakeTime(14, 30)));
    EXPECT_EQ(copy.date, MakeDate(3, 1, 2027));
    EXPECT_EQ(copy.description.str(), "copied");
    EXPECT_EQ(copy.completed + copy.advanceWarned + copy.disabled, 0);
    EXPECT_EQ(copy.alarm, 1);
}

// Each schedule type enables only its own controls; the values of the others
// stay in the record.
TEST_F(ScheduleFormTest, EnablingFollowsTheScheduleAndTaskType)
{
    ScheduleRecord task;
    PrepareNewTask(task, MakeDate(1, 8, 2027), MakeTime(9, 0));
    task.scheduleType = "Monthly";
    ScheduleFormEnabling e = FormEnabling(task);
    EXPECT_FALSE(e.weekdays || e.ordinals || e.every);
    EXPECT_EQ(task.monday, 1);
    task.scheduleType = "Day of Month";
    e = FormEnabling(task);
    EXPECT_TRUE(e.weekdays && e.ordinals && !e.every);
    task.scheduleType = "Custom";
    EXPECT_TRUE(FormEnabling(task).every);

    task.taskType = "None";
    ApplyTaskType(task);
    EXPECT_EQ(task.time, kNoTaskTime);
    e = FormEnabling(task);
    EXPECT_FALSE(e.time || e.command);
    EXPECT_TRUE(e.message);
    task.taskType = "Run Program";
    e = FormEnabling(task);
    EXPECT_TRUE(e.time && e.command && !e.message);
}

TEST_F(ScheduleFormTest, AdvanceWarningAfterTheTaskIsCleared)
{
    ScheduleRecord task = Task(1, MakeDate(3, 1, 2027), MakeTime(9, 0));
    task.advanceWarnDate = task.date;
    task.advanceWarnTime = MakeTime(8, 45);
    EXPECT_TRUE(AcceptAdvanceWarning(task, prompter));
    EXPECT_EQ(task.advanceWarnTime, MakeTime(8, 45));
    task.advanceWarnTime = MakeTime(9, 15);
    EXPECT_FALSE(AcceptAdvanceWarning(task, prompter));
    EXPECT_EQ(task.advanceWarnDate, 0);
    EXPECT_EQ(task.advanceWarnTime, 0);
    task.advanceWarnDate = task.date + 1;
    task.advanceWarnTime = MakeTime(1, 0);
    EXPECT_FALSE(AcceptAdvanceWarning(task, prompter));
}

TEST_F(ScheduleFormTest, NextDateIsCheckedAgainstTheRuleAndMovesTheDefaultWarning)
{
    ScheduleRecord task = Task(1, MakeDate(1, 4, 2027), MakeTime(9, 0));  // a Monday
    task.scheduleType = "Day of Week";
    task.monday = 1;
    AcceptNextDate(task, ini, prompter);
    EXPECT_TRUE(prompter.shown.empty());
    task.date = MakeDate(1, 5, 2027);
    AcceptNextDate(task, ini, prompter);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Date given does not match schedule type.");
    EXPECT_EQ(task.advanceWarnDate, 0);  // no default warning without Warning/Active

    // One day and half an hour ahead of a 00:10 task: the day before the day before, 23:40.
    ini.write("Warning", "Active", "1");
    ini.write("Warning", "Date", 1);
    ini.write("Warning", "Time", 30 * 6000);
    task.date = MakeDate(1, 4, 2027);
    task.time = MakeTime(0, 10);
    AcceptNextDate(task, ini, prompter);
    EXPECT_EQ(task.advanceWarnDate, MakeDate(1, 2, 2027));
    EXPECT_EQ(task.advanceWarnTime, MakeTime(23, 40));
}

// A new task's first run is one its rule allows, never one it would perform
// the moment it is saved.
TEST_F(ScheduleFormTest, ANewRepeatingTaskStartsOnADayItsRuleNamesAndNotInThePast)
{
    const Date thursday = MakeDate(3, 11, 2027);
    const Date monday = MakeDate(3, 15, 2027);
    ScheduleRecord mondays = Task(1, thursday, MakeTime(9, 0));
    mondays.scheduleType = "Day of Week";
    mondays.monday = 1;
    EXPECT_TRUE(MoveToFittingDate(mondays));
    EXPECT_EQ(mondays.date, monday);
    EXPECT_TRUE(MoveToFittingDate(mondays));  // a date that fits stays
    EXPECT_EQ(mondays.date, monday);

    // The first Monday of the month, begun on the 2nd of March: 5 April.
    ScheduleRecord firstMonday = Task(2, MakeDate(3, 2, 2027), MakeTime(9, 0));
    firstMonday.scheduleType = "Day of Month";
    firstMonday.monday = 1;
    firstMonday.every1st = 1;
    EXPECT_TRUE(MoveToFittingDate(firstMonday));
    EXPECT_EQ(firstMonday.date, MakeDate(4, 5, 2027));

    // No day named: nothing to move to.
    ScheduleRecord noDay = Task(3, thursday, MakeTime(9, 0));
    noDay.scheduleType = "Day of Week";
    EXPECT_FALSE(MoveToFittingDate(noDay));
    EXPECT_EQ(noDay.date, thursday);
    EXPECT_FALSE(StartFromNow(noDay, {thursday, MakeTime(12, 0)}));
    EXPECT_EQ(noDay.date, thursday);

    // Created on a Thursday at noon for Mondays at 09:00, warned a day and an
    // hour ahead: first run Monday, the warning still a day and an hour before.
    mondays.date = thursday;
    mondays.advanceWarnDate = thursday - 1;
    mondays.advanceWarnTime = MakeTime(8, 0);
    EXPECT_TRUE(StartFromNow(mondays, {thursday, MakeTime(12, 0)}));
    EXPECT_EQ(mondays.date, monday);
    EXPECT_EQ(mondays.time, MakeTime(9, 0));
    EXPECT_EQ(mondays.advanceWarnDate, monday - 1);
    EXPECT_EQ(mondays.advanceWarnTime, MakeTime(8, 0));

    // Every day at 09:00: tomorrow when 09:00 has passed, today while it has not.
    ScheduleRecord daily = Task(4, thursday, MakeTime(9, 0));
    daily.scheduleType = "Day of Week";
    daily.sunday = daily.monday = daily.tuesday = daily.wednesday = daily.thursday = daily.friday =
        daily.saturday = 1;
    EXPECT_FALSE(StartFromNow(daily, {thursday, MakeTime(8, 59)}));
    EXPECT_EQ(daily.date, thursday);
    EXPECT_TRUE(StartFromNow(daily, {thursday, MakeTime(9, 0, 0, 1)}));
    EXPECT_EQ(daily.date, thursday + 1);
    EXPECT_EQ(daily.completed, 0);

    // Every 90 minutes from 08:00, made at 10:15: next at 11:00 the same day.
    ScheduleRecord custom = Task(5, thursday, MakeTime(8, 0));
    custom.scheduleType = "Custom";
    custom.every = 90;
    custom.everyType = "minute(s)";
    EXPECT_TRUE(StartFromNow(custom, {thursday, MakeTime(10, 15)}));
    EXPECT_EQ(custom.date, thursday);
    EXPECT_EQ(custom.time, MakeTime(11, 0));
    // Units it does not know are for the form's check to refuse, not to step.
    custom.everyType = "fortnights";
    EXPECT_FALSE(StartFromNow(custom, {thursday + 1, MakeTime(10, 15)}));
    EXPECT_EQ(custom.date, thursday);

    // A once-only task is never moved: the user is asked instead.
    ScheduleRecord once = Task(6, thursday, MakeTime(9, 0));
    EXPECT_FALSE(StartFromNow(once, {thursday, MakeTime(12, 0)}));
    EXPECT_EQ(once.date, thursday);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScheduleFormTest, AOnceOnlyTaskInThePastIsSavedOnlyWhenTheUserSaysSo)
{
    const platform::DateTime now{MakeDate(3, 11, 2027), MakeTime(12, 0)};
    ScheduleRecord once = Task(1, now.date, MakeTime(11, 59));
    ASSERT_EQ(once.scheduleType.str(), "Once");
    EXPECT_TRUE(OnceInThePast(once, now));
    EXPECT_FALSE(ConfirmOnceInThePast(once, now, prompter));  // No is the default
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(prompter.shown[0].defaultButton, platform::MessageButton::No);
    EXPECT_NE(prompter.shown[0].text.find("Mar 11, 2027 at 11:59 AM"), std::string::npos);
    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(ConfirmOnceInThePast(once, now, prompter));
    EXPECT_EQ(prompter.shown.size(), 2u);

    // Nothing to ask: the moment to come, or a task that will not run at once.
    ScheduleRecord atNoon = once;
    atNoon.time = now.time;
    ScheduleRecord yesterdayRepeating = Task(2, now.date - 1, MakeTime(9, 0));
    yesterdayRepeating.scheduleType = "Monthly";
    ScheduleRecord disabled = once;
    disabled.disabled = 1;
    ScheduleRecord skipped = once;
    skipped.skipNextTime = 1;
    for (const ScheduleRecord* quiet : {&atNoon, &yesterdayRepeating, &disabled, &skipped}) {
        EXPECT_FALSE(OnceInThePast(*quiet, now)) << quiet->id;
        EXPECT_TRUE(ConfirmOnceInThePast(*quiet, now, prompter)) << quiet->id;
    }
    EXPECT_EQ(prompter.shown.size(), 2u);
}

// Nothing the form takes leaves a task the engine cannot run as meant.
TEST_F(ScheduleFormTest, ValidationNamesTheFailingField)
{
    ScheduleRecord task;
    PrepareNewTask(task, MakeDate(1, 8, 2027), MakeTime(9, 0));
    task.command = "xterm";
    EXPECT_EQ(ValidateTask(task, warnings), -1);


    ScheduleRecord custom = task;
    custom.scheduleType = "Custom";
    custom.every = 0;
    EXPECT_EQ(ValidateTask(custom, warnings), TaskField("Every"));
    EXPECT_EQ(prompter.shown.back().text, "Every must be between 1 and 999999.");

    ScheduleRecord noDays = task;
    noDays.sunday = noDays.monday = noDays.tuesday = noDays.wednesday = noDays.thursday = noDays.friday =
        noDays.saturday = 0;
    EXPECT_EQ(ValidateTask(noDays, warnings), TaskField("Sunday"));
    noDays.scheduleType = "Yearly";  // weekdays do not count there
    EXPECT_EQ(ValidateTask(noDays, warnings), -1);

    ScheduleRecord noDate = task;
    noDate.date = 0;
    EXPECT_EQ(ValidateTask(noDate, warnings), TaskField("Date"));

    ScheduleRecord lateWarning = task;
    lateWarning.advanceWarnDate = task.date + 2;
    EXPECT_EQ(ValidateTask(lateWarning, warnings), TaskField("AdvanceWarnDate"));
    EXPECT_EQ(prompter.shown.back().text, "Advanced Warning cannot be after scheduled task.");
}

TEST_F(ScheduleFormTest, AlarmFileComesFromAndGoesToTheLastOneUsed)
{
    ScheduleRecord task;
    task.alarm = 1;
    ini.write(data::kSettingsSection, "LastWAVFile", "/sounds/bell.wav");
    AcceptAlarmFile(task, ini);
    EXPECT_EQ(task.alarmFile.str(), "/sounds/bell.wav");
    task.alarmFile = "/sounds/gong.wav";
    AcceptAlarmFile(task, ini);
    EXPECT_EQ(ini.read(data::kSettingsSection, "LastWAVFile"), "/sounds/gong.wav");
}

}  // namespace
}  // namespace hrln::test

namespace hrln::test {
namespace {

// While the form is open on a new task, its reserved record is one the timer
// passes over: neither due nor to be warned about.
TEST_F(ScheduleFormTest, TheReservedRecordOfANewTaskIsNotDue)
{
    data::Table<ScheduleRecord> table(db);
    pim::RecordForm<ScheduleRecord> form(table, warnings, pim::Request::Insert,
                                         ScheduleFormRules(MakeDate(1, 4, 2027), MakeTime(9, 0), nullptr));
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.record().disabled, 0);  // the form shows the task as it will be
    // The timer's walks pass over the placeholder that holds its number.
    data::Table<ScheduleRecord> timer(db);
    timer.set(ScheduleRecord::KeyDateEnabled);
    EXPECT_EQ(timer.next(), data::kRecordNotAvailable);
    timer.set(ScheduleRecord::KeyAdvanced);
    EXPECT_EQ(timer.next(), data::kRecordNotAvailable);
    timer.rec.id = form.record().id;
    ASSERT_EQ(timer.get(ScheduleRecord::KeyID), data::kOk);
    EXPECT_TRUE(timer.isPlaceholder());

    form.record().command = "xterm";
    ASSERT_TRUE(form.complete().close);
    timer.rec.id = form.record().id;
    ASSERT_EQ(timer.get(ScheduleRecord::KeyID), data::kOk);
    EXPECT_EQ(timer.rec.disabled, 0);
    EXPECT_EQ(timer.rec.advanceWarned, 0);
}

}  // namespace
}  // namespace hrln::test
