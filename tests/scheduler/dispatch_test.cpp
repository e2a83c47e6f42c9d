#include "scheduler/message_window.h"
#include "scheduler_fixture.h"
#include <map>

namespace hrln::test {
namespace {

using namespace data;
using platform::MessageButton;

const Date kMarch1 = MakeDate(3, 1, 2027);

TEST_F(SchedulerTest, LateRulePassesOverAnOccurrenceMoreThanTenMinutesLate)
{
    ScheduleRecord r = daily(1, kMarch1, MakeTime(9, 0));
    r.skipIfMissed = 1;
    add(r);
    tickAt(kMarch1, MakeTime(9, 5));
    EXPECT_EQ(messages.started.size(), 1u);

    add(daily(20, kMarch1 + 1, MakeTime(9, 0)));
    ScheduleRecord again = task(1);
    ASSERT_EQ(again.date, kMarch1 + 1);
    tickAt(kMarch1 + 1, MakeTime(9, 11));  // task 1 first: passed over without a question
    EXPECT_EQ(messages.started.size(), 1u);
    EXPECT_TRUE(prompter.shown.empty());
    const ScheduleRecord moved = task(1);
    EXPECT_EQ(moved.date, kMarch1 + 2);
    EXPECT_EQ(moved.time, MakeTime(9, 0));
    EXPECT_EQ(moved.lastRunDate, kMarch1 + 1);
    EXPECT_EQ(moved.lastRunTime, MakeTime(9, 11));
    const auto entries = history();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].date, kMarch1 + 1);  // the history keeps the occurrence's own date
    EXPECT_EQ(entries[1].id, 21);
    EXPECT_EQ(entries[0].skipNextTime, 0);  // performed
    EXPECT_EQ(entries[1].skipNextTime, 1);  // passed over
}

TEST_F(SchedulerTest, ASnoozeReachedHoursLateIsShownAndHistoryTellsPassedOverFromPerformed)
{
    // Snoozed just before the machine was suspended for the night.
    clock.set(kMarch1, MakeTime(23, 0));
    FakeLauncher launcher;
    scheduler::MessageWindow window({db, settings, log, clock, prompter, sound, launcher, windows},
                                    scheduler::MakeMessageSlots("Call back", "Call the garage", ""));
    ASSERT_EQ(window.snooze(), kOk);
    tickAt(kMarch1 + 1, MakeTime(7, 10));  // eight hours after it came due
    ASSERT_EQ(messages.started.size(), 1u);
    EXPECT_TRUE(prompter.shown.empty());

    // Passed over on purpose: the user's skip, and a No to the missed-task question.
    ScheduleRecord skipped = daily(10, kMarch1 + 1, MakeTime(8, 0));
    skipped.skipNextTime = 1;
    add(skipped);
    tickAt(kMarch1 + 1, MakeTime(8, 0));
    ScheduleRecord missed = daily(20, kMarch1, MakeTime(6, 0), "Run Program");
    missed.warn = 1;
    add(missed);
    prompter.answer(MessageButton::No);
    tickAt(kMarch1 + 1, MakeTime(8, 1));
    EXPECT_TRUE(scripts.runs.empty());

    std::map<std::string, int> passedOver;
    for (const ScheduleRecord& entry : history())
        passedOver[entry.description.str()] = entry.skipNextTime;
    EXPECT_EQ(passedOver, (std::map<std::string, int>{{"Call back", 0}, {"Task 10", 1}, {"Task 20", 1}}));
}

