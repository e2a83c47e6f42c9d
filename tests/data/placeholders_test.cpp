#include "data/placeholders.h"

#include "data/integrity.h"
#include "data/key_view.h"
#include "data/record_stream.h"
#include "data/schedule_store.h"
#include "data/stations.h"
#include "integrity_fixture.h"
#include "support/fake_station_probe.h"

#include <sqlite3.h>

#include <memory>
#include <set>

namespace hrln::test {
namespace {

using data::ContactRecord;
using data::ScheduleRecord;
using data::ScriptingRecord;

// A program on the same file: its own connection and station.
struct Program {
    Program(const std::string& path, std::int64_t pid, const std::set<std::int64_t>* dead)
        : db(path, data::MainLayout()), probe(pid, dead), stations(db, probe)
    {
    }
    data::Database db;
    FakeStationProbe probe;
    data::Stations stations;
};

class PlaceholdersTest : public IntegrityTest {
protected:
    std::unique_ptr<Program> start(std::int64_t pid)
    {
        auto program = std::make_unique<Program>(db.path(), pid, &dead);
        EXPECT_EQ(program->db.open(), data::kOk);
        EXPECT_NE(program->stations.keepAlive(kNow), 0);
        return program;
    }

    // A task added as a form adds it: a full buffer, stored as a placeholder
    // under a new number. Returns that number.
    static data::Long placeTask(data::Database& on, std::string_view description = "being added")
    {
        data::Table<ScheduleRecord> t(on);
        t.rec = Task(0, MakeDate(1, 1, 2027), MakeTime(8, 0), description, "Work");
        t.placeholderAdds(true);
        EXPECT_EQ(data::AddTaskWithNewId(t, nullptr), data::kOk);
        EXPECT_TRUE(t.isPlaceholder());
        return t.rec.id;
    }
    static void placeItem(data::Database& on, data::Long id, data::Long sequence)
    {
        data::Table<ScriptingRecord> t(on);
        t.rec.id = id;
        t.rec.sequence = sequence;
        t.rec.action = "Send Keystrokes";
        t.placeholderAdds(true);
        EXPECT_EQ(t.add(), data::kOk);
    }
    static data::Long placeContact(data::Database& on)
    {
        data::Table<ContactRecord> t(on);
        t.rec.lastName = "Being added";
        t.placeholderAdds(true);
        EXPECT_EQ(data::AddContactWithNewId(t, nullptr), data::kOk);
        return t.rec.clientId;
    }
    template <class R>
    bool stands(data::Long id, data::Long sequence = 0)
    {
        data::Table<R> t(db);
        if constexpr (std::is_same_v<R, ScheduleRecord>)
            t.rec.id = id;
        else if constexpr (std::is_same_v<R, ContactRecord>)
            t.rec.clientId = id;
        else {
            t.rec.id = id;
            t.rec.sequence = sequence;
        }
        return t.get(0) == data::kOk;
    }

    // Every record every key of R lists, by walking it and through a view.
    template <class R>
    std::int64_t listed()
    {
        std::int64_t most = 0;
        for (int k = 0; k < static_cast<int>(R::schema().keys().size()); ++k) {
            data::Table<R> t(db);
            t.set(k);
            std::int64_t walked = 0;
            while (t.next() == data::kOk) {
                EXPECT_FALSE(t.isPlaceholder()) << R::schema().key(k).name;
                ++walked;
            }
            data::KeyView view(db, R::schema(), k);
            EXPECT_EQ(view.count(), walked) << R::schema().key(k).name;
            EXPECT_EQ(static_cast<std::int64_t>(view.at(0, 100).size()), walked);
            data::RecordStream<R> stream(db, k, {});
            std::int64_t streamed = 0;
            while (stream.next() == data::kOk)
                ++streamed;
            EXPECT_EQ(streamed, walked) << R::schema().key(k).name;
            most = std::max(most, walked);
        }
        data::RecordStream<R> all(db, data::RecordStream<R>::kFileOrder, {});
        std::int64_t inFile = 0;
        while (all.next() == data::kOk)
            ++inFile;
        EXPECT_EQ(inFile, most);
        return most;
    }

