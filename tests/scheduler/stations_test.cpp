// One performance per occurrence while stations die, wait for answers and
// find the file locked.
#include "scheduler_fixture.h"

#include "data/schedule_store.h"
#include "data/stations.h"

namespace hrln::test {
namespace {

using namespace data;
using platform::MessageButton;

const Date kMarch1 = MakeDate(3, 1, 2027);

class StationsTest : public SchedulerTest {
protected:
    // A second station on the same file, with a process number of its own.
    struct Station {
        Station(StationsTest& t, std::int64_t pid, platform::Prompter& prompter)
            : db(t.db.path(), MainLayout()), tray(trayBackend, frame, t.settings), probe(pid, &t.probe.dead)
        {
            EXPECT_EQ(db.open(), kOk);
            scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
                db, t.settings, t.log, t.clock, prompter, t.sound, frame, tray, scripts, messages, windows, nullptr,
                nullptr, &probe, &gate});
        }
        Database db;
        FakeFrame frame;
        FakeTray trayBackend;
        scheduler::TrayController tray;
        FakeScripts scripts;
        FakeMessages messages;
        scheduler::MessageWindowCounter windows;
        FakeStartGate gate;
        FakeStationProbe probe;
        std::unique_ptr<scheduler::Scheduler> scheduler;
    };

    // Puts station `holder`'s claim on task `id`.
    void claimFor(Long id, std::int64_t holder)
    {
        Table<ScheduleRecord> t(db);
        t.rec.id = id;
        ASSERT_EQ(t.get(ScheduleRecord::KeyID), kOk);
        ASSERT_EQ(t.claim(holder), kOk);
    }

    std::int64_t claimOn(Long id)
    {
        Table<ScheduleRecord> t(db);
        t.rec.id = id;
        return t.get(ScheduleRecord::KeyID) == kOk ? t.claimHolder() : -1;
    }

    std::vector<std::string> titles(const FakeMessages& m) const
    {
        std::vector<std::string> out;
        for (const auto& slots : m.started)
            out.push_back(slots.title);
        return out;
    }
};

TEST_F(StationsTest, AClaimHoldsBackOnlyItsOwnTaskAndOnlyWhileItsStationRuns)
{
    add(daily(1, kMarch1, MakeTime(9, 0)));
    add(daily(2, kMarch1, MakeTime(9, 0, 30)));
    FakePrompter quiet;
    Station other(*this, 2, quiet);
    clock.set(kMarch1, MakeTime(8, 0));
    other.scheduler->tick();  // enters the file
    ASSERT_NE(other.scheduler->stationId(), 0);
    claimFor(1, other.scheduler->stationId());

    tickAt(kMarch1, MakeTime(9, 1));
    tickAt(kMarch1, MakeTime(9, 1, 2));
    EXPECT_EQ(titles(messages), std::vector<std::string>{"Task 2"});
    EXPECT_EQ(task(1).date, kMarch1);

    // The claiming program died: its claim binds nobody, at once.
    probe.dead.insert(2);
    tickAt(kMarch1, MakeTime(9, 1, 4));
    EXPECT_EQ(titles(messages), (std::vector<std::string>{"Task 2", "Task 1"}));
    EXPECT_EQ(task(1).date, kMarch1 + 1);
    EXPECT_EQ(history().size(), 2u);

    // A claim left by an earlier run of this very program binds nothing either.
    add(daily(10, kMarch1, MakeTime(9, 2)));
    claimFor(10, 999);  // a station number the file never gave out
    tickAt(kMarch1, MakeTime(9, 2, 1));
    EXPECT_EQ(messages.started.size(), 3u);
}

// A program killed while one of its forms was adding a task left the task's
// placeholder behind: the first tick of the next start removes it, and leaves
// those of the programs still running.
TEST_F(StationsTest, TheFirstTickRemovesThePlaceholdersOfStationsThatDied)
{
    add(daily(1, kMarch1, MakeTime(9, 0)));
    FakePrompter quiet;
    Station killed(*this, 2, quiet);
    Station running(*this, 3, quiet);
    clock.set(kMarch1, MakeTime(8, 0));
    const auto place = [](Station& s) {
        s.scheduler->tick();  // enters the file
        Table<ScheduleRecord> form(s.db);
        form.rec = Task(0, kMarch1, MakeTime(8, 30), "being added", "Work");
        form.placeholderAdds(true);
        EXPECT_EQ(AddTaskWithNewId(form, nullptr), kOk);
        return form.rec.id;
    };
    const Long lost = place(killed);
    const Long kept = place(running);
    probe.dead.insert(2);

    // The next start's first tick, before the placeholders' times: nothing is performed.
    clock.set(kMarch1, MakeTime(8, 45));
    scheduler->onTimer();
    EXPECT_EQ(claimOn(lost), -1);
    EXPECT_LT(claimOn(kept), 0);  // still its station's placeholder
    EXPECT_TRUE(messages.started.empty());
}

TEST_F(StationsTest, AnUnansweredQuestionHoldsBackNoTaskOnAnotherStation)
{
    data::ScheduleRecord asked = daily(1, kMarch1, MakeTime(9, 0));
    asked.userSkip = 1;
    add(asked);
    for (Long id = 2; id <= 4; ++id)
        add(daily(id, kMarch1, MakeTime(9, 0, 10)));

    InterleavingPrompter waiting;
    FakePrompter quiet;
    Station other(*this, 2, quiet);
    Station first(*this, 3, waiting);
    waiting.during = [&] {
        for (int i = 0; i < 4; ++i)
            other.scheduler->tick();
    };
    clock.set(kMarch1, MakeTime(9, 1));
    first.scheduler->tick();

    EXPECT_EQ(titles(other.messages), (std::vector<std::string>{"Task 2", "Task 3", "Task 4"}));
    EXPECT_EQ(titles(first.messages), std::vector<std::string>{"Task 1"});
    EXPECT_EQ(history().size(), 4u);
}

