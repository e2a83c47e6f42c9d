#include "scheduler/schedule_search.h"

#include "store_fixture.h"

#include <set>

namespace hrln::test {
namespace {

using data::RecordTags;
using data::ScheduleRecord;
using scheduler::ScheduleCriteria;
using scheduler::ScheduleSearchJob;

const Date kMay3 = MakeDate(5, 3, 2027);

class ScheduleSearchTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ASSERT_EQ(data::OpenTagFile(tagFile, db), data::kOk);
    }

    std::int64_t add(ScheduleRecord r)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec = std::move(r);
        EXPECT_EQ(t.add(), data::kOk);
        return t.rowId();
    }

    // Runs a whole search in small batches, as the progress window does.
    std::int64_t search(const ScheduleCriteria& c, bool clearFirst)
    {
        ScheduleSearchJob job(db, tags, c, clearFirst);
        EXPECT_TRUE(job.begin());
        while (job.step(3)) {
        }
        job.end(false);
        EXPECT_EQ(job.percent(), 100);
        EXPECT_EQ(job.error(), data::kOk);
        return job.found();
    }

    data::Database tagFile{dir.file(data::kTagFile), data::TagLayout()};
    RecordTags tags{tagFile, 0, data::TaggedTable::Schedule};
};

TEST(ScheduleCriteriaTest, FreeTextMatchesAnywhereListChoicesWholeAndTheRestExactly)
{
    ScheduleRecord t = Task(1, kMay3, MakeTime(9, 0), "Weekly Straße report", "Work");
    t.taskType = "Run Program";
    t.command = "/usr/bin/backup --all";
    t.scheduleType = "Day of Week";
    t.monday = 1;
    t.every2nd = 1;
    t.skipNextTime = 1;

    const auto matches = [&](auto fill) {
        ScheduleCriteria c;
        fill(c);
        EXPECT_FALSE(c.empty());
        return scheduler::Matches(t, c);
    };
    EXPECT_TRUE(ScheduleCriteria{}.empty());
    EXPECT_TRUE(matches([](ScheduleCriteria& c) { c.description = "STRAẞE"; }));
    EXPECT_TRUE(matches([](ScheduleCriteria& c) { c.description = " report "; }));
    EXPECT_TRUE(matches([](ScheduleCriteria& c) { c.category = "or"; }));
    EXPECT_TRUE(matches([](ScheduleCriteria& c) { c.command = "BACKUP"; }));
    EXPECT_TRUE(matches([](ScheduleCriteria& c) { c.taskType = "run program"; }));
    EXPECT_FALSE(matches([](ScheduleCriteria& c) { c.taskType = "Run"; }));
    EXPECT_TRUE(matches([](ScheduleCriteria& c) { c.weekdays = {1}; c.ordinals = {2}; }));
    EXPECT_FALSE(matches([](ScheduleCriteria& c) { c.weekdays = {1, 2}; }));
    EXPECT_TRUE(matches([](ScheduleCriteria& c) { c.skipNextTime = 1; }));
    EXPECT_FALSE(matches([](ScheduleCriteria& c) { c.skipNextTime = 0; }));
    EXPECT_TRUE(matches([](ScheduleCriteria& c) { c.date = kMay3; c.time = MakeTime(9, 0); }));
    EXPECT_FALSE(matches([](ScheduleCriteria& c) { c.date = kMay3 + 1; }));
    // Every filled criterion must hold.
    EXPECT_FALSE(matches([](ScheduleCriteria& c) { c.description = "report"; c.category = "Home"; }));
}

TEST_F(ScheduleSearchTest, NoToClearingAddsTheNewMatchesToTheEarlierOnes)
{
    const std::int64_t work = add(Task(1, kMay3, 100, "Pay rent", "Home"));
    const std::int64_t gym = add(Task(2, kMay3 + 1, 100, "Gym", "Sport"));
    const std::int64_t rent = add(Task(3, kMay3 + 2, 100, "Rent car", "Travel"));

    ScheduleCriteria byText;
    byText.description = "rent";
    EXPECT_EQ(search(byText, true), 2);
    EXPECT_TRUE(tags.marked(work));
    EXPECT_TRUE(tags.marked(rent));

    ScheduleCriteria sport;
    sport.category = "sport";
    EXPECT_EQ(search(sport, false), 1);
    EXPECT_EQ(tags.count(), 3);  // added to the earlier marks
    EXPECT_EQ(search(sport, true), 1);
    EXPECT_EQ(tags.count(), 1);  // Yes cleared them first
    EXPECT_TRUE(tags.marked(gym));
}