    static constexpr std::int64_t kNow = 1'000'000;
    std::set<std::int64_t> dead;
};

TEST_F(PlaceholdersTest, APlaceholderHoldsItsNumberButNoListShowsItUntilItIsWritten)
{
    addTask(1, "Work", 2);
    addTask(2);
    addContact(5);
    const auto other = start(10);
    const data::Long id = placeTask(other->db);
    EXPECT_EQ(id, 3);
    placeItem(other->db, 1, 3);
    const data::Long clientId = placeContact(other->db);

    // Found by its number, as the form and its script need it...
    EXPECT_TRUE(stands<ScheduleRecord>(id));
    EXPECT_TRUE(stands<ScriptingRecord>(1, 3));
    EXPECT_TRUE(stands<ContactRecord>(clientId));
    // ...taken for the next number...
    EXPECT_EQ(data::NextTaskId(db), id + 1);
    EXPECT_EQ(data::NextClientId(db), clientId + 1);
    // ...and listed by no key, for no window and no other station: the
    // scheduler's own walk of the enabled tasks included.
    EXPECT_EQ(listed<ScheduleRecord>(), 2);
    EXPECT_EQ(listed<ScriptingRecord>(), 2);
    EXPECT_EQ(listed<ContactRecord>(), 1);
    EXPECT_EQ(items(), (std::vector<std::string>{"1.1", "1.2"}));

    // The form's OK writes the whole record over it: then it is a task like any other.
    data::Table<ScheduleRecord> form(other->db);
    form.rec.id = id;
    ASSERT_EQ(form.get(ScheduleRecord::KeyID), data::kOk);
    EXPECT_TRUE(form.isPlaceholder());
    EXPECT_EQ(form.rec.description, "");  // only its number was stored
    form.rec = Task(id, MakeDate(1, 1, 2027), MakeTime(8, 0), "added", "Work");
    ASSERT_EQ(form.put(), data::kOk);
    EXPECT_FALSE(form.isPlaceholder());
    EXPECT_EQ(listed<ScheduleRecord>(), 3);
    EXPECT_EQ(taskIds(), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(PlaceholdersTest, TheSweepRemovesOnlyThePlaceholdersOfStationsThatDied)
{
    addTask(1, "Work", 1);
    const auto killed = start(20);
    const auto running = start(21);
    data::Database unnumbered(db.path(), data::MainLayout());  // a program without a station number
    ASSERT_EQ(unnumbered.open(), data::kOk);

    const data::Long lost = placeTask(killed->db);
    {
        // Its form had written a script and a link for it already.
        ScriptingRecord item;
        item.id = lost;
        item.sequence = 1;
        item.action = "Wait";
        add(item);
        addContact(9);
        addLink(lost, 9);
    }
    placeItem(killed->db, 1, 2);
    const data::Long lostContact = placeContact(killed->db);
    const data::Long kept = placeTask(running->db);
    const data::Long ownerless = placeTask(unnumbered);
    dead.insert(20);

    // The next start.
    const auto restarted = start(22);
    const data::Long own = placeTask(restarted->db);
    ASSERT_EQ(data::RemoveOrphanPlaceholders(restarted->db, restarted->stations, kNow), data::kOk);
    EXPECT_FALSE(stands<ScheduleRecord>(lost));
    EXPECT_TRUE(scriptItems(lost).empty());
    EXPECT_EQ(links(), std::vector<std::string>{});
    EXPECT_FALSE(stands<ScriptingRecord>(1, 2));
    EXPECT_TRUE(stands<ScriptingRecord>(1, 1));
    EXPECT_FALSE(stands<ContactRecord>(lostContact));
    EXPECT_TRUE(stands<ContactRecord>(9));
    EXPECT_TRUE(stands<ScheduleRecord>(kept));
    EXPECT_TRUE(stands<ScheduleRecord>(own));
    EXPECT_TRUE(stands<ScheduleRecord>(ownerless));  // nobody can tell whether it is in use
    EXPECT_EQ(taskIds(), std::vector<std::string>{"1"});

    // Once saved by its form, a placeholder is a task the sweep leaves alone.
    data::Table<ScheduleRecord> form(running->db);
    form.rec.id = kept;
    ASSERT_EQ(form.get(ScheduleRecord::KeyID), data::kOk);
    form.rec = Task(kept, MakeDate(1, 1, 2027), MakeTime(8, 0), "saved", "Work");
    ASSERT_EQ(form.put(), data::kOk);
    dead.insert(21);
    ASSERT_EQ(data::RemoveOrphanPlaceholders(restarted->db, restarted->stations, kNow), data::kOk);
    EXPECT_TRUE(stands<ScheduleRecord>(kept));
}

// The sweep at every start reads the placeholders alone, through keys of
// their own, not every record of a table of a hundred thousand tasks.
TEST_F(PlaceholdersTest, TheSweepFindsThePlaceholdersWithoutReadingTheTables)
{
    for (const data::TableSchema* schema : {&ScheduleRecord::schema(), &ContactRecord::schema(), &ScriptingRecord::schema()}) {
        const std::string table = schema->sqlName();
        sqlite3_stmt* plan = nullptr;
        const std::string sql =
            "EXPLAIN QUERY PLAN SELECT rowid, _claim FROM \"" + table + "\" WHERE _claim < 0";
        ASSERT_EQ(sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &plan, nullptr), SQLITE_OK) << table;
        std::string steps;
        while (sqlite3_step(plan) == SQLITE_ROW)
            steps += reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)) + std::string("\n");
        sqlite3_finalize(plan);
        EXPECT_NE(steps.find(std::string("USING COVERING INDEX _") + table + "_Placeholders"), std::string::npos)
            << table << ": " << steps;
    }
}

}  // namespace
}  // namespace hrln::test
