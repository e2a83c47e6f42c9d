#include "pim/todo.h"

#include "integrity_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"

namespace hrln::test {
namespace {

using data::TodoRecord;
using pim::Request;
using pim::Response;

class TodoTest : public IntegrityTest {
protected:
    std::int64_t addItem(std::string_view text, data::Byte done = 0)
    {
        data::Table<TodoRecord> t(db);
        t.rec.toDo = text;
        t.rec.priority = 5;
        t.rec.category = "General";
        t.rec.done = done;
        EXPECT_EQ(t.add(), data::kOk);
        return t.rowId();
    }
    TodoRecord stored(std::int64_t rowid)
    {
        data::Table<TodoRecord> t(db);
        EXPECT_EQ(t.reget(TodoRecord::KeyToDo, rowid), data::kOk);
        return t.rec;
    }

    FakeClock clock{MakeDate(3, 1, 2027), MakeTime(8, 0)};
    FakePrompter prompter;
    pim::RecordWarnings warnings{prompter};
};

TEST_F(TodoTest, ToggleStampsOnBecomingDoneAndKeepsTheStampWhenUndone)
{
    const std::int64_t id = addItem("file taxes");
    data::Table<TodoRecord> t(db);
    ASSERT_EQ(pim::ToggleDoneStatus(t, id, clock, warnings), 0);
    TodoRecord r = stored(id);
    EXPECT_EQ(r.done, 1);
    EXPECT_EQ(r.completionDate, MakeDate(3, 1, 2027));
    EXPECT_EQ(r.completionTime, MakeTime(8, 0));

    clock.set(MakeDate(4, 1, 2027), MakeTime(10, 30));
    ASSERT_EQ(pim::ToggleDoneStatus(t, id, clock, warnings), 0);
    r = stored(id);
    EXPECT_EQ(r.done, 0);
    EXPECT_EQ(r.completionDate, MakeDate(3, 1, 2027));  // left as it was
    EXPECT_EQ(r.completionTime, MakeTime(8, 0));

    // Done a second time: a new stamp, not the first one kept.
    ASSERT_EQ(pim::ToggleDoneStatus(t, id, clock, warnings), 0);
    r = stored(id);
    EXPECT_EQ(r.done, 1);
    EXPECT_EQ(r.completionDate, MakeDate(4, 1, 2027));
    EXPECT_EQ(r.completionTime, MakeTime(10, 30));
    EXPECT_TRUE(prompter.shown.empty());

    // A record deleted meanwhile is reported, not recreated.
    ASSERT_EQ(t.reget(TodoRecord::KeyToDo, id), data::kOk);
    ASSERT_EQ(t.remove(), data::kOk);
    EXPECT_EQ(pim::ToggleDoneStatus(t, id, clock, warnings), 1);
    EXPECT_FALSE(prompter.shown.empty());
    EXPECT_EQ(data::Table<TodoRecord>(db).count(), 0);
}

TEST_F(TodoTest, TheFormRefusesPrioritiesOutsideOneToTenAndFillsABlankCategory)
{
    data::Table<TodoRecord> t(db);
    pim::RecordForm<TodoRecord> form(t, warnings, Request::Insert, pim::TodoFormRules("  "));
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.title(), "Adding a To Do Item");
    EXPECT_EQ(form.record().priority, 5);
    EXPECT_EQ(form.record().category, "General");  // the browser's blank category

    form.record().toDo = "call the plumber";
    for (const int refused : {0, 11}) {
        form.record().priority = static_cast<data::Byte>(refused);
        const auto outcome = form.complete();
        EXPECT_FALSE(outcome.close) << refused;
        EXPECT_EQ(outcome.focusField, pim::TodoPriority);
        ASSERT_FALSE(prompter.shown.empty());
        EXPECT_NE(prompter.shown.back().text.find("TDO:Priority"), std::string::npos) << prompter.shown.back().text;
        EXPECT_NE(prompter.shown.back().text.find("1 and 10"), std::string::npos);
    }
    EXPECT_EQ(t.count(), 0);

    form.record().priority = 10;
    form.record().category = "";
    EXPECT_TRUE(form.complete().close);
    EXPECT_EQ(form.response(), Response::Completed);
    const TodoRecord saved = stored(t.rowId());
    EXPECT_EQ(saved.category, "General");
    EXPECT_EQ(saved.priority, 10);

    // Priority 1 is the lowest accepted; the browser's category is the default.
    data::Table<TodoRecord> t2(db);
    pim::RecordForm<TodoRecord> second(t2, warnings, Request::Insert, pim::TodoFormRules("Garden"));
    ASSERT_TRUE(second.open());
    EXPECT_EQ(second.record().category, "Garden");
    second.record().priority = 1;
    EXPECT_TRUE(second.complete().close);
}

TEST_F(TodoTest, TheDoneBoxStampsOnlyAnItemThatWasOpenWhenTheFormOpened)
{
    TodoRecord item;
    EXPECT_TRUE(pim::DoneChecked(item, true, false, clock));
    EXPECT_EQ(item.done, 1);
    EXPECT_EQ(item.completionDate, MakeDate(3, 1, 2027));

    // Cleared and set again in the same form: stamped anew, the item was open at opening.
    clock.set(MakeDate(5, 1, 2027), MakeTime(7, 0));
    EXPECT_FALSE(pim::DoneChecked(item, false, false, clock));
    EXPECT_EQ(item.completionDate, MakeDate(3, 1, 2027));
    EXPECT_TRUE(pim::DoneChecked(item, true, false, clock));
    EXPECT_EQ(item.completionDate, MakeDate(5, 1, 2027));

    // An item done at opening keeps its old stamp when unticked and ticked again.
    TodoRecord done;
    done.done = 1;
    done.completionDate = MakeDate(1, 12, 2026);
    EXPECT_FALSE(pim::DoneChecked(done, false, true, clock));
    EXPECT_FALSE(pim::DoneChecked(done, true, true, clock));
    EXPECT_EQ(done.done, 1);
    EXPECT_EQ(done.completionDate, MakeDate(1, 12, 2026));
}

}  // namespace
}  // namespace hrln::test
