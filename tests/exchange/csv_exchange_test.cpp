#include "exchange_fixture.h"

#include "common/text.h"
#include "pim/record_form.h"

#include <algorithm>

namespace hrln::test {
namespace {

using exchange::DefaultLayout;
using exchange::ExchangeTable;
using exchange::FieldLayout;

data::ScheduleRecord FullTask(std::string_view description)
{
    data::ScheduleRecord t;
    t.user = "ann";
    t.taskType = "Both";
    t.category = "Work";
    t.description = description;
    t.command = "xterm -e \"top, then quit\"";
    t.path = "/tmp";
    t.scheduleType = "Day of Month";
    t.monday = t.friday = 1;
    t.every2nd = t.everyLast = 1;
    t.every = 3;
    t.everyType = "day(s)";
    t.date = MakeDate(12, 9, 2026);
    t.time = MakeTime(9, 30, 15, 42);  // hundredths survive the t7 picture
    t.lastRunDate = MakeDate(11, 27, 2026);
    t.lastRunTime = MakeTime(23, 59, 59, 99);
    t.skipNextTime = 1;
    t.alarm = 1;
    t.alarmFile = "/usr/share/sounds/ding.wav";
    t.advanceWarnDate = MakeDate(12, 8, 2026);
    t.advanceWarnTime = MakeTime(8, 0);
    t.warn = t.userSkip = t.noHistory = 1;
    t.shiftType = "Night shift";
    t.exceptWeekends = t.exceptHolidays = 1;
    t.message = "Line one,\r\nline \"two\"\r\nÜmlaut ✓";
    return t;
}

TEST_F(ExchangeTest, EveryTableComesBackEqualThroughItsFile)
{
    for (int i = 1; i <= 7; ++i) {
        data::ScheduleRecord t = FullTask("task " + std::to_string(i));
        t.id = i;
        if (i == 4) {  // a history entry goes and comes back as one
            t.disabled = t.completed = 1;
        }
        store(from, t);
    }
    store(from, data::CategoryRecord{FixedText<20>("Work")});

    data::ContactRecord c;
    c.clientId = 1;
    c.lastName = "O'Brien, Jr.";
    c.firstName = "Séan";
    c.addressLine1 = "1 \"Main\" St";
    c.postalCode = "D02";
    c.email = "sean@example.org";
    c.contactCategory = "Friends";
    c.notes = "two\nlines";
    store(from, c);
    c.clientId = 2;
    c.lastName = "Zhang";
    store(from, c);
    store(from, data::ContactCategoryRecord{FixedText<20>("Friends")});

    data::TodoRecord todo;
    todo.priority = 3;
    todo.toDo = "Buy milk";
    todo.category = "Work";
    todo.completionDate = MakeDate(1, 1, 1801);
    todo.completionTime = MakeTime(0, 0);
    todo.notes = "1,2,3";
    store(from, todo);
    todo = {};
    todo.done = 1;  // a blank item is still listed, and still exchanged
    todo.priority = 5;  // the form gives every item a priority and a category
    todo.category = "Work";
    store(from, todo);

    const auto roundTrip = [&](ExchangeTable table, auto key, auto type) {
        using R = decltype(type);
        const std::string file = dir.file(std::string(exchange::TableTitle(table)) + ".csv");
        exchange::ExportJob out(from, table, DefaultLayout(table), file, prompter);
        EXPECT_EQ(run(out), BatchRun::State::Completed);
        EXPECT_TRUE(out.ok());
        const exchange::ImportSummary summary = import(table, DefaultLayout(table), file, into);
        EXPECT_TRUE(summary.rejected.empty()) << exchange::SummaryText(summary);
        const std::vector<R> a = records<R>(from, key), b = records<R>(into, key);
        EXPECT_EQ(summary.added, static_cast<int>(a.size()));
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i)
            EXPECT_TRUE(pim::SameRecord(a[i], b[i])) << exchange::TableTitle(table) << " record " << i;
        const std::string bytes = ReadFile(file);
        // Every line ends in CR LF, the header first.
        EXPECT_TRUE(bytes.starts_with("\"" + exchange::DefaultLayout(table).fields.front().name + "\","));
        EXPECT_EQ(bytes.find("\n"), bytes.find("\r\n") + 1);
    };
    roundTrip(ExchangeTable::Schedule, data::ScheduleRecord::KeyID, data::ScheduleRecord{});
    roundTrip(ExchangeTable::Contacts, data::ContactRecord::KeyClientID, data::ContactRecord{});
    roundTrip(ExchangeTable::Todo, data::TodoRecord::KeyToDo, data::TodoRecord{});
    EXPECT_TRUE(prompter.shown.empty());