TEST_F(StationsTest, AStationTakenForDeadThatWakesUpPerformsNothingTwice)
{
    data::ScheduleRecord r = daily(1, kMarch1, MakeTime(9, 0), "Run Program");
    r.userSkip = 1;
    add(r);
    InterleavingPrompter sleeper;
    FakePrompter quiet;
    Station sleeping(*this, 2, sleeper);
    Station other(*this, 3, quiet);
    quiet.answer(MessageButton::Yes);
    sleeper.during = [&] {
        // Seen from the other station the first one died mid-question.
        probe.dead.insert(2);
        other.scheduler->tick();
        probe.dead.erase(2);
    };
    clock.set(kMarch1, MakeTime(9, 1));
    sleeping.scheduler->tick();

    EXPECT_EQ(other.scripts.runs.size(), 1u);
    EXPECT_EQ(other.gate.releases, std::vector<bool>{true});
    // The sleeper's record came too late: its program was stopped at the gate.
    EXPECT_EQ(sleeping.gate.releases, std::vector<bool>{false});
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(task(1).date, kMarch1 + 1);
}

TEST_F(StationsTest, ALockedFileDelaysTheOccurrenceAndNeverHalfRecordsIt)
{
    add(daily(1, kMarch1, MakeTime(9, 0), "Both"));
    scripts.stepsPerScript = 2;
    Database locker(db.path(), MainLayout());
    ASSERT_EQ(locker.open(), kOk);

    // Locked before the claim: nothing happens, nothing is claimed.
    ASSERT_EQ(locker.begin(), kOk);
    tickAt(kMarch1, MakeTime(9, 0, 5));
    EXPECT_TRUE(messages.started.empty());
    EXPECT_TRUE(scripts.runs.empty());
    EXPECT_EQ(claimOn(1), 0);
    ASSERT_EQ(locker.commit(), kOk);

    // Locked between the question and the record: the program waits at the
    // gate, its script does not run, no message shows and nothing is written.
    {
        Table<ScheduleRecord> t(db);
        t.rec.id = 1;
        ASSERT_EQ(t.get(ScheduleRecord::KeyID), kOk);
        t.rec.userSkip = 1;
        ASSERT_EQ(t.put(), kOk);
    }
    InterleavingPrompter locking;
    locking.during = [&] { ASSERT_EQ(locker.begin(), kOk); };
    scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
        db, settings, log, clock, locking, sound, frame, tray, scripts, messages, windows, nullptr, nullptr, &probe,
        &gate});
    tickAt(kMarch1, MakeTime(9, 0, 10));
    locking.during = nullptr;
    tickAt(kMarch1, MakeTime(9, 0, 12));
    EXPECT_TRUE(scheduler->dispatchPending());
    EXPECT_TRUE(gate.held);
    EXPECT_EQ(scripts.runs.size(), 1u);
    EXPECT_EQ(scripts.steps, 0);
    EXPECT_TRUE(messages.started.empty());
    EXPECT_TRUE(history().empty());
    EXPECT_EQ(task(1).date, kMarch1);
    EXPECT_EQ(locking.shown.size(), 1u);

    // Free again: recorded once, then performed.
    ASSERT_EQ(locker.rollback(), kOk);
    tickAt(kMarch1, MakeTime(9, 0, 14));
    EXPECT_FALSE(scheduler->dispatchPending());
    EXPECT_EQ(gate.releases, std::vector<bool>{true});
    ASSERT_EQ(gate.holds.size(), 1u);
    EXPECT_TRUE(Stations(db, probe).recorded(gate.holds[0].station, gate.holds[0].serial));
    EXPECT_EQ(titles(messages), std::vector<std::string>{"Task 1"});
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(task(1).date, kMarch1 + 1);
    EXPECT_EQ(scripts.steps, 1);  // the script goes on in the same tick
    EXPECT_EQ(locking.shown.size(), 1u);  // never asked twice
}

TEST_F(StationsTest, ATaskChangedWhileItsQuestionIsOpenIsNotPerformedAsItWas)
{
    data::ScheduleRecord r = daily(1, kMarch1, MakeTime(9, 0), "Run Program");
    r.userSkip = 1;
    add(r);
    scripts.stepsPerScript = 3;
    InterleavingPrompter editing;
    editing.during = [&] {
        // The user moves the task to the evening in a window meanwhile.
        Table<ScheduleRecord> t(db);
        t.rec.id = 1;
        ASSERT_EQ(t.get(ScheduleRecord::KeyID), kOk);
        t.rec.time = MakeTime(18, 0);
        ASSERT_EQ(t.put(), kOk);
    };
    scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
        db, settings, log, clock, editing, sound, frame, tray, scripts, messages, windows, nullptr, nullptr, &probe,
        &gate});
    tickAt(kMarch1, MakeTime(9, 1));

    EXPECT_EQ(gate.releases, std::vector<bool>{false});
    EXPECT_FALSE(scripts.pending());
    EXPECT_TRUE(history().empty());
    EXPECT_EQ(task(1).time, MakeTime(18, 0));
    EXPECT_EQ(task(1).date, kMarch1);
}

}  // namespace
}  // namespace hrln::test
