// The agenda against the scheduler itself: what it lists from a moment is what
// the real scheduler, ticking through the same days on a pinned zone's clock,
// performs (its history entries), over both changes of the zone's offset.
#include "scheduler/agenda.h"
#include "scheduler_fixture.h"

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace hrln::test {
namespace {

using namespace data;

// (task ID, date, time, passed over)
using Occurrence = std::tuple<Long, Date, Time, bool>;

std::vector<Occurrence> listed(const std::vector<scheduler::AgendaEntry>& entries)
{
    std::vector<Occurrence> out;
    for (const scheduler::AgendaEntry& e : entries)
        out.emplace_back(e.task->id, e.date, e.time, e.skipped);
    return out;
}

struct ZoneChange {
    const char* name;
    Date day;  // a Sunday, the last of its month, on which 02:00 to 03:00 is skipped or repeated
};

class AgendaTest : public SchedulerTest, public ::testing::WithParamInterface<ZoneChange> {
protected:
    void SetUp() override
    {
        SchedulerTest::SetUp();
        clock.pinZone("Europe/Berlin");
    }

    ScheduleRecord rule(Long id, Date date, Time time, std::string_view type)
    {
        ScheduleRecord r = daily(id, date, time);
        r.scheduleType = type;
        return r;
    }
    ScheduleRecord custom(Long id, Date date, Time time, Long every, std::string_view unit)
    {
        ScheduleRecord r = daily(id, date, time);
        r.every = every;
        r.everyType = unit;
        return r;
    }

    // One task of every kind of rule around the change, several overdue at the start.
    void addEveryRule(Date change)
    {
        const YearMonthDay d = SplitDate(change);
        add(rule(1, change, MakeTime(2, 30), "Once"));
        ScheduleRecord weekly = rule(2, change - 1, MakeTime(18, 0), "Day of Week");
        weekly.sunday = weekly.monday = 1;
        add(weekly);
        ScheduleRecord lastSunday = rule(3, change - 7, MakeTime(2, 30), "Day of Month");
        lastSunday.sunday = lastSunday.everyLast = 1;
        add(lastSunday);
        add(rule(4, MakeDate(d.month - 1, d.day, d.year), MakeTime(10, 0), "Monthly"));
        add(rule(5, MakeDate(d.month, d.day, d.year - 1), MakeTime(9, 0), "Yearly"));
        add(custom(6, change - 1, MakeTime(12, 45), 90, "min"));
        add(custom(7, change - 1, MakeTime(13, 30), 1, "Hour(s)"));
        add(custom(8, change, MakeTime(2, 45), 1, "day(s)"));
        add(custom(9, change, MakeTime(3, 0), 1, "week(s)"));
        add(custom(10, change + 1, MakeTime(2, 30), 1, "month(s)"));
        add(custom(11, change, MakeTime(1, 0), 2, "year(s)"));
        ScheduleRecord skipped = rule(12, change, MakeTime(8, 0), "Day of Week");  // no weekday: every day
        skipped.skipNextTime = 1;
        add(skipped);
        ScheduleRecord disabled = daily(13, change, MakeTime(9, 0));
        disabled.disabled = 1;
        add(disabled);
        ScheduleRecord done = daily(14, change, MakeTime(9, 30));
        done.disabled = done.completed = 1;
        add(done);
        add(custom(15, change, MakeTime(11, 0), 1, "fortnights"));  // units the engine does not know
        ScheduleRecord twin = daily(16, change, MakeTime(2, 45));  // the same moment as task 8
        add(twin);
        // Overdue by days: performed at once, then moved from the present, so
        // this evening's occurrence is passed by as the scheduler passes it by.
        add(custom(17, change - 4, MakeTime(20, 0), 1, "day(s)"));
    }

    // Ticks every real minute from `from` to the end of `lastDay` and gives what was performed or passed over.
    std::vector<Occurrence> performed(platform::DateTime from, Date lastDay)
    {
        clock.set(from.date, from.time);
        while (clock.now().date <= lastDay) {
            scheduler->tick();
            clock.advance(6000);
        }
        std::vector<Occurrence> out;
        // A history entry has an ID of its own; it keeps the task's description.
        for (const ScheduleRecord& h : history())
            if (h.id != 14)
                out.emplace_back(std::stol(h.description.str().substr(5)), h.date, h.time, h.skipNextTime != 0);
        return out;
    }
};

TEST_P(AgendaTest, ListsWhatTheSchedulerPerformsInItsOrder)
{
    const Date change = GetParam().day;
    addEveryRule(change);
    const platform::DateTime from{change - 1, MakeTime(12, 0)};
    scheduler::Agenda agenda(db, from, 3);
    ASSERT_EQ(agenda.lastDay(), change + 1);
    const std::vector<scheduler::AgendaEntry> all = agenda.next(100000);
    ASSERT_EQ(agenda.error(), kOk);
    EXPECT_TRUE(agenda.atEnd());
    std::vector<Occurrence> expected = listed(all);

    // In time order, ties as the scheduler takes them; read in small pages, the same list.
    for (std::size_t i = 1; i < all.size(); ++i)
        ASSERT_LE(CompareDateTime(all[i - 1].date, all[i - 1].time, all[i].date, all[i].time), 0) << i;
    scheduler::Agenda paged(db, from, 3);
    std::vector<scheduler::AgendaEntry> pages;
    for (std::vector<scheduler::AgendaEntry> page; !(page = paged.next(5)).empty();) {
        ASSERT_LE(page.size(), 5u);
        pages.insert(pages.end(), page.begin(), page.end());
    }
    EXPECT_EQ(listed(pages), expected);

    // The disabled task and the history entry are not listed; every other rule is.
    for (Long id = 1; id <= 17; ++id) {
        const bool shown = std::any_of(expected.begin(), expected.end(),
                                       [id](const Occurrence& o) { return std::get<0>(o) == id; });
        EXPECT_EQ(shown, id != 13 && id != 14) << "task " << id;
    }
    // The skipped task's next occurrence is listed as passed over, its later ones not.
    EXPECT_EQ(std::count(expected.begin(), expected.end(), Occurrence{12, change, MakeTime(8, 0), true}), 1);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), Occurrence{12, change + 1, MakeTime(8, 0), false}), 1);

    std::vector<Occurrence> actual = performed(from, agenda.lastDay());
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(expected, actual);
    // Looking ahead asks nothing: the scheduler asks about the units each time it performs that task.
    const auto askedUnits =
        std::count_if(prompter.shown.begin(), prompter.shown.end(),
                      [](const platform::MessageBox& box) { return box.caption == "Invalid Units"; });
    EXPECT_EQ(askedUnits,
              std::count_if(actual.begin(), actual.end(), [](const Occurrence& o) { return std::get<0>(o) == 15; }));
    EXPECT_GE(askedUnits, 2);
}

