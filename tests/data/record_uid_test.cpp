#include "data/database.h"
#include "data/record_uid.h"
#include "data/records.h"
#include "data/staged_records.h"
#include "data/table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace hrln::test {
namespace {

using namespace data;

class RecordUidTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(db.create(), kOk);
        ASSERT_EQ(other.create(), kOk);
    }

    // Adds a task numbered `id` and gives its identity.
    static std::string addTask(Database& into, Long id)
    {
        Table<ScheduleRecord> t(into);
        t.rec.id = id;
        t.rec.description = "task " + std::to_string(id);
        EXPECT_EQ(t.add(), kOk);
        return RecordUid(t);
    }

    static std::string uidOfTask(Database& in, Long id)
    {
        Table<ScheduleRecord> t(in);
        t.rec.id = id;
        EXPECT_EQ(t.get(ScheduleRecord::KeyID), kOk);
        return RecordUid(t);
    }

    TempDir dir;
    Database db{dir.file("a.tps"), MainLayout()};
    Database other{dir.file("b.tps"), MainLayout()};
};

TEST_F(RecordUidTest, ARecordKeepsItsIdentityThroughWritesAndALaterOneNeverTakesItOver)
{
    std::set<std::string> seen;
    for (Long id = 1; id <= 3; ++id) {
        const std::string uid = addTask(db, id);
        EXPECT_EQ(uid.size(), 32u) << uid;
        EXPECT_EQ(uid.find_first_not_of("0123456789abcdef"), std::string::npos) << uid;
        EXPECT_TRUE(seen.insert(uid).second) << "given twice: " << uid;
        EXPECT_EQ(uidOfTask(db, id), uid);
    }
    const std::string second = uidOfTask(db, 2);
    {
        Table<ScheduleRecord> t(db);
        t.rec.id = 2;
        ASSERT_EQ(t.get(ScheduleRecord::KeyID), kOk);
        t.rec.description = "changed";
        t.rec.date = MakeDate(5, 1, 2027);
        ASSERT_EQ(t.put(), kOk);
    }
    EXPECT_EQ(uidOfTask(db, 2), second);

    // The last task deleted and its number (and row) used again: a new identity.
    const std::string third = uidOfTask(db, 3);
    std::int64_t row = 0;
    {
        Table<ScheduleRecord> t(db);
        t.rec.id = 3;
        ASSERT_EQ(t.get(ScheduleRecord::KeyID), kOk);
        row = t.rowId();
        ASSERT_EQ(t.remove(), kOk);
    }
    Table<ScheduleRecord> again(db);
    again.rec.id = 3;
    ASSERT_EQ(again.add(), kOk);
    EXPECT_EQ(again.rowId(), row) << "the case of a row used again is not what this test makes";
    EXPECT_FALSE(RecordUid(again).empty());
    EXPECT_NE(RecordUid(again), third);
    EXPECT_FALSE(seen.count(RecordUid(again)));

    // Another file numbers its tasks the same, and still gives its own.
    EXPECT_NE(addTask(other, 1), uidOfTask(db, 1));

    // The identities survive closing and opening the file.
    const std::string first = uidOfTask(db, 1);
    db.close();
    ASSERT_EQ(db.open(), kOk);
    EXPECT_EQ(uidOfTask(db, 1), first);
    EXPECT_EQ(uidOfTask(db, 2), second);
}

TEST_F(RecordUidTest, ToDoItemsHaveIdentitiesOfTheirOwnWhereverTheyStandInTheList)
{
    Table<TodoRecord> t(db);
    t.rec.toDo = "b";
    ASSERT_EQ(t.add(), kOk);
    const std::string b = RecordUid(t);
    t.rec.toDo = "a";  // sorts before the first
    ASSERT_EQ(t.add(), kOk);
    const std::string a = RecordUid(t);
    EXPECT_FALSE(a.empty());
    EXPECT_NE(a, b);
    t.set(TodoRecord::KeyToDo);
    std::vector<std::string> inOrder;
    while (t.next() == kOk)
        inOrder.push_back(RecordUid(t));
    EXPECT_EQ(inOrder, (std::vector<std::string>{a, b}));
    // A table without identities gives none.
    Table<CategoryRecord> c(db);
    c.rec.category = "Work";
    ASSERT_EQ(c.add(), kOk);
    EXPECT_EQ(RecordUid(c), "");
}

