#include "ui/pim/todo_windows.h"

#include "data/settings.h"
#include "modal.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace hrln::test {
namespace {

using data::TodoRecord;

class TodoWindowsTest : public StoreTest {
protected:
    ui::PimWindowServices services() { return {{db, positions, prompter}, clock, QStringLiteral("Robin")}; }

    std::int64_t addItem(std::string_view text, std::string_view category, data::Byte priority = 5)
    {
        data::Table<TodoRecord> t(db);
        t.rec.toDo = text;
        t.rec.category = category;
        t.rec.priority = priority;
        EXPECT_EQ(t.add(), data::kOk);
        return t.rowId();
    }
    void addCategory(std::string_view name)
    {
        data::Table<data::CategoryRecord> t(db);
        t.rec.category = name;
        ASSERT_EQ(t.add(), data::kOk);
    }
    TodoRecord stored(std::int64_t rowid)
    {
        data::Table<TodoRecord> t(db);
        EXPECT_EQ(t.reget(TodoRecord::KeyToDo, rowid), data::kOk);
        return t.rec;
    }
    QString cell(ui::BrowseList* list, int row, int column)
    {
        return list->model()->data(list->model()->index(row, column)).toString();
    }
    QPushButton* button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QString::fromLatin1(name)); }

    FakeClock clock{MakeDate(3, 1, 2027), MakeTime(8, 0)};
    FakePrompter prompter;
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
};

TEST_F(TodoWindowsTest, AnEmptyListOffersOnlyAddAndTheFormRefusesPrioritiesOutsideItsRange)
{
    ui::ViewToDoWindow browser(services());
    EXPECT_EQ(browser.objectName(), QStringLiteral("VIEWTODO$QUICKWINDOW"));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("To Do List - Robin"));
    browser.show();
    QStringList active;
    for (QAction* a : browser.list()->popupMenu()->actions())
        if (a->isEnabled())
            active << a->text();
    EXPECT_EQ(active, QStringList{QStringLiteral("&Add")});
    EXPECT_FALSE(button(&browser, "toggleButton")->isEnabled());

    // Insert by keyboard; 0 and 11 are refused with the focus back on the field, 10 is taken.
    QString title;
    QStringList refused;
    WhenModalOpens(
        [&](QWidget* form) {
            title = form->windowTitle();
            QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("todoEdit")), QStringLiteral("Renew passport"));
            auto* priority = form->findChild<QSpinBox*>(QStringLiteral("prioritySpin"));
            EXPECT_EQ(priority->value(), 5);
            EXPECT_EQ(form->findChild<QComboBox*>(QStringLiteral("categoryCombo"))->currentText(),
                      QStringLiteral("General"));
            for (const int value : {0, 11, 10}) {
                priority->setValue(value);
                const std::size_t before = prompter.shown.size();
                QTest::keyClick(priority, Qt::Key_Return);
                if (prompter.shown.size() > before) {
                    refused << QString::number(value);
                    EXPECT_TRUE(form->isVisible());
                    EXPECT_EQ(form->focusWidget(), priority);
                }
            }
        },
        QStringLiteral("UPDATETODO$QUICKWINDOW"));
    QTest::keyClick(browser.list()->view(), Qt::Key_Insert);
    EXPECT_EQ(title, QStringLiteral("Adding a To Do Item"));
    EXPECT_EQ(refused, (QStringList{QStringLiteral("0"), QStringLiteral("11")}));
    ASSERT_EQ(browser.list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(browser.list(), 0, 1), QStringLiteral("10"));
    EXPECT_EQ(cell(browser.list(), 0, 2), QStringLiteral("Renew passport"));
    EXPECT_EQ(cell(browser.list(), 0, 3), QStringLiteral("General"));
}

// Notes beyond their 4,096 characters are cut where the user sees them, with
// a note, not silently on saving; what is kept is what is stored.
TEST_F(TodoWindowsTest, NotesPastTheirWidthAreCutAtOnceWithANote)
{
    const std::int64_t rowid = addItem("alpha", "General");
    ui::ViewToDoWindow browser(services());
    browser.show();
    ASSERT_TRUE(browser.list()->selectRowId(rowid));
    QString note;
    int kept = 0;
    WhenModalOpens(
        [&](QWidget* form) {
            auto* notes = form->findChild<QPlainTextEdit*>(QStringLiteral("notesEdit"));
            notes->setFocus();
            notes->insertPlainText(QString(4000, QLatin1Char('n')) + QString(200, QLatin1Char('m')));
            kept = static_cast<int>(notes->toPlainText().size());
            auto* label = form->findChild<QLabel*>(QStringLiteral("fieldNoteLabel"));
            note = label != nullptr && label->isVisible() ? label->text() : QString();
            QTest::mouseClick(button(form, "okButton"), Qt::LeftButton);
        },
        QStringLiteral("UPDATETODO$QUICKWINDOW"));
    QTest::keyClick(browser.list()->view(), Qt::Key_Return);
    EXPECT_EQ(kept, 4096);
    EXPECT_EQ(note, QStringLiteral("Notes: up to 4096 characters."));
    EXPECT_EQ(stored(rowid).notes.str(), std::string(4000, 'n') + std::string(96, 'm'));
}

