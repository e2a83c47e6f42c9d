// The reports besides the schedule by date, each over several pages: every
// row printed once, in the order of its key, under the right group, and the
// details whole however the pages break.
#include "pim/pim_reports.h"
#include "report_fixture.h"
#include "scheduler/schedule_reports.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

namespace hrln::test {
namespace {

using scheduler::ScheduleReport;

const Date kFirstDay = MakeDate(3, 1, 2027);

std::string Numbered(const char* prefix, int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%s%03d", prefix, n);
    return text;
}

// Every word of every text in `texts`, in order, among `printed` once each and
// after the one before.
void ExpectWordsOnceInOrder(const std::vector<std::string>& printed, const std::vector<std::string>& texts)
{
    auto at = printed.begin();
    for (const std::string& text : texts)
        for (const std::string& w : Words(text)) {
            const auto found = std::find(at, printed.end(), w);
            ASSERT_NE(found, printed.end()) << w << " missing or out of order";
            EXPECT_EQ(std::count(printed.begin(), printed.end(), w), 1) << w;
            at = found + 1;
        }
}

// The words of the pages' bodies, page after page, without the "(continued)"
// headers.
std::vector<std::string> BodyWords(const std::vector<std::vector<std::string>>& pages, const std::string& lastHeader)
{
    std::vector<std::string> out;
    for (const auto& page : pages)
        for (const std::string& line : BodyLines(page, lastHeader))
            if (!Trimmed(line).ends_with("(continued)"))
                for (std::string& w : Words(line))
                    out.push_back(std::move(w));
    return out;
}

class ScheduleKindsTest : public ReportTest {
protected:
    void add(const data::ScheduleRecord& r, bool printed = true)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = r;
        ASSERT_EQ(t.add(), data::kOk);
        if (printed)
            tasks.push_back(r);
    }

    // Many tasks over fifteen days in four categories (and none), added in no
    // order, with a disabled one in each that the reports leave out.
    void addMany()
    {
        const char* const categories[] = {"Work", "Garden", "Club", "Errands", ""};
        for (int i = 0; i < 230; ++i)
            add(Task(i + 1, kFirstDay + (i * 7) % 15, MakeTime((i * 5) % 24, (i * 13) % 60), Numbered("Job", i),
                     categories[(i * 3) % 5]));
        for (int i = 0; i < 5; ++i) {
            data::ScheduleRecord off = Task(500 + i, kFirstDay + i, MakeTime(9, 0), "Switched", categories[i]);
            off.disabled = 1;
            add(off, false);
        }
    }

    // The tasks' descriptions in the order `less` sorts them, ties as added.
    template <class Less>
    std::vector<std::string> sorted(Less less) const
    {
        std::vector<data::ScheduleRecord> copy = tasks;
        std::stable_sort(copy.begin(), copy.end(), less);
        std::vector<std::string> out;
        for (const auto& t : copy)
            out.push_back(t.description.str());
        return out;
    }

    const data::ScheduleRecord& task(const std::string& description) const
    {
        return *std::find_if(tasks.begin(), tasks.end(),
                             [&](const data::ScheduleRecord& t) { return t.description.str() == description; });
    }

