// A waiting program reads its file only when somebody wrote it or something
// it found comes due: never at the cost of a task performed late or missed.
#include "scheduler_fixture.h"

#include <string>

namespace hrln::test {
namespace {

using namespace data;

const Date kMarch1 = MakeDate(3, 1, 2027);

// Says "written" once each time the test says a write happened.
struct FakeStoreWatch : platform::StoreWatch {
    bool written = true;
    int asked = 0;
    bool changedSinceAsked() override
    {
        ++asked;
        const bool was = written;
        written = false;
        return was;
    }
};

class QuietTickTest : public SchedulerTest {
protected:
    void SetUp() override
    {
        SchedulerTest::SetUp();
        scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
            db, settings, log, clock, prompter, sound, frame, tray, scripts, messages, windows, nullptr,
            [this] { ++notified; }, &probe, &gate, &watch});
    }

    void timerAt(Date date, Time time)
    {
        clock.set(date, time);
        scheduler->onTimer();
    }

    std::size_t shown(Long id)
    {
        std::size_t n = 0;
        for (const scheduler::MessageSlots& m : messages.started)
            n += m.title == "Task " + std::to_string(id) ? 1 : 0;
        return n;
    }

    FakeStoreWatch watch;
};

TEST_F(QuietTickTest, AnUnwrittenFileIsNotReadUntilSomethingItHoldsComesDue)
{
    add(daily(1, kMarch1, MakeTime(10, 0)));
    timerAt(kMarch1, MakeTime(9, 0));  // the first tick reads
    EXPECT_EQ(frame.zones[2], "Next: Task 1");

    // Written without the watch telling: a quiet tick does not see it...
    add(daily(2, kMarch1, MakeTime(9, 0)));
    timerAt(kMarch1, MakeTime(9, 0, 2));
    EXPECT_EQ(shown(2), 0u);
    EXPECT_GT(watch.asked, 1);
    // ...the tick after a write the watch saw does, and performs it at once.
    watch.written = true;
    timerAt(kMarch1, MakeTime(9, 0, 3));
    EXPECT_EQ(shown(2), 1u);

    // Unwritten, the file is read again when the task it found comes due.
    timerAt(kMarch1, MakeTime(9, 59, 59));
    timerAt(kMarch1, MakeTime(9, 59, 59, 90));
    EXPECT_EQ(shown(1), 0u);
    timerAt(kMarch1, MakeTime(10, 0));
    EXPECT_EQ(shown(1), 1u);
    // Performing it wrote the file; the ticks after it read until all is quiet again.
    timerAt(kMarch1, MakeTime(10, 0, 2));
    timerAt(kMarch1, MakeTime(10, 0, 3));
    EXPECT_EQ(shown(1), 1u);
}

TEST_F(QuietTickTest, AnAdvanceWarningADayAndALongWaitEachEndTheQuiet)
{
    ScheduleRecord warned = daily(1, kMarch1 + 1, MakeTime(9, 0));
    warned.advanceWarnDate = kMarch1;
    warned.advanceWarnTime = MakeTime(12, 0);
    add(warned);
    timerAt(kMarch1, MakeTime(11, 0));
    timerAt(kMarch1, MakeTime(11, 30));
    EXPECT_TRUE(prompter.shown.empty());
    timerAt(kMarch1, MakeTime(12, 0, 1));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "Advanced Warning");

    // However sure the watch is, the file is read at least every ten minutes...
    timerAt(kMarch1, MakeTime(12, 0, 3));
    timerAt(kMarch1, MakeTime(12, 0, 4));  // quiet from here
    add(daily(20, kMarch1, MakeTime(12, 5)));  // unseen by the watch
    timerAt(kMarch1, MakeTime(12, 9));
    EXPECT_EQ(shown(20), 0u);
    timerAt(kMarch1, MakeTime(12, 10, 4));
    EXPECT_EQ(shown(20), 1u);

    // ...and on a new day (the day's history sweep is due).
    timerAt(kMarch1, MakeTime(23, 55));
    timerAt(kMarch1, MakeTime(23, 55, 2));  // quiet again
    add(daily(30, kMarch1, MakeTime(23, 58)));
    timerAt(kMarch1, MakeTime(23, 59, 59));
    EXPECT_EQ(shown(30), 0u);
    timerAt(kMarch1 + 1, MakeTime(0, 0, 1));
    EXPECT_EQ(shown(30), 1u);
}

TEST_F(QuietTickTest, WithoutAWatchOrWhileAnotherStationHoldsATaskEveryTickReads)
{
    add(daily(1, kMarch1, MakeTime(10, 0)));
    // Another running station holds the first task: its claim ends with that
    // station, which no write tells, so every tick looks again.
    Database otherDb(db.path(), MainLayout());
    ASSERT_EQ(otherDb.open(), kOk);
    FakeFrame otherFrame;
    FakeTray otherTrayBackend;
    scheduler::TrayController otherTray{otherTrayBackend, otherFrame, settings};
    FakeScripts otherScripts;
    FakeMessages otherMessages;
    scheduler::MessageWindowCounter otherWindows;
    FakeStartGate otherGate;
    FakeStationProbe otherProbe(2, &probe.dead);
    FakePrompter quietPrompter;
    scheduler::Scheduler other({otherDb, settings, log, clock, quietPrompter, sound, otherFrame, otherTray,
                                otherScripts, otherMessages, otherWindows, nullptr, nullptr, &otherProbe, &otherGate});
    clock.set(kMarch1, MakeTime(8, 0));
    other.tick();  // enters the file
    ASSERT_NE(other.stationId(), 0);
    {
        Table<ScheduleRecord> t(db);
        t.rec.id = 1;
        ASSERT_EQ(t.get(ScheduleRecord::KeyID), kOk);
        ASSERT_EQ(t.claim(other.stationId()), kOk);
    }
    timerAt(kMarch1, MakeTime(9, 0));
    timerAt(kMarch1, MakeTime(9, 0, 1));
    add(daily(2, kMarch1, MakeTime(9, 0)));  // unseen by the watch
    timerAt(kMarch1, MakeTime(9, 0, 2));
    EXPECT_EQ(shown(2), 1u);

    // Without a watch, as before it: every tick reads.
    scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
        db, settings, log, clock, prompter, sound, frame, tray, scripts, messages, windows, nullptr,
        [this] { ++notified; }, &probe, &gate, nullptr});
    timerAt(kMarch1, MakeTime(9, 1));
    timerAt(kMarch1, MakeTime(9, 1, 2));
    add(daily(30, kMarch1, MakeTime(9, 1)));
    timerAt(kMarch1, MakeTime(9, 1, 3));
    EXPECT_EQ(shown(30), 1u);
}

}  // namespace
}  // namespace hrln::test