TEST_F(ScheduleSearchTest, ADateNarrowsTheWalkAndACancelKeepsWhatWasMarked)
{
    for (data::Long id = 1; id <= 20; ++id)
        add(Task(id, kMay3 + id % 2, static_cast<Time>(100 + id), "Task", id % 4 == 0 ? "Even" : "Odd"));

    ScheduleCriteria oneDay;
    oneDay.date = kMay3;  // the even ids
    oneDay.category = "even";
    EXPECT_EQ(search(oneDay, true), 5);

    ScheduleCriteria all;
    all.description = "task";
    ScheduleSearchJob job(db, tags, all, true);
    ASSERT_TRUE(job.begin());
    EXPECT_TRUE(job.step(7));
    job.end(true);
    EXPECT_EQ(job.found(), 7);
    EXPECT_EQ(job.percent(), 35);
    EXPECT_EQ(tags.count(), 7);
    EXPECT_NE(job.firstFound(), 0);
}

// The scheduler keeps writing to the schedule between the search's batches.
TEST_F(ScheduleSearchTest, TasksChangedBetweenBatchesNeitherStopNorSpoilTheSearch)
{
    for (data::Long id = 1; id <= 12; ++id) {
        ScheduleRecord t = Task(id, kMay3 + static_cast<Date>(id), 100, id % 3 == 0 ? "Backup" : "Other", "Work");
        t.taskType = id % 3 == 0 ? "Run Program" : "Display Message";
        add(std::move(t));
    }
    ScheduleCriteria c;
    c.taskType = " run program ";
    ScheduleSearchJob job(db, tags, c, true);
    ASSERT_TRUE(job.begin());
    EXPECT_TRUE(job.step(2));

    data::Table<ScheduleRecord> t(db);
    t.rec.id = 1;
    ASSERT_EQ(t.get(ScheduleRecord::KeyID), data::kOk);
    t.rec.time += 60;  // a task dispatched meanwhile moves on
    ASSERT_EQ(t.put(), data::kOk);

    while (job.step(2)) {
    }
    job.end(false);
    EXPECT_EQ(job.error(), data::kOk);
    EXPECT_EQ(job.found(), 4);
    EXPECT_EQ(tags.count(), 4);
    t.rec.id = 9;
    ASSERT_EQ(t.get(ScheduleRecord::KeyID), data::kOk);
    EXPECT_TRUE(tags.marked(t.rowId()));
}

TEST_F(ScheduleSearchTest, FindNextWalksTheMatchesInDateOrderAndThenFindsNone)
{
    const std::int64_t later = add(Task(1, kMay3 + 5, 100, "Dentist", "Health"));
    add(Task(2, kMay3 + 1, 100, "Gym", "Sport"));
    const std::int64_t earlier = add(Task(3, kMay3, 100, "dentist again", "Health"));

    ScheduleCriteria c;
    c.description = "DENTIST";
    const std::int64_t first = scheduler::FindNextMatch(db, c, 0);
    EXPECT_EQ(first, earlier);
    const std::int64_t second = scheduler::FindNextMatch(db, c, first);
    EXPECT_EQ(second, later);
    EXPECT_EQ(scheduler::FindNextMatch(db, c, second), 0);
}

// "&Edit This" starts at the first task found and "&Find Next" goes on from
// there: tasks added out of date order must all be reached, none twice.
TEST_F(ScheduleSearchTest, TheFirstFoundAndFindNextWalkOneOrderThroughEveryMatch)
{
    std::set<std::int64_t> matching;
    for (data::Long id = 1; id <= 9; ++id) {
        const bool dentist = id % 3 != 0;
        const std::int64_t row = add(Task(id, kMay3 + static_cast<Date>((id * 5) % 9), 100, dentist ? "Dentist" : "Gym", "Health"));
        if (dentist)
            matching.insert(row);
    }
    ASSERT_EQ(matching.size(), 6U);

    ScheduleCriteria c;
    c.description = "dentist";
    ScheduleSearchJob job(db, tags, c, true);
    ASSERT_TRUE(job.begin());
    while (job.step(2)) {
    }
    job.end(false);
    ASSERT_EQ(job.found(), 6);

    std::set<std::int64_t> reached;
    for (std::int64_t at = job.firstFound(); at != 0; at = scheduler::FindNextMatch(db, c, at))
        EXPECT_TRUE(reached.insert(at).second) << at;
    EXPECT_EQ(reached, matching);
}

}  // namespace
}  // namespace hrln::test
