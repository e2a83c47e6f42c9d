// SQLite's locks under the calls that keep them on a description of their
// own: a peek into the database files by anything else in the process (a file
// dialog, a type detector) no longer cancels them, another program still
// waits for them, and connections of one process still share them.
#include "data/database.h"
#include "platform/posix/open_file_locks.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace hrln::test {
namespace {

namespace fs = std::filesystem;

class SqliteFileTest : public ::testing::Test {
protected:

    void SetUp() override
    {
        if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "the sqlite3 program, another process on the file, is not installed";
        file = dir.file("HRLN.TPS");
    }

    sqlite3* connect()
    {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
        sqlite3_busy_timeout(db, 2000);
        return db;
    }

    static int exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

    static int count(sqlite3* db)
    {
        sqlite3_stmt* query = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM t", -1, &query, nullptr);
        const int n = sqlite3_step(query) == SQLITE_ROW ? sqlite3_column_int(query, 0) : -1;
        sqlite3_finalize(query);
        return n;
    }

    // The sqlite3 program, a process of its own with classic locks, running
    // `sql` without waiting for a lock; its output, and whether it succeeded.
    std::string other(const std::string& sql, bool* succeeded = nullptr) const
    {
        const std::string command = "sqlite3 -cmd '.timeout 0' '" + file + "' '" + sql + "' 2>&1";
        std::string out;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[256];
        while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            out += buffer;
        const int status = pipe != nullptr ? pclose(pipe) : -1;
        if (succeeded != nullptr)
            *succeeded = status == 0;
        return out;
    }

    // What a file dialog does to pick an icon: opens and closes each file.
    void peek() const
    {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            const int fd = ::open((file + suffix).c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0) << suffix;
            char byte = 0;
            EXPECT_GE(::read(fd, &byte, 1), 0);
            ::close(fd);
        }
    }

    // Descriptors this process holds on the database file itself.
    int descriptorsOnFile() const
    {
        int n = 0;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator("/proc/self/fd", ec))
            if (fs::read_symlink(entry.path(), ec) == fs::path(file))
                ++n;
        return n;
    }

    TempDir dir;
    std::string file;
};

class OpenFileLocksTest : public SqliteFileTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(data::Database::UseFileCalls(platform::posix::OpenFileDescriptionLocks())); }
    static void TearDownTestSuite() { data::Database::UseFileCalls({}); }
};

TEST_F(OpenFileLocksTest, APeekByTheProcessLeavesTheLogToTheOpenConnection)
{
    sqlite3* db = connect();
    ASSERT_EQ(exec(db, "PRAGMA journal_mode=WAL; CREATE TABLE t(x); INSERT INTO t VALUES(1)"), SQLITE_OK);
    peek();

    // Another program writes and closes: it must not take itself for the
    // last user, fold the log in and delete it under us.
    bool wrote = false;
    EXPECT_EQ(other("INSERT INTO t VALUES(2)", &wrote), "");
    EXPECT_TRUE(wrote);
    EXPECT_TRUE(fs::exists(file + "-wal"));
    EXPECT_TRUE(fs::exists(file + "-shm"));

    // Both sides still see one database.
    EXPECT_EQ(count(db), 2);
    ASSERT_EQ(exec(db, "INSERT INTO t VALUES(3)"), SQLITE_OK);
    EXPECT_EQ(other("SELECT count(*) FROM t"), "3\n");
    sqlite3_close(db);
}

TEST_F(OpenFileLocksTest, AWriteLockStillHoldsOffAnotherProgramAndOneProcessSharesItsLocks)
{
    sqlite3* writer = connect();
    sqlite3* reader = connect();
    ASSERT_EQ(exec(writer, "PRAGMA journal_mode=WAL; CREATE TABLE t(x)"), SQLITE_OK);

    // Our two connections neither block nor see each other's locks as foreign.
    ASSERT_EQ(exec(reader, "BEGIN; SELECT count(*) FROM t"), SQLITE_OK);
    ASSERT_EQ(exec(writer, "BEGIN IMMEDIATE; INSERT INTO t VALUES(1)"), SQLITE_OK);
    peek();
    bool wrote = true;
    const std::string refused = other("INSERT INTO t VALUES(9)", &wrote);
    EXPECT_FALSE(wrote) << "another program wrote while we held the write lock";
    EXPECT_NE(refused.find("locked"), std::string::npos) << refused;
    ASSERT_EQ(exec(writer, "COMMIT"), SQLITE_OK);
    EXPECT_EQ(count(reader), 0) << "the reader's snapshot moved";
    ASSERT_EQ(exec(reader, "COMMIT"), SQLITE_OK);
    EXPECT_EQ(count(reader), 1);

    // One connection closing is not the last: the log stays for the other.
    sqlite3_close(writer);
    EXPECT_TRUE(fs::exists(file + "-wal"));
    other("INSERT INTO t VALUES(2)", &wrote);
    EXPECT_TRUE(wrote);
    EXPECT_EQ(count(reader), 2);

    // With the last connection gone, nothing of ours is left on the file and
    // another program may take it whole.
    sqlite3_close(reader);
    EXPECT_EQ(descriptorsOnFile(), 0);
    EXPECT_EQ(other("PRAGMA journal_mode=DELETE", &wrote), "delete\n");
    EXPECT_TRUE(wrote);
    EXPECT_FALSE(fs::exists(file + "-wal"));
}

// SQLite's own classic locks: the store's check of a file's header, made
// while another connection of this process holds the file, goes through
// SQLite and so cancels none of them.
class HeaderCheckTest : public SqliteFileTest {};

TEST_F(HeaderCheckTest, OpeningTheFileAgainLeavesTheFirstConnectionsLocks)
{
    data::Database first(file, data::MainLayout());
    ASSERT_EQ(first.create(), data::kOk);
    data::Database second(file, data::MainLayout());
    ASSERT_EQ(second.open(), data::kOk);
    second.close();
    bool read = false;
    other("SELECT count(*) FROM sqlite_schema", &read);
    EXPECT_TRUE(read);
    EXPECT_TRUE(fs::exists(file + "-wal")) << "another program took itself for the last user";
}

}  // namespace
}  // namespace hrln::test
