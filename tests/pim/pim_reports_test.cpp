#include "pim/pim_reports.h"

#include "store_fixture.h"

namespace hrln::test {
namespace {

class PimReportTest : public StoreTest {
protected:
    void todo(int priority, int done, const char* text, const char* category, const char* notes = "")
    {
        data::Table<data::TodoRecord> t(db);
        t.rec.priority = static_cast<data::Byte>(priority);
        t.rec.done = static_cast<data::Byte>(done);
        t.rec.toDo = text;
        t.rec.category = category;
        t.rec.notes = notes;
        if (done) {
            t.rec.completionDate = MakeDate(12, 1, 2026);
            t.rec.completionTime = MakeTime(17, 30);
        }
        ASSERT_EQ(t.add(), data::kOk);
    }

    static std::vector<report::Row> all(report::Source& source)
    {
        std::vector<report::Row> rows;
        EXPECT_LT(source.read(0, 1000, rows), 1000);
        return rows;
    }
};

TEST_F(PimReportTest, ToDoByCategoryGroupsInTextOrderAndCanLeaveOutDoneItems)
{
    todo(5, 0, "Water plants", "Home", "twice a week");
    todo(2, 1, "Send invoice", "Work");
    todo(9, 0, "Mow lawn", "HOME");
    todo(1, 0, "Answer mail", "Work");

    auto byCategory = pim::MakeTodoReport(db, pim::TodoReport::Category, {});
    std::vector<std::string> seen;
    for (const auto& r : all(*byCategory))
        seen.push_back(r.group + ": " + r.cells[0] + " " + r.cells[1] + " " + r.cells[2] + " " + r.cells[3]);
    EXPECT_EQ(seen, (std::vector<std::string>{"HOME: 9  Mow lawn ", "Home: 5  Water plants ",
                                              "Work: 1  Answer mail ", "Work: 2 Yes Send invoice Dec 1, 2026 5:30 PM"}));

    pim::TodoReportOptions open;
    open.includeDone = false;
    open.category = "work";
    auto openWork = pim::MakeTodoReport(db, pim::TodoReport::Priority, open);
    const auto rows = all(*openWork);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[1], "Answer mail");
    EXPECT_EQ(rows[0].group, "Priority 1");
    EXPECT_EQ(openWork->criteria(), "Category work; open items only");

    auto home = pim::MakeTodoReport(db, pim::TodoReport::Category, {"home", true});
    const auto homeRows = all(*home);
    ASSERT_EQ(homeRows.size(), 2u);
    EXPECT_EQ(homeRows[1].detail, "twice a week");
}

TEST_F(PimReportTest, ContactsAreListedByNameWithTheirAddressAndNotes)
{
    data::Table<data::ContactRecord> t(db);
    const auto contact = [&](data::Long id, const char* last, const char* first, const char* category) {
        t.clear();
        t.rec.clientId = id;
        t.rec.lastName = last;
        t.rec.firstName = first;
        t.rec.contactCategory = category;
        t.rec.workDayPhone = "555-0100";
        t.rec.addressLine1 = "1 Main St";
        t.rec.postalCode = "12345";
        t.rec.notes = "met at the fair";
        ASSERT_EQ(t.add(), data::kOk);
    };
    contact(1, "Zimmer", "Ann", "Friends");
    contact(2, "Adams", "Bob", "Work");
    auto source = pim::MakeContactsReport(db, {});
    const auto rows = all(*source);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"Adams, Bob", "555-0100", "", "", "Work"}));
    EXPECT_EQ(rows[0].detail, "1 Main St, 12345\nmet at the fair");
    auto friends = pim::MakeContactsReport(db, {"friends"});
    const auto some = all(*friends);
    ASSERT_EQ(some.size(), 1u);
    EXPECT_EQ(some[0].cells[0], "Zimmer, Ann");
}

TEST_F(PimReportTest, CategoriesAreListedInCategoryOrder)
{
    data::Table<data::CategoryRecord> t(db);
    for (const char* name : {"Work", "errands", "Home"}) {
        t.rec.category = name;
        ASSERT_EQ(t.add(), data::kOk);
    }
    auto source = pim::MakeCategoriesReport(db);
    std::vector<std::string> names;
    for (const auto& r : all(*source))
        names.push_back(r.cells.at(0));
    EXPECT_EQ(names, (std::vector<std::string>{"errands", "Home", "Work"}));
}

}  // namespace
}  // namespace hrln::test
