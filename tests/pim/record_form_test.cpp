#include "pim/categories.h"
#include "pim/record_form.h"

#include "integrity_fixture.h"
#include "support/fake_prompter.h"

namespace hrln::test {
namespace {

using data::CategoryRecord;
using data::ScheduleRecord;
using pim::Request;
using pim::Response;

class RecordFormTest : public IntegrityTest {
protected:
    std::int64_t rowOf(data::Long id)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec.id = id;
        EXPECT_EQ(t.get(ScheduleRecord::KeyID), data::kOk);
        return t.rowId();
    }
    pim::FormRules<ScheduleRecord> taskRules(bool placeholder)
    {
        pim::FormRules<ScheduleRecord> rules;
        rules.insertTitle = "Adding a Schedule Task";
        rules.changeTitle = "Changing a Schedule Task";
        rules.defaults = [](ScheduleRecord& r) {
            r.id = 77;
            r.taskType = "Display Message";
        };
        rules.keyNames = {{ScheduleRecord::KeyID, "By System ID", 0}};
        rules.placeholder = placeholder;
        return rules;
    }
    std::string storedDescription(data::Long id)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec.id = id;
        return t.get(ScheduleRecord::KeyID) == data::kOk ? t.rec.description.str() : "<gone>";
    }

    FakePrompter prompter;
    pim::RecordWarnings warnings{prompter};
};

TEST_F(RecordFormTest, AnInsertsPlaceholderGoesOnCancelAndADuplicateIsNamedAndStays)
{
    {
        data::Table<ScheduleRecord> t(db);
        pim::RecordForm<ScheduleRecord> form(t, warnings, Request::Insert, taskRules(true));
        ASSERT_TRUE(form.open());
        EXPECT_EQ(form.title(), "Adding a Schedule Task");
        EXPECT_EQ(storedDescription(77), "");  // held while the form is open
        form.cancel();
        EXPECT_EQ(form.response(), Response::Cancelled);
        EXPECT_EQ(storedDescription(77), "<gone>");
    }
    addTask(77);
    data::Table<ScheduleRecord> t(db);
    pim::RecordForm<ScheduleRecord> form(t, warnings, Request::Insert, taskRules(false));
    ASSERT_TRUE(form.open());
    form.record().description = "second";
    const auto outcome = form.complete();
    EXPECT_FALSE(outcome.close);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("By System ID"), std::string::npos);
    EXPECT_EQ(storedDescription(77), "task 77");
    form.record().id = 78;
    EXPECT_TRUE(form.complete().close);
    EXPECT_EQ(form.response(), Response::Completed);
    EXPECT_EQ(storedDescription(78), "second");
}

// A change another station made while the form was open is shown, never
// overwritten; the user's next OK then writes knowingly over it. An unchanged
// record is not written at all.
TEST_F(RecordFormTest, ChangedMeanwhileShowsTheOtherStationsValues)
{
    addTask(5);
    data::Table<ScheduleRecord> t(db);
    pim::RecordForm<ScheduleRecord> form(t, warnings, Request::Change, taskRules(false));
    ASSERT_TRUE(form.open(ScheduleRecord::KeyID, rowOf(5)));
    EXPECT_EQ(form.title(), "Changing a Schedule Task");
    EXPECT_TRUE(form.complete().close);  // nothing changed, nothing written
    EXPECT_TRUE(prompter.shown.empty());

    pim::RecordForm<ScheduleRecord> again(t, warnings, Request::Change, taskRules(false));
    ASSERT_TRUE(again.open(ScheduleRecord::KeyID, rowOf(5)));
    {
        data::Table<ScheduleRecord> other(station());
        other.rec.id = 5;
        ASSERT_EQ(other.get(ScheduleRecord::KeyID), data::kOk);
        other.rec.description = "theirs";
        ASSERT_EQ(other.put(), data::kOk);
    }
    again.record().description = "mine";
    EXPECT_FALSE(again.complete().close);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, "This record was changed by another station.");
    EXPECT_EQ(again.record().description.str(), "theirs");
    EXPECT_EQ(storedDescription(5), "theirs");

    again.record().description = "mine after all";
    EXPECT_TRUE(again.complete().close);
    EXPECT_EQ(storedDescription(5), "mine after all");
}

// A task deleted by another station while its form was open: the write fails
// for no fault of the values, so the user may try again, close without
// saving, or go back to the form (the default, so that Enter loses nothing).
TEST_F(RecordFormTest, AWriteOverARecordGoneMeanwhileOffersTheThreeWays)
{
    addTask(5);
    data::Table<ScheduleRecord> t(db);
    pim::RecordForm<ScheduleRecord> form(t, warnings, Request::Change, taskRules(false));
    ASSERT_TRUE(form.open(ScheduleRecord::KeyID, rowOf(5)));
    {
        data::Table<ScheduleRecord> other(station());
        other.rec.id = 5;
        ASSERT_EQ(other.get(ScheduleRecord::KeyID), data::kOk);
        ASSERT_EQ(other.remove(), data::kOk);
    }
    form.record().description = "mine";
    EXPECT_FALSE(form.complete().close);  // the default: back to the form
    ASSERT_EQ(prompter.shown.size(), 1u);
    const platform::MessageBox box = prompter.shown.back();
    EXPECT_EQ(box.text, "Error: (Record Not Available (33)) writing a record of the Schedule file.  Yes tries again, "
                        "No closes without saving, Cancel goes back to the form.");
    EXPECT_EQ(box.caption, "Update Error");
    EXPECT_EQ(box.buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_EQ(box.defaultButton, platform::MessageButton::Cancel);
    EXPECT_EQ(form.record().description.str(), "mine");  // the user's values stay

    prompter.answer(platform::MessageButton::Yes);  // tried again: still gone, asked again
    prompter.answer(platform::MessageButton::No);
    EXPECT_TRUE(form.complete().close);
    EXPECT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(form.response(), Response::Cancelled);
    EXPECT_EQ(storedDescription(5), "<gone>");
}

// A rename refused by a task resets the name and keeps the form open; it is
// still refused on the next OK, and Cancel then leaves the category as it was.
TEST_F(RecordFormTest, ARestrictedRenameStaysRefused)
{
    addCategory("Work");
    addTask(1, "Work");
    data::Table<CategoryRecord> t(db);
    t.set(CategoryRecord::KeyCategory);
    ASSERT_EQ(t.next(), data::kOk);
    const std::int64_t row = t.rowId();
    pim::RecordForm<CategoryRecord> form(t, warnings, Request::Change, pim::CategoryFormRules());
    ASSERT_TRUE(form.open(CategoryRecord::KeyCategory, row));
    form.record().category = "Office";
    EXPECT_FALSE(form.complete().close);
    EXPECT_EQ(form.record().category.str(), "Work");
    form.record().category = "Office";
    EXPECT_FALSE(form.complete().close);
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown.back().caption, "Referential Integrity Update Error");
    form.cancel();
    EXPECT_EQ(categories(), (Strings{"Work"}));
}

}  // namespace
}  // namespace hrln::test
