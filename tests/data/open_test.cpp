#include "data/record_uid.h"
#include "data/records.h"
#include "data/schedule_store.h"
#include "common/text.h"
#include "data/table_open.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <set>
#include <thread>

namespace hrln::test {
namespace {

using namespace data;
namespace fs = std::filesystem;

class OpenTest : public ::testing::Test {
protected:
    OpenResult openSchedule(bool create = true, bool doNotReport = false)
    {
        return CheckOpen(db, ScheduleRecord::schema(), create, doNotReport, AccessMode::ReadWrite, prompter);
    }

    void RemoveAll()
    {
        db.close();
        for (const char* suffix : {"", "-wal", "-shm"})
            fs::remove(path + suffix);
    }

    using Collation = int (*)(void*, int, const void*, int, const void*);
    static int TodaysKeyOrder(void*, int la, const void* a, int lb, const void* b)
    {
        return text::CompareNoCase({static_cast<const char*>(a), std::size_t(la)},
                                   {static_cast<const char*>(b), std::size_t(lb)});
    }
    // How a program of layout 2 sorted the letters of these tests: only ASCII
    // letters folded (it also folded some others, none that the tests use).
    static int LayoutTwoKeyOrder(void*, int la, const void* a, int lb, const void* b)
    {
        std::string x(text::Clip({static_cast<const char*>(a), std::size_t(la)}));
        std::string y(text::Clip({static_cast<const char*>(b), std::size_t(lb)}));
        for (std::string* s : {&x, &y})
            for (char& c : *s)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 0x20);
        return x.compare(y);
    }

    // Runs `sql` on a plain SQLite connection to the database's file.
    void rawSql(const std::string& sql, Collation keyOrder = TodaysKeyOrder)
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
        sqlite3_create_collation(raw, kKeyCollation, SQLITE_UTF8, nullptr, keyOrder);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(raw);
    }

    // A database with a few tasks, closed.
    void makeDatabaseWithTasks(int count)
    {
        Database maker(path, MainLayout());
        ASSERT_EQ(maker.create(), kOk);
        Table<ScheduleRecord> s(maker);
        for (int i = 1; i <= count; ++i) {
            s.rec.id = i;
            s.rec.date = MakeDate(1, 1, 2027) + i;
            s.rec.description = "task " + std::to_string(i);
            s.rec.message = std::string(900, 'x');
            ASSERT_EQ(s.add(), kOk);
        }
    }

    void expectDiskError(const std::string& description)
    {
        ASSERT_FALSE(prompter.shown.empty());
        const auto& box = prompter.shown.back();
        EXPECT_EQ(box.caption, "File Access Error");
        EXPECT_EQ(box.text, "File (HRLN.TPS) could not be opened.  Error: " + description + ".");
        ASSERT_EQ(prompter.endMessages.size(), 1u);
        EXPECT_EQ(prompter.endMessages.front(), "Disk Error");
    }

    TempDir dir;
    std::string path = dir.file(kMainDatabaseFile);
    Database db{path, MainLayout()};
    FakePrompter prompter;
};

TEST_F(OpenTest, AFirstStartCreatesEveryTableAndKey)
{
    const OpenResult r = openSchedule();
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(NextTaskId(db), 1);

    // Every table of the file works, through every key.
    for (const TableSchema* table : MainLayout().tables)
        EXPECT_TRUE(CheckOpen(db, *table, false, false, AccessMode::ReadWrite, prompter).ok());
    Table<ContactRecord> contacts(db);
    contacts.rec.clientId = NextClientId(db);
    contacts.rec.lastName = "Lovelace";
    EXPECT_EQ(contacts.add(), kOk);
    EXPECT_EQ(contacts.rec.clientId, 1);

    // A second program opens what the first made, in WAL mode.
    Database second(path, MainLayout());
    EXPECT_EQ(second.open(), kOk);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(second.handle(), "PRAGMA journal_mode", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "wal");
    sqlite3_finalize(stmt);
}

