#include "pim/record_operations.h"

#include "integrity_fixture.h"
#include "support/fake_prompter.h"

#include <chrono>

namespace hrln::test {
namespace {

using namespace data;
using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageIcon;

class RecordOperationsTest : public IntegrityTest {
protected:
    // The one message shown since the last call.
    platform::MessageBox message()
    {
        EXPECT_EQ(prompter.shown.size(), 1u);
        platform::MessageBox box = prompter.shown.empty() ? platform::MessageBox{} : prompter.shown.back();
        prompter.shown.clear();
        return box;
    }

    FakePrompter prompter;
    pim::RecordWarnings warnings{prompter};
};

TEST_F(RecordOperationsTest, RestrictsAreRefusedWithTheirMessages)
{
    addCategory("Work");
    addTask(1, "Work");
    Table<CategoryRecord> cat(db);
    readCategory(cat, "Work");
    const auto saved = pim::SaveLinks(cat.rec);

    EXPECT_EQ(pim::DeleteRecord(cat, warnings), 1);
    platform::MessageBox box = message();
    EXPECT_EQ(box.text, "This record is referenced from the file Schedule.  This record cannot be deleted while these "
                        "references exist.");
    EXPECT_EQ(box.caption, "Referential Integrity Delete Error");

    cat.rec.category = "Office";
    EXPECT_EQ(pim::UpdateRecord(cat, saved, warnings), 1);
    box = message();
    EXPECT_EQ(box.text, "This record is referenced from the file Schedule.  Linking field(s) have been restricted "
                        "from change and have been reset to original values.");
    EXPECT_EQ(box.caption, "Referential Integrity Update Error");
    EXPECT_EQ(cat.rec.category, "Work");
    EXPECT_EQ(categories(), Strings{"Work"});

    addContactCategory("Friends");
    addContact(10, "Friends");
    Table<ContactCategoryRecord> cc(db);
    readContactCategory(cc, "Friends");
    EXPECT_EQ(pim::DeleteRecord(cc, warnings), 1);
    EXPECT_EQ(message().text, "This record is referenced from the file Contact.  This record cannot be deleted while "
                              "these references exist.");
}

TEST_F(RecordOperationsTest, ASuccessShowsNothing)
{
    addTask(1, "Work", 2);
    Table<ScheduleRecord> t(db);
    readTask(t, 1);
    const auto saved = pim::SaveLinks(t.rec);
    t.rec.id = 3;
    EXPECT_EQ(pim::UpdateRecord(t, saved, warnings), 0);
    EXPECT_EQ(pim::DeleteRecord(t, warnings), 0);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(taskIds().empty());
    EXPECT_TRUE(items().empty());
}

TEST_F(RecordOperationsTest, AnotherStationsChangeIsShownWithItsValues)
{
    addContact(10);
    Table<ContactRecord> mine(db);
    readContact(mine, 10);
    const auto saved = pim::SaveLinks(mine.rec);

    Table<ContactRecord> theirs(station());
    readContact(theirs, 10);
    theirs.rec.email = "theirs@example.org";
    ASSERT_EQ(theirs.put(), kOk);

    mine.rec.email = "mine@example.org";
    EXPECT_EQ(pim::UpdateRecord(mine, saved, warnings), 1);
    const platform::MessageBox box = message();
    EXPECT_EQ(box.text, "This record was changed by another station.");
    EXPECT_EQ(box.caption, "Record Changed by Another Station");
    EXPECT_EQ(mine.rec.email, "theirs@example.org");
    Table<ContactRecord> check(db);
    readContact(check, 10);
    EXPECT_EQ(check.rec.email, "theirs@example.org");
}

TEST_F(RecordOperationsTest, ALockHeldElsewhereGivesTheTransactionWarning)
{
    addTask(1, "Work", 1);
    Table<ScheduleRecord> t(db);
    readTask(t, 1);
    const auto saved = pim::SaveLinks(t.rec);
    ASSERT_EQ(station().begin(), kOk);

    EXPECT_EQ(pim::DeleteRecord(t, warnings, std::chrono::milliseconds(50)), 1);
    platform::MessageBox box = message();
    EXPECT_EQ(box.text,
              "Error: (File Is Already Locked (32)) in the Delete transaction of the Schedule file.  Nothing was "
              "changed.");
    EXPECT_EQ(box.caption, "Transaction Error");

    t.rec.description = "changed";
    EXPECT_EQ(pim::UpdateRecord(t, saved, warnings, std::chrono::milliseconds(50)), 1);
    EXPECT_EQ(message().text,
              "Error: (File Is Already Locked (32)) in the Update transaction of the Schedule file.  Nothing was "
              "changed.");

    ASSERT_EQ(station().commit(), kOk);
    Table<ScheduleRecord> check(db);
    readTask(check, 1);
    EXPECT_EQ(check.rec.description, "task 1");
    EXPECT_EQ(items(), Strings{"1.1"});
}

TEST_F(RecordOperationsTest, FailuresOfTheRecordsThemselvesNameTheirTable)
{
    addTask(1, "Work", 1);
    addContact(10);
    addLink(1, 10);
    addLink(2, 10);  // an orphan that task 1 cannot join under number 2
    Table<ScheduleRecord> t(db);
    readTask(t, 1);
    const auto saved = pim::SaveLinks(t.rec);
    t.rec.id = 2;
    EXPECT_EQ(pim::UpdateRecord(t, saved, warnings), 1);
    platform::MessageBox box = message();
    EXPECT_EQ(box.text, "Error: (Creates Duplicate Key (40)) writing a record of the Link file.");
    EXPECT_EQ(box.caption, "Update Error");
    EXPECT_EQ(items(), Strings{"1.1"});

    // Gone since it was read: the read before the delete reports it.
    Table<ScheduleRecord> theirs(station());
    readTask(theirs, 1);
    ASSERT_EQ(theirs.remove(), kOk);
    EXPECT_EQ(pim::DeleteRecord(t, warnings), 1);
    box = message();
    EXPECT_EQ(box.text, "Error: (Record Not Available (33)) reading a record of the Schedule file.");
    EXPECT_EQ(box.caption, "Read Error");

    // And a write over it names the table being written.
    EXPECT_EQ(pim::UpdateRecord(t, saved, warnings), 1);
    EXPECT_EQ(message().text, "Error: (Record Not Available (33)) writing a record of the Schedule file.");
}

TEST_F(RecordOperationsTest, TheStandardMessagesReadAsTheUserSeesThem)
{
    prompter.answer(MessageButton::Ok);
    EXPECT_TRUE(warnings.confirmDelete());
    platform::MessageBox box = message();
    EXPECT_EQ(box.text, "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.");
    EXPECT_EQ(box.caption, "Confirm Delete");
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_FALSE(warnings.confirmDelete());  // the default answer keeps the record
    message();

    prompter.answer(MessageButton::No);
    EXPECT_FALSE(warnings.retry("Scripting", kDuplicateKey));
    box = message();
    EXPECT_EQ(box.text, "Error: (Creates Duplicate Key (40)) accessing the Scripting file.  Do you want to try again?");
    EXPECT_EQ(box.buttons, MessageButtons::YesNo);
    EXPECT_TRUE(warnings.retry("Scripting", kDuplicateKey));
    message();

    warnings.rangeError("TDO:Priority", "1 and 10");
    box = message();
    EXPECT_EQ(box.text, "TDO:Priority must be between 1 and 10.");
    EXPECT_EQ(box.caption, "Range Error");

    warnings.duplicateKey("By System ID");
    box = message();
    EXPECT_EQ(box.text, "This record would duplicate an existing entry of the key By System ID.  Change the value and "
                        "save again.");
    EXPECT_EQ(box.caption, "Duplicate Key");

    warnings.addError("Scripting", kFileSystem);
    box = message();
    EXPECT_EQ(box.text, "Error: (File System Error (90)) adding a record to the Scripting file.");
    EXPECT_EQ(box.caption, "Add Error");
    warnings.deleteError("Scripting", kRecordNotAvailable);
    box = message();
    EXPECT_EQ(box.text, "Error: (Record Not Available (33)) deleting a record of the Scripting file.");
    EXPECT_EQ(box.caption, "Delete Error");
}

}  // namespace
}  // namespace hrln::test
