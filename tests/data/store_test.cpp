#include "data/schedule_store.h"
#include "store_fixture.h"

#include <sqlite3.h>

#include <limits>

namespace hrln::test {
namespace {

using namespace data;

TEST_F(StoreTest, KeysIgnoreCaseAndTrailingBlanksAndRefuseDuplicates)
{
    Table<CategoryRecord> cats(db);
    for (const char* name : {"beta", "Alpha  ", "GAMMA", "alpha2"}) {
        cats.rec.category = name;
        ASSERT_EQ(cats.add(), kOk) << name;
    }
    cats.rec.category = "ALPHA";
    EXPECT_TRUE(cats.duplicate(CategoryRecord::KeyCategory));
    EXPECT_EQ(cats.add(), kDuplicateKey);
    cats.rec.category = "Beta   ";
    EXPECT_EQ(cats.add(), kDuplicateKey);

    const auto names = walk<CategoryRecord>(CategoryRecord::KeyCategory, [](auto& r) { return r.category.str(); });
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "alpha2", "beta", "GAMMA"}));

    // Non-ASCII letters fold too.
    cats.rec.category = "Überstunden";
    ASSERT_EQ(cats.add(), kOk);
    cats.rec.category = "ÜBERSTUNDEN";
    EXPECT_EQ(cats.add(), kDuplicateKey);

    // Every script's letters, whatever the locale.
    for (const auto& [small, capital] : std::vector<std::pair<const char*, const char*>>{
             {"șantier", "ȘANTIER"}, {"ϊ", "Ϊ"}, {"ґанок", "ҐАНОК"}, {"ế", "Ế"}, {"աշխատանք", "ԱՇԽԱՏԱՆՔ"}}) {
        cats.rec.category = small;
        ASSERT_EQ(cats.add(), kOk) << small;
        cats.rec.category = capital;
        EXPECT_EQ(cats.add(), kDuplicateKey) << capital;
    }

    cats.clear();
    cats.rec.category = "gamma";
    ASSERT_EQ(cats.get(CategoryRecord::KeyCategory), kOk);
    EXPECT_EQ(cats.rec.category, "GAMMA");
    cats.rec.category = "delta";
    EXPECT_EQ(cats.get(CategoryRecord::KeyCategory), kRecordNotFound);
}

TEST_F(StoreTest, KeyOrderOfLatinLettersIsTheOrderOfTheirCapitals)
{
    Table<ContactCategoryRecord> cc(db);
    for (const char* name : {"ÿ", "émile", "Zebra", "ÉCOLE", "alpha", "Ärger", "öl", "ØRE"}) {
        cc.rec.contactCategory = name;
        ASSERT_EQ(cc.add(), kOk) << name;
    }
    const auto names = walk<ContactCategoryRecord>(ContactCategoryRecord::KeyContactCategories,
                                                   [](auto& r) { return r.contactCategory.str(); });
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Zebra", "Ärger", "ÉCOLE", "émile", "öl", "ØRE", "ÿ"}));
}

TEST_F(StoreTest, EmptyRecordsAreLeftOutOfKeysThatExcludeThem)
{
    Table<ScheduleRecord> s(db);
    s.rec = Task(1, MakeDate(1, 5, 2027), MakeTime(9, 0), "", "");
    ASSERT_EQ(s.add(), kOk);
    s.rec = Task(2, MakeDate(1, 4, 2027), MakeTime(9, 0), "Dentist", "Home");
    ASSERT_EQ(s.add(), kOk);

    const auto byCategory =
        walk<ScheduleRecord>(ScheduleRecord::KeyCategory, [](auto& r) { return std::to_string(r.id); });
    EXPECT_EQ(byCategory, std::vector<std::string>{"2"});
    const auto byDate = walk<ScheduleRecord>(ScheduleRecord::KeyDate, [](auto& r) { return std::to_string(r.id); });
    EXPECT_EQ(byDate, (std::vector<std::string>{"2", "1"}));
    // No advance warning set: every task is left out of KeyAdvanced.
    EXPECT_TRUE(walk<ScheduleRecord>(ScheduleRecord::KeyAdvanced, [](auto& r) { return r.description.str(); }).empty());

    // To-do keys keep empty items; a to-do with blank text still lists by text.
    Table<TodoRecord> todo(db);
    ASSERT_EQ(todo.add(), kOk);
    todo.rec.toDo = "Buy milk";
    todo.rec.category = "Home";
    ASSERT_EQ(todo.add(), kOk);
    EXPECT_EQ(walk<TodoRecord>(TodoRecord::KeyToDo, [](auto& r) { return r.toDo.str(); }),
              (std::vector<std::string>{"", "Buy milk"}));
    EXPECT_EQ(walk<TodoRecord>(TodoRecord::KeyDone, [](auto& r) { return r.toDo.str(); }).size(), 2u);
    EXPECT_EQ(walk<TodoRecord>(TodoRecord::KeyCategory, [](auto& r) { return r.toDo.str(); }),
              std::vector<std::string>{"Buy milk"});

    // KeyClipDate keeps an all-blank clipping; the unique hash key leaves blank ones out, so two may exist.
    Table<ClipboardRecord> clips(db);
    ASSERT_EQ(clips.add(), kOk);
    ASSERT_EQ(clips.add(), kOk);
    EXPECT_EQ(walk<ClipboardRecord>(ClipboardRecord::KeyClipDate, [](auto& r) { return r.user.str(); }).size(), 2u);
    EXPECT_TRUE(walk<ClipboardRecord>(ClipboardRecord::KeyClipHash, [](auto& r) { return r.user.str(); }).empty());
}