    std::vector<data::ScheduleRecord> tasks;
};

TEST_F(ScheduleKindsTest, BriefSchedulePrintsOneLinePerTaskInDateAndTimeOrder)
{
    addMany();
    auto source = scheduler::MakeScheduleReport(db, ScheduleReport::Brief, {});
    const auto pages = render(*source);
    ASSERT_GE(pages.size(), 3u) << "the test needs page breaks";
    expectFrame(pages, "Brief Schedule", {"Date", "Time", "Task", "Category", "Type"});

    const auto rows = ReadRows(pages, "Type", std::regex("(Job\\d{3})"));
    EXPECT_EQ(RowKeys(rows), sorted([](const auto& a, const auto& b) {
                  return std::pair(a.date, a.time) < std::pair(b.date, b.time);
              }));
    for (const PrintedRow& row : rows) {
        const data::ScheduleRecord& t = task(row.key);
        const std::vector<std::string> words = Words(row.line);
        // Date, time, task and category, each in its own column of the one line.
        const std::string expected = FormatD3(t.date) + " " + FormatT3(t.time) + " " + row.key +
                                     (t.category.str().empty() ? "" : " " + t.category.str()) + " Display Message";
        std::string printed;
        for (const std::string& w : words)
            printed += (printed.empty() ? "" : " ") + w;
        EXPECT_EQ(printed, expected) << "page " << row.page + 1;
    }
    for (const auto& page : pages)
        for (const std::string& line : page)
            EXPECT_EQ(line.find("Switched"), std::string::npos) << line;
}

// All categories, each under its header, repeated with "(continued)" where a
// page starts inside it; the tasks without one under "No category", first.
TEST_F(ScheduleKindsTest, ScheduleByCategoryGroupsEveryCategoryOverSeveralPages)
{
    addMany();
    auto source = scheduler::MakeScheduleReport(db, ScheduleReport::CategoryOrder, {});
    const auto pages = render(*source);
    ASSERT_GE(pages.size(), 3u) << "the test needs page breaks";
    expectFrame(pages, "Schedule by Category", {"Date", "Time", "Task", "Type", "Repeats"});

    const auto rows =
        ReadRows(pages, "Repeats", std::regex("(Job\\d{3})"), {"Work", "Garden", "Club", "Errands", "No category"});
    EXPECT_EQ(RowKeys(rows), sorted([](const auto& a, const auto& b) {
                  return std::tuple(a.category.str(), a.date, a.time) < std::tuple(b.category.str(), b.date, b.time);
              }));
    std::set<std::size_t> continuedOn;
    for (const PrintedRow& row : rows) {
        const std::string category = task(row.key).category.str();
        EXPECT_EQ(row.group, category.empty() ? "No category" : category) << row.key << " on page " << row.page + 1;
        EXPECT_NE(row.line.find(FormatD3(task(row.key).date)), std::string::npos) << row.line;
    }
    // Groups of some fifty tasks over pages of fewer: some page starts inside one.
    for (std::size_t p = 1; p < pages.size(); ++p)
        for (const std::string& line : pages[p])
            if (Trimmed(line).ends_with("(continued)"))
                continuedOn.insert(p);
    EXPECT_FALSE(continuedOn.empty());
}

// The to-do list by category: each category's items in the order of their
// texts, open and done alike, with their notes whole under them.
class TodoKindsTest : public ReportTest {
protected:
    void add(const std::string& text, const std::string& category, bool done, const std::string& notes = {})
    {
        data::Table<data::TodoRecord> t(db);
        t.clear();
        t.rec.toDo = text;
        t.rec.category = category;
        t.rec.priority = static_cast<data::Byte>(1 + text.size() % 5);
        t.rec.done = done ? 1 : 0;
        if (done) {
            t.rec.completionDate = kFirstDay;
            t.rec.completionTime = MakeTime(17, 30);
        }
        t.rec.notes = notes;
        ASSERT_EQ(t.add(), data::kOk);
    }
};

TEST_F(TodoKindsTest, ToDoByCategoryGroupsItemsInTextOrderWithTheirNotes)
{
    const char* const categories[] = {"Desk", "Garden", "", "Errands"};
    struct Item {
        std::string category;
        std::string text;
        bool done;
        std::string notes;
    };
    std::vector<Item> items;
    for (int i = 0; i < 160; ++i) {
        // Numbers out of step with the order added: the key sorts them.
        const int n = (i * 53) % 160;
        std::string notes;
        if (i % 4 == 0)
            for (int k = 0; k < 20 + i % 50; ++k)
                notes += (k ? " " : "") + ("n" + std::to_string(n) + "w" + std::to_string(k));
        // Every word its own, to be found once.
        items.push_back({categories[i % 4], Numbered("Item", n) + " x" + std::to_string(n), i % 3 == 0, notes});
        add(items.back().text, items.back().category, items.back().done, notes);
    }
    auto source = pim::MakeTodoReport(db, pim::TodoReport::Category, {});
    const auto pages = render(*source);
    ASSERT_GE(pages.size(), 3u) << "the test needs page breaks";
    expectFrame(pages, "To Do List by Category", {"Priority", "Done", "To", "Do", "Completed"});

    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return std::pair(a.category, a.text) < std::pair(b.category, b.text);
    });
    const auto rows =
        ReadRows(pages, "Completed", std::regex("(Item\\d{3})"), {"Desk", "Garden", "Errands", "No category"});
    std::vector<std::string> expected;
    for (const Item& item : items)
        expected.push_back(item.text.substr(0, 7));
    ASSERT_EQ(RowKeys(rows), expected);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].group, items[i].category.empty() ? "No category" : items[i].category) << rows[i].key;
        const bool shownDone = rows[i].line.find("Yes") != std::string::npos;
        EXPECT_EQ(shownDone, items[i].done) << rows[i].line;
        EXPECT_EQ(rows[i].line.find("Mar 1, 2027") != std::string::npos, items[i].done) << rows[i].line;
    }
    std::vector<std::string> texts;
    for (const Item& item : items) {
        texts.push_back(item.text);
        texts.push_back(item.notes);
    }
    ExpectWordsOnceInOrder(BodyWords(pages, "Completed"), texts);
}

