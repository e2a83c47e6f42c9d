#include "data/record_tags.h"

#include "data/schedule_store.h"
#include "store_fixture.h"

namespace hrln::test {
namespace {

using data::KeyView;
using data::RecordTags;
using data::ScheduleRecord;
using data::TaggedTable;

class RecordTagsTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ASSERT_EQ(data::OpenTagFile(tagFile, db), data::kOk);
        data::Table<ScheduleRecord> t(db);
        // Ids 1..6 on dates in the reverse order of their ids.
        for (data::Long id = 1; id <= 6; ++id) {
            t.rec = Task(id, static_cast<Date>(80010 - id), 100);
            ASSERT_EQ(t.add(), data::kOk);
            rowids.push_back(t.rowId());
        }
    }

    std::vector<std::int64_t> markedInDateOrder(RecordTags& tags)
    {
        KeyView view(db, ScheduleRecord::schema(), ScheduleRecord::KeyDate, {}, tags.restriction());
        std::vector<std::int64_t> out;
        for (const auto& e : view.at(0, 100))
            out.push_back(e.rowid);
        EXPECT_EQ(view.error(), data::kOk);
        EXPECT_EQ(view.count(), static_cast<std::int64_t>(out.size()));
        return out;
    }

    data::Database tagFile{dir.file(data::kTagFile), data::TagLayout()};
    std::vector<std::int64_t> rowids;
};

TEST_F(RecordTagsTest, MarksAreKeptPerUserAndTableAndViewedInKeyOrder)
{
    RecordTags mine(tagFile, data::TagUser("Anne"), TaggedTable::Schedule);
    RecordTags sameName(tagFile, data::TagUser("  ANNE "), TaggedTable::Schedule);
    RecordTags other(tagFile, data::TagUser("Bob"), TaggedTable::Schedule);
    RecordTags contacts(tagFile, data::TagUser("Anne"), TaggedTable::Contacts);

    for (const std::size_t i : {1u, 4u, 2u})
        ASSERT_EQ(mine.mark(rowids[i]), data::kOk);
    ASSERT_EQ(mine.mark(rowids[4]), data::kOk);  // twice is once
    ASSERT_EQ(other.mark(rowids[0]), data::kOk);
    ASSERT_EQ(contacts.mark(rowids[3]), data::kOk);

    EXPECT_EQ(mine.count(), 3);
    EXPECT_TRUE(sameName.marked(rowids[2]));
    EXPECT_FALSE(mine.marked(rowids[0]));
    // Later ids have earlier dates.
    EXPECT_EQ(markedInDateOrder(mine), (std::vector<std::int64_t>{rowids[4], rowids[2], rowids[1]}));
    EXPECT_EQ(markedInDateOrder(other), (std::vector<std::int64_t>{rowids[0]}));

    KeyView view(db, ScheduleRecord::schema(), ScheduleRecord::KeyDate, {}, mine.restriction());
    EXPECT_EQ(view.ordinalOf(rowids[1]), 2);
    EXPECT_EQ(view.ordinalOf(rowids[0]), -1);
    const auto entries = view.at(0, 3);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(view.after(entries[0], 5).size(), 2u);
    EXPECT_EQ(view.before(entries[2], 5).size(), 2u);

    ASSERT_EQ(mine.unmark(rowids[2]), data::kOk);
    ASSERT_EQ(mine.clear(), data::kOk);
    EXPECT_EQ(mine.count(), 0);
    EXPECT_EQ(other.count(), 1);  // another user's marks stay
    EXPECT_EQ(contacts.count(), 1);
}

TEST_F(RecordTagsTest, ADeletedRecordLeavesTheViewAndTheAttachmentOutlivesAReopening)
{
    RecordTags tags(tagFile, 0, TaggedTable::Schedule);
    ASSERT_EQ(tags.mark(rowids[0]), data::kOk);
    ASSERT_EQ(tags.mark(rowids[5]), data::kOk);

    data::Table<ScheduleRecord> t(db);
    ASSERT_EQ(t.reget(ScheduleRecord::KeyDate, rowids[5]), data::kOk);
    ASSERT_EQ(data::DeleteTask(t), data::kOk);
    EXPECT_EQ(markedInDateOrder(tags), (std::vector<std::int64_t>{rowids[0]}));

    db.close();
    ASSERT_EQ(db.open(), data::kOk);
    EXPECT_EQ(markedInDateOrder(tags), (std::vector<std::int64_t>{rowids[0]}));

    // A missing tag file is never made by attaching it.
    EXPECT_EQ(db.attach(dir.file("missing.TPS"), "missing"), data::kNoFile);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.TPS")));
}

}  // namespace
}  // namespace hrln::test
