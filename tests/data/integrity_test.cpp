#include "data/integrity.h"
#include "integrity_fixture.h"

#include <chrono>

namespace hrln::test {
namespace {

using namespace data;
using std::chrono::milliseconds;

TEST_F(IntegrityTest, DeletingATaskTakesItsScriptItemsAndLinksAndNothingElse)
{
    addTask(1, "Work", 3);
    addTask(2, "Work", 2);  // its items follow task 1's in the key: the walk must stop at them
    addContact(10);
    addContact(11);
    addLink(1, 10);
    addLink(1, 11);
    addLink(2, 10);

    Table<ScheduleRecord> t(db);
    readTask(t, 1);
    const IntegrityResult result = IntegrityDelete(t);
    ASSERT_TRUE(result.ok()) << result.error;

    EXPECT_EQ(taskIds(), Strings{"2"});
    EXPECT_EQ(items(), (Strings{"2.1", "2.2"}));
    EXPECT_EQ(links(), Strings{"2-10"});
    EXPECT_EQ(contactIds(), (Strings{"10", "11"}));
}

TEST_F(IntegrityTest, DeletingAContactTakesItsLinksAndLeavesTheTasks)
{
    addTask(1);
    addTask(2);
    addContact(10);
    addContact(11);
    addLink(1, 10);
    addLink(2, 10);
    addLink(2, 11);

    Table<ContactRecord> c(db);
    readContact(c, 10);
    ASSERT_TRUE(IntegrityDelete(c).ok());

    EXPECT_EQ(contactIds(), Strings{"11"});
    EXPECT_EQ(links(), Strings{"2-11"});
    EXPECT_EQ(taskIds(), (Strings{"1", "2"}));
}

TEST_F(IntegrityTest, ACategoryInUseIsNeitherDeletedNorRenamedWhateverTheCase)
{
    addCategory("Work");
    addCategory("Home");
    addTask(1, "WORK ");  // the key ignores case and trailing blanks, and so does the restrict

    Table<CategoryRecord> cat(db);
    readCategory(cat, "Work");
    IntegrityResult result = IntegrityDelete(cat);
    EXPECT_EQ(result.error, kReferenced);
    EXPECT_EQ(result.step, IntegrityStep::Restricted);
    ASSERT_NE(result.table, nullptr);
    EXPECT_EQ(result.table->name(), "Schedule");
    EXPECT_EQ(categories(), (Strings{"Home", "Work"}));

    const CategoryRecord saved = cat.rec;
    cat.rec.category = "Office";
    result = IntegrityUpdate(cat, saved);
    EXPECT_EQ(result.step, IntegrityStep::Restricted);
    EXPECT_EQ(result.table->name(), "Schedule");
    EXPECT_EQ(cat.rec.category, "Work");  // the field is back at its saved value
    EXPECT_EQ(categories(), (Strings{"Home", "Work"}));

    // The buffer still holds its record: a save that passes is not taken for another station's change.
    cat.rec.category = "work";
    EXPECT_TRUE(IntegrityUpdate(cat, saved).ok());
    EXPECT_EQ(categories(), (Strings{"Home", "work"}));
}

TEST_F(IntegrityTest, ACategoryUsedOnlyByToDoItemsCanBeRenamedAndDeleted)
{
    addCategory("Errands");
    addCategory("Work");
    addTask(1, "Work");
    TodoRecord item;
    item.toDo = "buy milk";
    item.category = "Errands";
    add(item);

    Table<CategoryRecord> cat(db);
    readCategory(cat, "Errands");
    const CategoryRecord saved = cat.rec;
    cat.rec.category = "Shopping";
    ASSERT_TRUE(IntegrityUpdate(cat, saved).ok());
    EXPECT_EQ(categories(), (Strings{"Shopping", "Work"}));
    ASSERT_TRUE(IntegrityDelete(cat).ok());
    EXPECT_EQ(categories(), Strings{"Work"});
    EXPECT_EQ(walk<TodoRecord>(TodoRecord::KeyToDo, [](auto& r) { return r.category.str(); }), Strings{"Errands"});
}

TEST_F(IntegrityTest, AContactCategoryInUseIsRefusedNamingContact)
{
    addContactCategory("Friends");
    addContactCategory("Family");
    addContact(10, "friends");

    Table<ContactCategoryRecord> cc(db);
    readContactCategory(cc, "Friends");
    IntegrityResult result = IntegrityDelete(cc);
    EXPECT_EQ(result.step, IntegrityStep::Restricted);
    EXPECT_EQ(result.table->name(), "Contact");
    EXPECT_EQ(contactCategories(), (Strings{"Family", "Friends"}));
    EXPECT_EQ(contactIds(), Strings{"10"});

    const ContactCategoryRecord saved = cc.rec;
    cc.rec.contactCategory = "Pals";
    result = IntegrityUpdate(cc, saved);
    EXPECT_EQ(result.step, IntegrityStep::Restricted);
    EXPECT_EQ(cc.rec.contactCategory, "Friends");
    EXPECT_EQ(contactCategories(), (Strings{"Family", "Friends"}));

    // One that no contact uses is renamed.
    Table<ContactCategoryRecord> unused(db);
    readContactCategory(unused, "Family");
    const ContactCategoryRecord savedUnused = unused.rec;
    unused.rec.contactCategory = "Relatives";
    EXPECT_TRUE(IntegrityUpdate(unused, savedUnused).ok());
    EXPECT_EQ(contactCategories(), (Strings{"Friends", "Relatives"}));
}

TEST_F(IntegrityTest, ANewNumberCarriesTheChildrenAlong)
{
    addTask(1, "Work", 2);
    addTask(3, "Work", 1);
    addContact(10);
    addContact(11);
    addLink(1, 10);
    addLink(3, 10);
    addLink(3, 11);

    Table<ContactRecord> c(db);
    readContact(c, 10);
    const ContactRecord savedContact = c.rec;
    c.rec.clientId = 12;
    ASSERT_TRUE(IntegrityUpdate(c, savedContact).ok());
    EXPECT_EQ(links(), (Strings{"1-12", "3-11", "3-12"}));

    // Task 1 becomes 2: right next to its old number, so the walk must not take
    // its own rewritten children for more.
    Table<ScheduleRecord> t(db);
    readTask(t, 1);
    const ScheduleRecord savedTask = t.rec;
    t.rec.id = 2;
    ASSERT_TRUE(IntegrityUpdate(t, savedTask).ok());
    EXPECT_EQ(taskIds(), (Strings{"2", "3"}));
    EXPECT_EQ(items(), (Strings{"2.1", "2.2", "3.1"}));
    EXPECT_EQ(links(), (Strings{"2-12", "3-11", "3-12"}));
}

TEST_F(IntegrityTest, AChildThatCannotFollowUndoesTheWholeChange)
{
    addTask(1, "Work", 2);
    addContact(10);
    addLink(1, 10);
    addLink(2, 10);  // left over from a task 2 that is gone: task 1 cannot become 2

    Table<ScheduleRecord> t(db);
    readTask(t, 1);
    const ScheduleRecord saved = t.rec;
    t.rec.id = 2;
    const IntegrityResult result = IntegrityUpdate(t, saved);
    EXPECT_EQ(result.error, kDuplicateKey);
    EXPECT_EQ(result.step, IntegrityStep::ChildWrite);
    EXPECT_EQ(result.table->name(), "Link");
    EXPECT_EQ(taskIds(), Strings{"1"});
    EXPECT_EQ(items(), (Strings{"1.1", "1.2"}));
    EXPECT_EQ(links(), (Strings{"1-10", "2-10"}));

    // The form may then save again under another number.
    t.rec.id = 5;
    EXPECT_TRUE(IntegrityUpdate(t, saved).ok());
    EXPECT_EQ(taskIds(), Strings{"5"});
    EXPECT_EQ(items(), (Strings{"5.1", "5.2"}));
}

TEST_F(IntegrityTest, ARecordChangedByAnotherStationIsShownAndNotOverwritten)
{
    addTask(1, "Work", 1);
    Table<ScheduleRecord> mine(db);
    readTask(mine, 1);
    const ScheduleRecord saved = mine.rec;

    Table<ScheduleRecord> theirs(station());
    readTask(theirs, 1);
    theirs.rec.description = "theirs";
    ASSERT_EQ(theirs.put(), kOk);

    mine.rec.description = "mine";
    mine.rec.id = 7;
    const IntegrityResult result = IntegrityUpdate(mine, saved);
    EXPECT_EQ(result.error, kRecordChanged);
    EXPECT_EQ(result.step, IntegrityStep::Write);
    EXPECT_EQ(mine.rec.description, "theirs");
    EXPECT_EQ(mine.rec.id, 1);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(taskIds(), Strings{"1"});
    EXPECT_EQ(items(), Strings{"1.1"});
    Table<ScheduleRecord> check(db);
    readTask(check, 1);
    EXPECT_EQ(check.rec.description, "theirs");
}

TEST_F(IntegrityTest, ADeleteReadsTheRecordAgainAndFollowsItsCurrentValues)
{
    addCategory("Work");
    Table<CategoryRecord> mine(db);
    readCategory(mine, "Work");

    // Meanwhile another station puts a task in the category.
    {
        Table<ScheduleRecord> theirs(station());
        theirs.rec = Task(1, MakeDate(1, 1, 2027), MakeTime(9, 0), "theirs", "work");
        ASSERT_EQ(theirs.add(), kOk);
    }
    EXPECT_EQ(IntegrityDelete(mine).step, IntegrityStep::Restricted);

    // A record another station deleted is reported, and nothing else happens.
    Table<CategoryRecord> theirs(station());
    readCategory(theirs, "Work");
    ASSERT_EQ(theirs.remove(), kOk);
    const IntegrityResult gone = IntegrityDelete(mine);
    EXPECT_EQ(gone.error, kRecordNotAvailable);
    EXPECT_EQ(gone.step, IntegrityStep::Fetch);
    EXPECT_FALSE(db.inTransaction());
}

TEST_F(IntegrityTest, AWriteLockHeldElsewhereChangesNothing)
{
    addTask(1, "Work", 2);
    Table<ScheduleRecord> t(db);
    readTask(t, 1);
    ASSERT_EQ(station().begin(), kOk);

    IntegrityResult result = IntegrityDelete(t, milliseconds(50));
    EXPECT_EQ(result.error, kIsLocked);
    EXPECT_EQ(result.step, IntegrityStep::Transaction);
    EXPECT_EQ(result.table->name(), "Schedule");
    const ScheduleRecord saved = t.rec;
    t.rec.id = 4;
    result = IntegrityUpdate(t, saved, milliseconds(50));
    EXPECT_EQ(result.error, kIsLocked);
    EXPECT_EQ(result.step, IntegrityStep::Transaction);

    ASSERT_EQ(station().commit(), kOk);
    EXPECT_EQ(taskIds(), Strings{"1"});
    EXPECT_EQ(items(), (Strings{"1.1", "1.2"}));
    // Once the lock is gone, the same save goes through.
    EXPECT_TRUE(IntegrityUpdate(t, saved).ok());
    EXPECT_EQ(items(), (Strings{"4.1", "4.2"}));
}

TEST_F(IntegrityTest, InsideTheCallersTransactionOnlyItsOwnPartIsUndone)
{
    addCategory("Work");
    addTask(1, "Work", 1);
    addTask(2, "Home", 1);

    ASSERT_EQ(db.begin(), kOk);
    addCategory("Other");  // the caller's own work
    Table<CategoryRecord> cat(db);
    readCategory(cat, "Work");
    const CategoryRecord saved = cat.rec;
    cat.rec.category = "Job";
    EXPECT_EQ(IntegrityUpdate(cat, saved).step, IntegrityStep::Restricted);
    EXPECT_TRUE(db.inTransaction());
    Table<ScheduleRecord> t(db);
    readTask(t, 2);
    EXPECT_TRUE(IntegrityDelete(t).ok());
    EXPECT_TRUE(db.inTransaction());
    ASSERT_EQ(db.commit(), kOk);

    EXPECT_EQ(categories(), (Strings{"Other", "Work"}));
    EXPECT_EQ(taskIds(), Strings{"1"});
    EXPECT_EQ(items(), Strings{"1.1"});
}

TEST_F(IntegrityTest, AnEmptyValueRefersToNothing)
{
    // A blank name is left out of the category key: it is no category, and
    // the tasks without one do not hold it.
    addTask(1, "");
    Table<CategoryRecord> blank(db);
    blank.clear();
    ASSERT_EQ(blank.add(), kOk);
    ASSERT_EQ(blank.get(CategoryRecord::KeyCategory), kRecordNotFound);  // not in the key
    blank.clear();
    ASSERT_EQ(blank.add(), kOk);
    EXPECT_TRUE(IntegrityDelete(blank).ok());
    EXPECT_EQ(taskIds(), Strings{"1"});
}

TEST_F(IntegrityTest, TablesWithoutChildrenDeleteAndWriteTheirRecordAlone)
{
    addTask(1, "Work", 3);
    addContact(10);
    addLink(1, 10);

    Table<ScriptingRecord> item(db);
    item.rec.id = 1;
    item.rec.sequence = 2;
    ASSERT_EQ(item.get(ScriptingRecord::KeyID), kOk);
    ASSERT_TRUE(IntegrityDelete(item).ok());
    EXPECT_EQ(items(), (Strings{"1.1", "1.3"}));

    Table<LinkRecord> link(db);
    link.rec.id = 1;
    link.rec.clientId = 10;
    ASSERT_EQ(link.get(LinkRecord::KeySchedule), kOk);
    const LinkRecord saved = link.rec;
    link.rec.id = 9;  // a link moved by hand carries nothing along
    ASSERT_TRUE(IntegrityUpdate(link, saved).ok());
    EXPECT_EQ(links(), Strings{"9-10"});
    EXPECT_EQ(taskIds(), Strings{"1"});
    EXPECT_EQ(contactIds(), Strings{"10"});
}

}  // namespace
}  // namespace hrln::test
