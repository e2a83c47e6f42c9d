#include "ui/widgets/browse_list.h"
#include "ui/widgets/schedule_notifier.h"

#include "store_fixture.h"

#include <QAccessible>
#include <QTabBar>
#include <QTableView>

namespace hrln::test {
namespace {

using data::ScheduleRecord;

class BrowseListTest : public StoreTest {
protected:
    std::int64_t add(data::Long id, Date date, std::string_view category)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec = Task(id, date, MakeTime(9, 0), "task " + std::to_string(id), category);
        EXPECT_EQ(t.add(), data::kOk);
        return t.rowId();
    }
    void remove(std::int64_t rowid)
    {
        data::Table<ScheduleRecord> t(db);
        ASSERT_EQ(t.reget(ScheduleRecord::KeyID, rowid), data::kOk);
        ASSERT_EQ(t.remove(), data::kOk);
    }
    std::unique_ptr<ui::BrowseList> list()
    {
        std::vector<ui::BrowseColumn<ScheduleRecord>> columns{
            {QStringLiteral("Description"), 30,
             [](const ScheduleRecord& r) { return QString::fromStdString(r.description.str()); }},
        };
        return std::make_unique<ui::BrowseList>(
            std::make_unique<ui::TableBrowseSource<ScheduleRecord>>(db, std::move(columns)),
            std::vector<ui::BrowseTab>{{QStringLiteral("All by Date"), ScheduleRecord::KeyDate},
                                       {QStringLiteral("Work"), ScheduleRecord::KeyCategoryDate, {std::string("work")}}},
            ui::BrowseList::Add | ui::BrowseList::Edit | ui::BrowseList::Delete);
    }
    QString text(ui::BrowseList& l, int row) { return l.model()->data(l.model()->index(row, 0)).toString(); }
};

// The highlighted record stays highlighted while others come and go around it;
// when it goes itself, the row at its place is highlighted.
TEST_F(BrowseListTest, SelectionFollowsItsRecordThroughScheduleChanges)
{
    for (int i = 1; i <= 10; ++i)
        add(i, MakeDate(1, 1, 2027) + i, i % 2 == 0 ? "Work" : "Home");
    auto l = list();
    l->selectRow(4);
    const std::int64_t chosen = l->selectedRowId();
    ASSERT_EQ(text(*l, 4), QStringLiteral("task 5"));

    add(11, MakeDate(1, 1, 2027), "Home");  // sorts first
    add(12, MakeDate(1, 1, 2027), "Home");
    remove(l->model()->rowIdAt(9));
    ui::NotifyScheduleBrowsers();
    EXPECT_EQ(l->model()->rowCount(), 11);
    EXPECT_EQ(l->selectedRowId(), chosen);
    EXPECT_EQ(l->selectedRow(), 6);

    remove(chosen);
    ui::NotifyScheduleBrowsers();
    EXPECT_EQ(l->selectedRow(), 6);
    EXPECT_EQ(text(*l, 6), QStringLiteral("task 6"));

    // Another tab narrows the list to one category (in any case) and keeps the record where it is in both.
    const std::int64_t six = l->selectedRowId();
    l->tabs()->setCurrentIndex(1);
    EXPECT_EQ(l->model()->rowCount(), 4);  // tasks 2, 4, 6 and 8
    EXPECT_EQ(l->selectedRowId(), six);
    EXPECT_EQ(text(*l, l->selectedRow()), QStringLiteral("task 6"));
}

TEST_F(BrowseListTest, ALongListHoldsOnlyAFewPages)
{
    {
        data::Table<ScheduleRecord> t(db);
        ASSERT_EQ(db.begin(), data::kOk);
        for (int i = 1; i <= 5000; ++i) {
            t.rec = Task(i, MakeDate(1, 1, 2027) + i % 400, MakeTime(9, 0), "task " + std::to_string(i));
            ASSERT_EQ(t.add(), data::kOk);
        }
        ASSERT_EQ(db.commit(), data::kOk);
    }
    auto l = list();
    ui::BrowseModel& model = *l->model();
    ASSERT_EQ(model.rowCount(), 5000);
    // Read every row in order, then backwards from the end: what the cursor reads, in the same order.
    std::vector<std::int64_t> forward, backward;
    for (int row = 0; row < model.rowCount(); ++row)
        forward.push_back(model.rowIdAt(row));
    for (int row = model.rowCount() - 1; row >= 0; --row)
        backward.insert(backward.begin(), model.rowIdAt(row));
    EXPECT_EQ(forward, backward);
    data::Table<ScheduleRecord> cursor(db);
    cursor.set(ScheduleRecord::KeyDate);
    for (const std::int64_t rowid : forward) {
        ASSERT_EQ(cursor.next(), data::kOk);
        ASSERT_EQ(cursor.rowId(), rowid);
    }
    EXPECT_LE(model.cachedPages(), ui::BrowseModel::kCachedPages);
    EXPECT_EQ(model.rowIdAt(5000), 0);
}

// Assistive technology hears every cell, heading and row of a list: a column
// of icons through what its icons mean, the list by the order it shows.
TEST_F(BrowseListTest, ListsSayTheirIconsHeadingsRowsAndOrder)
{
    {
        data::Table<ScheduleRecord> t(db);
        t.rec = Task(1, MakeDate(1, 1, 2027), MakeTime(9, 0), "task 1", "Work");
        t.rec.completed = 1;
        ASSERT_EQ(t.add(), data::kOk);
    }
    add(2, MakeDate(1, 2, 2027), "Work");
    std::vector<ui::BrowseColumn<ScheduleRecord>> columns{
        {QString(), 2, {}, [](const ScheduleRecord&) { return QIcon(); }, {}, Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("State"),
         [](const ScheduleRecord& r) { return r.completed != 0 ? QStringLiteral("Done") : QStringLiteral("Not done"); }},
        {QStringLiteral("Description"), 30,
         [](const ScheduleRecord& r) { return QString::fromStdString(r.description.str()); }},
    };
    ui::BrowseList l(std::make_unique<ui::TableBrowseSource<ScheduleRecord>>(db, std::move(columns)),
                     {{QStringLiteral("All by &Date"), ScheduleRecord::KeyDate},
                      {QStringLiteral("&Work"), ScheduleRecord::KeyCategoryDate, {std::string("work")}}},
                     ui::BrowseList::Add);
    const QAbstractItemModel& model = *l.model();

    EXPECT_EQ(model.index(0, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Done"));
    EXPECT_EQ(model.index(1, 0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Not done"));
    EXPECT_TRUE(model.index(0, 0).data(Qt::DisplayRole).toString().isEmpty()) << "the icon column shows no text";
    EXPECT_EQ(model.index(0, 1).data(Qt::AccessibleTextRole).toString(), QStringLiteral("task 1"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::AccessibleTextRole).toString(), QStringLiteral("State"));
    EXPECT_TRUE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString().isEmpty());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::AccessibleTextRole).toString(), QStringLiteral("Description"));
    EXPECT_EQ(model.headerData(1, Qt::Vertical, Qt::DisplayRole).toString(),
              QStringLiteral("State: Not done, Description: task 2"));
    EXPECT_FALSE(model.headerData(2, Qt::Vertical, Qt::DisplayRole).isValid()) << "past the last row";

    // What a screen reader reads, through the list's accessible interface.
    l.show();
    QAccessibleInterface* at = QAccessible::queryAccessibleInterface(l.view());
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(at->text(QAccessible::Name), QStringLiteral("All by Date"));
    ASSERT_NE(at->tableInterface(), nullptr);
    QAccessibleInterface* cell = at->tableInterface()->cellAt(0, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("Done"));
    EXPECT_EQ(at->tableInterface()->rowDescription(0), QStringLiteral("State: Done, Description: task 1"));

    // The name follows the tab; one a browser gave stays.
    l.tabs()->setCurrentIndex(1);
    EXPECT_EQ(l.view()->accessibleName(), QStringLiteral("Work"));
    l.view()->setAccessibleName(QStringLiteral("Tasks"));
    l.tabs()->setCurrentIndex(0);
    EXPECT_EQ(l.view()->accessibleName(), QStringLiteral("Tasks"));
}

}  // namespace
}  // namespace hrln::test
