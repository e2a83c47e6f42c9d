#include "data/schedule_store.h"
#include "pim/categories.h"
#include "pim/contacts.h"

#include "integrity_fixture.h"
#include "support/fake_prompter.h"

namespace hrln::test {
namespace {

using data::ContactRecord;
using data::LinkRecord;
using pim::Request;
using pim::Response;
using platform::MessageButton;

class ContactsTest : public IntegrityTest {
protected:
    pim::FormRules<ContactRecord> rules()
    {
        return pim::ContactFormRules([] { return false; });
    }
    std::int64_t contactRow(data::Long clientId)
    {
        data::Table<ContactRecord> t(db);
        readContact(t, clientId);
        return t.rowId();
    }

    FakePrompter prompter;
    pim::RecordWarnings warnings{prompter};
};

TEST_F(ContactsTest, ALastNameOnlyContactGivesThirteenCarriageReturnEndedLines)
{
    ContactRecord c;
    c.lastName = "Okafor   ";
    EXPECT_EQ(pim::ContactClipboardText(c),
              "Okafor\r\r\r\r\r\rWork Phone: \rHome Phone: \rFax: \rOther Phone: \rEmail: \rWeb Site: \rCategory: \r");

    c.firstName = "Ada";
    c.postalCode = "N1 9GU";
    c.email = "ada@example.org";
    c.contactCategory = "Friends";
    const std::string full = pim::ContactClipboardText(c);
    EXPECT_EQ(std::count(full.begin(), full.end(), '\r'), 13);
    EXPECT_EQ(full.find('\n'), std::string::npos);
    EXPECT_NE(full.find("Okafor\rAda\r\r\r\rN1 9GU\r"), std::string::npos);
    EXPECT_NE(full.find("\rEmail: ada@example.org\rWeb Site: \rCategory: Friends\r"), std::string::npos);
}

TEST_F(ContactsTest, PastedFieldsAreCleanedAndCutToWidth)
{
    ContactRecord c;
    c.lastName = "Smith\r\nJones\tJr\x01\x1b[2J";
    c.firstName = std::string(10000, 'x');
    c.addressLine1 = "\xe2\x80\xae" "evil" "\xe2\x80\xac street";  // a right-to-left override around a word
    c.email = "a\xff@b.org";  // not UTF-8
    c.notes = "line one\r\nline two\x07\tend";
    pim::CleanContact(c);
    EXPECT_EQ(c.lastName.str(), "Smith Jones Jr[2J");
    EXPECT_EQ(c.firstName.str(), std::string(20, 'x'));
    EXPECT_EQ(c.addressLine1.str(), "evil street");
    EXPECT_EQ(c.email.str(), "a\xef\xbf\xbd@b.org");
    EXPECT_EQ(c.notes.str(), "line one\r\nline two end");

    // Cleaning can only shorten, so a field at its width stays whole.
    EXPECT_EQ(pim::OneLineText(std::string(30, 'a') + "\n"), std::string(30, 'a') + " ");
    EXPECT_EQ(pim::OneLineText("a\n\nb\r\rc"), "a  b  c");
}

TEST_F(ContactsTest, ANewContactTakesTheNextNumberAndACancelTakesItsLinksAlong)
{
    addTask(5);
    {
        data::Table<ContactRecord> t(db);
        pim::RecordForm<ContactRecord> form(t, warnings, Request::Insert, rules());
        ASSERT_TRUE(form.open());
        EXPECT_EQ(form.record().clientId, 1);  // empty table
        form.record().lastName = "First";
        EXPECT_TRUE(form.complete().close);
    }
    addContact(41);
    data::Table<ContactRecord> t(db);
    pim::RecordForm<ContactRecord> form(t, warnings, Request::Insert, rules());
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.record().clientId, 42);
    // Reserved while the form is open, by a placeholder that no list shows.
    EXPECT_EQ(contactIds(), (Strings{"1", "41"}));
    EXPECT_EQ(data::NextClientId(db), 43);
    addLink(5, 42);  // linked from the open form
    form.cancel();
    EXPECT_EQ(contactIds(), (Strings{"1", "41"}));
    EXPECT_TRUE(links().empty());
    EXPECT_EQ(taskIds(), (Strings{"5"}));
    EXPECT_EQ(form.response(), Response::Cancelled);
}

TEST_F(ContactsTest, AContactWithoutAnyNameIsRefusedAndCleanedOnSave)
{
    data::Table<ContactRecord> t(db);
    pim::RecordForm<ContactRecord> form(t, warnings, Request::Insert, rules());
    ASSERT_TRUE(form.open());
    form.record().workDayPhone = "555 0100";
    const auto outcome = form.complete();
    EXPECT_FALSE(outcome.close);
    EXPECT_EQ(outcome.focusField, pim::ContactLastName);
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text, "C_:LastName cannot be blank.");

