#include "platform/posix/inotify_store_watch.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

namespace hrln::platform::posix {
namespace {

void Exec(sqlite3* db, const char* sql)
{
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
}

// Every write another connection makes to the file, its log or its index is
// told at the next asking, and nothing else in the folder is.
TEST(InotifyStoreWatchTest, TellsEveryWriteToTheFileAndItsCompanionsAndNothingElse)
{
    test::TempDir dir;
    const std::string path = dir.file("HRLN.TPS");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &writer), SQLITE_OK);
    Exec(writer, "PRAGMA journal_mode=WAL; CREATE TABLE t (x)");

    InotifyStoreWatch watch(path);
    if (!watch.sees())
        GTEST_SKIP() << "the temporary folder is on a file system whose writes inotify cannot all see";
    EXPECT_TRUE(watch.changedSinceAsked());  // nothing is known before the first asking
    EXPECT_FALSE(watch.changedSinceAsked());

    Exec(writer, "INSERT INTO t VALUES (1)");  // into the log
    EXPECT_TRUE(watch.changedSinceAsked());
    EXPECT_FALSE(watch.changedSinceAsked());
    Exec(writer, "PRAGMA wal_checkpoint(TRUNCATE)");  // into the file itself
    EXPECT_TRUE(watch.changedSinceAsked());
    EXPECT_FALSE(watch.changedSinceAsked());

    // Reading writes nothing; neither do other files of the folder count.
    Exec(writer, "SELECT COUNT(*) FROM t");
    std::ofstream(dir.file("HRLN.INI")) << "[Settings]\n";
    std::ofstream(dir.file("HRLNEvnt.LOG")) << "a line\n";
    EXPECT_FALSE(watch.changedSinceAsked());

    // A file put in its place counts, as does its removal.
    sqlite3_close(writer);
    std::filesystem::rename(path, dir.file("old.tps"));
    EXPECT_TRUE(watch.changedSinceAsked());
    EXPECT_FALSE(watch.changedSinceAsked());
    std::filesystem::rename(dir.file("old.tps"), path);
    EXPECT_TRUE(watch.changedSinceAsked());
}

TEST(InotifyStoreWatchTest, AFolderGoneOrNeverThereCountsAsChangedForEver)
{
    test::TempDir dir;
    const std::filesystem::path folder = dir.path() / "data";
    std::filesystem::create_directory(folder);
    InotifyStoreWatch watch((folder / "HRLN.TPS").string());
    if (!watch.sees())
        GTEST_SKIP() << "the temporary folder is on a file system whose writes inotify cannot all see";
    EXPECT_TRUE(watch.changedSinceAsked());
    EXPECT_FALSE(watch.changedSinceAsked());
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(watch.changedSinceAsked());
    EXPECT_TRUE(watch.changedSinceAsked());
    EXPECT_FALSE(watch.sees());

    InotifyStoreWatch nowhere((dir.path() / "missing" / "HRLN.TPS").string());
    EXPECT_FALSE(nowhere.sees());
    EXPECT_TRUE(nowhere.changedSinceAsked());
    EXPECT_TRUE(nowhere.changedSinceAsked());
}

}  // namespace
}  // namespace hrln::platform::posix