    // The categories named by the records arrived with them.
    EXPECT_EQ(records<data::CategoryRecord>(into, 0).size(), 1u);
    EXPECT_EQ(records<data::ContactCategoryRecord>(into, 0).size(), 1u);
}

TEST_F(ExchangeTest, AnExportWithoutFieldsIsRefusedAndWritesNothing)
{
    const std::string file = dir.file("none.csv");
    exchange::ExportJob job(from, ExchangeTable::Todo, FieldLayout{}, file, prompter);
    EXPECT_EQ(run(job), BatchRun::State::Refused);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "No Fields Selected for Export!");
    EXPECT_FALSE(std::filesystem::exists(file));

    FieldLayout wrong;
    wrong.fields.push_back({"ShiftType", "Shift", "", exchange::FieldType::Text});
    exchange::ExportJob contacts(from, ExchangeTable::Contacts, wrong, file, prompter);
    EXPECT_EQ(run(contacts), BatchRun::State::Refused);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ExchangeTest, BadLinesAreSkippedWithTheirNumbersAndKeptBesideTheFile)
{
    data::ScheduleRecord kept = FullTask("already there");
    kept.id = 1;
    store(into, kept);

    FieldLayout layout;
    layout.fields = {{"Description", "What", "", exchange::FieldType::Text},
                     {"Date", "When", "d17", exchange::FieldType::Text},
                     {"Time", "At", "T3", exchange::FieldType::Text},
                     {"Every", "Every", "", exchange::FieldType::Number},
                     {"TaskType", "Type", "", exchange::FieldType::Text}};
    const std::string header = "\"What\",\"When\",\"At\",\"Every\",\"Type\"\r\n";
    const std::string bad2 = "\"no date\",\"2026-02-30\",\"9:00 AM\",1\r\n";
    const std::string bad3 = "\"no number\",\"2026-12-09\",\"9:00 AM\",x1\r\n";
    const std::string bad5 = "\"too many\",\"2026-12-09\",\"9:00 AM\",1,\"Both\",6\r\n";
    const std::string bad6 = "\"not utf-8 \xff\",\"2026-12-09\",\"9:00 AM\",1\r\n";
    const std::string bad7 = "\"unknown type\",\"2026-12-09\",\"9:00 AM\",1,\"Dance\"\r\n";
    const std::string bad8 = "\"out of range\",\"2026-12-09\",\"9:00 AM\",99999999999\r\n";
    const std::string bad10 = "\"open quote,\"2026-12-09\",\"9:00 AM\",1\r\n";
    const std::string file = dir.file("tasks.csv");
    WriteFile(file, header + bad2 + bad3 + "\"spans\r\nlines\",\"2026-12-09\",\"9:00 PM\",2\r\n" + bad5 + bad6 + bad7 +
                        bad8 + "\"good\",\"2026-12-10\",\"7:15 am\",1,\"Display Message\"\r\n\r\n" + bad10 + "\"last\",\"Dec 9, 2026\"\r\n\"really last\",,\"12:05 AM\"");

    const exchange::ImportSummary summary = import(ExchangeTable::Schedule, layout, file, into);
    EXPECT_EQ(summary.added, 2);
    std::vector<std::uint64_t> lines;
    for (const auto& r : summary.rejected)
        lines.push_back(r.line);
    EXPECT_EQ(lines, (std::vector<std::uint64_t>{2, 3, 6, 7, 8, 9, 12, 13, 14}));
    ASSERT_EQ(summary.rejected.size(), 9u);
    EXPECT_NE(summary.rejected[0].reason.find("no date"), std::string::npos) << summary.rejected[0].reason;
    EXPECT_NE(summary.rejected[1].reason.find("no number"), std::string::npos);
    EXPECT_NE(summary.rejected[2].reason.find("6 fields"), std::string::npos);
    EXPECT_NE(summary.rejected[3].reason.find("UTF-8"), std::string::npos);
    EXPECT_EQ(summary.rejected[4].reason, "Task Type cannot be blank.");
    EXPECT_NE(summary.rejected[5].reason.find("out of range"), std::string::npos);
    EXPECT_EQ(summary.rejected[6].reason, "a quote is left open");
    // "Dec 9, 2026" is no date in d17; a task without a date is refused by the form's checks.
    EXPECT_NE(summary.rejected[7].reason.find("no date"), std::string::npos);
    EXPECT_NE(summary.rejected[8].reason.find("Next Date to Perform Task must be between January 1, 1801"), std::string::npos);

    EXPECT_EQ(summary.rejectedPath, dir.file("tasks.rejected.csv"));
    EXPECT_EQ(ReadFile(summary.rejectedPath),
              header + bad2 + bad3 + bad5 + bad6 + bad7 + bad8 + bad10 + "\"last\",\"Dec 9, 2026\"\r\n" +
                  "\"really last\",,\"12:05 AM\"\r\n");
    const std::string text = exchange::SummaryText(summary);
    EXPECT_NE(text.find("2 records added, 9 skipped."), std::string::npos) << text;
    EXPECT_NE(text.find("Line 6: "), std::string::npos);
    EXPECT_NE(text.find(summary.rejectedPath), std::string::npos);

    // What was there stays as it was; the good lines got the next numbers.
    const auto tasks = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(tasks.size(), 3u);
    EXPECT_TRUE(pim::SameRecord(tasks[0], kept));
    EXPECT_EQ(tasks[1].id, 2);
    EXPECT_EQ(tasks[1].description, "spans\r\nlines");
    EXPECT_EQ(tasks[1].time, MakeTime(21, 0));
    EXPECT_EQ(tasks[1].every, 2);
    EXPECT_EQ(tasks[1].taskType, "Display Message");  // the form's start where the file says nothing
    EXPECT_EQ(tasks[1].category, "General");
    EXPECT_EQ(tasks[2].id, 3);
    EXPECT_EQ(tasks[2].description, "good");
    EXPECT_EQ(tasks[2].time, MakeTime(7, 15));

    // A clean second run leaves no rejected file of the first behind.
    WriteFile(file, header + "\"fine\",\"2026-12-09\",\"9:00 AM\",1\r\n");
    const exchange::ImportSummary clean = import(ExchangeTable::Schedule, layout, file, into);
    EXPECT_EQ(clean.added, 1);
    EXPECT_TRUE(clean.rejectedPath.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("tasks.rejected.csv")));
}