TEST_F(StoreTest, CursorWalksBothWaysAndPositionsAtBufferValues)
{
    Table<ScheduleRecord> s(db);
    const Date d = MakeDate(3, 1, 2027);
    // Enabled tasks, then disabled ones; equal moments keep the order they were added in.
    for (const auto& [id, disabled, date] : std::vector<std::tuple<int, int, Date>>{
             {1, 0, d + 2}, {2, 1, d - 100}, {3, 0, d}, {4, 1, d + 5}, {5, 0, d}, {6, 1, 0}}) {
        s.rec = Task(id, date, MakeTime(8, 0));
        s.rec.disabled = static_cast<Byte>(disabled);
        ASSERT_EQ(s.add(), kOk);
    }
    const auto ids = [](auto& r) { return std::to_string(r.id); };
    EXPECT_EQ(walk<ScheduleRecord>(ScheduleRecord::KeyDateEnabled, ids),
              (std::vector<std::string>{"3", "5", "1", "6", "2", "4"}));
    EXPECT_EQ(walk<ScheduleRecord>(ScheduleRecord::KeyDateEnabled, ids, true),
              (std::vector<std::string>{"4", "2", "6", "1", "5", "3"}));

    // The start of the disabled records.
    s.clear();
    s.rec.disabled = 1;
    ASSERT_EQ(s.setFrom(ScheduleRecord::KeyDateEnabled), kOk);
    ASSERT_EQ(s.next(), kOk);
    EXPECT_EQ(s.rec.id, 6);
    // previous() from values gives the last entry not above them.
    s.clear();
    s.rec.disabled = 0;
    s.rec.date = d + 1;
    s.setFrom(ScheduleRecord::KeyDateEnabled);
    ASSERT_EQ(s.previous(), kOk);
    EXPECT_EQ(s.rec.id, 5);
    ASSERT_EQ(s.previous(), kOk);
    EXPECT_EQ(s.rec.id, 3);
    EXPECT_EQ(s.previous(), kRecordNotAvailable);

    // Changing direction mid-walk, and deleting the current record, keep the place.
    s.set(ScheduleRecord::KeyDateEnabled);
    ASSERT_EQ(s.next(), kOk);
    ASSERT_EQ(s.next(), kOk);
    EXPECT_EQ(s.rec.id, 5);
    ASSERT_EQ(s.remove(), kOk);
    ASSERT_EQ(s.next(), kOk);
    EXPECT_EQ(s.rec.id, 1);
    ASSERT_EQ(s.previous(), kOk);
    EXPECT_EQ(s.rec.id, 3);
    EXPECT_EQ(s.remove(), kOk);
    EXPECT_EQ(s.remove(), kRecordNotAvailable);
}