TEST_F(TodoWindowsTest, ToggleStampsKeepsTheItemHighlightedAndTheDoneBoxStampsOnlyAnOpenItem)
{
    const std::int64_t first = addItem("alpha", "General", 3);
    addItem("beta", "General", 4);
    ui::ViewToDoWindow browser(services());
    browser.show();
    ui::BrowseList* list = browser.list();
    ASSERT_TRUE(list->selectRowId(first));
    ASSERT_EQ(list->selectedRow(), 0);

    // In the "Do&ne" order the done item moves after the open one, and stays highlighted.
    QTest::mouseClick(button(&browser, "toggleButton"), Qt::LeftButton);
    EXPECT_EQ(list->selectedRowId(), first);
    EXPECT_EQ(list->selectedRow(), 1);
    EXPECT_EQ(cell(list, 1, 4), QString::fromStdString(FormatD17(MakeDate(3, 1, 2027))));
    EXPECT_EQ(stored(first).completionTime, MakeTime(8, 0));

    // Undone: the stamp stays shown.
    clock.set(MakeDate(6, 1, 2027), MakeTime(9, 15));
    QTest::mouseClick(button(&browser, "toggleButton"), Qt::LeftButton);
    EXPECT_EQ(list->selectedRowId(), first);
    EXPECT_EQ(stored(first).done, 0);
    EXPECT_EQ(cell(list, 0, 4), QString::fromStdString(FormatD17(MakeDate(3, 1, 2027))));

    // Opened on the item that is not done, the box stamps it; Cancel writes nothing.
    QString shownDate;
    WhenModalOpens(
        [&](QWidget* form) {
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Changing a To Do Item"));
            auto* done = form->findChild<QCheckBox*>(QStringLiteral("doneCheck"));
            done->setFocus();
            QTest::keyClick(done, Qt::Key_Space);
            shownDate = form->findChild<QLabel*>(QStringLiteral("completionDateLabel"))->text();
            QTest::keyClick(form, Qt::Key_Escape);
        },
        QStringLiteral("UPDATETODO$QUICKWINDOW"));
    QTest::keyClick(list->view(), Qt::Key_Return);
    EXPECT_EQ(shownDate, QString::fromStdString(FormatD17(MakeDate(6, 1, 2027))));
    EXPECT_EQ(stored(first).done, 0);
    EXPECT_EQ(stored(first).completionDate, MakeDate(3, 1, 2027));
}

TEST_F(TodoWindowsTest, TheCategoryTabIgnoresLetterCaseAndPickChangesIt)
{
    addCategory("Garden");
    addCategory("Work");
    addItem("weed", "garden");
    addItem("prune", "GARDEN");
    addItem("report", "Work");
    ui::ViewToDoWindow browser(services());
    browser.show();
    ui::BrowseList* list = browser.list();
    EXPECT_FALSE(button(&browser, "pickButton")->isVisible());
    list->setTab(ui::ViewToDoWindow::kCategoryTab);
    ASSERT_TRUE(button(&browser, "pickButton")->isVisible());
    // It opens on the category current at opening (the first item's), in any letter case.
    EXPECT_EQ(browser.category(), "GARDEN");
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(cell(list, 0, 2), QStringLiteral("prune"));
    EXPECT_EQ(cell(list, 1, 2), QStringLiteral("weed"));

    WhenModalOpens(
        [](QWidget* selector) {
            auto* view = selector->findChild<QTableView*>(QStringLiteral("browseList"));
            QTest::keyClick(view, Qt::Key_Down);  // from "Garden" to "Work"
            QTest::keyClick(view, Qt::Key_Return);
        },
        QStringLiteral("SELECTCATEGORIES$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "pickButton"), Qt::LeftButton);
    EXPECT_EQ(browser.category(), "Work");
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(cell(list, 0, 2), QStringLiteral("report"));

    // Close on the selector keeps the category; a new item takes it.
    WhenModalOpens([](QWidget* selector) { QTest::keyClick(selector, Qt::Key_Escape); },
                   QStringLiteral("SELECTCATEGORIES$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "pickButton"), Qt::LeftButton);
    EXPECT_EQ(list->model()->rowCount(), 1);
    WhenModalOpens(
        [](QWidget* form) {
            EXPECT_EQ(form->findChild<QComboBox*>(QStringLiteral("categoryCombo"))->currentText(),
                      QStringLiteral("Work"));
            QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("todoEdit")), QStringLiteral("mow"));
            QTest::keyClick(form, Qt::Key_Return);
        },
        QStringLiteral("UPDATETODO$QUICKWINDOW"));
    QTest::mouseClick(button(&browser, "insertButton"), Qt::LeftButton);
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(cell(list, list->selectedRow(), 2), QStringLiteral("mow"));

    // Deleting asks first; Cancel keeps the item.
    prompter.answer(platform::MessageButton::Cancel);
    QTest::keyClick(list->view(), Qt::Key_Delete);
    EXPECT_EQ(list->model()->rowCount(), 2);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().caption, "Confirm Delete");
    prompter.answer(platform::MessageButton::Ok);
    QTest::keyClick(list->view(), Qt::Key_Delete);
    EXPECT_EQ(list->model()->rowCount(), 1);
}

}  // namespace
}  // namespace hrln::test