TEST_F(ExchangeTest, ImportedRecordsNameCategoriesAsStoredAndAddTheMissingOnes)
{
    store(into, data::CategoryRecord{FixedText<20>("Work")});
    store(into, data::ContactCategoryRecord{FixedText<20>("Family")});
    const std::string tasks = dir.file("t.csv");
    WriteFile(tasks, "Description,Category,Date,Time\r\nA,WORK,2026-12-09,09:00\r\nB,Home,2026-12-09,10:00\r\n");
    FieldLayout layout;
    layout.fields = {exchange::DefaultField({"Description", exchange::FieldKind::Text}),
                     exchange::DefaultField({"Category", exchange::FieldKind::Text}),
                     exchange::DefaultField({"Date", exchange::FieldKind::Date}),
                     exchange::DefaultField({"Time", exchange::FieldKind::Time})};
    EXPECT_EQ(import(ExchangeTable::Schedule, layout, tasks, into).added, 2);
    const auto stored = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].category, "Work");
    const auto categories = records<data::CategoryRecord>(into, 0);
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[0].category, "Home");

    const std::string contacts = dir.file("c.csv");
    WriteFile(contacts, "LastName,ContactCategory\r\nDoe,family\r\nRoe,Club\r\n");
    FieldLayout people;
    people.fields = {{"LastName", "LastName", "", exchange::FieldType::Text},
                     {"ContactCategory", "ContactCategory", "", exchange::FieldType::Text}};
    EXPECT_EQ(import(ExchangeTable::Contacts, people, contacts, into).added, 2);
    const auto added = records<data::ContactRecord>(into, data::ContactRecord::KeyClientID);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0].clientId, 1);
    EXPECT_EQ(added[1].clientId, 2);
    EXPECT_EQ(added[0].contactCategory, "Family");
    EXPECT_EQ(records<data::ContactCategoryRecord>(into, 0).size(), 2u);
}