TEST_F(StoreTest, RecordsAreReadAndWrittenWhole)
{
    Table<ScheduleRecord> s(db);
    s.rec = Task(7, MakeDate(5, 5, 2027), MakeTime(7, 30));
    s.rec.message = std::string(1200, 'm');
    s.rec.alarmFile = "/home/me/sounds/wake up.wav";
    s.rec.every = -3;
    s.rec.weekdayFlag(3) = 1;
    s.rec.exceptOther = "kept";
    s.rec.description = "Ünïcödé description that runs past the forty character width";
    ASSERT_EQ(s.add(), kOk);

    Table<ScheduleRecord> other(db);
    other.rec.id = 7;
    ASSERT_EQ(other.get(ScheduleRecord::KeyID), kOk);
    EXPECT_EQ(other.rec.message.str().size(), 1000u);
    EXPECT_EQ(other.rec.alarmFile, "/home/me/sounds/wake up.wav");
    EXPECT_EQ(other.rec.every, -3);
    EXPECT_EQ(other.rec.wednesday, 1);
    EXPECT_EQ(other.rec.exceptOther, "kept");
    EXPECT_EQ(text::CharCount(other.rec.description.str()), 40u);
    EXPECT_EQ(other.rec.description, s.rec.description);

    // A five-digit pause, past what a 16-bit field holds, comes back whole.
    Table<ScriptingRecord> item(db);
    item.rec.id = 7;
    item.rec.sequence = 1;
    item.rec.action = "Wait";
    item.rec.secondsToWait = 99999;
    ASSERT_EQ(item.add(), kOk);
    Table<ScriptingRecord> read(db);
    read.rec.id = 7;
    read.rec.sequence = 1;
    ASSERT_EQ(read.get(ScriptingRecord::KeyID), kOk);
    EXPECT_EQ(read.rec.secondsToWait, 99999);
}

TEST_F(StoreTest, AliasBuffersSeeEachOthersWrites)
{
    Table<ScheduleRecord> schedule(db);
    Table<ScheduleRecord> alias(db);
    schedule.rec = Task(1, MakeDate(1, 1, 2027), MakeTime(9, 0));
    ASSERT_EQ(schedule.add(), kOk);

    alias.rec.id = 1;
    ASSERT_EQ(alias.get(ScheduleRecord::KeyID), kOk);
    alias.rec.date += 1;
    ASSERT_EQ(alias.put(), kOk);

    schedule.rec.id = 1;
    ASSERT_EQ(schedule.get(ScheduleRecord::KeyID), kOk);
    EXPECT_EQ(schedule.rec.date, MakeDate(1, 2, 2027));
    schedule.rec.description = "edited in a window";
    ASSERT_EQ(schedule.put(), kOk);

    ASSERT_EQ(alias.get(ScheduleRecord::KeyID), kOk);
    EXPECT_EQ(alias.rec.description, "edited in a window");
}

TEST_F(StoreTest, AWriteOverAChangedRecordFailsAndChangesNothing)
{
    Table<ScheduleRecord> mine(db);
    mine.rec = Task(1, MakeDate(1, 1, 2027), MakeTime(9, 0), "original");
    ASSERT_EQ(mine.add(), kOk);
    ASSERT_EQ(mine.get(ScheduleRecord::KeyID), kOk);

    // Another station, with its own connection to the same file.
    Database station(db.path(), MainLayout());
    ASSERT_EQ(station.open(), kOk);
    Table<ScheduleRecord> theirs(station);
    theirs.rec.id = 1;
    ASSERT_EQ(theirs.get(ScheduleRecord::KeyID), kOk);
    theirs.rec.description = "theirs";
    ASSERT_EQ(theirs.put(), kOk);

    mine.rec.description = "mine";
    EXPECT_EQ(mine.put(), kRecordChanged);
    ASSERT_EQ(mine.get(ScheduleRecord::KeyID), kOk);
    EXPECT_EQ(mine.rec.description, "theirs");
    // Having re-read it, the write goes through.
    mine.rec.description = "mine";
    EXPECT_EQ(mine.put(), kOk);

    // A record deleted meanwhile is not available any more.
    ASSERT_EQ(theirs.get(ScheduleRecord::KeyID), kOk);
    ASSERT_EQ(theirs.remove(), kOk);
    EXPECT_EQ(mine.put(), kRecordNotAvailable);

    // A put that would clash with a unique key leaves the record as it was.
    Table<CategoryRecord> cats(db);
    cats.rec.category = "Home";
    ASSERT_EQ(cats.add(), kOk);
    cats.rec.category = "Work";
    ASSERT_EQ(cats.add(), kOk);
    cats.rec.category = "HOME";
    EXPECT_TRUE(cats.duplicate(CategoryRecord::KeyCategory));
    EXPECT_EQ(cats.put(), kDuplicateKey);
    cats.rec.category = "Work";
    ASSERT_EQ(cats.get(CategoryRecord::KeyCategory), kOk);
    EXPECT_FALSE(cats.duplicate(CategoryRecord::KeyCategory));  // its own entry is no clash
}

