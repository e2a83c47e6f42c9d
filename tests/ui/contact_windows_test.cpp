#include "ui/pim/category_windows.h"
#include "ui/pim/contact_windows.h"
#include "ui/pim/link_windows.h"

#include "data/settings.h"
#include "modal.h"
#include "pim/contacts.h"
#include "store_fixture.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace hrln::test {
namespace {

using data::ContactRecord;
using platform::MessageButton;
using Strings = std::vector<std::string>;

class ContactWindowsTest : public StoreTest {
protected:
    ui::WindowServices services() { return {db, positions, prompter}; }

    void addContact(data::Long clientId, std::string_view last, std::string_view category = {})
    {
        data::Table<ContactRecord> t(db);
        t.rec.clientId = clientId;
        t.rec.lastName = last;
        t.rec.contactCategory = category;
        ASSERT_EQ(t.add(), data::kOk);
    }
    void addContactCategory(std::string_view name)
    {
        data::Table<data::ContactCategoryRecord> t(db);
        t.rec.contactCategory = name;
        ASSERT_EQ(t.add(), data::kOk);
    }
    void addTask(data::Long id, std::string_view description, Date date = MakeDate(3, 1, 2027))
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = Task(id, date, MakeTime(9, 30), description, "Work");
        ASSERT_EQ(t.add(), data::kOk);
    }
    void addLink(data::Long id, data::Long clientId)
    {
        data::Table<data::LinkRecord> t(db);
        t.rec.id = id;
        t.rec.clientId = clientId;
        ASSERT_EQ(t.add(), data::kOk);
    }
    Strings links()
    {
        return walk<data::LinkRecord>(data::LinkRecord::KeySchedule, [](const data::LinkRecord& r) {
            return std::to_string(r.id) + "-" + std::to_string(r.clientId);
        });
    }
    Strings contacts()
    {
        return walk<ContactRecord>(ContactRecord::KeyClientID, [](const ContactRecord& r) {
            return std::to_string(r.clientId) + ":" + r.lastName.str() + ":" + r.contactCategory.str();
        });
    }
    Strings contactCategories()
    {
        return walk<data::ContactCategoryRecord>(data::ContactCategoryRecord::KeyContactCategories,
                                                 [](const data::ContactCategoryRecord& r) {
                                                     return r.contactCategory.str();
                                                 });
    }
    QString cell(ui::BrowseList* list, int row, int column)
    {
        return list->model()->data(list->model()->index(row, column)).toString();
    }
    static QPushButton* button(QWidget* w, const char* name)
    {
        return w->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static QLineEdit* edit(QWidget* w, const char* name) { return w->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    static QComboBox* categoryCombo(QWidget* form)
    {
        return form->findChild<QComboBox*>(QStringLiteral("contactCategoryCombo"));
    }
    // The texts of the pop-up menu entries that can be chosen now.
    static QStringList activeEntries(ui::BrowseList* list)
    {
        QStringList out;
        for (QAction* a : list->popupMenu()->actions())
            if (a->isEnabled() && !a->isSeparator())
                out << a->text();
        return out;
    }
    // Links the contact in the open form `form` to the task in row `row` of the
    // selector, and saves the link.
    static void LinkThroughForms(QWidget* form, int row)
    {
        WhenModalOpens(
            [row](QWidget* link) {
                WhenModalOpens(
                    [row](QWidget* selector) {
                        auto* list = selector->findChild<ui::BrowseList*>();
                        list->selectRow(row);
                        QTest::mouseClick(button(selector, "selectButton"), Qt::LeftButton);
                    },
                    QStringLiteral("SELECTSCHEDULE$QUICKWINDOW"));
                QTest::mouseClick(button(link, "selectTaskButton"), Qt::LeftButton);
                QTest::mouseClick(button(link, "okButton"), Qt::LeftButton);
                // A refused link leaves its form open: close it so the test goes on.
                QTimer::singleShot(20, link, [link] {
                    if (link->isVisible())
                        QTest::keyClick(link, Qt::Key_Escape);
                });
            },
            QStringLiteral("UPDATELINK$QUICKWINDOW"));
        QTest::mouseClick(button(form, "insertButton"), Qt::LeftButton);
    }

    FakePrompter prompter;
    FakeClipboard clipboard;
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
};

TEST_F(ContactWindowsTest, TheBrowserShowsItsColumnsAndTabsAndAnEmptyListOffersOnlyAdd)
{
    ui::BrowseContactsWindow browser(services(), &clipboard);
    EXPECT_EQ(browser.objectName(), QStringLiteral("BROWSECONTACTS$QUICKWINDOW"));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Contacts"));
    browser.show();
    ui::BrowseModel* model = browser.list()->model();
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"Last Name", "First Name", "Address Line 1", "Address Line 2", "Address Line 3",
                                   "Postal Code", "Work/Day Phone", "Home/Evening Phone", "Fax"}));
    QStringList tabs;
    for (int t = 0; t < browser.list()->tabs()->count(); ++t)
        tabs << browser.list()->tabs()->tabText(t);
    EXPECT_EQ(tabs, (QStringList{"Last Name", "First Name", "Work/Day Phone", "Home/Evening Phone", "Fax", "Email",
                                 "Category"}));
    EXPECT_EQ(activeEntries(browser.list()), QStringList{QStringLiteral("&Add")});
    EXPECT_FALSE(button(&browser, "copyButton")->isEnabled());
    EXPECT_FALSE(button(&browser, "copyToClipboardButton")->isEnabled());
    EXPECT_EQ(button(&browser, "copyButton")->toolTip(), QStringLiteral("Copy record"));
    EXPECT_TRUE(button(&browser, "pickButton")->isEnabled());
}