TEST_F(ExchangeTest, ARefusedRecordAddsNoCategoryAndNumbersFollowWhatOthersAddedMeanwhile)
{
    // Line 3 brings the new category "Fresh" but is refused (no such time), so
    // it adds no category; line 4 adds it in its own spelling.
    const std::string tasks = dir.file("t.csv");
    WriteFile(tasks, "Description,Category,Date,Time\r\n"
                     "A,Work,2026-12-09,09:00\r\nB,Fresh,2026-12-09,25:00\r\nC,FRESH,2026-12-09,10:00\r\n"
                     "D,Work,2026-12-09,11:00\r\nE,Work,2026-12-09,12:00\r\nF,fresh,2026-12-09,13:00\r\n");
    FieldLayout layout;
    layout.fields = {exchange::DefaultField({"Description", exchange::FieldKind::Text}),
                     exchange::DefaultField({"Category", exchange::FieldKind::Text}),
                     exchange::DefaultField({"Date", exchange::FieldKind::Date}),
                     exchange::DefaultField({"Time", exchange::FieldKind::Time})};
    exchange::ImportJob job(into, ExchangeTable::Schedule, layout, tasks, prompter);
    BatchRun r(job, 3);
    ASSERT_TRUE(r.start());
    r.tick();
    // Between two batches another window adds a task: the records read are
    // numbered as they go in, after it, never on top of it.
    data::ScheduleRecord other;
    other.id = 3;
    other.description = "from elsewhere";
    store(into, other);
    while (r.running())
        r.tick();
    EXPECT_EQ(job.summary().added, 5) << exchange::SummaryText(job.summary());
    const auto stored = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(stored.size(), 6u);
    std::vector<std::string> order;
    for (const auto& t : stored)
        order.push_back(std::to_string(t.id) + t.description.str() + ":" + t.category.str());
    EXPECT_EQ(order, (std::vector<std::string>{"3from elsewhere:", "4A:Work", "5C:FRESH", "6D:Work", "7E:Work",
                                               "8F:FRESH"}));
    EXPECT_EQ(records<data::CategoryRecord>(into, 0).size(), 2u);
}