INSTANTIATE_TEST_SUITE_P(Zone, AgendaTest,
                         ::testing::Values(ZoneChange{"Spring", MakeDate(3, 28, 2027)},
                                           ZoneChange{"Autumn", MakeDate(10, 31, 2027)}),
                         [](const ::testing::TestParamInfo<ZoneChange>& p) { return std::string(p.param.name); });

class AgendaWindowTest : public SchedulerTest {};

TEST_F(AgendaWindowTest, EndsWithItsLastDayAndStartsWithOverdueTasks)
{
    const Date today = MakeDate(6, 1, 2027);
    add(daily(1, today - 3, MakeTime(9, 0)));   // overdue three days: performed at once, then daily
    add(daily(2, today + 5, MakeTime(9, 0)));   // after the last day
    ScheduleRecord hourly = daily(3, today, MakeTime(23, 0));
    hourly.everyType = "hour(s)";
    add(hourly);

    scheduler::Agenda agenda(db, {today, MakeTime(10, 0)}, 2);
    const std::vector<Occurrence> got = listed(agenda.next(1000));
    const std::vector<Occurrence> want{
        {1, today - 3, MakeTime(9, 0), false},  // the scheduler moves it from now on: tomorrow next
        {3, today, MakeTime(23, 0), false},
    };
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[0], want[0]);
    EXPECT_EQ(got[1], want[1]);
    // Hourly through tomorrow's last hour, task 1 tomorrow at 09:00 among them; task 2 never.
    EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const Occurrence& o) { return std::get<0>(o) == 3; }), 25);
    EXPECT_EQ(std::count(got.begin(), got.end(), Occurrence{1, today + 1, MakeTime(9, 0), false}), 1);
    EXPECT_EQ(got.size(), 27u);
    EXPECT_TRUE(agenda.next(10).empty());
    EXPECT_TRUE(agenda.atEnd());

    // Days are held to at least one: the rest of today.
    scheduler::Agenda today_only(db, {today, MakeTime(10, 0)}, 0);
    EXPECT_EQ(today_only.lastDay(), today);
    EXPECT_EQ(today_only.next(1000).size(), 2u);
}

// A list left open on the agenda holds no snapshot of the file between its
// pages, so the log can still be copied back into it while others write.
TEST_F(AgendaWindowTest, HoldsNoSnapshotBetweenPages)
{
    const Date today = MakeDate(6, 1, 2027);
    for (Long id = 1; id <= 300; ++id)
        add(Task(id, today, MakeTime(12, 0) + static_cast<Time>(id) * 100, "Task " + std::to_string(id)));
    scheduler::Agenda agenda(db, {today, MakeTime(10, 0)}, 1);
    std::vector<Occurrence> got = listed(agenda.next(5));
    ASSERT_EQ(got.size(), 5u);

    data::Database other(db.path(), data::MainLayout());
    ASSERT_EQ(other.open(), kOk);
    Table<ScheduleRecord> t(other);
    t.rec = Task(301, today, MakeTime(23, 0), "Task 301");
    ASSERT_EQ(t.add(), kOk);
    int busy = -1;
    ASSERT_EQ(sqlite3_exec(
                  other.handle(), "PRAGMA wal_checkpoint(TRUNCATE)",
                  [](void* out, int, char** values, char**) {
                      *static_cast<int*>(out) = std::atoi(values[0]);
                      return 0;
                  },
                  &busy, nullptr),
              SQLITE_OK);
    EXPECT_EQ(busy, 0);

    // Read on from where it stood: every task once, in order, the one added meanwhile last.
    for (auto page = agenda.next(50); !page.empty(); page = agenda.next(50)) {
        const std::vector<Occurrence> more = listed(page);
        got.insert(got.end(), more.begin(), more.end());
    }
    ASSERT_EQ(got.size(), 301u);
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(std::get<0>(got[i]), static_cast<Long>(i + 1));
}

}  // namespace
}  // namespace hrln::test