TEST_F(OpenTest, AMissingFileIsReportedUnlessCreationIsAllowed)
{
    OpenResult r = openSchedule(false, true);
    EXPECT_EQ(r.error, kNoFile);
    EXPECT_FALSE(r.ended);
    EXPECT_TRUE(prompter.shown.empty());

    r = openSchedule(false, false);
    EXPECT_TRUE(r.ended);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "File Creation Not Allowed");
    EXPECT_EQ(prompter.shown[0].text,
              "The File HRLN.TPS was not found, and creation of the file is not allowed.  Press OK to end this "
              "application.");
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(OpenTest, UseCountsCloseTheFileWithItsLastTable)
{
    ASSERT_TRUE(openSchedule().ok());
    ASSERT_TRUE(CheckOpen(db, TodoRecord::schema(), true, false, AccessMode::ReadWrite, prompter).ok());
    ASSERT_TRUE(openSchedule().ok());
    EXPECT_EQ(db.uses(ScheduleRecord::schema()), 2);
    CloseTable(db, ScheduleRecord::schema());
    CloseTable(db, TodoRecord::schema());
    EXPECT_TRUE(db.isOpen());
    CloseTable(db, ScheduleRecord::schema());
    EXPECT_FALSE(db.isOpen());
    // A buffer left over from before works again once the file is reopened.
    Table<ScheduleRecord> s(db);
    EXPECT_EQ(s.add(), kFileNotOpen);
    ASSERT_TRUE(openSchedule().ok());
    EXPECT_EQ(s.add(), kOk);
}

