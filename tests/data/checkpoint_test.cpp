#include "data/records.h"
#include "data/table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace hrln::test {
namespace {

using namespace data;
namespace fs = std::filesystem;

// Enough committed pages to pass the log's threshold: each record carries a
// long message, and every key of the table is written too.
void WriteRound(Database& db, Long& next)
{
    Table<ScheduleRecord> t(db);
    for (int batch = 0; batch < 6; ++batch) {
        ASSERT_EQ(db.begin(), kOk);
        for (int i = 0; i < 500; ++i) {
            t.clear();
            t.rec.id = ++next;
            t.rec.description = "Task " + std::to_string(next);
            t.rec.message = std::string(900, static_cast<char>('a' + next % 26));
            t.rec.date = 80000 + static_cast<Date>(next % 400);
            ASSERT_EQ(t.add(), kOk);
        }
        ASSERT_EQ(db.commit(), kOk);
    }
}

bool WaitForCopies(const Database& db, int atLeast)
{
    const auto done = [&] { return db.backgroundCheckpoints() >= atLeast && db.checkpointsCaughtUp(); };
    for (int i = 0; i < 1000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

TEST(BackgroundCheckpointTest, KeepsTheLogBoundedAcrossReopeningAndFoldsItInAtClose)
{
    TempDir dir;
    const std::string path = dir.file(kMainDatabaseFile);
    Database db(path, MainLayout());
    ASSERT_EQ(db.create(), kOk);
    db.checkpointInBackground();
    Long next = 0;

    WriteRound(db, next);
    ASSERT_TRUE(WaitForCopies(db, 1));
    const auto firstSize = fs::file_size(path + "-wal");
    // Once copied, the log starts over instead of growing by a round each time
    // (left alone it would be four rounds long by now). A later round writes
    // somewhat more than the first, its keys being larger by then.
    for (int round = 2; round <= 4; ++round) {
        WriteRound(db, next);
        ASSERT_TRUE(WaitForCopies(db, round));
    }
    EXPECT_LT(fs::file_size(path + "-wal"), firstSize * 3);

    // A reopened connection hands its checkpoints over again.
    db.close();
    EXPECT_FALSE(fs::exists(path + "-wal"));
    ASSERT_EQ(db.open(), kOk);
    const int before = db.backgroundCheckpoints();
    WriteRound(db, next);
    EXPECT_TRUE(WaitForCopies(db, before + 1));
    db.close();
    EXPECT_FALSE(fs::exists(path + "-wal"));

    Database check(path, MainLayout());
    ASSERT_EQ(check.open(AccessMode::ReadOnly), kOk);
    Table<ScheduleRecord> t(check);
    t.set(ScheduleRecord::KeyID);
    Long count = 0;
    while (t.next() == kOk)
        ++count;
    EXPECT_EQ(count, next);
}

}  // namespace
}  // namespace hrln::test