TEST_F(SchedulerTest, MissedRunProgramTasksAreOfferedOnceAndMessagesShownAtOnce)
{
    ScheduleRecord r = daily(1, kMarch1 - 1, MakeTime(9, 0), "Run Program");
    r.warn = 1;
    r.userSkip = 1;  // asked once only, as a missed task
    r.alarm = 1;
    r.alarmFile = "beep";
    add(r);
    prompter.answer(MessageButton::Yes);
    tickAt(kMarch1, MakeTime(8, 0));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Task 1 was not run.  Run it now?");
    EXPECT_EQ(prompter.shown[0].caption, "Missed Task");
    EXPECT_EQ(prompter.shown[0].defaultButton, MessageButton::No);
    EXPECT_EQ(sound.played, std::vector<std::string>{"BEEP"});
    ASSERT_EQ(scripts.runs.size(), 1u);
    EXPECT_EQ(scripts.runs[0].command, "run-1");
    EXPECT_EQ(scripts.runs[0].scriptId, 1);
    EXPECT_EQ(task(1).date, kMarch1 + 1);  // a day rule moves past today

    // Answered No: the alarm still sounded, nothing ran, the task moved on and left history.
    ScheduleRecord r2 = daily(20, kMarch1 - 3, MakeTime(7, 0), "Run Program");
    r2.warn = 1;
    r2.alarm = 1;
    r2.alarmFile = "/sounds/missing.wav";
    add(r2);
    tickAt(kMarch1, MakeTime(8, 1));  // No is the default
    EXPECT_EQ(sound.played.back(), "/sounds/missing.wav");
    EXPECT_EQ(scripts.runs.size(), 1u);
    EXPECT_EQ(task(20).date, kMarch1 + 1);
    EXPECT_EQ(task(20).lastRunDate, kMarch1);
    EXPECT_EQ(history().size(), 2u);

    // A message from an earlier day is shown without a question.
    ScheduleRecord m = daily(30, kMarch1 - 2, MakeTime(7, 0));
    m.warn = 1;
    add(m);
    const std::size_t asked = prompter.shown.size();
    tickAt(kMarch1, MakeTime(8, 2));
    EXPECT_EQ(prompter.shown.size(), asked);
    EXPECT_EQ(messages.started.size(), 1u);
}

TEST_F(SchedulerTest, SkipIfMissedFromAnEarlierDayRestartsFromMidnight)
{
    ScheduleRecord r = daily(1, kMarch1 - 1, MakeTime(6, 0));
    r.everyType = "hour(s)";
    r.every = 4;
    r.skipIfMissed = 1;
    add(r);
    tickAt(kMarch1, MakeTime(11, 0));
    EXPECT_TRUE(messages.started.empty());
    EXPECT_EQ(task(1).date, kMarch1);
    EXPECT_EQ(task(1).time, MakeTime(2, 0));  // due again at once...
    tickAt(kMarch1, MakeTime(11, 0, 2));     // ...and passed over by the late rule
    EXPECT_TRUE(messages.started.empty());
    EXPECT_EQ(task(1).time, MakeTime(14, 0));
    EXPECT_EQ(history().size(), 2u);
}

TEST_F(SchedulerTest, OnceOnlyTasksLeaveOnlyTheirHistory)
{
    ScheduleRecord once = daily(1, kMarch1, MakeTime(9, 0));
    once.scheduleType = "Once";
    add(once);
    tickAt(kMarch1, MakeTime(9, 0));
    EXPECT_TRUE(task(1).isHistoryEntry());
    auto entries = history();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, 1);  // the task was the only record and is gone
    EXPECT_EQ(entries[0].description, "Task 1");

    ScheduleRecord quiet = daily(50, kMarch1, MakeTime(10, 0));
    quiet.scheduleType = "Once";
    quiet.noHistory = 1;
    add(quiet);
    tickAt(kMarch1, MakeTime(10, 0));
    EXPECT_EQ(task(50).id, 0);
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(messages.started.size(), 2u);
}

TEST_F(SchedulerTest, SkipNextTimePassesOverSilentlyAndClears)
{
    ScheduleRecord r = daily(1, kMarch1, MakeTime(9, 0));
    r.skipNextTime = 1;
    r.alarm = 1;
    r.alarmFile = "BEEP";
    r.userSkip = 1;
    add(r);
    tickAt(kMarch1, MakeTime(9, 0));
    EXPECT_TRUE(messages.started.empty());
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(prompter.shown.empty());
    const ScheduleRecord after = task(1);
    EXPECT_EQ(after.skipNextTime, 0);
    EXPECT_EQ(after.lastRunDate, 0);
    EXPECT_EQ(after.date, kMarch1 + 1);
    EXPECT_EQ(history().size(), 1u);
}

