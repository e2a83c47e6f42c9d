// The late rule across a change of the zone's offset: the hour the clock
// skips in spring is no time that passed, the hour it shows twice in autumn
// is, and a task is performed once either way.
#include "scheduler_fixture.h"

#include <string>

namespace hrln::test {
namespace {

using namespace data;

const Date kSpring = MakeDate(3, 28, 2027);  // 02:00 CET becomes 03:00 CEST
const Date kAutumn = MakeDate(10, 31, 2027);  // 03:00 CEST becomes 02:00 CET

class ZoneChangeTest : public SchedulerTest {
protected:
    void SetUp() override
    {
        SchedulerTest::SetUp();
        clock.pinZone("Europe/Berlin");
    }

    // A task repeated at `time` (daily, or every `unit`), passed over when late.
    ScheduleRecord lateSkipped(Long id, Date date, Time time, std::string_view unit = "day(s)")
    {
        ScheduleRecord r = daily(id, date, time);
        r.everyType = unit;
        r.skipIfMissed = 1;
        return r;
    }

    // Ticks every 30 seconds of real time, from the wall-clock reading
    // (date, from) on, for `minutes`; calls `each` after every tick.
    template <typename Each>
    void tickThrough(Date date, Time from, int minutes, Each each)
    {
        clock.set(date, from);
        for (int t = 0; t < 2 * minutes; ++t) {
            clock.advance(3000);
            scheduler->tick();
            each();
        }
    }

    std::size_t shown(Long id)
    {
        std::size_t n = 0;
        for (const scheduler::MessageSlots& m : messages.started)
            n += m.title == "Task " + std::to_string(id) ? 1 : 0;
        return n;
    }
};

TEST_F(ZoneChangeTest, ADailyTaskInTheSkippedHourRunsOnceAtTheChange)
{
    add(lateSkipped(1, kSpring, MakeTime(2, 30)));
    // Hourly from 01:30: its 02:30 falls in the skipped hour too.
    add(lateSkipped(2, kSpring, MakeTime(1, 30), "hour(s)"));
    std::vector<Time> shownAt;  // the wall clock at each tick that showed task 1
    std::size_t before = 0;
    tickThrough(kSpring, MakeTime(1, 0), 3 * 60, [&] {
        if (shown(1) > before)
            shownAt.push_back(clock.now().time);
        before = shown(1);
        ASSERT_FALSE(clock.now().time >= MakeTime(2, 0) && clock.now().time < MakeTime(3, 0));
    });
    ASSERT_EQ(clock.now().time, MakeTime(5, 0));  // three hours later, one of them skipped
    ASSERT_EQ(shownAt.size(), 1u);
    EXPECT_LE(shownAt[0], MakeTime(3, 0, 30));  // the first tick after the change
    const ScheduleRecord moved = task(1);
    EXPECT_EQ(moved.date, kSpring + 1);
    EXPECT_EQ(moved.time, MakeTime(2, 30));
    // 01:30, the skipped 02:30 at the change, then 03:30 and 04:30.
    EXPECT_EQ(shown(2), 4u);
    EXPECT_EQ(task(2).time, MakeTime(5, 30));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ZoneChangeTest, ADailyTaskInTheRepeatedHourRunsOnceOnItsFirstShowing)
{
    add(lateSkipped(1, kAutumn, MakeTime(2, 30)));
    int showingsOf0230 = 0;
    std::size_t byTheChange = 0;
    int previous = clock.zonedNow().utcOffset;
    tickThrough(kAutumn, MakeTime(1, 0), 4 * 60, [&] {
        const platform::ZonedDateTime now = clock.zonedNow();
        if (now.local.time >= MakeTime(2, 30) && now.local.time < MakeTime(2, 30, 30))
            ++showingsOf0230;
        if (now.utcOffset != previous)
            byTheChange = shown(1);
        previous = now.utcOffset;
    });
    ASSERT_EQ(showingsOf0230, 2);  // the clock did show 02:30 twice
    EXPECT_EQ(byTheChange, 1u);
    EXPECT_EQ(shown(1), 1u);
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(task(1).date, kAutumn + 1);
    EXPECT_EQ(task(1).time, MakeTime(2, 30));
}

// Late is measured in time that passed, not on the wall clock.
TEST_F(ZoneChangeTest, LatenessAcrossTheSpringChangeCountsTheTimeThatPassed)
{
    // 20:00 CET the evening before, found at 05:00 CEST: eight hours, nine on
    // the wall clock. Passed over, and moved past today.
    add(lateSkipped(10, kSpring - 1, MakeTime(20, 0)));
    tickAt(kSpring, MakeTime(5, 0));
    EXPECT_EQ(shown(10), 0u);
    EXPECT_EQ(task(10).date, kSpring + 1);
    EXPECT_EQ(task(10).lastRunTime, MakeTime(5, 0));

    // 01:55 CET found at 03:04 CEST has waited nine minutes: it runs; found
    // at 03:06 it has waited eleven: passed over.
    add(lateSkipped(20, kSpring, MakeTime(1, 55)));
    add(lateSkipped(30, kSpring, MakeTime(1, 55, 1)));
    tickAt(kSpring, MakeTime(3, 4));
    tickAt(kSpring, MakeTime(3, 6));
    EXPECT_EQ(shown(20), 1u);
    EXPECT_EQ(shown(30), 0u);
    EXPECT_EQ(history().size(), 3u);

    // An hourly task passed over across the change moves on to its first
    // occurrence after the present: from 00:30 CET, found at 03:45 CEST.
    add(lateSkipped(40, kSpring, MakeTime(0, 30), "hour(s)"));
    tickAt(kSpring, MakeTime(3, 45));
    EXPECT_EQ(shown(40), 0u);
    EXPECT_EQ(task(40).date, kSpring);
    EXPECT_EQ(task(40).time, MakeTime(4, 30));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ZoneChangeTest, LatenessAcrossTheAutumnChangeCountsTheTimeThatPassed)
{
    // 20:00 CEST the evening before, found at 03:00 CET: eight hours, seven
    // on the wall clock.
    add(lateSkipped(10, kAutumn - 1, MakeTime(20, 0)));
    tickAt(kAutumn, MakeTime(3, 0));
    EXPECT_EQ(shown(10), 0u);
    EXPECT_EQ(task(10).date, kAutumn + 1);

    // 01:55 CEST found at 02:04:59 CET, after the clock went back, is an
    // hour and ten minutes late, ten minutes on the wall clock.
    add(lateSkipped(20, kAutumn, MakeTime(1, 55)));
    clock.set(kAutumn, MakeTime(2, 59, 59));
    clock.advance(6000 * 5);  // 02:04:59 of the second showing
    ASSERT_EQ(clock.now().time, MakeTime(2, 4, 59));
    scheduler->tick();
    EXPECT_EQ(shown(20), 0u);
    EXPECT_EQ(task(20).date, kAutumn + 1);
    EXPECT_EQ(history().size(), 2u);

    // A task set for the second showing of the repeated hour, as a snooze
    // made during it, is read on that side: on time at 02:40 CET.
    add(lateSkipped(30, kAutumn, MakeTime(2, 35)));
    clock.advance(6000 * 35);  // 02:39:59 of the second showing
    scheduler->tick();
    EXPECT_EQ(shown(30), 1u);
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace
}  // namespace hrln::test