// Records kept aside, as an import keeps them, each with the identity its
// item came with: one the table has is written over (its number kept), one it
// has not goes in with it, of two the same the later counts.
TEST_F(RecordUidTest, RecordsKeptWithAnIdentityWriteOverTheirOwnOrGoInWithIt)
{
    const std::string own = addTask(db, 1);
    const int idColumn = ScheduleRecord::schema().columnIndex("ID");
    const auto move = [&](StagedRecords<ScheduleRecord>& kept, Long first) {
        StagedRecordsBase::Moved moved;
        EXPECT_EQ(db.begin(), kOk);
        EXPECT_EQ(kept.moveToTable(idColumn, first, &moved), kOk);
        EXPECT_EQ(db.commit(), kOk);
        EXPECT_EQ(kept.clear(), kOk);
        return moved;
    };
    const auto byId = [&] {
        std::map<Long, std::pair<std::string, std::string>> out;  // description, identity
        Table<ScheduleRecord> t(db);
        t.set(ScheduleRecord::KeyID);
        while (t.next() == kOk)
            out[t.rec.id] = {std::string(t.rec.description.view()), RecordUid(t)};
        return out;
    };
    const auto task = [](std::string_view description) {
        ScheduleRecord r;
        r.description = description;
        return r;
    };

    StagedRecords<ScheduleRecord> kept(db);
    ASSERT_EQ(kept.keep(task("task 1 edited"), own), kOk);
    ASSERT_EQ(kept.keep(task("from elsewhere"), "event-7@example.com"), kOk);
    ASSERT_EQ(kept.keep(task("plain")), kOk);
    ASSERT_EQ(kept.keep(task("twice, first"), "twice"), kOk);
    ASSERT_EQ(kept.keep(task("twice, last"), "twice"), kOk);
    const StagedRecordsBase::Moved moved = move(kept, 10);
    EXPECT_EQ(moved.updated, 1);
    EXPECT_EQ(moved.added, 3);
    EXPECT_EQ(moved.repeated, 1);
    auto tasks = byId();
    ASSERT_EQ(tasks.size(), 4u);
    EXPECT_EQ(tasks[1], std::make_pair(std::string("task 1 edited"), own));
    // Numbered on without a gap for the records that went elsewhere.
    EXPECT_EQ(tasks[10], std::make_pair(std::string("from elsewhere"), std::string("event-7@example.com")));
    EXPECT_EQ(tasks[11].first, "plain");
    EXPECT_EQ(tasks[11].second.size(), 32u);
    EXPECT_EQ(tasks[12], std::make_pair(std::string("twice, last"), std::string("twice")));

    // Enough records for the keys to be built afresh, identities among them
    // here and there, one of them already in the table.
    constexpr int kMany = 6000;
    for (int i = 0; i < kMany; ++i) {
        const std::string name = "bulk " + std::to_string(i);
        ASSERT_EQ(kept.keep(task(name), i % 3 == 0 ? "id-" + name : std::string()), kOk);
    }
    ASSERT_EQ(kept.keep(task("from elsewhere, again"), "event-7@example.com"), kOk);
    const StagedRecordsBase::Moved many = move(kept, 13);
    EXPECT_EQ(many.updated, 1);
    EXPECT_EQ(many.added, kMany);
    tasks = byId();
    ASSERT_EQ(tasks.size(), 4u + kMany);
    EXPECT_EQ(tasks[10].first, "from elsewhere, again");
    std::set<std::string> identities;
    for (int i = 0; i < kMany; ++i) {
        const auto& [description, identity] = tasks[13 + i];
        const std::string name = "bulk " + std::to_string(i);
        ASSERT_EQ(description, name);
        if (i % 3 == 0)
            ASSERT_EQ(identity, "id-" + name);
        else
            ASSERT_EQ(identity.size(), 32u) << name;
        identities.insert(identity);
    }
    EXPECT_EQ(identities.size(), static_cast<std::size_t>(kMany));
}

}  // namespace
}  // namespace hrln::test
