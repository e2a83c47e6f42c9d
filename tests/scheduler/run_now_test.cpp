// "Run Now" from the schedule browser: the dispatch's own performance of one
// occurrence, at the user's word.
#include "scheduler_fixture.h"

namespace hrln::test {
namespace {

using namespace data;
using Result = scheduler::Scheduler::RunNow;

const Date kMarch1 = MakeDate(3, 1, 2027);

std::int64_t RowIdOf(Database& db, Long id)
{
    Table<ScheduleRecord> t(db);
    t.rec.id = id;
    return t.get(ScheduleRecord::KeyID) == kOk ? t.rowId() : 0;
}

TEST_F(SchedulerTest, RunNowPerformsTheComingOccurrenceOnceWithoutAsking)
{
    // Due tomorrow, and every guard that could pass a due task over is set.
    ScheduleRecord r = daily(1, kMarch1 + 1, MakeTime(9, 0), "Both");
    r.userSkip = 1;
    r.warn = 1;
    r.skipNextTime = 1;
    r.alarm = 1;
    r.alarmFile = "beep";
    add(r);
    clock.set(kMarch1, MakeTime(8, 0));
    const int notifiedBefore = notified;

    EXPECT_EQ(scheduler->runNow(RowIdOf(db, 1)), Result::Done);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(sound.played, std::vector<std::string>{"BEEP"});
    ASSERT_EQ(messages.started.size(), 1u);
    ASSERT_EQ(scripts.runs.size(), 1u);
    EXPECT_EQ(scripts.runs[0].command, "run-1");
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history()[0].date, kMarch1 + 1);  // the occurrence it stood for
    const ScheduleRecord moved = task(1);
    EXPECT_EQ(moved.date, kMarch1 + 2);  // tomorrow's occurrence is spent
    EXPECT_EQ(moved.skipNextTime, 0);
    EXPECT_EQ(moved.lastRunDate, kMarch1);
    EXPECT_GT(notified, notifiedBefore);

    // Tomorrow's ticks find nothing of it due until the day after.
    tickAt(kMarch1 + 1, MakeTime(9, 0, 5));
    tickAt(kMarch1 + 1, MakeTime(9, 0, 7));
    EXPECT_EQ(messages.started.size(), 1u);
    EXPECT_EQ(history().size(), 1u);
}

TEST_F(SchedulerTest, RunNowOnADueTaskReplacesTheTicksPerformanceOfIt)
{
    add(daily(1, kMarch1, MakeTime(9, 0)));
    clock.set(kMarch1, MakeTime(9, 0, 1));  // due, and the tick has not come yet
    EXPECT_EQ(scheduler->runNow(RowIdOf(db, 1)), Result::Done);
    tickAt(kMarch1, MakeTime(9, 0, 2));
    tickAt(kMarch1, MakeTime(9, 0, 4));
    EXPECT_EQ(messages.started.size(), 1u);
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(task(1).date, kMarch1 + 1);
}

TEST_F(SchedulerTest, RunNowRefusesWhatItMustNotPerform)
{
    add(daily(1, kMarch1, MakeTime(9, 0)));
    ScheduleRecord off = daily(2, kMarch1, MakeTime(10, 0));
    off.disabled = 1;
    add(off);
    clock.set(kMarch1, MakeTime(8, 0));
    const std::int64_t first = RowIdOf(db, 1);

    EXPECT_EQ(scheduler->runNow(RowIdOf(db, 2)), Result::NotEnabled);
    EXPECT_EQ(scheduler->runNow(first + 1000), Result::Gone);

    // While a question of a tick is open, the tick holds the scheduler.
    ScheduleRecord asking = daily(3, kMarch1, MakeTime(7, 0));
    asking.userSkip = 1;
    add(asking);
    scheduler = nullptr;  // one scheduler for this station: the one asking
    InterleavingPrompter interleaving;
    scheduler::Scheduler asker(scheduler::SchedulerServices{db, settings, log, clock, interleaving, sound, frame,
                                                            tray, scripts, messages, windows, nullptr, nullptr,
                                                            &probe, &gate});
    Result during = Result::Done;
    interleaving.during = [&] { during = asker.runNow(first); };
    asker.tick();
    ASSERT_EQ(interleaving.shown.size(), 1u);
    EXPECT_EQ(during, Result::Busy);
    EXPECT_EQ(messages.started.size(), 1u);  // task 3's, answered Yes
    EXPECT_EQ(task(1).date, kMarch1);
    EXPECT_EQ(asker.runNow(first), Result::Done);
    EXPECT_EQ(task(1).date, kMarch1 + 1);
}

// The program keeps no day after 31 December 2099: a task whose next
// occurrence would fall there has none, and goes as a once-only task goes,
// leaving its history entry behind.
TEST_F(SchedulerTest, ATaskWhoseNextOccurrenceLeavesTheDaysKeptEndsWithThisOne)
{
    ScheduleRecord yearly = daily(1, MakeDate(1, 1, 2099), MakeTime(9, 0));
    yearly.scheduleType = "Yearly";
    add(yearly);
    clock.set(kMarch1, MakeTime(8, 0));
    EXPECT_EQ(scheduler->runNow(RowIdOf(db, 1)), Result::Done);
    EXPECT_FALSE(waiting(1));
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history()[0].date, MakeDate(1, 1, 2099));

    // Every other rule on the last day, found due by the tick.
    const Date lastDay = MakeDate(12, 31, 2099);
    ScheduleRecord everyDay = daily(20, lastDay, MakeTime(9, 0));
    ScheduleRecord monthly = daily(30, lastDay, MakeTime(9, 0));
    monthly.scheduleType = "Monthly";
    ScheduleRecord thursdays = daily(40, lastDay, MakeTime(9, 0));
    thursdays.scheduleType = "Day of Week";
    thursdays.thursday = 1;
    ScheduleRecord weekly = daily(50, lastDay, MakeTime(9, 0));
    weekly.everyType = "week(s)";
    ScheduleRecord hourly = daily(60, lastDay, MakeTime(23, 0));
    hourly.everyType = "hour(s)";
    for (const ScheduleRecord& r : {everyDay, monthly, thursdays, weekly, hourly})
        add(r);
    for (int t = 0; t < 4; ++t)
        tickAt(lastDay, MakeTime(9, 0, 2 * t + 1));
    tickAt(lastDay, MakeTime(23, 0, 1));
    for (Long id = 20; id <= 60; id += 10)
        EXPECT_FALSE(waiting(id)) << "task " << id;
    EXPECT_EQ(history().size(), 6u);
    EXPECT_EQ(messages.started.size(), 6u);
    EXPECT_TRUE(prompter.shown.empty());

    // Before the last day the rules go on.
    ScheduleRecord dayBefore = daily(70, lastDay - 1, MakeTime(9, 0));
    add(dayBefore);
    tickAt(lastDay - 1, MakeTime(9, 0, 1));
    EXPECT_EQ(task(70).date, lastDay);
}

}  // namespace
}  // namespace hrln::test