TEST_F(TodoKindsTest, ToDoByCategoryLeavesDoneItemsAndOtherCategoriesOutWhenAsked)
{
    for (int i = 0; i < 90; ++i)
        add(Numbered("Item", i), i % 2 ? "Garden" : "Desk", i % 3 == 0);
    pim::TodoReportOptions options;
    options.category = "Garden";
    options.includeDone = false;
    auto source = pim::MakeTodoReport(db, pim::TodoReport::Category, options);
    const auto pages = render(*source);
    expectFrame(pages, "To Do List by Category", {"Priority", "Done", "To", "Do", "Completed"});
    const auto rows = ReadRows(pages, "Completed", std::regex("(Item\\d{3})"), {"Desk", "Garden"});
    std::vector<std::string> expected;
    for (int i = 0; i < 90; ++i)
        if (i % 2 == 1 && i % 3 != 0)
            expected.push_back(Numbered("Item", i));
    EXPECT_EQ(RowKeys(rows), expected);
    for (const PrintedRow& row : rows)
        EXPECT_EQ(row.group, "Garden");
    bool said = false;
    for (const std::string& line : pages.front())
        said = said || line.find("Category Garden; open items only") != std::string::npos;
    EXPECT_TRUE(said) << "the choices are not printed";
}

class PimKindsTest : public ReportTest {};

