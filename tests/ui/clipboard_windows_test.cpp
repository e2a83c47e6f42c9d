#include "ui/pim/clipboard_windows.h"

#include "data/records.h"
#include "data/settings.h"
#include "pim/clipboard_monitor.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace hrln::test {
namespace {

using data::ClipboardRecord;

class ClipboardWindowsTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        settings.monitorClipboard = true;
    }
    // The user copies `text`; the monitor runs until it has looked.
    void copy(const std::string& text)
    {
        clipboard.content = text;
        for (int i = 0; i < 4; ++i) {
            clock.advance(125);
            monitor.step();
        }
    }
    int saved() { return data::Table<ClipboardRecord>(db).count(); }
    QString cell(ui::BrowseList* list, int row, int column)
    {
        return list->model()->data(list->model()->index(row, column)).toString();
    }
    QPushButton* button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QString::fromLatin1(name)); }
    QStringList activeMenu(ui::BrowseList* list)
    {
        QStringList out;
        for (QAction* a : list->popupMenu()->actions())
            if (a->isEnabled())
                out << a->text();
        return out;
    }

    FakeClipboard clipboard;
    FakeClock clock;
    data::Settings settings;
    FakePrompter prompter;
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
    pim::ClipboardMonitor monitor{db, clipboard, settings, clock};
};

TEST_F(ClipboardWindowsTest, DuplicatesAreRefusedByTheKeyAndACopiedBackTextIsNotSavedAgain)
{
    copy("Hello World");
    copy("hello, world!");  // the same key: refused
    copy("0800 123 456");   // no letters: a blank key
    ASSERT_EQ(saved(), 2);

    ui::BrowseClipboardWindow browser({db, positions, prompter}, clipboard, &monitor);
    EXPECT_EQ(browser.objectName(), QStringLiteral("BROWSECLIPBOARD$QUICKWINDOW"));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Browse Clipboard Saver"));
    browser.show();
    ui::BrowseList* list = browser.list();
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(cell(list, 0, 2), QStringLiteral("Hello World"));
    // "By Content" lists only texts with letters: the blank key is outside it.
    list->setTab(1);
    EXPECT_EQ(list->model()->rowCount(), 1);
    list->setTab(0);

    // Copy "Hello World" back, then the phone number: neither is saved a second time.
    copy("something new");
    ASSERT_EQ(saved(), 3);
    list->refresh();
    list->selectRow(0);
    QTest::keyClick(list->view(), Qt::Key_Return);
    EXPECT_EQ(clipboard.content, "Hello World");
    for (int i = 0; i < 4; ++i)
        monitor.step();
    list->selectRow(1);
    QTest::mouseClick(button(&browser, "copyButton"), Qt::LeftButton);
    EXPECT_EQ(clipboard.content, "0800 123 456");
    for (int i = 0; i < 4; ++i)
        monitor.step();
    EXPECT_EQ(saved(), 3);

    // With the monitor off, copying back still works.
    settings.monitorClipboard = false;
    list->selectRow(2);
    QTest::mouseClick(button(&browser, "copyButton"), Qt::LeftButton);
    EXPECT_EQ(clipboard.content, "something new");
}

// The buttons come in their order, and a date shows whole in its column.
TEST_F(ClipboardWindowsTest, ButtonsInTheirOrderAndTheDateWhole)
{
    copy("a saved text");
    ui::BrowseClipboardWindow browser({db, positions, prompter}, clipboard, &monitor);
    browser.show();
    const int copyAt = button(&browser, "copyButton")->x();
    const int deleteAt = button(&browser, "deleteButton")->x();
    const int closeAt = button(&browser, "closeButton")->x();
    EXPECT_LT(copyAt, deleteAt);
    EXPECT_LT(deleteAt, closeAt);
    QTableView* view = browser.list()->view();
    const QString date = cell(browser.list(), 0, 0);
    ASSERT_FALSE(date.isEmpty());
    EXPECT_GE(view->columnWidth(0), view->fontMetrics().horizontalAdvance(date) + 8);
    EXPECT_GE(view->columnWidth(1), view->fontMetrics().horizontalAdvance(cell(browser.list(), 0, 1)) + 8);
}

TEST_F(ClipboardWindowsTest, RowsStayOneLineAndDeleteAndClearAllAskFirst)
{
    copy("line one\r\nline two\tand a tab");
    copy("\u202Ereversed\u202C text " + std::string(4000, 'w'));
    ui::BrowseClipboardWindow browser({db, positions, prompter}, clipboard, &monitor);
    browser.show();
    ui::BrowseList* list = browser.list();
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(cell(list, 0, 2), QStringLiteral("line one\u21B5line two and a tab"));
    EXPECT_FALSE(cell(list, 1, 2).contains(QChar(0x202E)));
    EXPECT_EQ(cell(list, 1, 2).size(), 255 - 2);  // its first 255 characters, less the two overrides
    EXPECT_EQ(activeMenu(list), QStringList{QStringLiteral("&Delete")});

    // Delete asks; Cancel keeps it, OK removes it.
    prompter.answer(platform::MessageButton::Cancel);
    QTest::keyClick(list->view(), Qt::Key_Delete);
    EXPECT_EQ(saved(), 2);
    EXPECT_EQ(prompter.shown.back().caption, "Confirm Delete");
    prompter.answer(platform::MessageButton::Ok);
    QTest::mouseClick(button(&browser, "deleteButton"), Qt::LeftButton);
    EXPECT_EQ(saved(), 1);
    EXPECT_EQ(list->model()->rowCount(), 1);

    // Clear All asks, and No is the answer a stray Enter gives.
    QTest::mouseClick(button(&browser, "clearAllButton"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back().caption, "Clear All");
    EXPECT_EQ(saved(), 1);
    prompter.answer(platform::MessageButton::Yes);
    QTest::mouseClick(button(&browser, "clearAllButton"), Qt::LeftButton);
    EXPECT_EQ(saved(), 0);
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_TRUE(activeMenu(list).isEmpty());
    EXPECT_FALSE(button(&browser, "copyButton")->isEnabled());
    EXPECT_FALSE(button(&browser, "clearAllButton")->isEnabled());
}

}  // namespace
}  // namespace hrln::test