TEST_F(StoreTest, TaskNumbersAndHistoryEntries)
{
    EXPECT_EQ(NextTaskId(db), 1);
    Table<ScheduleRecord> s(db);
    s.rec = Task(0, MakeDate(1, 1, 2027), MakeTime(9, 0));
    ASSERT_EQ(AddTaskWithNewId(s, nullptr), kOk);
    EXPECT_EQ(s.rec.id, 1);
    s.rec.id = 41;
    ASSERT_EQ(s.add(), kOk);
    EXPECT_EQ(NextTaskId(db), 42);

    s.rec.disabled = 1;
    s.rec.completed = 1;
    ASSERT_EQ(AddHistoryEntry(s), kOk);
    EXPECT_EQ(s.rec.id, 42);

    // Another buffer holds the number the first would take: the add retries with the next.
    int asked = 0;
    Table<ScheduleRecord> a(db);
    a.rec = Task(0, MakeDate(1, 1, 2027), MakeTime(9, 0));
    EXPECT_EQ(AddTaskWithNewId(a, [&] { return ++asked < 2; }), kOk);
    EXPECT_EQ(a.rec.id, 43);
    EXPECT_EQ(asked, 0);
}

TEST_F(StoreTest, NumbersNeverWrapPastTheLargest)
{
    Table<ScheduleRecord> s(db);
    s.rec = Task(std::numeric_limits<Long>::max(), MakeDate(1, 1, 2027), MakeTime(9, 0));
    ASSERT_EQ(s.add(), kOk);
    EXPECT_EQ(NextTaskId(db), 0);

    Table<ScheduleRecord> a(db);
    a.rec = Task(0, MakeDate(1, 1, 2027), MakeTime(9, 0));
    EXPECT_EQ(AddTaskWithNewId(a, [] { return true; }), kNoNumberLeft);
    a.rec.disabled = 1;
    a.rec.completed = 1;
    EXPECT_EQ(AddHistoryEntry(a), kNoNumberLeft);
    EXPECT_EQ(a.count(), 1);
    EXPECT_FALSE(ErrorText(kNoNumberLeft).empty());
    EXPECT_NE(ErrorText(kNoNumberLeft), ErrorText(-1));

    Table<ContactRecord> c(db);
    c.rec.clientId = std::numeric_limits<Long>::max();
    c.rec.lastName = "Last";
    ASSERT_EQ(c.add(), kOk);
    EXPECT_EQ(NextClientId(db), 0);
}

TEST_F(StoreTest, DeletingATaskTakesItsScriptAndLinksAlong)
{
    Table<ScheduleRecord> s(db);
    Table<ScriptingRecord> items(db);
    Table<LinkRecord> links(db);
    for (Long id : {1, 2}) {
        s.rec = Task(id, MakeDate(1, 1, 2027), MakeTime(9, 0));
        ASSERT_EQ(s.add(), kOk);
        for (Long seq = 1; seq <= 3; ++seq) {
            items.rec.id = id;
            items.rec.sequence = seq;
            ASSERT_EQ(items.add(), kOk);
        }
        links.rec.id = id;
        links.rec.clientId = 10;
        ASSERT_EQ(links.add(), kOk);
    }
    s.rec.id = 1;
    ASSERT_EQ(s.get(ScheduleRecord::KeyID), kOk);
    ASSERT_EQ(DeleteTask(s), kOk);

    const auto itemIds = walk<ScriptingRecord>(ScriptingRecord::KeyID, [](auto& r) { return std::to_string(r.id); });
    EXPECT_EQ(itemIds, (std::vector<std::string>{"2", "2", "2"}));
    EXPECT_EQ(walk<LinkRecord>(LinkRecord::KeyClient, [](auto& r) { return std::to_string(r.id); }),
              std::vector<std::string>{"2"});
    EXPECT_EQ(walk<ScheduleRecord>(ScheduleRecord::KeyID, [](auto& r) { return std::to_string(r.id); }),
              std::vector<std::string>{"2"});
}