// Contacts by last name, then first name, each with its address and notes
// under it, whole, however the pages break.
TEST_F(PimKindsTest, ContactsPrintInNameOrderWithAddressAndNotesWhole)
{
    struct Contact {
        std::string last;
        std::string first;
        std::string address;
        std::string notes;
    };
    std::vector<Contact> contacts;
    data::Table<data::ContactRecord> t(db);
    for (int i = 0; i < 120; ++i) {
        // Two contacts share each last name, their first names added the wrong way round.
        const int family = (i * 37) % 60;
        Contact c{Numbered("Surname", family), (i < 60 ? "Zoe" : "Adam") + std::to_string(i), {}, {}};
        t.clear();
        t.rec.clientId = i + 1;
        t.rec.lastName = c.last;
        t.rec.firstName = c.first;
        t.rec.addressLine1 = "a" + std::to_string(i) + " m" + std::to_string(i);
        t.rec.postalCode = "p" + std::to_string(i);
        t.rec.workDayPhone = "555-" + std::to_string(1000 + i);
        t.rec.email = "c" + std::to_string(i) + "@example.org";
        t.rec.contactCategory = i % 2 ? "Family" : "Club";
        c.address = t.rec.addressLine1.str() + ", " + t.rec.postalCode.str();
        for (int k = 0; k < i % 40; ++k)
            c.notes += (k ? " " : "") + ("c" + std::to_string(i) + "n" + std::to_string(k));
        t.rec.notes = c.notes;
        ASSERT_EQ(t.add(), data::kOk);
        contacts.push_back(c);
    }
    auto source = pim::MakeContactsReport(db, {});
    const auto pages = render(*source);
    ASSERT_GE(pages.size(), 3u) << "the test needs page breaks";
    expectFrame(pages, "Contact List", {"Name", "Work", "Home", "Phone", "E-mail", "Category"});

    std::stable_sort(contacts.begin(), contacts.end(), [](const Contact& a, const Contact& b) {
        return std::pair(a.last, a.first) < std::pair(b.last, b.first);
    });
    const auto rows = ReadRows(pages, "Category", std::regex("(Surname\\d{3}, \\w+)"));
    std::vector<std::string> expected;
    std::vector<std::string> texts;
    for (const Contact& c : contacts) {
        expected.push_back(c.last + ", " + c.first);
        texts.push_back(c.first);
        texts.push_back(c.address);
        texts.push_back(c.notes);
    }
    EXPECT_EQ(RowKeys(rows), expected);
    ExpectWordsOnceInOrder(BodyWords(pages, "Category"), texts);
}

TEST_F(PimKindsTest, ContactsOfOneCategoryLeaveTheOthersOut)
{
    data::Table<data::ContactRecord> t(db);
    const struct {
        const char* last;
        const char* category;
    } contacts[] = {{"Okafor", "Family"}, {"Brandt", "Club"}, {"Alvarez", "Family"}, {"Chen", "Club"}};
    for (const auto& c : contacts) {
        t.clear();
        t.rec.clientId = static_cast<data::Long>(&c - contacts + 1);
        t.rec.lastName = c.last;
        t.rec.contactCategory = c.category;
        ASSERT_EQ(t.add(), data::kOk);
    }
    auto source = pim::MakeContactsReport(db, {"Family"});
    const auto pages = render(*source);
    ASSERT_EQ(pages.size(), 1u);
    expectFrame(pages, "Contact List", {"Name", "E-mail", "Category"});
    const auto rows = ReadRows(pages, "Category", std::regex("^\\s*(\\w+)\\s+Family$"));
    EXPECT_EQ(RowKeys(rows), (std::vector<std::string>{"Alvarez", "Okafor"}));
    std::string all;
    for (const std::string& line : pages[0])
        all += line + "\n";
    EXPECT_EQ(all.find("Brandt"), std::string::npos);
    EXPECT_EQ(all.find("Chen"), std::string::npos);
    EXPECT_NE(all.find("Contact category Family"), std::string::npos);
}

// The schedule's categories, as many as fill several pages, in key order.
TEST_F(PimKindsTest, CategoriesPrintEveryCategoryOnceInOrder)
{
    const std::vector<std::string> before = walk<data::CategoryRecord>(
        data::CategoryRecord::KeyCategory, [](const data::CategoryRecord& r) { return r.category.str(); });
    data::Table<data::CategoryRecord> t(db);
    std::vector<std::string> expected = before;
    for (int i = 0; i < 200; ++i) {
        t.clear();
        t.rec.category = Numbered("Kind", (i * 77) % 200);
        ASSERT_EQ(t.add(), data::kOk);
        expected.push_back(t.rec.category.str());
    }
    std::sort(expected.begin(), expected.end());
    auto source = pim::MakeCategoriesReport(db);
    const auto pages = render(*source);
    ASSERT_GE(pages.size(), 2u) << "the test needs page breaks";
    expectFrame(pages, "Schedule Categories", {"Category"});
    const auto rows = ReadRows(pages, "Category", std::regex("^\\s*(\\S.*?)\\s*$"));
    EXPECT_EQ(RowKeys(rows), expected);
}

}  // namespace
}  // namespace hrln::test
