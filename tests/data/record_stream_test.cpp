#include "data/record_stream.h"

#include "store_fixture.h"

#include <sqlite3.h>

#include <random>

namespace hrln::test {
namespace {

using data::FieldMatch;
using data::RecordStream;
using data::ScheduleRecord;

class RecordStreamTest : public StoreTest {
protected:
    // Tasks on few dates and times, every third a history entry, some without a date.
    void fill(int n)
    {
        data::Table<ScheduleRecord> t(db);
        std::mt19937 random(11);
        for (int i = 1; i <= n; ++i) {
            const bool undated = i % 7 == 0;
            t.rec = Task(i, undated ? 0 : static_cast<Date>(80000 + random() % 4),
                         undated ? 0 : static_cast<Time>(1 + random() % 3), "t" + std::to_string(i));
            t.rec.disabled = i % 3 == 0 || i % 5 == 0 ? 1 : 0;
            t.rec.completed = i % 3 == 0 ? 1 : 0;
            ASSERT_EQ(t.add(), data::kOk);
        }
    }

    // IDs in `key` order as the record cursor reads them, kept when `keep` says so.
    template <class Keep>
    std::vector<data::Long> cursorIds(int key, Keep keep)
    {
        data::Table<ScheduleRecord> t(db);
        t.set(key);
        std::vector<data::Long> out;
        while (t.next() == data::kOk)
            if (keep(t.rec))
                out.push_back(t.rec.id);
        return out;
    }

    std::vector<data::Long> streamIds(int key, FieldMatch match, std::string index = {})
    {
        RecordStream<ScheduleRecord> s(db, key, {"ID"}, std::move(match), std::move(index));
        std::vector<data::Long> out;
        int err = data::kOk;
        while ((err = s.next()) == data::kOk)
            out.push_back(s.rec.id);
        EXPECT_EQ(err, data::kRecordNotAvailable);
        EXPECT_EQ(s.next(), data::kRecordNotAvailable);  // and stays at the end
        return out;
    }
};

// The stream gives what the cursor gives, in the same order, equal entries
// included and empty ones left out, narrowed as asked.
TEST_F(RecordStreamTest, GivesTheCursorsOrderNarrowedByTheMatch)
{
    fill(300);
    const auto all = [](const ScheduleRecord&) { return true; };
    const auto history = [](const ScheduleRecord& r) { return r.isHistoryEntry(); };
    const auto tasks = [](const ScheduleRecord& r) { return !r.isHistoryEntry(); };
    const FieldMatch historyMatch{{{"Disabled", 1}, {"Completed", 1}}, true};
    const FieldMatch taskMatch{{{"Disabled", 1}, {"Completed", 1}}, false};

    for (const int key : {ScheduleRecord::KeyDate, ScheduleRecord::KeyDateEnabled, ScheduleRecord::KeyID}) {
        EXPECT_EQ(streamIds(key, {}), cursorIds(key, all)) << key;
        EXPECT_EQ(streamIds(key, historyMatch), cursorIds(key, history)) << key;
        EXPECT_EQ(streamIds(key, taskMatch), cursorIds(key, tasks)) << key;
    }
    EXPECT_LT(streamIds(ScheduleRecord::KeyDate, {}).size(), 300u);  // the undated are not in the date key
}

// The tasks' own index gives the list the date key gives them, edits and a
// task turned history included, and SQLite walks it: no history entry in
// it, nothing sorted.
TEST_F(RecordStreamTest, TheTasksIndexListsTheTasksAloneInDateOrder)
{
    fill(300);
    const FieldMatch taskMatch{{{"Disabled", 1}, {"Completed", 1}}, false};
    const auto tasks = [](const ScheduleRecord& r) { return !r.isHistoryEntry(); };
    {
        data::Table<ScheduleRecord> t(db);
        t.rec.id = 4;
        ASSERT_EQ(t.get(ScheduleRecord::KeyID), data::kOk);
        t.rec.date = 80001;
        t.rec.time = 1;
        ASSERT_EQ(t.put(), data::kOk);
        t.rec.id = 8;
        ASSERT_EQ(t.get(ScheduleRecord::KeyID), data::kOk);
        t.rec.disabled = t.rec.completed = 1;
        ASSERT_EQ(t.put(), data::kOk);
    }
    EXPECT_EQ(streamIds(ScheduleRecord::KeyDate, taskMatch, data::kTasksByDateIndex),
              cursorIds(ScheduleRecord::KeyDate, tasks));

    RecordStream<ScheduleRecord> s(db, ScheduleRecord::KeyDate,
                                   {"ID", "Date", "Time", "TaskType", "ScheduleType", "Description"}, taskMatch,
                                   data::kTasksByDateIndex);
    ASSERT_EQ(s.next(), data::kOk);
    std::string plan;
    for (sqlite3_stmt* stmt = sqlite3_next_stmt(db.handle(), nullptr); stmt != nullptr;
         stmt = sqlite3_next_stmt(db.handle(), stmt)) {
        const std::string sql = sqlite3_sql(stmt);
        if (sql.find(data::kTasksByDateIndex) == std::string::npos)
            continue;
        sqlite3_stmt* explain = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db.handle(), ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &explain, nullptr),
                  SQLITE_OK);
        while (sqlite3_step(explain) == SQLITE_ROW)
            plan += reinterpret_cast<const char*>(sqlite3_column_text(explain, 3)) + std::string("\n");
        sqlite3_finalize(explain);
    }
    EXPECT_NE(plan.find(std::string("USING INDEX ") + data::kTasksByDateIndex), std::string::npos) << plan;
    EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
}

TEST_F(RecordStreamTest, ReadsOnlyTheNamedFields)
{
    data::Table<ScheduleRecord> t(db);
    t.rec = Task(5, 80000, 100, "first\ttab", "Home");
    t.rec.message = "not read";
    ASSERT_EQ(t.add(), data::kOk);

    RecordStream<ScheduleRecord> s(db, ScheduleRecord::KeyDate, {"ID", "Description"});
    s.rec.category = "kept";
    ASSERT_EQ(s.next(), data::kOk);
    EXPECT_EQ(s.rec.id, 5);
    EXPECT_EQ(s.rec.description, "first\ttab");
    EXPECT_EQ(s.rec.category, "kept");
    EXPECT_EQ(s.rec.message, "");
    EXPECT_EQ(s.rec.date, 0);

    RecordStream<ScheduleRecord> unknown(db, ScheduleRecord::KeyDate, {"NoSuchField"});
    EXPECT_NE(unknown.next(), data::kOk);
    EXPECT_NE(unknown.next(), data::kRecordNotAvailable);
}

// A file closed under a running stream ends it with an error, never a short list.
TEST_F(RecordStreamTest, AFileClosedUnderTheStreamIsAnError)
{
    fill(20);
    RecordStream<ScheduleRecord> s(db, ScheduleRecord::KeyDate, {"ID"});
    ASSERT_EQ(s.next(), data::kOk);
    db.close();
    EXPECT_EQ(s.next(), data::kFileNotOpen);
    EXPECT_EQ(s.next(), data::kFileNotOpen);
}

}  // namespace
}  // namespace hrln::test