TEST_F(ExchangeTest, ASpreadsheetFileImportsByItsHeaderNames)
{
    // As a spreadsheet writes it: a byte order mark, bare texts, quotes only
    // where needed, columns in its own order and one the layout does not know.
    const std::string file = dir.file("sheet.csv");
    WriteFile(file, "\xEF\xBB\xBFPriority,Note,ToDo,Done\r\n2,ignored,\"Call Bob, then Ann\",1\r\n10,,Plain,0\r\n");
    FieldLayout layout;
    layout.fields = {{"ToDo", "ToDo", "", exchange::FieldType::Text},
                     {"Priority", "Priority", "", exchange::FieldType::Number},
                     {"Done", "Done", "", exchange::FieldType::Number}};
    const exchange::ImportSummary summary = import(ExchangeTable::Todo, layout, file, into);
    EXPECT_EQ(summary.added, 2) << exchange::SummaryText(summary);
    const auto items = records<data::TodoRecord>(into, data::TodoRecord::KeyToDo);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].toDo, "Call Bob, then Ann");
    EXPECT_EQ(items[0].priority, 2);
    EXPECT_EQ(items[0].done, 1);
    EXPECT_EQ(items[1].priority, 10);

    // A header that names none of the chosen fields is refused before anything is read.
    WriteFile(file, "A,B\r\n1,2\r\n");
    exchange::ImportJob job(into, ExchangeTable::Todo, layout, file, prompter);
    EXPECT_EQ(run(job), BatchRun::State::Refused);
    EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(ExchangeTest, AMegabyteFieldAndMixedLineEndingsAreReadLineByLine)
{
    // Lines ended by CR LF, LF or CR alone, and a field of a megabyte with
    // commas, quotes and line breaks inside: each line one record, the long
    // text cut to its field's width, never carried into the next line.
    std::string huge = "Start, \"\"quoted\"\"\r\nnext line ";  // quotes doubled, as in any quoted field
    huge.resize(1 << 20, 'x');
    const std::string file = dir.file("mixed.csv");
    WriteFile(file, "\xEF\xBB\xBFToDo,Priority\n\"first\",1\r\n\"" + huge + "\",2\n\"third\",3\r\"joined\",4\r\n" +
                        "\"fifth\",5");
    FieldLayout layout;
    layout.fields = {{"ToDo", "ToDo", "", exchange::FieldType::Text},
                     {"Priority", "Priority", "", exchange::FieldType::Number}};
    const exchange::ImportSummary summary = import(ExchangeTable::Todo, layout, file, into);
    EXPECT_EQ(summary.added, 5) << exchange::SummaryText(summary);
    EXPECT_TRUE(summary.rejected.empty()) << exchange::SummaryText(summary);
    const auto items = records<data::TodoRecord>(into, data::TodoRecord::KeyPriority);
    ASSERT_EQ(items.size(), 5u);
    std::vector<int> priorities;
    for (const auto& item : items) {
        priorities.push_back(item.priority);
        if (item.priority == 2) {
            EXPECT_EQ(text::CharCount(item.toDo.view()), static_cast<std::size_t>(decltype(item.toDo)::kWidth));
            EXPECT_EQ(item.toDo.view().substr(0, 17), "Start, \"quoted\"\r\n");
        }
    }
    std::sort(priorities.begin(), priorities.end());
    EXPECT_EQ(priorities, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(ExchangeTest, OldMacLineEndsSemicolonsAndHeaderSlipsAreReadOrSaid)
{
    FieldLayout layout;
    layout.fields = {{"ToDo", "ToDo", "", exchange::FieldType::Text},
                     {"Priority", "Priority", "", exchange::FieldType::Number}};
    const auto toDos = [&] {
        std::vector<std::string> out;
        for (const auto& item : records<data::TodoRecord>(into, data::TodoRecord::KeyToDo))
            out.push_back(item.toDo.str() + "/" + std::to_string(item.priority));
        return out;
    };

    // CR alone after every line, a line break kept inside a quoted field.
    const std::string file = dir.file("mac.csv");
    WriteFile(file, "ToDo,Priority\r\"Two\rlines\",2\rOne,1\r");
    exchange::ImportSummary summary = import(ExchangeTable::Todo, layout, file, into);
    EXPECT_EQ(summary.added, 2) << exchange::SummaryText(summary);
    EXPECT_EQ(toDos(), (std::vector<std::string>{"One/1", "Two\rlines/2"}));

    // Semicolons, as spreadsheets write in many locales; a semicolon inside quotes stays text.
    // A misspelt name and a name given twice are said, and the first column of a name counts.
    WriteFile(file, "Priority;ToDo;Prority;ToDo\r\n3;\"Buy milk; bread\";9;Overwritten\r\n");
    summary = import(ExchangeTable::Todo, layout, file, into);
    EXPECT_EQ(summary.added, 1) << exchange::SummaryText(summary);
    EXPECT_EQ(toDos(), (std::vector<std::string>{"Buy milk; bread/3", "One/1", "Two\rlines/2"}));
    ASSERT_EQ(summary.notes.size(), 2u) << exchange::SummaryText(summary);
    EXPECT_NE(summary.notes[0].find("column 3 \"Prority\" names none of the fields chosen"), std::string::npos);
    EXPECT_NE(summary.notes[1].find("column 4 \"ToDo\" names a field an earlier column fills"), std::string::npos);

    // Without a header, the first line tells the separator as well.
    layout.header = false;
    WriteFile(file, "Water plants;4\nFeed cat;5\n");
    summary = import(ExchangeTable::Todo, layout, file, into);
    EXPECT_EQ(summary.added, 2) << exchange::SummaryText(summary);
    EXPECT_TRUE(summary.rejected.empty()) << exchange::SummaryText(summary);
}

TEST_F(ExchangeTest, ToDoAndContactLinesGoThroughTheFormsRules)
{
    const std::string file = dir.file("rules.csv");
    FieldLayout todo;
    todo.fields = {{"ToDo", "ToDo", "", exchange::FieldType::Text},
                   {"Priority", "Priority", "", exchange::FieldType::Number},
                   {"Category", "Category", "", exchange::FieldType::Text}};
    WriteFile(file, "ToDo,Priority,Category\nzero,0,Home\nninety-nine,99,Home\nmost,255,Home\nten,10,\none,1,Home\n");
    exchange::ImportSummary summary = import(ExchangeTable::Todo, todo, file, into);
    EXPECT_EQ(summary.added, 2) << exchange::SummaryText(summary);
    ASSERT_EQ(summary.rejected.size(), 3u) << exchange::SummaryText(summary);
    EXPECT_EQ(summary.rejected[0].line, 2u);
    std::vector<std::string> items;
    for (const auto& item : records<data::TodoRecord>(into, data::TodoRecord::KeyToDo))
        items.push_back(item.toDo.str() + "/" + std::to_string(item.priority) + "/" + item.category.str());
    EXPECT_EQ(items, (std::vector<std::string>{"one/1/Home", "ten/10/General"}));

    // A contact needs a name; a line break in a one-line field becomes a blank.
    FieldLayout contacts;
    contacts.fields = {{"LastName", "LastName", "", exchange::FieldType::Text},
                       {"FirstName", "FirstName", "", exchange::FieldType::Text},
                       {"AddressLine1", "AddressLine1", "", exchange::FieldType::Text}};
    WriteFile(file, "LastName,FirstName,AddressLine1\n,,\"Nowhere 1\"\nDoe,Jane,\"Main St 1\nBack door\"\n");
    summary = import(ExchangeTable::Contacts, contacts, file, into);
    EXPECT_EQ(summary.added, 1) << exchange::SummaryText(summary);
    ASSERT_EQ(summary.rejected.size(), 1u) << exchange::SummaryText(summary);
    const auto stored = records<data::ContactRecord>(into, data::ContactRecord::KeyClientID);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].addressLine1, "Main St 1 Back door");
}