TEST_F(OpenTest, DamagedOrForeignFilesAreReportedAndNeverRewritten)
{
    struct Case {
        const char* name;
        std::function<void()> make;
        std::string description;  // empty: the upgrade message
    };
    const std::vector<Case> cases = {
        {"text file", [&] { WriteFile(path, "This is not a database at all.\n"); }, "Invalid Data File (36)"},
        {"binary garbage", [&] { WriteFile(path, std::string(70000, '\xA5')); }, "Invalid Data File (36)"},
        {"truncated",
         [&] {
             makeDatabaseWithTasks(300);
             const auto size = fs::file_size(path);
             fs::resize_file(path, size / 2);
         },
         "Invalid Data File (36)"},
        {"foreign SQLite database", [&] { rawSql("CREATE TABLE invoices (n INTEGER); INSERT INTO invoices VALUES (7);"); },
         ""},
        {"newer layout",
         [&] {
             makeDatabaseWithTasks(1);
             rawSql("PRAGMA user_version=99");
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveAll();
        c.make();
        const std::string before = ReadFile(path);
        prompter = FakePrompter();
        const OpenResult r = openSchedule();
        EXPECT_TRUE(r.ended);
        if (c.description.empty()) {
            ASSERT_EQ(prompter.endMessages.size(), 1u);
            EXPECT_EQ(prompter.endMessages[0], kUpgradeMessage);
        } else {
            expectDiskError(c.description);
        }
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_FALSE(db.isOpen());
    }
}

TEST_F(OpenTest, ADamagedFileIsLeftByteForByteAsItWas)
{
    // Damage that the header check cannot see: only reading the pages finds it.
    const auto overwritePage = [&](std::int64_t page) {
        std::string bytes = ReadFile(path);
        bytes.replace(static_cast<std::size_t>(page - 1) * 4096, 64, std::string(64, '\xFF'));
        WriteFile(path, bytes);
    };
    const auto rootPageOf = [&](const char* index) {
        sqlite3* raw = nullptr;
        sqlite3_open(path.c_str(), &raw);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, "SELECT rootpage FROM sqlite_schema WHERE name = ?", -1, &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, index, -1, SQLITE_STATIC);
        const std::int64_t page = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
        sqlite3_finalize(stmt);
        sqlite3_close(raw);
        return page;
    };
    const auto damageKeyPage = [&] { overwritePage(rootPageOf("S_KeyDate")); };
    struct Case {
        const char* name;
        const char* journal;  // the journal mode the file was left in
        int layoutVersion;    // what the file says of itself
        std::function<void()> damage;
    };
    const std::vector<Case> cases = {
        {"a key's page overwritten", "WAL", 3, damageKeyPage},
        {"a key's page overwritten, rollback journal", "DELETE", 3, damageKeyPage},
        // A file to convert, damaged away from the pages that every open reads.
        {"a record page overwritten in an older layout", "WAL", 2,
         [&] { overwritePage(static_cast<std::int64_t>(fs::file_size(path) / 4096 / 2)); }},
        {"cut short, rollback journal", "DELETE", 3, [&] { fs::resize_file(path, fs::file_size(path) - 4096 * 3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveAll();
        makeDatabaseWithTasks(300);
        rawSql(std::string("PRAGMA journal_mode=") + c.journal + "; PRAGMA user_version=" +
               std::to_string(c.layoutVersion));
        c.damage();
        const std::string before = ReadFile(path);

        Database direct(path, MainLayout());
        EXPECT_EQ(direct.convert(), kBadData);
        EXPECT_TRUE(ReadFile(path) == before);

        prompter = FakePrompter();
        EXPECT_TRUE(openSchedule().ended);
        expectDiskError("Invalid Data File (36)");
        EXPECT_TRUE(ReadFile(path) == before);
        EXPECT_FALSE(db.isOpen());
    }
}

TEST_F(OpenTest, AFileSystemFailureIsDescribedInTheSystemsOwnWords)
{
    // Seen by our own look at the file.
    fs::create_directory(path);
    EXPECT_TRUE(openSchedule().ended);
    expectDiskError("Is a directory (21)");

    // Seen by SQLite, when it opens the file's write-ahead log.
    RemoveAll();
    fs::remove(path);
    makeDatabaseWithTasks(1);
    fs::create_directory(path + "-wal");
    prompter = FakePrompter();
    EXPECT_TRUE(openSchedule().ended);
    expectDiskError("Is a directory (21)");
    fs::remove(path + "-wal");
}

TEST_F(OpenTest, AReadOnlyFileIsReportedAndLeftAlone)
{
    makeDatabaseWithTasks(2);
    const std::string before = ReadFile(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(openSchedule().ended);
    expectDiskError("Access Denied (5)");
    EXPECT_EQ(ReadFile(path), before);

    // Asked for reading only, it opens.
    Database reader(path, MainLayout());
    EXPECT_EQ(reader.open(AccessMode::ReadOnly), kOk);
}

TEST_F(OpenTest, AnOlderLayoutIsConvertedKeepingEveryRecord)
{
    // An older file: no Clipboard table yet, Contact without its last two fields, one key missing.
    makeDatabaseWithTasks(3);
    rawSql("DROP TABLE \"Clipboard\"; DROP INDEX \"S_KeyTaskDate\";"
           "DROP TABLE \"Contact\";"
           "CREATE TABLE \"Contact\" (rowid INTEGER PRIMARY KEY, _rowver INTEGER NOT NULL DEFAULT 0,"
           " _claim INTEGER NOT NULL DEFAULT 0,"
           " \"User\" TEXT NOT NULL DEFAULT '' COLLATE HRLNCASE, \"ClientID\" INTEGER NOT NULL DEFAULT 0) STRICT;"
           "INSERT INTO \"Contact\" (\"User\", \"ClientID\") VALUES ('ann', 5);"
           "PRAGMA user_version=0;");
    const OpenResult r = openSchedule();
    ASSERT_TRUE(r.ok()) << (prompter.endMessages.empty() ? "" : prompter.endMessages[0]);
    EXPECT_TRUE(prompter.shown.empty());

    Table<ScheduleRecord> s(db);
    s.rec.id = 3;
    ASSERT_EQ(s.get(ScheduleRecord::KeyID), kOk);
    EXPECT_EQ(s.rec.description, "task 3");
    Table<ContactRecord> c(db);
    c.rec.clientId = 5;
    ASSERT_EQ(c.get(ContactRecord::KeyClientID), kOk);
    EXPECT_EQ(c.rec.user, "ann");
    EXPECT_EQ(c.rec.contactCategory, "");
    Table<ClipboardRecord> clip(db);
    EXPECT_EQ(clip.add(), kOk);
}

// A file of layout 3 had no identities for other calendars: it opens with
// every record, each given one, kept from then on.
TEST_F(OpenTest, AFileWithoutRecordIdentitiesGetsThemAndKeepsItsRecords)
{
    makeDatabaseWithTasks(3);
    rawSql("DROP TRIGGER \"_Uid_S_add\"; DROP TRIGGER \"_Uid_S_remove\"; DROP TRIGGER \"_Uid_ToDo_add\";"
           "DROP TRIGGER \"_Uid_ToDo_remove\"; DROP TABLE \"_Uid\";"
           "INSERT INTO \"ToDo\" (\"ToDo\") VALUES ('call'); PRAGMA user_version=3;");
    ASSERT_TRUE(openSchedule().ok()) << (prompter.endMessages.empty() ? "" : prompter.endMessages[0]);
    EXPECT_TRUE(prompter.shown.empty());
    auto uids = [&] {
        std::vector<std::string> out;
        Table<ScheduleRecord> s(db);
        s.set(ScheduleRecord::KeyID);
        while (s.next() == kOk)
            out.push_back(s.rec.description.str() + "=" + RecordUid(s));
        Table<TodoRecord> t(db);
        t.set(TodoRecord::KeyToDo);
        while (t.next() == kOk)
            out.push_back(t.rec.toDo.str() + "=" + RecordUid(t));
        return out;
    };
    const std::vector<std::string> given = uids();
    ASSERT_EQ(given.size(), 4u);
    EXPECT_TRUE(given[0].starts_with("task 1="));
    EXPECT_TRUE(given[3].starts_with("call="));
    std::set<std::string> distinct;
    for (const std::string& g : given) {
        EXPECT_EQ(g.size() - g.find('='), 33u) << g;
        distinct.insert(g.substr(g.find('=')));
    }
    EXPECT_EQ(distinct.size(), 4u);

    // Converted once: the next start opens it as it is, with the same identities.
    db.close();
    Database again(path, MainLayout());
    EXPECT_EQ(again.open(), kOk);
    again.close();
    ASSERT_TRUE(openSchedule().ok());
    EXPECT_EQ(uids(), given);
}

TEST_F(OpenTest, ALayoutTwoFileIsSortedAgainForTheWholeCaseFolding)
{
    // Written by the previous program: "Șa" sorted before "ș", "ϊ" and "Ϊ" apart.
    makeDatabaseWithTasks(3);
    rawSql("INSERT INTO \"Categories\" (\"Category\") VALUES ('ș'), ('Șa'), ('Work');"
           "INSERT INTO \"ConCat\" (\"ContactCategory\") VALUES ('ϊ');"
           "PRAGMA user_version=2;",
           LayoutTwoKeyOrder);
    ASSERT_TRUE(openSchedule().ok()) << (prompter.endMessages.empty() ? "" : prompter.endMessages[0]);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(NextTaskId(db), 4);

    Table<CategoryRecord> cats(db);
    cats.set(CategoryRecord::KeyCategory);
    std::vector<std::string> names;
    while (cats.next() == kOk)
        names.push_back(cats.rec.category.str());
    EXPECT_EQ(names, (std::vector<std::string>{"Work", "ș", "Șa"}));
    cats.rec.category = "Ș";
    ASSERT_EQ(cats.get(CategoryRecord::KeyCategory), kOk);
    EXPECT_EQ(cats.rec.category, "ș");
    EXPECT_EQ(cats.add(), kDuplicateKey);
    Table<ContactCategoryRecord> cc(db);
    cc.rec.contactCategory = "Ϊ";
    EXPECT_EQ(cc.add(), kDuplicateKey);

    // Converted once: the next start opens it as it is.
    db.close();
    Database again(path, MainLayout());
    EXPECT_EQ(again.open(), kOk);
}

TEST_F(OpenTest, ALayoutTwoFileWhoseKeysWouldMergeTwoRecordsIsLeftAsItWas)
{
    makeDatabaseWithTasks(1);
    rawSql("INSERT INTO \"Categories\" (\"Category\") VALUES ('ș'), ('Ș'); PRAGMA user_version=2;",
           LayoutTwoKeyOrder);
    const std::string before = ReadFile(path);
    EXPECT_TRUE(openSchedule().ended);
    EXPECT_EQ(prompter.endMessages, std::vector<std::string>{kUpgradeMessage});
    EXPECT_EQ(ReadFile(path), before);
}

TEST_F(OpenTest, AMissingKeyIsRebuiltWhenTheUserAgrees)
{
    makeDatabaseWithTasks(5);
    rawSql("DROP INDEX \"S_KeyDateEnabled\"");
    prompter.answer(platform::MessageButton::Yes);
    ASSERT_TRUE(openSchedule().ok());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "Invalid Key");
    EXPECT_EQ(prompter.shown[0].text, "HRLN.TPS key file is invalid.  Do you want to rebuild the key?");
    EXPECT_EQ(prompter.shown[0].defaultButton, platform::MessageButton::Yes);
    Table<ScheduleRecord> s(db);
    s.set(ScheduleRecord::KeyDateEnabled);
    EXPECT_EQ(s.next(), kOk);

    db.close();
    rawSql("DROP INDEX \"S_KeyDateEnabled\"");
    prompter = FakePrompter();
    prompter.answer(platform::MessageButton::No);
    EXPECT_TRUE(openSchedule().ended);
    EXPECT_EQ(prompter.endMessages, std::vector<std::string>{"Invalid Key!"});
}

TEST_F(OpenTest, ALockedFileIsRetriedOnceThenReported)
{
    makeDatabaseWithTasks(1);
    db.setLockWait(std::chrono::milliseconds(20));
    db.setRecoveryWait(std::chrono::milliseconds(100));

    // Another program holds the file exclusively.
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_TRUE(openSchedule().ended);
    expectDiskError("File Is Already Locked (32)");

    // Released while the retry waits: the retry gets in.
    prompter = FakePrompter();
    db.setRecoveryWait(std::chrono::milliseconds(3000));
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sqlite3_exec(holder, "COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
    });
    const OpenResult r = openSchedule();
    release.join();
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace
}  // namespace hrln::test
