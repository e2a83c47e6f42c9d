#include "common/date_time.h"
#include "common/text.h"
#include "exchange/record_adder.h"
#include "exchange_fixture.h"

#include <sqlite3.h>

#include <limits>
#include <string>

namespace hrln::test {
namespace {

using exchange::ExchangeTable;
using exchange::FieldLayout;

FieldLayout TaskLayout()
{
    FieldLayout layout;
    layout.fields = {exchange::DefaultField({"Description", exchange::FieldKind::Text}),
                     exchange::DefaultField({"Category", exchange::FieldKind::Text}),
                     exchange::DefaultField({"Date", exchange::FieldKind::Date}),
                     exchange::DefaultField({"Time", exchange::FieldKind::Time})};
    return layout;
}

std::string IntegrityOf(data::Database& db)
{
    sqlite3_stmt* stmt = nullptr;
    std::string out;
    sqlite3_prepare_v2(db.handle(), "PRAGMA integrity_check", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        out += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    return out;
}

// Enough lines for the keys to be built afresh, in no key's order, with
// categories in several spellings.
std::string ManyTasks(int count)
{
    std::string lines = "Description,Category,Date,Time\r\n";
    const char* categories[] = {"work", "Home", "WORK", "Errands", "home"};
    for (int i = 0; i < count; ++i) {
        const int scrambled = (i * 7919) % count;
        lines += "Task " + std::to_string(scrambled) + "," + categories[i % 5] + ",2027-0" +
                 std::to_string(1 + scrambled % 9) + "-1" + std::to_string(scrambled % 10) + "," +
                 std::to_string(10 + i % 12) + ":" + std::to_string(10 + i % 50) + "\r\n";
    }
    return lines;
}

class RecordAdderTest : public ExchangeTest {
protected:
    // Reads the schedule along `key` and checks that each entry follows the last.
    void expectInOrder(int key, std::size_t expected)
    {
        const auto tasks = records<data::ScheduleRecord>(into, key);
        ASSERT_EQ(tasks.size(), expected) << "key " << key;
        for (std::size_t i = 1; i < tasks.size(); ++i) {
            const data::ScheduleRecord& a = tasks[i - 1];
            const data::ScheduleRecord& b = tasks[i];
            int order = 0;
            if (key == data::ScheduleRecord::KeyCategory) {
                order = text::CompareNoCase(a.category.view(), b.category.view());
                if (order == 0)
                    order = text::CompareNoCase(a.description.view(), b.description.view());
            } else if (key == data::ScheduleRecord::KeyDate) {
                order = a.date != b.date ? (a.date < b.date ? -1 : 1) : (a.time < b.time ? -1 : a.time > b.time);
            } else {
                order = a.id < b.id ? -1 : 1;
            }
            ASSERT_LE(order, 0) << "key " << key << " at " << i;
        }
    }

    void importMany(int count)
    {
        const std::string file = dir.file("many.csv");
        WriteFile(file, ManyTasks(count));
        exchange::ImportJob job(into, ExchangeTable::Schedule, TaskLayout(), file, prompter);
        run(job, 500);
        EXPECT_EQ(job.summary().added, count) << exchange::SummaryText(job.summary());
        EXPECT_TRUE(job.summary().failure.empty()) << job.summary().failure;
    }
};

TEST_F(RecordAdderTest, AManyLineImportBuildsTheKeysAfreshAndTheyHoldEveryTaskInOrder)
{
    data::CategoryRecord work;
    work.category = "Work";
    store(into, work);
    data::ScheduleRecord before;
    before.id = 40;
    before.description = "Stored before";
    before.category = "Work";
    before.date = 80'000;
    store(into, before);

    constexpr int kLines = 6000;
    importMany(kLines);
    for (const int key : {data::ScheduleRecord::KeyID, data::ScheduleRecord::KeyDate, data::ScheduleRecord::KeyCategory})
        expectInOrder(key, kLines + 1);
    // Numbered after the task stored, in the order of the file; each category
    // in the spelling stored, a new one in the first spelling met.
    const auto tasks = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    EXPECT_EQ(tasks[1].id, 41);
    EXPECT_EQ(tasks[1].description, "Task 0");
    EXPECT_EQ(tasks[2].description, "Task 1919");
    EXPECT_EQ(tasks.back().id, 40 + kLines);
    for (const auto& t : tasks)
        ASSERT_TRUE(t.category == "Work" || t.category == "Home" || t.category == "Errands") << t.category.str();
    EXPECT_EQ(records<data::CategoryRecord>(into, 0).size(), 3u);

    EXPECT_EQ(IntegrityOf(into), "ok");
    // The keys built again are the keys the file is checked against when opened.
    into.close();
    EXPECT_EQ(into.open(), data::kOk);
}

TEST_F(RecordAdderTest, AReaderStillOpenOnTheConnectionKeepsTheKeysAndTheImportStillAddsAll)
{
    data::TodoRecord item;
    item.toDo = "first";
    store(into, item);
    item.toDo = "second";
    store(into, item);
    // A list half read, as an export in progress holds it; it reads on after.
    sqlite3_stmt* reading = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(into.handle(), ("SELECT rowid FROM \"" + data::TodoRecord::schema().sqlName() + "\"").c_str(),
                                 -1, &reading, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);

    constexpr int kLines = 6000;
    importMany(kLines);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
    sqlite3_finalize(reading);
    expectInOrder(data::ScheduleRecord::KeyCategory, kLines);
    EXPECT_EQ(IntegrityOf(into), "ok");
}

TEST_F(RecordAdderTest, RecordsThatCannotAllBeNumberedStayKeptAndAddNothingUntilTheyCan)
{
    data::ScheduleRecord last;
    last.id = std::numeric_limits<data::Long>::max() - 1;
    last.description = "Highest";
    store(into, last);

    exchange::RecordAdder<data::ScheduleRecord> adder(into);
    for (const char* name : {"One", "Two", "Three"}) {
        adder.fresh().description = name;
        adder.rec().category = "Brand New";
        adder.rec().date = 80'000;
        adder.rec().time = MakeTime(9, 0);
        ASSERT_EQ(adder.add(), "");
    }
    EXPECT_EQ(adder.store(), data::kNoNumberLeft);
    EXPECT_EQ(adder.stored(), 0);
    EXPECT_EQ(records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID).size(), 1u);
    EXPECT_EQ(records<data::CategoryRecord>(into, 0).size(), 0u) << "the category went with the records";
    EXPECT_FALSE(into.inTransaction());

    data::Table<data::ScheduleRecord> highest(into);
    highest.rec.id = last.id;
    ASSERT_EQ(highest.get(data::ScheduleRecord::KeyID), data::kOk);
    ASSERT_EQ(highest.remove(), data::kOk);
    EXPECT_EQ(adder.store(), data::kOk);
    EXPECT_EQ(adder.stored(), 3);
    const auto tasks = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(tasks.size(), 3u);
    EXPECT_EQ(tasks[0].id, 1);
    EXPECT_EQ(tasks[2].description, "Three");
    EXPECT_EQ(records<data::CategoryRecord>(into, 0).size(), 1u);
}

TEST_F(RecordAdderTest, TheCallersConnectionReopenedMidImportLosesNothing)
{
    // The records read are kept on the import's own connection, which the
    // caller's closing does not touch.
    FieldLayout layout;
    const std::string file = tenToDoItems(layout);
    exchange::ImportJob job(into, ExchangeTable::Todo, layout, file, prompter);
    BatchRun r(job, 4);
    ASSERT_TRUE(r.start());
    r.tick();
    into.close();
    ASSERT_EQ(into.open(), data::kOk);
    while (r.running())
        r.tick();
    EXPECT_EQ(job.summary().added, 10) << exchange::SummaryText(job.summary());
    EXPECT_TRUE(job.summary().failure.empty()) << job.summary().failure;
    EXPECT_EQ(records<data::TodoRecord>(into, data::TodoRecord::KeyToDo).size(), 10u);
}

}  // namespace
}  // namespace hrln::test