TEST_F(StoreTest, TransactionsAreAllOrNothingAndWaitForOtherWriters)
{
    Table<CategoryRecord> cats(db);
    ASSERT_EQ(db.begin(), kOk);
    cats.rec.category = "Temp";
    ASSERT_EQ(cats.add(), kOk);
    ASSERT_EQ(db.rollback(), kOk);
    EXPECT_EQ(cats.get(CategoryRecord::KeyCategory), kRecordNotFound);

    Database station(db.path(), MainLayout());
    ASSERT_EQ(station.open(), kOk);
    ASSERT_EQ(db.begin(), kOk);
    EXPECT_EQ(station.begin(std::chrono::milliseconds(50)), kIsLocked);
    ASSERT_EQ(db.commit(), kOk);
    EXPECT_EQ(station.begin(std::chrono::milliseconds(50)), kOk);
    EXPECT_EQ(station.commit(), kOk);
}

TEST_F(StoreTest, EveryKeyIsWalkedThroughItsIndexWithoutSorting)
{
    // Touch every statement of every key, then ask SQLite how it runs each one.
    int checked = 0;
    const auto explainAll = [&] {
        for (sqlite3_stmt* stmt = sqlite3_next_stmt(db.handle(), nullptr); stmt != nullptr;
             stmt = sqlite3_next_stmt(db.handle(), stmt)) {
            const std::string sql = sqlite3_sql(stmt);
            if (sql.rfind("SELECT", 0) != 0 || sql.find("INDEXED BY") == std::string::npos)
                continue;
            sqlite3_stmt* plan = nullptr;
            ASSERT_EQ(sqlite3_prepare_v2(db.handle(), ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &plan, nullptr),
                      SQLITE_OK);
            while (sqlite3_step(plan) == SQLITE_ROW) {
                const std::string detail = reinterpret_cast<const char*>(sqlite3_column_text(plan, 3));
                EXPECT_EQ(detail.find("TEMP B-TREE"), std::string::npos) << sql << "\n" << detail;
            }
            sqlite3_finalize(plan);
            ++checked;
        }
    };
    const auto exercise = [&](auto tag) {
        using R = typename decltype(tag)::type;
        Table<R> t(db);
        t.add();
        for (std::size_t k = 0; k < R::schema().keys().size(); ++k) {
            const int key = static_cast<int>(k);
            t.set(key);
            t.next();
            t.next();
            t.previous();
            t.set(key);
            t.previous();
            t.setFrom(key);
            t.next();
            t.setFrom(key);
            t.previous();
            t.get(key);
            t.duplicate(key);
        }
        explainAll();
    };
    exercise(std::type_identity<ScheduleRecord>{});
    exercise(std::type_identity<TodoRecord>{});
    exercise(std::type_identity<ContactRecord>{});
    exercise(std::type_identity<ClipboardRecord>{});
    exercise(std::type_identity<LinkRecord>{});
    EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace hrln::test

namespace hrln::test {
namespace {

TEST(TagFileTest, MarksAreOnePerUserTableAndRecord)
{
    TempDir dir;
    data::Database tags(dir.file(data::kTagFile), data::TagLayout());
    ASSERT_EQ(tags.create(), data::kOk);
    data::Table<data::TagRecord> t(tags);
    for (const auto& [ptr, val] : std::vector<std::pair<int, const char*>>{{30, "b"}, {10, "A"}, {20, "a"}}) {
        t.rec.usr = 1;
        t.rec.tbl = 2;
        t.rec.ptr = ptr;
        t.rec.val = val;
        ASSERT_EQ(t.add(), data::kOk);
    }
    t.rec.ptr = 10;
    EXPECT_EQ(t.add(), data::kDuplicateKey);
    t.rec.usr = 2;  // another user may mark the same record
    EXPECT_EQ(t.add(), data::kOk);

    std::vector<int> byValue;
    t.clear();
    t.rec.usr = 1;
    t.rec.tbl = 2;
    t.setFrom(data::TagRecord::ValKey);
    while (t.next() == data::kOk && t.rec.usr == 1)
        byValue.push_back(t.rec.ptr);
    EXPECT_EQ(byValue, (std::vector<int>{10, 20, 30}));  // "A" and "a" are equal; added order breaks the tie
}

}  // namespace
}  // namespace hrln::test
