#include "data/backup.h"
#include "data/database.h"
#include "data/record_uid.h"
#include "data/records.h"
#include "data/table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

namespace hrln::test {
namespace {

using namespace hrln::data;

// Rows of every table of the file, the program's own bookkeeping included.
std::map<std::string, std::int64_t> RowCounts(Database& db)
{
    std::map<std::string, std::int64_t> out;
    std::vector<std::string> names;
    sqlite3_stmt* list = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db.handle(), "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &list, nullptr),
              SQLITE_OK);
    while (list && sqlite3_step(list) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
    sqlite3_finalize(list);
    // Every table of the layout is there, the program's own beside them.
    for (const TableSchema* t : db.layout().tables)
        EXPECT_NE(std::find(names.begin(), names.end(), t->sqlName()), names.end()) << t->name();
    for (const std::string& name : names) {
        sqlite3_stmt* s = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db.handle(), ("SELECT count(*) FROM \"" + name + "\"").c_str(), -1, &s, nullptr),
                  SQLITE_OK)
            << name;
        if (s && sqlite3_step(s) == SQLITE_ROW)
            out[name] = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
    }
    return out;
}

template <class R>
void Add(Database& db, const R& record)
{
    Table<R> t(db);
    t.rec = record;
    ASSERT_EQ(t.add(), kOk);
}

// A task with its script and a contact linked to it: what an export of the
// tables one by one leaves out.
void AddTaskWithScriptAndLink(Database& db, Long id)
{
    ScheduleRecord task;
    task.id = id;
    task.taskType = "Start Program";
    task.scheduleType = "Once";
    task.category = "Work";
    task.description = "task " + std::to_string(id);
    task.date = MakeDate(12, 10, 2026);
    task.time = MakeTime(9, 0);
    Add(db, task);
    ScriptingRecord step;
    step.id = id;
    step.sequence = 1;
    step.action = "Send Keystrokes";
    step.keystrokes = "hello{ENTER}";
    Add(db, step);
    ContactRecord contact;
    contact.clientId = id;
    contact.lastName = "Person " + std::to_string(id);
    Add(db, contact);
    Add(db, LinkRecord{id, id});
}

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(db.create(), kOk);
        for (Long id = 1; id <= 20; ++id)
            AddTaskWithScriptAndLink(db, id);
        Add(db, CategoryRecord{FixedText<20>("Work")});
        TodoRecord item;
        item.priority = 3;
        item.toDo = "water the plants";
        Add(db, item);
    }

    TempDir dir;
    Database db{dir.file("HRLN.TPS"), MainLayout()};
};

TEST_F(BackupTest, TheCopyOpensAsTheProgramsFileWithEveryTableScriptsLinksAndIdentities)
{
    Table<ScheduleRecord> first(db);
    first.set(ScheduleRecord::KeyID);
    ASSERT_EQ(first.next(), kOk);
    const std::string uid = RecordUid(first);
    ASSERT_FALSE(uid.empty());

    const std::string copyPath = dir.file("backup.tps");
    std::string why;
    ASSERT_EQ(BackupDatabase(db, copyPath, why), kOk) << why;
    EXPECT_FALSE(std::filesystem::exists(copyPath + ".part"));

    Database copy{copyPath, MainLayout()};
    ASSERT_EQ(copy.open(), kOk) << copy.lastFileError();
    const auto counts = RowCounts(copy);
    EXPECT_EQ(counts, RowCounts(db));
    EXPECT_EQ(counts.at(ScriptingRecord::schema().sqlName()), 20);
    EXPECT_EQ(counts.at(LinkRecord::schema().sqlName()), 20);
    Table<ScheduleRecord> again(copy);
    again.set(ScheduleRecord::KeyID);
    ASSERT_EQ(again.next(), kOk);
    EXPECT_EQ(again.rec.description, "task 1");
    EXPECT_EQ(RecordUid(again), uid);

    // A copy that cannot be made leaves the earlier one as it was.
    EXPECT_NE(BackupDatabase(db, dir.file("no such folder/backup.tps"), why), kOk);
    EXPECT_FALSE(why.empty());
}

// The program goes on writing while the copy is made: the copy is the file as
// one commit left it, each task with its script and link, never half of one.
TEST_F(BackupTest, ACopyMadeWhileAnotherConnectionWritesHoldsWholeCommits)
{
    std::atomic<bool> stop{false};
    std::atomic<int> written{0};
    std::thread writer([&] {
        Database other{dir.file("HRLN.TPS"), MainLayout()};
        ASSERT_EQ(other.open(), kOk);
        for (Long id = 1000; !stop && id < 6000; ++id) {
            ASSERT_EQ(other.begin(std::chrono::seconds(10)), kOk);
            AddTaskWithScriptAndLink(other, id);
            ASSERT_EQ(other.commit(), kOk);
            ++written;
        }
    });
    while (written < 5)
        std::this_thread::yield();
    for (int round = 0; round < 3; ++round) {
        const std::string copyPath = dir.file("copy" + std::to_string(round) + ".tps");
        std::string why;
        ASSERT_EQ(BackupDatabase(db, copyPath, why), kOk) << why;
        Database copy{copyPath, MainLayout()};
        ASSERT_EQ(copy.open(), kOk) << copy.lastFileError();
        const auto counts = RowCounts(copy);
        const std::int64_t tasks = counts.at(ScheduleRecord::schema().sqlName());
        EXPECT_GT(tasks, 20);
        EXPECT_EQ(counts.at(ScriptingRecord::schema().sqlName()), tasks);
        EXPECT_EQ(counts.at(LinkRecord::schema().sqlName()), tasks);
        EXPECT_EQ(counts.at(ContactRecord::schema().sqlName()), tasks);
        sqlite3_stmt* s = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(copy.handle(), "PRAGMA integrity_check", -1, &s, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
        EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)), "ok");
        sqlite3_finalize(s);
    }
    stop = true;
    writer.join();
}

}  // namespace
}  // namespace hrln::test
