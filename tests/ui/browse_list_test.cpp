#include "ui/widgets/browse_list.h"
#include "ui/widgets/schedule_notifier.h"

#include "store_fixture.h"

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

}  // namespace
}  // namespace hrln::test
