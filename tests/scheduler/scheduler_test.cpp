#include "scheduler_fixture.h"

#include "data/table_open.h"
#include "pim/clipboard_monitor.h"

namespace hrln::test {
namespace {

using namespace data;
using platform::MessageButton;

const Date kMarch1 = MakeDate(3, 1, 2027);

TEST_F(SchedulerTest, TitleStatusAndTimerFollowTheSchedule)
{
    tickAt(kMarch1, MakeTime(8, 0));
    EXPECT_EQ(frame.title_, "Horalyn 97");
    EXPECT_EQ(frame.zones[2], "");
    EXPECT_EQ(frame.interval, 125);

    add(daily(1, kMarch1, MakeTime(9, 0)));
    frame.minimized = true;
    tickAt(kMarch1, MakeTime(8, 0));
    EXPECT_EQ(frame.title_, "Horalyn 97 - Task 1 Mar 1, 2027 9:00 AM");
    EXPECT_EQ(frame.zones[2], "Next: Task 1");

    scheduler->onTimer();
    EXPECT_EQ(frame.zones[3], "Monday, March 1, 2027");
    EXPECT_EQ(frame.zones[4], "8:00 AM");

    // A running script takes zone 2 and speeds the timer up.
    scripts.pendingSteps = 2;
    frame.zones[2] = "script status";
    tickAt(kMarch1, MakeTime(8, 1));
    EXPECT_EQ(frame.zones[2], "script status");
    EXPECT_EQ(frame.interval, 50);
    EXPECT_TRUE(frame.indicator);
    EXPECT_EQ(scripts.steps, 1);

    settings.startUpActive = false;
    tickAt(kMarch1, MakeTime(9, 30));
    EXPECT_EQ(frame.title_, "Horalyn 97 (Inactive)");
    EXPECT_EQ(frame.zones[2], "Inactive");
    EXPECT_EQ(frame.interval, 250);
    EXPECT_FALSE(frame.indicator);
    EXPECT_EQ(scripts.steps, 1);      // no script step while inactive
    EXPECT_TRUE(messages.started.empty());  // nor any dispatch
}

TEST_F(SchedulerTest, AnInactiveSchedulerStillWatchesTheClipboard)
{
    FakeClipboard clipboard;
    pim::ClipboardMonitor monitor(db, clipboard, settings, clock);
    scheduler::Scheduler watching({db, settings, log, clock, prompter, sound, frame, tray, scripts, messages, windows,
                                   &monitor, nullptr});
    settings.startUpActive = false;
    settings.monitorClipboard = true;
    add(daily(1, kMarch1, MakeTime(7, 0)));  // overdue, but the scheduler is off
    clipboard.content = "Meeting notes";
    for (int i = 0; i < 4; ++i)
        watching.tick();
    Table<ClipboardRecord> saved(db);
    EXPECT_EQ(saved.count(), 1);
    EXPECT_TRUE(messages.started.empty());
}

TEST_F(SchedulerTest, TasksDueTogetherAreDispatchedOnePerTickInKeyOrder)
{
    for (Long id : {3, 1, 2})
        add(daily(id, kMarch1, MakeTime(9, 0)));
    tickAt(kMarch1, MakeTime(9, 0));  // exactly at the moment: due
    ASSERT_EQ(messages.started.size(), 1u);
    EXPECT_EQ(messages.started[0].title, "Task 3");
    tickAt(kMarch1, MakeTime(9, 0, 1));
    tickAt(kMarch1, MakeTime(9, 0, 2));
    ASSERT_EQ(messages.started.size(), 3u);
    EXPECT_EQ(messages.started[1].title, "Task 1");
    EXPECT_EQ(messages.started[2].title, "Task 2");
    tickAt(kMarch1, MakeTime(9, 0, 3));
    EXPECT_EQ(messages.started.size(), 3u);
    EXPECT_EQ(history().size(), 3u);
    EXPECT_EQ(notified, 3);
}

TEST_F(SchedulerTest, AQuestionHoldsTheTickAndNoSecondTickStarts)
{
    data::ScheduleRecord r = daily(1, kMarch1, MakeTime(9, 0), "Run Program");
    r.userSkip = 1;
    add(r);
    add(daily(2, kMarch1, MakeTime(9, 0)));
    InterleavingPrompter asking;
    scheduler::Scheduler held({db, settings, log, clock, asking, sound, frame, tray, scripts, messages, windows,
                               nullptr, nullptr});
    int nested = 0;
    asking.during = [&] {
        ++nested;
        held.tick();  // the timer fires while the box is open
    };
    clock.set(kMarch1, MakeTime(9, 1));
    held.tick();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(scripts.runs.size(), 1u);
    EXPECT_TRUE(messages.started.empty());  // task 2 waits for the next tick
    held.tick();
    EXPECT_EQ(messages.started.size(), 1u);
}

// A dozen mixed tasks over a simulated day: each occurrence is performed once,
// at the first tick at or after its moment.
TEST_F(SchedulerTest, ADayOfTicksPerformsEachOccurrenceExactlyOnce)
{
    const auto addRule = [&](Long id, Time first, std::string_view type, int every, std::string_view unit) {
        data::ScheduleRecord r = daily(id, kMarch1, first);
        r.scheduleType = type;
        r.every = every;
        r.everyType = unit;
        add(r);
    };
    addRule(1, MakeTime(0, 30), "Custom", 90, "minute(s)");
    addRule(2, MakeTime(6, 0), "Custom", 4, "hour(s)");
    addRule(3, MakeTime(9, 0), "Custom", 1, "day(s)");
    addRule(4, MakeTime(12, 0), "Once", 0, "");
    addRule(5, MakeTime(23, 59, 59), "Custom", 1, "day(s)");
    addRule(6, MakeTime(9, 0), "Custom", 1, "day(s)");
    addRule(7, MakeTime(13, 13, 13, 13), "Custom", 7, "hour(s)");
    addRule(8, MakeTime(18, 0), "Monthly", 0, "");
    addRule(9, MakeTime(7, 45), "Custom", 45, "minute(s)");
    addRule(10, MakeTime(15, 0), "Yearly", 0, "");
    addRule(11, MakeTime(22, 0), "Day of Week", 0, "");
    addRule(12, MakeTime(10, 10), "Custom", 3, "hour(s)");

    std::map<Long, std::vector<Time>> expectedMoments;
    const auto every = [&](Long id, Time first, Time step) {
        for (Time t = first; t <= kTimeMax; t += step)
            expectedMoments[id].push_back(t);
    };
    every(1, MakeTime(0, 30), 90 * kTicksPerMinute);
    every(2, MakeTime(6, 0), 4 * kTicksPerHour);
    every(7, MakeTime(13, 13, 13, 13), 7 * kTicksPerHour);
    every(9, MakeTime(7, 45), 45 * kTicksPerMinute);
    every(12, MakeTime(10, 10), 3 * kTicksPerHour);
    for (Long id : {3, 4, 5, 6, 8, 10, 11})
        expectedMoments[id].push_back(task(id).time);

    // A tick about every 3.8 seconds; up to three tasks share a moment and go
    // on successive ticks.
    const Time step = scheduler::kIdleInterval * 3 + 7;
    std::map<std::string, std::vector<Time>> performed;
    std::size_t seen = 0;
    const auto record = [&](Time t) {
        for (; seen < messages.started.size(); ++seen)
            performed[messages.started[seen].title].push_back(t);
    };
    for (Time t = 1; t <= kTimeMax; t += step) {
        tickAt(kMarch1, t);
        record(t);
    }
    tickAt(kMarch1, kTimeMax);
    record(kTimeMax);
    for (const auto& [id, moments] : expectedMoments) {
        const auto& got = performed["Task " + std::to_string(id)];
        ASSERT_EQ(got.size(), moments.size()) << "task " << id;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_GE(got[i], moments[i]) << "task " << id;
            EXPECT_LE(got[i] - moments[i], 3 * step) << "task " << id;
        }
    }
    EXPECT_TRUE(task(4).id == 0 || task(4).isHistoryEntry());  // the once-only task is gone
    EXPECT_EQ(history().size(), messages.started.size());
}

TEST_F(SchedulerTest, TwoStationsOnOneDatabasePerformADueTaskOnce)
{
    data::ScheduleRecord r = daily(1, kMarch1, MakeTime(9, 0), "Run Program");
    r.userSkip = 1;  // the winner's question gives the other station time to try
    add(r);

    Database stationDb(db.path(), MainLayout());
    ASSERT_EQ(stationDb.open(), kOk);
    FakeScripts stationScripts;
    FakeFrame stationFrame;
    FakeTray stationTrayBackend;
    scheduler::TrayController stationTray(stationTrayBackend, stationFrame, settings);
    FakePrompter stationPrompter;
    scheduler::Scheduler station({stationDb, settings, log, clock, stationPrompter, sound, stationFrame,
                                  stationTray, stationScripts, messages, windows, nullptr, nullptr});

    InterleavingPrompter asking;
    int stationTicks = 0;
    asking.during = [&] {
        ++stationTicks;
        station.tick();
    };
    scheduler::Scheduler first({db, settings, log, clock, asking, sound, frame, tray, scripts, messages, windows,
                                nullptr, nullptr});
    clock.set(kMarch1, MakeTime(9, 0, 30));
    first.tick();
    station.tick();

    EXPECT_EQ(stationTicks, 1);
    EXPECT_EQ(scripts.runs.size() + stationScripts.runs.size(), 1u);
    EXPECT_TRUE(stationPrompter.shown.empty());
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(task(1).date, kMarch1 + 1);
}

}  // namespace
}  // namespace hrln::test
