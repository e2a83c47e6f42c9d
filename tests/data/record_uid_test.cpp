#include "data/database.h"
#include "data/record_uid.h"
#include "data/records.h"
#include "data/table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace hrln::test