    form.record().firstName = "Li\nWei";
    EXPECT_TRUE(form.complete().close);
    data::Table<ContactRecord> stored(db);
    readContact(stored, 1);
    EXPECT_EQ(stored.rec.firstName.str(), "Li Wei");
    EXPECT_EQ(stored.rec.workDayPhone.str(), "555 0100");
}

TEST_F(ContactsTest, ACopyGetsANewNumberAndNoneOfTheOriginalsLinks)
{
    addTask(3);
    addContact(9, "Work");
    addLink(3, 9);
    data::Table<ContactRecord> source(db);
    readContact(source, 9);
    source.rec.notes = "met at the fair";
    ASSERT_EQ(source.put(), data::kOk);

    const ContactRecord start = pim::ContactCopy(source.rec);
    data::Table<ContactRecord> t(db);
    pim::RecordForm<ContactRecord> form(t, warnings, Request::Insert, rules());
    ASSERT_TRUE(form.open(0, 0, &start));
    EXPECT_EQ(form.record().clientId, 10);
    EXPECT_EQ(form.record().lastName.str(), "Contact 9");
    EXPECT_EQ(form.record().contactCategory.str(), "Work");
    EXPECT_EQ(form.record().notes.str(), "met at the fair");
    EXPECT_TRUE(form.complete().close);
    EXPECT_EQ(contactIds(), (Strings{"9", "10"}));
    EXPECT_EQ(links(), (Strings{"3-9"}));
}

TEST_F(ContactsTest, ATypedCategoryIsTakenInItsStoredSpellingOrAskedAbout)
{
    addContactCategory("Family");
    FixedText<20> name = "fAMILY";
    EXPECT_EQ(pim::CheckContactCategory(db, prompter, name), pim::CategoryEntry::Known);
    EXPECT_EQ(name.str(), "Family");
    FixedText<20> blank;
    EXPECT_EQ(pim::CheckContactCategory(db, prompter, blank), pim::CategoryEntry::Known);
    EXPECT_TRUE(prompter.shown.empty());

    FixedText<20> fresh = "Suppliers";
    prompter.answer(MessageButton::No);
    EXPECT_EQ(pim::CheckContactCategory(db, prompter, fresh), pim::CategoryEntry::Refused);
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text, "Add new category?");
    EXPECT_EQ(prompter.shown[0].caption, "Category not found");
    EXPECT_EQ(prompter.shown[0].buttons, platform::MessageButtons::YesNo);
    prompter.answer(MessageButton::Yes);
    EXPECT_EQ(pim::CheckContactCategory(db, prompter, fresh), pim::CategoryEntry::AddNew);
    EXPECT_EQ(contactCategories(), (Strings{"Family"}));  // the caller's form adds it
}