TEST_F(SchedulerTest, TheSixtyFirstMessageFallsBackToAPlainBox)
{
    for (int i = 0; i < 60; ++i)
        windows.opened();
    add(daily(1, kMarch1, MakeTime(9, 0)));
    tickAt(kMarch1, MakeTime(9, 0));
    EXPECT_TRUE(messages.started.empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Message of task 1");
    EXPECT_EQ(prompter.shown[0].caption, "");
}

TEST_F(SchedulerTest, AdvanceWarningsKeepTheirDistanceAndComeOnePerTick)
{
    ScheduleRecord r = daily(1, kMarch1, MakeTime(9, 0));
    r.everyType = "week(s)";
    r.advanceWarnDate = kMarch1 - 2;
    r.advanceWarnTime = MakeTime(8, 0);
    add(r);
    settings.logEvents = true;
    for (int occurrence = 0; occurrence < 3; ++occurrence) {
        const Date day = kMarch1 + 7 * occurrence;
        tickAt(day - 2, MakeTime(8, 0));  // not yet: the time must be past
        EXPECT_EQ(prompter.shown.size(), static_cast<std::size_t>(occurrence));
        tickAt(day - 2, MakeTime(8, 0, 1));
        ASSERT_EQ(prompter.shown.size(), static_cast<std::size_t>(occurrence + 1));
        EXPECT_EQ(prompter.shown.back().caption, "Advanced Warning");
        EXPECT_EQ(prompter.shown.back().text, FormatD3(day) + " 9:00 AM\rMessage of task 1");
        EXPECT_EQ(task(1).advanceWarned, 1);
        tickAt(day - 1, MakeTime(8, 0));  // given once only
        EXPECT_EQ(prompter.shown.size(), static_cast<std::size_t>(occurrence + 1));
        tickAt(day, MakeTime(9, 0));
        const ScheduleRecord moved = task(1);
        EXPECT_EQ(moved.advanceWarnDate, day + 5);
        EXPECT_EQ(moved.advanceWarnTime, MakeTime(8, 0));
        EXPECT_EQ(moved.advanceWarned, 0);
    }

    // The text by task type, and a skipped occurrence marked without a word.
    ScheduleRecord program = daily(20, kMarch1 + 30, MakeTime(9, 0), "Run Program");
    program.advanceWarnDate = kMarch1;
    program.advanceWarnTime = MakeTime(1, 0);
    ScheduleRecord both = daily(30, kMarch1 + 30, MakeTime(9, 0), "Both");
    both.message = "  Indented  ";
    both.advanceWarnDate = kMarch1;
    both.advanceWarnTime = MakeTime(2, 0);
    ScheduleRecord skipped = daily(40, kMarch1 + 30, MakeTime(9, 0));
    skipped.skipNextTime = 1;
    skipped.advanceWarnDate = kMarch1;
    skipped.advanceWarnTime = MakeTime(3, 0);
    add(program);
    add(both);
    add(skipped);
    const std::size_t before = prompter.shown.size();
    for (int i = 0; i < 4; ++i)
        tickAt(kMarch1 + 16, MakeTime(12, 0, i));
    ASSERT_EQ(prompter.shown.size(), before + 2);
    EXPECT_EQ(prompter.shown[before].text, "Mar 31, 2027 9:00 AM\rCommand:  run-20");
    EXPECT_EQ(prompter.shown[before + 1].text, "Mar 31, 2027 9:00 AM\rIndented\rCommand: run-30");
    EXPECT_EQ(task(40).advanceWarned, 1);
}

}  // namespace
}  // namespace hrln::test