TEST_F(ExchangeTest, CancelKeepsTheBatchesDone)
{
    FieldLayout layout;
    const std::string file = tenToDoItems(layout);
    exchange::ImportJob job(into, ExchangeTable::Todo, layout, file, prompter);
    BatchRun r(job, 4);
    ASSERT_TRUE(r.start());
    while (r.running() && r.percent() == 0)
        r.tick();
    EXPECT_GT(r.percent(), 0);
    EXPECT_LT(r.percent(), 100);
    // The work runs elsewhere: it stops after the batch it was given, and the
    // window stays until it has stored what it read.
    r.cancel();
    EXPECT_TRUE(r.cancelling());
    while (r.running())
        r.tick();
    EXPECT_EQ(r.state(), BatchRun::State::Cancelled);
    EXPECT_TRUE(job.summary().cancelled);
    // The work is never more than the batch in progress ahead of its window.
    const int added = job.summary().added;
    EXPECT_TRUE(added == 4 || added == 8) << added;
    const auto items = records<data::TodoRecord>(into, data::TodoRecord::KeyToDo);
    ASSERT_EQ(items.size(), static_cast<std::size_t>(added));
    EXPECT_EQ(items.front().toDo, "item 0");
    EXPECT_FALSE(into.inTransaction());
}

}  // namespace
}  // namespace hrln::test