TEST_F(ContactsTest, ALinkNeedsAStandingTaskAndIsMadeOnce)
{
    addTask(3);
    addTask(4);
    addContact(9);
    const auto link = [&](data::Long id) {
        data::Table<LinkRecord> t(db);
        pim::RecordForm<LinkRecord> form(t, warnings, Request::Insert, pim::LinkFormRules(t, 9));
        EXPECT_TRUE(form.open());
        EXPECT_EQ(form.record().clientId, 9);
        form.record().id = id;
        const bool closed = form.complete().close;
        if (!closed)
            form.cancel();
        return closed;
    };
    EXPECT_FALSE(link(0));
    EXPECT_EQ(prompter.shown.back().text, "L:ID cannot be blank.");
    EXPECT_FALSE(link(77));
    EXPECT_EQ(prompter.shown.back().text, pim::kTaskGone);
    EXPECT_TRUE(link(3));
    EXPECT_FALSE(link(3));
    EXPECT_EQ(prompter.shown.back().text, pim::kLinkedTwice);
    EXPECT_EQ(links(), (Strings{"3-9"}));

    // The key itself refuses the pair, whoever writes it.
    data::Table<LinkRecord> direct(db);
    direct.rec.id = 3;
    direct.rec.clientId = 9;
    EXPECT_EQ(direct.add(), data::kDuplicateKey);

    // Changing a link to another task moves it; keeping its own task is no duplicate.
    data::Table<LinkRecord> t(db);
    t.rec.id = 3;
    t.rec.clientId = 9;
    ASSERT_EQ(t.get(LinkRecord::KeySchedule), data::kOk);
    const std::int64_t row = t.rowId();
    pim::RecordForm<LinkRecord> change(t, warnings, Request::Change, pim::LinkFormRules(t, 9));
    ASSERT_TRUE(change.open(LinkRecord::KeyClient, row));
    change.record().id = 3;
    EXPECT_TRUE(change.complete().close);
    pim::RecordForm<LinkRecord> move(t, warnings, Request::Change, pim::LinkFormRules(t, 9));
    ASSERT_TRUE(move.open(LinkRecord::KeyClient, row));
    move.record().id = 4;
    EXPECT_TRUE(move.complete().close);
    EXPECT_EQ(links(), (Strings{"4-9"}));
}

TEST_F(ContactsTest, DeletingAContactTakesItsLinksAndLeavesTheTasks)
{
    addTask(3);
    addTask(4);
    addContact(9);
    addContact(10);
    addLink(3, 9);
    addLink(4, 9);
    addLink(4, 10);
    data::Table<ContactRecord> t(db);
    pim::RecordForm<ContactRecord> form(t, warnings, Request::Delete, rules());
    ASSERT_TRUE(form.open(ContactRecord::KeyClientID, contactRow(9)));
    prompter.answer(MessageButton::Ok);
    EXPECT_TRUE(form.complete().close);
    EXPECT_EQ(form.response(), Response::Completed);
    EXPECT_EQ(contactIds(), (Strings{"10"}));
    EXPECT_EQ(links(), (Strings{"4-10"}));
    EXPECT_EQ(taskIds(), (Strings{"3", "4"}));
}

TEST_F(ContactsTest, ContactCategoryNamesAreNeededAndUniqueInAnyCase)
{
    addContactCategory("Family");
    data::Table<data::ContactCategoryRecord> t(db);
    pim::RecordForm<data::ContactCategoryRecord> form(t, warnings, Request::Insert, pim::ContactCategoryFormRules());
    EXPECT_EQ(form.title(), "Adding a Contact Categories Record");
    ASSERT_TRUE(form.open());
    EXPECT_FALSE(form.complete().close);
    EXPECT_EQ(prompter.shown.back().text, "Contact Category cannot be blank.");
    form.record().contactCategory = "FAMILY";
    EXPECT_FALSE(form.complete().close);
    EXPECT_EQ(prompter.shown.back().caption, "Duplicate Key");
    EXPECT_NE(prompter.shown.back().text.find("By Contact Category"), std::string::npos);
    form.record().contactCategory = "Work";
    EXPECT_TRUE(form.complete().close);
    EXPECT_EQ(contactCategories(), (Strings{"Family", "Work"}));
}

}  // namespace
}  // namespace hrln::test