TEST_F(ContactWindowsTest, CopyToClipboardGivesThirteenLinesForALastNameOnlyContact)
{
    addContact(1, "Okafor");
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();
    EXPECT_EQ(activeEntries(browser.list()),
              (QStringList{"&Add", "&Edit", "&Delete", "Cop&y"}));
    QTest::mouseClick(button(&browser, "copyToClipboardButton"), Qt::LeftButton);
    EXPECT_EQ(clipboard.content,
              "Okafor\r\r\r\r\r\rWork Phone: \rHome Phone: \rFax: \rOther Phone: \rEmail: \rWeb Site: \rCategory: \r");

    // Without a clipboard the button stays greyed, whatever the list holds.
    ui::BrowseContactsWindow without(services(), nullptr);
    without.show();
    EXPECT_FALSE(button(&without, "copyToClipboardButton")->isEnabled());
}

TEST_F(ContactWindowsTest, TheCategoryTabShowsOnlyTheContactCategoryPicked)
{
    addContactCategory("Family");
    addContactCategory("Work");
    addContact(1, "Abel", "Work");
    addContact(2, "Baker", "family");
    addContact(3, "Cole", "WORK");
    addContact(4, "Dunn");
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();
    EXPECT_EQ(browser.list()->model()->rowCount(), 4);
    browser.list()->setTab(ui::BrowseContactsWindow::kCategoryTab);
    EXPECT_EQ(browser.category(), "Family");  // the first contact category until one is picked
    ASSERT_EQ(browser.list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(browser.list(), 0, 0), QStringLiteral("Baker"));

    browser.list()->setTab(0);
    WhenModalOpens(
        [](QWidget* selector) {
            EXPECT_EQ(selector->windowTitle(), QStringLiteral("Select a Contact Category"));
            selector->findChild<ui::BrowseList*>()->selectRow(1);
            QTest::mouseClick(button(selector, "selectButton"), Qt::LeftButton);
        },
        QStringLiteral("SELECTCONTACTCATEGORIES$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "pickButton"), Qt::LeftButton);
    EXPECT_EQ(browser.list()->tabs()->currentIndex(), ui::BrowseContactsWindow::kCategoryTab);
    EXPECT_EQ(browser.category(), "Work");
    ASSERT_EQ(browser.list()->model()->rowCount(), 2);  // the key ignores letter case
    EXPECT_EQ(cell(browser.list(), 0, 0), QStringLiteral("Abel"));
    EXPECT_EQ(cell(browser.list(), 1, 0), QStringLiteral("Cole"));

    // "Cl&ose" on the selector leaves the list as it was.
    WhenModalOpens([](QWidget* selector) { QTest::mouseClick(button(selector, "closeButton"), Qt::LeftButton); },
                   QStringLiteral("SELECTCONTACTCATEGORIES$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "pickButton"), Qt::LeftButton);
    EXPECT_EQ(browser.category(), "Work");
    EXPECT_EQ(browser.list()->model()->rowCount(), 2);
}

TEST_F(ContactWindowsTest, AddAndCopyTakeTheNextNumberAndACopyLeavesTheLinksBehind)
{
    addTask(5, "quarterly review");
    addContact(7, "Abel");
    addLink(5, 7);
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();

    QString title;
    WhenModalOpens(
        [&title](QWidget* form) {
            title = form->windowTitle();
            QTest::keyClicks(edit(form, "lastNameEdit"), QStringLiteral("Zed"));
            QTest::keyClicks(edit(form, "addressLine1Edit"), QStringLiteral("1 High St"));
            QTest::keyClick(edit(form, "addressLine1Edit"), Qt::Key_Return);
        },
        QStringLiteral("UPDATECONTACTS$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "insertButton"), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Adding a Contact Record"));
    EXPECT_EQ(contacts(), (Strings{"7:Abel:", "8:Zed:"}));
    EXPECT_EQ(cell(browser.list(), browser.list()->selectedRow(), 0), QStringLiteral("Zed"));

    // Cop&y of Abel: prefilled, under number 9, without Abel's link.
    browser.list()->selectRow(0);
    QString copiedName;
    int relatedRows = -1;
    WhenModalOpens(
        [&](QWidget* form) {
            title = form->windowTitle();
            copiedName = edit(form, "lastNameEdit")->text();
            relatedRows = form->findChild<ui::BrowseList*>(QStringLiteral("relatedTasksList"))->model()->rowCount();
            QTest::mouseClick(button(form, "okButton"), Qt::LeftButton);
        },
        QStringLiteral("UPDATECONTACTS$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "copyButton"), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Adding a Contact Record"));
    EXPECT_EQ(copiedName, QStringLiteral("Abel"));
    EXPECT_EQ(relatedRows, 0);
    EXPECT_EQ(contacts(), (Strings{"7:Abel:", "8:Zed:", "9:Abel:"}));
    EXPECT_EQ(links(), (Strings{"5-7"}));
}

TEST_F(ContactWindowsTest, ANewCategoryAnsweredNoKeepsTheFormOnTheField)
{
    addContactCategory("Family");
    addContact(1, "Abel");
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();
    bool stayed = false;
    bool focusOnField = false;
    WhenModalOpens(
        [&](QWidget* form) {
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form));
            QComboBox* combo = categoryCombo(form);
            combo->setFocus();
            QTest::keyClicks(combo->lineEdit(), QStringLiteral("Suppliers"));
            QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
            QTest::qWait(30);  // the check runs once the focus has moved
            // OK asks again and stays too.
            QTest::mouseClick(button(form, "okButton"), Qt::LeftButton);
            stayed = form->isVisible();
            focusOnField = QApplication::focusWidget() == combo;
            QTest::keyClick(form, Qt::Key_Escape);
        },
        QStringLiteral("UPDATECONTACTS$QUICKWINDOW"));
    prompter.answer(MessageButton::No);
    prompter.answer(MessageButton::No);
    QTest::mouseClick(button(&browser, "changeButton"), Qt::LeftButton);
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(focusOnField);
    ASSERT_EQ(prompter.shown.size(), 2U);
    EXPECT_EQ(prompter.shown[0].caption, "Category not found");
    EXPECT_EQ(prompter.shown[0].text, "Add new category?");
    EXPECT_EQ(contactCategories(), (Strings{"Family"}));
    EXPECT_EQ(contacts(), (Strings{"1:Abel:"}));
}

TEST_F(ContactWindowsTest, ANewCategoryAnsweredYesIsAddedThroughItsFormAndTaken)
{
    addContact(1, "Abel");
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();
    QString prefilled;
    QString categoryTitle;
    WhenModalOpens(
        [&](QWidget* form) {
            QComboBox* combo = categoryCombo(form);
            combo->setFocus();
            QTest::keyClicks(combo->lineEdit(), QStringLiteral("suppliers"));
            WhenModalOpens(
                [&](QWidget* categoryForm) {
                    categoryTitle = categoryForm->windowTitle();
                    QLineEdit* name = edit(categoryForm, "contactCategoryEdit");
                    prefilled = name->text();
                    name->setText(QStringLiteral("Suppliers"));
                    QTest::keyClick(name, Qt::Key_Return);
                },
                QStringLiteral("UPDATECONTACTCATEGORIES$QUICKWINDOW"));
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);  // OK
        },
        QStringLiteral("UPDATECONTACTS$QUICKWINDOW"));
    prompter.answer(MessageButton::Yes);
    QTest::mouseClick(button(&browser, "changeButton"), Qt::LeftButton);
    EXPECT_EQ(prefilled, QStringLiteral("suppliers"));
    EXPECT_EQ(categoryTitle, QStringLiteral("Adding a Contact Categories Record"));
    EXPECT_EQ(contactCategories(), (Strings{"Suppliers"}));
    EXPECT_EQ(contacts(), (Strings{"1:Abel:Suppliers"}));
}

TEST_F(ContactWindowsTest, RelatedTasksAreLinkedOnceAndDeletingTheContactKeepsTheTasks)
{
    addTask(3, "dentist", MakeDate(5, 1, 2027));
    addTask(4, "plumber", MakeDate(2, 1, 2027));
    addContact(1, "Abel");
    addLink(4, 1);
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();

    QStringList shown;
    WhenModalOpens(
        [&](QWidget* form) {
            auto* related = form->findChild<ui::BrowseList*>(QStringLiteral("relatedTasksList"));
            EXPECT_EQ(button(related, "insertButton")->text(), QStringLiteral("&Insert"));
            EXPECT_EQ(related->model()->rowCount(), 1);
            // The selector lists by date: plumber (2 Jan) before dentist (5 Jan).
            LinkThroughForms(form, 1);
            for (int row = 0; row < related->model()->rowCount(); ++row)
                shown << related->model()->data(related->model()->index(row, 2)).toString();
            // The same task again is refused with a plain message.
            LinkThroughForms(form, 1);
            QTest::mouseClick(button(form, "okButton"), Qt::LeftButton);
        },
        QStringLiteral("UPDATECONTACTS$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "changeButton"), Qt::LeftButton);
    EXPECT_EQ(shown, (QStringList{"dentist", "plumber"}));  // KeyClient order: task 3, then 4
    EXPECT_EQ(links(), (Strings{"3-1", "4-1"}));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, pim::kLinkedTwice);

    prompter.answer(MessageButton::Ok);
    QTest::mouseClick(button(&browser, "deleteButton"), Qt::LeftButton);
    EXPECT_TRUE(contacts().empty());
    EXPECT_TRUE(links().empty());
    EXPECT_EQ(walk<data::ScheduleRecord>(data::ScheduleRecord::KeyID,
                                         [](const data::ScheduleRecord& r) { return r.description.str(); }),
              (Strings{"dentist", "plumber"}));
    EXPECT_EQ(browser.list()->model()->rowCount(), 0);
}

TEST_F(ContactWindowsTest, ACancelledNewContactTakesTheLinksMadeMeanwhile)
{
    addTask(3, "dentist");
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();
    WhenModalOpens(
        [&](QWidget* form) {
            LinkThroughForms(form, 0);
            EXPECT_EQ(links(), (Strings{"3-1"}));
            QTest::keyClick(form, Qt::Key_Escape);
        },
        QStringLiteral("UPDATECONTACTS$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "insertButton"), Qt::LeftButton);
    EXPECT_TRUE(contacts().empty());
    EXPECT_TRUE(links().empty());
}

TEST_F(ContactWindowsTest, TheTaskSelectorLeavesOutHistoryAndNarrowsToTheCategorySelected)
{
    addTask(1, "plumber", MakeDate(4, 1, 2027));
    addTask(2, "dentist", MakeDate(2, 1, 2027));
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = Task(3, MakeDate(1, 1, 2027), MakeTime(8, 0), "plumber came", "Work");
        t.rec.disabled = 1;
        t.rec.completed = 1;  // a history entry
        ASSERT_EQ(t.add(), data::kOk);
        t.rec = Task(4, MakeDate(3, 1, 2027), MakeTime(8, 0), "birthday", "Home");
        ASSERT_EQ(t.add(), data::kOk);
        data::Table<data::CategoryRecord> c(db);
        c.rec.category = "Home";
        ASSERT_EQ(c.add(), data::kOk);
        c.rec.category = "Work";
        ASSERT_EQ(c.add(), data::kOk);
    }
    ui::SelectScheduleWindow selector(services());
    EXPECT_EQ(selector.objectName(), QStringLiteral("SELECTSCHEDULE$QUICKWINDOW"));
    selector.show();
    ui::BrowseList* list = selector.list();
    const auto descriptions = [&] {
        QStringList out;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            out << cell(list, row, 4);
        return out;
    };
    EXPECT_EQ(descriptions(), (QStringList{"dentist", "birthday", "plumber"}));

    WhenModalOpens(
        [](QWidget* categories) {
            categories->findChild<ui::BrowseList*>()->selectRow(1);  // "Work"
            QTest::mouseClick(button(categories, "selectButton"), Qt::LeftButton);
        },
        QStringLiteral("SELECTCATEGORIES$QUICKWINDOW"));
    QTest::mouseClick(button(&selector, "selectCategoryButton"), Qt::LeftButton);
    EXPECT_EQ(selector.category(), "Work");
    EXPECT_EQ(list->tabs()->currentIndex(), ui::SelectScheduleWindow::kCategoryTab);
    EXPECT_EQ(descriptions(), (QStringList{"dentist", "plumber"}));

    // "Cl&ose" answers cancelled and leaves the chosen task as it was.
    data::ScheduleRecord chosen;
    chosen.id = 99;
    WhenModalOpens([](QWidget* s) { QTest::mouseClick(button(s, "closeButton"), Qt::LeftButton); },
                   QStringLiteral("SELECTSCHEDULE$QUICKWINDOW"));
    EXPECT_EQ(ui::SelectScheduleWindow::Select(services(), chosen, nullptr), pim::Response::Cancelled);
    EXPECT_EQ(chosen.id, 99);
}

TEST_F(ContactWindowsTest, PastedLongAndMultiLineTextIsSavedCutAndOnOneLine)
{
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();
    QString tip;
    WhenModalOpens(
        [&tip](QWidget* form) {
            tip = edit(form, "addressLine2Edit")->toolTip();
            QLineEdit* last = edit(form, "lastNameEdit");
            last->insert(QStringLiteral("Line\none\tand\x1b more ") + QString(10000, QLatin1Char('z')));
            edit(form, "emailEdit")->insert(QStringLiteral("a\u202Eb@example.org"));
            QTest::mouseClick(button(form, "okButton"), Qt::LeftButton);
        },
        QStringLiteral("UPDATECONTACTS$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "insertButton"), Qt::LeftButton);
    EXPECT_EQ(tip, QStringLiteral("Enter up to 30 characters"));
    data::Table<ContactRecord> t(db);
    t.set(ContactRecord::KeyClientID);
    ASSERT_EQ(t.next(), data::kOk);
    const std::string last = t.rec.lastName.str();
    EXPECT_LE(last.size(), 30U);
    EXPECT_EQ(last.find_first_of("\n\t\x1b"), std::string::npos) << last;
    EXPECT_EQ(last.substr(0, 9), "Line one ");
    EXPECT_EQ(t.rec.email.str(), "ab@example.org");
    EXPECT_EQ(cell(browser.list(), 0, 0).toStdString(), last);
}

// A pasted text is cleaned before it is counted, so a control character
// never takes the place of a character kept; the cut is noted at the field.
TEST_F(ContactWindowsTest, APasteIsCleanedBeforeItIsCutAndTheCutIsNoted)
{
    ui::BrowseContactsWindow browser(services(), &clipboard);
    browser.show();
    QString shown;
    QString note;
    WhenModalOpens(
        [&](QWidget* form) {
            QLineEdit* last = edit(form, "lastNameEdit");
            last->insert(QStringLiteral("Twenty-two characters Tabbed\abell"));
            shown = last->text();
            auto* label = form->findChild<QLabel*>(QStringLiteral("fieldNoteLabel"));
            note = label != nullptr && label->isVisible() ? label->text() : QString();
            QTest::mouseClick(button(form, "okButton"), Qt::LeftButton);
        },
        QStringLiteral("UPDATECONTACTS$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "insertButton"), Qt::LeftButton);
    EXPECT_EQ(shown, QStringLiteral("Twenty-two characters Tabbedbe"));
    EXPECT_EQ(note, QStringLiteral("Last Name: up to 30 characters."));
    data::Table<ContactRecord> t(db);
    t.set(ContactRecord::KeyClientID);
    ASSERT_EQ(t.next(), data::kOk);
    EXPECT_EQ(t.rec.lastName.str(), "Twenty-two characters Tabbedbe");
}

TEST_F(ContactWindowsTest, AContactCategoryInUseCanNeitherGoNorBeRenamed)
{
    addContactCategory("Family");
    addContactCategory("Spare");
    addContact(1, "Abel", "Family");
    ui::BrowseContactCategoriesWindow browser(services());
    EXPECT_EQ(browser.objectName(), QStringLiteral("BROWSECONTACTCATEGORIES$QUICKWINDOW"));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Contact Categories"));
    EXPECT_EQ(button(&browser, "scheduleButton"), nullptr);
    browser.show();

    prompter.answer(MessageButton::Ok);
    QTest::mouseClick(button(&browser, "deleteButton"), Qt::LeftButton);
    EXPECT_EQ(contactCategories(), (Strings{"Family", "Spare"}));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().caption, "Referential Integrity Delete Error");
    EXPECT_NE(prompter.shown.back().text.find("Contact"), std::string::npos);

    WhenModalOpens(
        [](QWidget* form) {
            QLineEdit* name = edit(form, "contactCategoryEdit");
            name->setText(QStringLiteral("Kin"));
            QTest::keyClick(name, Qt::Key_Return);
            QTimer::singleShot(20, form, [form] {
                if (form->isVisible())
                    QTest::keyClick(form, Qt::Key_Escape);
            });
        },
        QStringLiteral("UPDATECONTACTCATEGORIES$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "changeButton"), Qt::LeftButton);
    EXPECT_EQ(contactCategories(), (Strings{"Family", "Spare"}));
    EXPECT_EQ(prompter.shown.back().caption, "Referential Integrity Update Error");

    // One no contact uses goes.
    browser.list()->selectRow(1);
    prompter.answer(MessageButton::Ok);
    QTest::mouseClick(button(&browser, "deleteButton"), Qt::LeftButton);
    EXPECT_EQ(contactCategories(), (Strings{"Family"}));
}

}  // namespace
}  // namespace hrln::test
