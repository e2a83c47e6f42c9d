#include "ui/script/browse_scripting.h"

#include "data/settings.h"
#include "modal.h"
#include "pdf_text.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/fake_windows.h"
#include "ui/report/report_windows.h"
#include "ui/script/view_script_keys.h"
#include "ui/widgets/file_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <iterator>
#include <memory>

namespace hrln::test {
namespace {

using data::ScriptingRecord;
using Strings = std::vector<std::string>;

template <class W>
W* Child(QWidget* w, const char* name)
{
    W* found = w->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class ScriptWindowsTest : public StoreTest {
protected:
    ui::ScriptWindowServices services() { return {{db, positions, prompter}, &windows}; }

    void addItem(data::Long id, data::Long sequence, std::string_view keys)
    {
        data::Table<ScriptingRecord> t(db);
        t.rec.id = id;
        t.rec.sequence = sequence;
        t.rec.action = "Send Keystrokes";
        t.rec.keystrokes = keys;
        ASSERT_EQ(t.add(), data::kOk);
    }
    // "Sequence:Action:Keystrokes" of task `id`'s items in script order.
    Strings script(data::Long id)
    {
        Strings out;
        for (const ScriptingRecord& r : scriptItems(id))
            out.push_back(std::to_string(r.sequence) + ":" + r.action.str() + ":" + r.keystrokes.str());
        return out;
    }
    ScriptingRecord item(data::Long id, data::Long sequence)
    {
        data::Table<ScriptingRecord> t(db);
        t.rec.id = id;
        t.rec.sequence = sequence;
        EXPECT_EQ(t.get(ScriptingRecord::KeyID), data::kOk);
        return t.rec;
    }
    static QString cell(ui::BrowseList* list, int row, int column)
    {
        return list->model()->data(list->model()->index(row, column)).toString();
    }

    FakePrompter prompter;
    FakeWindows windows;
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
};

TEST_F(ScriptWindowsTest, ItemsAreAddedByKeyboardWithTheirActionFieldsAndNumbering)
{
    windows.open(11, "Terminal");
    windows.open(12, "Calculator");
    ui::BrowseScriptingWindow browser(services(), 4);
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Scripting"));
    EXPECT_EQ(browser.objectName(), QStringLiteral("BROWSESCRIPTING$QUICKWINDOW"));
    browser.show();

    QStringList offered;
    QString title;
    WhenModalOpens(
        [&](QWidget* form) {
            title = form->windowTitle();
            auto* action = Child<QComboBox>(form, "actionList");
            EXPECT_EQ(action->currentText(), QStringLiteral("Send Keystrokes"));
            EXPECT_EQ(action->count(), 11);
            action->setFocus();
            QTest::keyClick(action, Qt::Key_Down);  // "Wait"
            EXPECT_EQ(Child<QTabWidget>(form, "actionTabs")->currentIndex(), 1);
            Child<QRadioButton>(form, "combination1")->click();  // "Or"
            auto* list = Child<QComboBox>(form, "waitWindowList");
            for (int i = 0; i < list->count(); ++i)
                offered << list->itemText(i);
            list->setFocus();
            QTest::keyClicks(list, QStringLiteral("Term*"));
            QTest::keyClick(form, Qt::Key_Return);
        },
        QStringLiteral("UPDATESCRIPTING$QUICKWINDOW"));
    QTest::keyClick(browser.list()->view(), Qt::Key_Insert);

    EXPECT_EQ(title, QStringLiteral("Adding Scripting"));
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Calculator"), QStringLiteral("Terminal")}));
    const ScriptingRecord wait = item(4, 1);
    EXPECT_EQ(wait.action, "Wait");
    EXPECT_EQ(wait.ddeApplicationName, "Or");
    EXPECT_EQ(wait.waitForWindow, "Term*");
    EXPECT_EQ(wait.secondsToWait, 0);
    ASSERT_EQ(browser.list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(browser.list(), 0, 0), QStringLiteral("Wait"));
    EXPECT_EQ(cell(browser.list(), 0, 1), QStringLiteral("Term*"));

    WhenModalOpens(
        [&](QWidget* form) {
            Child<QComboBox>(form, "actionList")->setCurrentIndex(6);  // "Display Message"
            QTest::keyClicks(Child<QLineEdit>(form, "messageTitleEdit"), QStringLiteral("T"));
            QTest::keyClicks(Child<QLineEdit>(form, "messageEdit"), QStringLiteral("M"));
            Child<QPushButton>(form, "okButton")->click();
        },
        QStringLiteral("UPDATESCRIPTING$QUICKWINDOW"));
    Child<QPushButton>(&browser, "insertButton")->click();
    const ScriptingRecord message = item(4, 2);
    EXPECT_EQ(message.action, "Display Message");
    EXPECT_EQ(message.ddeApplicationName, "M");
    EXPECT_EQ(message.ddeApplicationTopic, "T");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptWindowsTest, CancelRemovesTheNewItemAndTaskZeroGetsNone)
{
    addItem(4, 7, "kept");
    WhenModalOpens([](QWidget* form) { QTest::keyClick(form, Qt::Key_Escape); },
                   QStringLiteral("UPDATESCRIPTING$QUICKWINDOW"));
    std::int64_t rowid = 0;
    EXPECT_EQ(ui::UpdateScriptingWindow::Run(services(), pim::Request::Insert, 4, rowid, nullptr),
              pim::Response::Cancelled);
    EXPECT_EQ(script(4), (Strings{"7:Send Keystrokes:kept"}));

    EXPECT_EQ(ui::UpdateScriptingWindow::Run(services(), pim::Request::Insert, 0, rowid, nullptr),
              pim::Response::Cancelled);
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text, "Unable to attach script to scheduled item.");
    EXPECT_EQ(script(0), Strings{});
}

TEST_F(ScriptWindowsTest, AnUnknownActionShowsAsOtherAndMustBeResolved)
{
    data::Table<ScriptingRecord> t(db);
    t.rec.id = 4;
    t.rec.sequence = 1;
    t.rec.action = "Beep Twice";
    ASSERT_EQ(t.add(), data::kOk);
    std::int64_t rowid = t.rowId();
    bool stayed = false;
    WhenModalOpens(
        [&](QWidget* form) {
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Changing Scripting"));
            EXPECT_EQ(Child<QComboBox>(form, "actionList")->currentText(), QStringLiteral("Other"));
            auto* other = Child<QLineEdit>(form, "otherActionEdit");
            EXPECT_EQ(other->text(), QStringLiteral("Beep Twice"));
            other->clear();
            Child<QPushButton>(form, "okButton")->click();
            stayed = form->isVisible();
            QTest::keyClicks(other, QStringLiteral("Beep Once"));
            Child<QPushButton>(form, "okButton")->click();
        },
        QStringLiteral("UPDATESCRIPTING$QUICKWINDOW"));
    EXPECT_EQ(ui::UpdateScriptingWindow::Run(services(), pim::Request::Change, 4, rowid, nullptr),
              pim::Response::Completed);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].caption, "Error");
    EXPECT_EQ(item(4, 1).action, "Beep Once");
}

TEST_F(ScriptWindowsTest, MovesCopyAndClearAllWorkOnTheHighlightedItem)
{
    addItem(4, 1, "a");
    addItem(4, 2, "b");
    addItem(4, 3, "c");
    addItem(5, 1, "other task");
    ui::BrowseScriptingWindow browser(services(), 4);
    browser.show();
    browser.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&browser));
    ASSERT_EQ(browser.list()->model()->rowCount(), 3);

    browser.list()->selectRow(1);
    QTest::keyClick(browser.list()->view(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(script(4), (Strings{"1:Send Keystrokes:b", "2:Send Keystrokes:a", "3:Send Keystrokes:c"}));
    EXPECT_EQ(browser.list()->selectedRow(), 0);  // the highlight goes with the item
    QTest::keyClick(browser.list()->view(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(cell(browser.list(), 2, 1), QStringLiteral("b"));
    EXPECT_EQ(browser.list()->selectedRow(), 2);

    Child<QPushButton>(&browser, "copyButton")->click();
    ASSERT_EQ(browser.list()->model()->rowCount(), 4);
    EXPECT_EQ(cell(browser.list(), 3, 1), QStringLiteral("b"));
    EXPECT_EQ(browser.list()->selectedRow(), 3);

    prompter.answer(platform::MessageButton::No);
    Child<QPushButton>(&browser, "clearAllButton")->click();
    EXPECT_EQ(script(4).size(), 4U);
    prompter.answer(platform::MessageButton::Yes);
    Child<QPushButton>(&browser, "clearAllButton")->click();
    ASSERT_EQ(prompter.shown.size(), 2U);
    EXPECT_EQ(prompter.shown[1].text, "Delete all script items for the current task?");
    EXPECT_EQ(prompter.shown[1].caption, "Clear All");
    EXPECT_EQ(script(4), Strings{});
    EXPECT_EQ(script(5), (Strings{"1:Send Keystrokes:other task"}));
    EXPECT_EQ(browser.list()->model()->rowCount(), 0);

    // Only adding is offered for an empty script.
    for (QAction* action : browser.list()->popupMenu()->actions())
        EXPECT_EQ(action->isEnabled(), action->text() == QStringLiteral("&Add")) << action->text().toStdString();
    EXPECT_FALSE(Child<QPushButton>(&browser, "copyButton")->isEnabled());
    // Without the program's printer there is nowhere to print to.
    EXPECT_FALSE(Child<QPushButton>(&browser, "printButton")->isEnabled());
}

// "&Print" of the script list and of the key list opens the reports' preview;
// printed from it, the pages carry the task's items or the file's lines.
TEST_F(ScriptWindowsTest, PrintShowsTheScriptAndTheKeyListInTheReportPreview)
{
    data::Table<data::ScheduleRecord> task(db);
    task.rec = Task(4, MakeDate(1, 4, 2027), MakeTime(9, 0), "Log in to the bank");
    ASSERT_EQ(task.add(), data::kOk);
    addItem(4, 1, "user[Tab]");
    addItem(4, 2, "secret[Enter]");
    addItem(5, 1, "not this task");
    FakeClock clock(MakeDate(1, 4, 2027), MakeTime(8, 30));
    QPrinter printer(QPrinter::HighResolution);
    ui::SetProgramPrinting([&] { return ui::PrintServices{clock, "Dana", printer}; });

    // Prints to `pdf` from the preview that opens next; gives its title.
    const auto printFromPreview = [&](const std::string& pdf, int& pageCount) {
        auto title = std::make_shared<QString>();
        WhenModalOpens(
            [&printer, pdf, title, &pageCount](QWidget* preview) {
                *title = preview->windowTitle();
                auto* pages = preview->findChild<QPrintPreviewWidget*>();
                ASSERT_NE(pages, nullptr);
                pages->updatePreview();
                pageCount = pages->pageCount();
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(QString::fromStdString(pdf));
                pages->print();
                preview->close();
            },
            QStringLiteral("REPORT$PREVIEWWINDOW"));
        return title;
    };
    const auto text = [](const std::string& pdf) {
        std::string all;
        for (const auto& page : PdfPages(pdf))
            for (const std::string& line : page)
                all += line + "\n";
        return all;
    };

    {
        ui::BrowseScriptingWindow browser(services(), 4);
        browser.show();
        auto* print = Child<QPushButton>(&browser, "printButton");
        ASSERT_TRUE(print->isEnabled());
        int pages = 0;
        const std::string pdf = dir.file("script.pdf");
        const auto title = printFromPreview(pdf, pages);
        print->click();
        EXPECT_EQ(*title, QStringLiteral("Script for Log in to the bank"));
        EXPECT_EQ(pages, 1);
        const std::string printed = text(pdf);
        const auto first = printed.find("user[Tab]");
        EXPECT_NE(first, std::string::npos) << printed;
        EXPECT_GT(printed.find("secret[Enter]"), first);  // npos too when missing
        EXPECT_EQ(printed.find("not this task"), std::string::npos);
        EXPECT_NE(printed.find("For Dana"), std::string::npos);
        EXPECT_NE(printed.find("Printed January 4, 2027 8:30 AM"), std::string::npos) << printed;
    }

    const std::string keys = dir.file("KEYCODES.TXT");
    std::ofstream(keys, std::ios::binary) << "[Alt]      012   Alt key\r\n[Enter]    00D   Enter\r\n";
    int pages = 0;
    const std::string pdf = dir.file("keys.pdf");
    std::shared_ptr<QString> title;
    WhenModalOpens(
        [&](QWidget* viewer) {
            auto* print = Child<QPushButton>(viewer, "printButton");
            EXPECT_TRUE(print->isEnabled());
            title = printFromPreview(pdf, pages);
            print->click();
            viewer->close();
        },
        QStringLiteral("VIEWSCRIPTKEYS$VIEWWINDOW"));
    ui::ViewScriptKeysWindow::Show(services().window, nullptr, keys);
    ui::SetProgramPrinting({});
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(*title, QStringLiteral("List of Key Abbreviations"));
    EXPECT_EQ(pages, 1);
    const std::string printed = text(pdf);
    EXPECT_NE(printed.find("KEYCODES.TXT"), std::string::npos) << printed;
    const auto alt = printed.find("[Alt]");
    const auto enter = printed.find("[Enter]");
    ASSERT_NE(alt, std::string::npos) << printed;
    ASSERT_NE(enter, std::string::npos) << printed;
    EXPECT_LT(alt, enter);
    EXPECT_NE(printed.find("Alt key"), std::string::npos);

    ui::ViewScriptKeysWindow unprinted(services().window, {"[Alt]"});
    EXPECT_FALSE(Child<QPushButton>(&unprinted, "printButton")->isEnabled());
}

TEST_F(ScriptWindowsTest, ExportClearAndImportGiveTheSameScriptThroughOneFileName)
{
    data::Table<data::ScheduleRecord> task(db);
    task.rec = Task(4, MakeDate(1, 4, 2027), MakeTime(9, 0));
    ASSERT_EQ(task.add(), data::kOk);
    addItem(4, 1, "a");
    addItem(4, 2, "b[Enter]");
    const QString path = QString::fromStdString(dir.file("backup.hsx"));
    std::vector<std::pair<QString, QString>> asked;  // title, suggested
    QString answer = path;
    ui::SetFileChooser([&](QWidget*, const ui::FileRequest& request) {
        asked.emplace_back(request.title, request.suggested);
        return answer;
    });
    ui::BrowseScriptingWindow browser(services(), 4);
    browser.show();
    Child<QPushButton>(&browser, "exportButton")->click();
    prompter.answer(platform::MessageButton::Yes);
    Child<QPushButton>(&browser, "clearAllButton")->click();
    ASSERT_EQ(browser.list()->model()->rowCount(), 0);
    Child<QPushButton>(&browser, "importButton")->click();
    answer.clear();  // a cancelled dialog reads nothing
    Child<QPushButton>(&browser, "importButton")->click();
    ui::SetFileChooser({});

    EXPECT_EQ(script(4), (Strings{"1:Send Keystrokes:a", "2:Send Keystrokes:b[Enter]"}));
    ASSERT_EQ(browser.list()->model()->rowCount(), 2);
    ASSERT_EQ(asked.size(), 3U);
    EXPECT_EQ(asked[0].first, QStringLiteral("Export to File"));
    EXPECT_EQ(asked[1].first, QStringLiteral("Choose File to Import"));
    EXPECT_EQ(asked[1].second, path);  // the file of the export is offered again
    EXPECT_EQ(prompter.shown.size(), 1U);  // the question of "Clear All" only
}

// The export adds to the end of its file, so its dialog asks nothing about
// replacing it; a name typed without an ending becomes a script file. A file
// with lines the import cannot take gives one summary listing them.
TEST_F(ScriptWindowsTest, ExportAppendsToANameWithItsEndingAndImportSumsUpWhatItSkipped)
{
    data::Table<data::ScheduleRecord> task(db);
    task.rec = Task(4, MakeDate(1, 4, 2027), MakeTime(9, 0));
    ASSERT_EQ(task.add(), data::kOk);
    addItem(4, 1, "a");
    std::vector<ui::FileRequest> asked;
    QString answer = QString::fromStdString(dir.file("backup"));
    ui::SetFileChooser([&](QWidget*, const ui::FileRequest& request) {
        asked.push_back(request);
        return answer;
    });
    ui::BrowseScriptingWindow browser(services(), 4);
    browser.show();
    Child<QPushButton>(&browser, "exportButton")->click();
    Child<QPushButton>(&browser, "exportButton")->click();
    {
        std::ofstream bad(dir.file("bad.hsx"), std::ios::binary);
        bad << "\"Wait\",\"99999999999\"\r\n\"Send Keystrokes\",\"b\"\r\n";
    }
    answer = QString::fromStdString(dir.file("bad.hsx"));
    Child<QPushButton>(&browser, "importButton")->click();
    ui::SetFileChooser({});

    ASSERT_EQ(asked.size(), 3U);
    EXPECT_TRUE(asked[0].appends);
    EXPECT_EQ(asked[0].defaultSuffix, QStringLiteral("hsx"));
    EXPECT_FALSE(asked[2].appends);
    std::ifstream in(dir.file("backup.hsx"), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string line = "\"Send Keystrokes\",\"a\",\"\",\"\",\"\",\"\"\r\n";
    EXPECT_EQ(written, line + line);  // appended, not replaced
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].caption, "Import Script Items");
    EXPECT_EQ(prompter.shown[0].text,
              "1 item added, 1 line skipped.\nLine 1: seconds to wait 99999999999 is not between 0 and 99999");
    EXPECT_EQ(script(4), (Strings{"1:Send Keystrokes:a", "2:Send Keystrokes:b"}));
}

// A number stored beyond what its box can show is not changed by an OK that
// changed nothing.
TEST_F(ScriptWindowsTest, ANumberBeyondItsBoxStaysThroughAnUnchangedOk)
{
    data::Table<ScriptingRecord> t(db);
    t.rec.id = 4;
    t.rec.sequence = 1;
    t.rec.action = "Wait";
    t.rec.secondsToWait = 2147483647;
    ASSERT_EQ(t.add(), data::kOk);
    std::int64_t rowid = t.rowId();
    WhenModalOpens([&](QWidget* form) { Child<QPushButton>(form, "okButton")->click(); },
                   QStringLiteral("UPDATESCRIPTING$QUICKWINDOW"));
    ui::UpdateScriptingWindow::Run(services(), pim::Request::Change, 4, rowid, nullptr);
    EXPECT_EQ(item(4, 1).secondsToWait, 2147483647);
}

TEST_F(ScriptWindowsTest, TheKeyListFindsByKeyboardAndAsksToWrap)
{
    const std::string path = dir.file("KEYCODES.TXT");
    std::ofstream(path, std::ios::binary) << "[Alt]   Alt key\r\n[AltB]  Alt+B\r\n[Enter] Enter\r\n";
    std::vector<std::string> seen;
    WhenModalOpens(
        [&](QWidget* viewer) {
            EXPECT_EQ(viewer->windowTitle(), QStringLiteral("List of Key Abbreviations"));
            auto* text = Child<QPlainTextEdit>(viewer, "keysText");
            WhenModalOpens(
                [&](QWidget* find) {
                    EXPECT_EQ(find->windowTitle(), QStringLiteral("Searching Text..."));
                    QTest::keyClicks(Child<QLineEdit>(find, "findEdit"), QStringLiteral("alt"));
                    auto* whole = Child<QCheckBox>(find, "wholeWordCheck");
                    whole->setFocus();
                    QTest::keyClick(whole, Qt::Key_Space);
                    EXPECT_TRUE(whole->isChecked());
                    QTest::keyClick(Child<QLineEdit>(find, "findEdit"), Qt::Key_Return);
                },
                QStringLiteral("VIEWSCRIPTKEYS$ASC1:SEARCHWINDOW"));
            Child<QPushButton>(viewer, "findButton")->click();
            seen.push_back(text->textCursor().selectedText().toStdString() + "@" +
                           std::to_string(text->textCursor().blockNumber()));
            auto* next = Child<QPushButton>(viewer, "findNextButton");
            next->click();  // "Alt key"
            seen.push_back(std::to_string(text->textCursor().blockNumber()));
            next->click();  // "Alt+B"
            seen.push_back(std::to_string(text->textCursor().blockNumber()));
            prompter.answer(platform::MessageButton::Yes);
            next->click();  // the end: back to the first
            seen.push_back(std::to_string(text->textCursor().blockNumber()) + ":" +
                           std::to_string(text->textCursor().positionInBlock()));
            QTest::keyClick(viewer, Qt::Key_Escape);
        },
        QStringLiteral("VIEWSCRIPTKEYS$VIEWWINDOW"));
    ui::ViewScriptKeysWindow::Show(services().window, nullptr, path);
    EXPECT_EQ(seen, (Strings{"Alt@0", "0", "1", "0:4"}));
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text,
              "The end of the viewed file was encountered.  Do you want to start again from the beginning?");

    std::ofstream(path, std::ios::binary | std::ios::trunc) << "  \r\n";
    ui::ViewScriptKeysWindow::Show(services().window, nullptr, path);
    ASSERT_EQ(prompter.shown.size(), 2U);
    EXPECT_EQ(prompter.shown[1].text, "The file you've requested contains no text.");
    EXPECT_EQ(prompter.shown[1].caption, "File Load Error");
}

// The file is read under a "Reading File" progress window; a cancelled read
// shows no viewer, a finished one every line.
TEST_F(ScriptWindowsTest, TheKeyListIsReadUnderAReadingFileProgressWindow)
{
    const std::string path = dir.file("KEYCODES.TXT");
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 200000; ++i)
            out << "[Key" << i << "] key number " << i << "\r\n";
    }
    QString title;
    QString line;
    bool viewerOpened = false;
    WhenModalOpens(
        [&](QWidget* progress) {
            title = progress->windowTitle();
            line = Child<QLabel>(progress, "jobLine")->text();
            Child<QPushButton>(progress, "cancelButton")->click();
        },
        QStringLiteral("VIEWSCRIPTKEYS$PROGRESSWINDOW"));
    QTimer* viewerWatch = WhenModalOpens(
        [&](QWidget* viewer) {
            viewerOpened = true;
            QTest::keyClick(viewer, Qt::Key_Escape);
        },
        QStringLiteral("VIEWSCRIPTKEYS$VIEWWINDOW"));
    ui::ViewScriptKeysWindow::Show(services().window, nullptr, path);
    EXPECT_EQ(title, QStringLiteral("Reading File"));
    EXPECT_EQ(line, QStringLiteral("Reading File"));
    EXPECT_FALSE(viewerOpened);
    EXPECT_TRUE(prompter.shown.empty());

    int blocks = 0;
    viewerWatch->stop();
    viewerWatch->deleteLater();
    WhenModalOpens(
        [&](QWidget* viewer) {
            blocks = Child<QPlainTextEdit>(viewer, "keysText")->blockCount();
            QTest::keyClick(viewer, Qt::Key_Escape);
        },
        QStringLiteral("VIEWSCRIPTKEYS$VIEWWINDOW"));
    ui::ViewScriptKeysWindow::Show(services().window, nullptr, path);
    EXPECT_EQ(blocks, 200000);
}

TEST_F(ScriptWindowsTest, AdvancedEditsTheStartOptionsCodeAndTheTimeout)
{
    data::Table<ScriptingRecord> t(db);
    t.rec.id = 4;
    t.rec.sequence = 1;
    t.rec.action = "Start Program";
    t.rec.command = "xterm";
    t.rec.ddeApplicationName = "018";
    t.rec.timeElapsed = 86400;
    ASSERT_EQ(t.add(), data::kOk);
    std::int64_t rowid = t.rowId();
    bool timeoutOffAtFirst = false;
    int shownTimeout = 0;
    WhenModalOpens(
        [&](QWidget* form) {
            WhenModalOpens(
                [&](QWidget* advanced) {
                    EXPECT_EQ(advanced->windowTitle(), QStringLiteral("Advanced..."));
                    auto* timeout = Child<QSpinBox>(advanced, "timeoutEdit");
                    timeoutOffAtFirst = !timeout->isEnabled();
                    shownTimeout = timeout->value();
                    EXPECT_TRUE(Child<QRadioButton>(advanced, "priority1")->isChecked());
                    EXPECT_TRUE(Child<QRadioButton>(advanced, "mode8")->isChecked());
                    auto* wait = Child<QCheckBox>(advanced, "waitCheck");
                    wait->setFocus();
                    QTest::keyClick(wait, Qt::Key_Space);
                    EXPECT_TRUE(timeout->isEnabled());
                    timeout->setValue(30);
                    Child<QRadioButton>(advanced, "priority3")->click();
                    Child<QRadioButton>(advanced, "mode7")->click();
                    Child<QPushButton>(advanced, "okButton")->click();
                },
                QStringLiteral("SCRIPTINGSTARTPROGRAMADVANCED$WINDOW"));
            Child<QPushButton>(form, "advancedButton")->click();
            Child<QPushButton>(form, "okButton")->click();
        },
        QStringLiteral("UPDATESCRIPTING$QUICKWINDOW"));
    EXPECT_EQ(ui::UpdateScriptingWindow::Run(services(), pim::Request::Change, 4, rowid, nullptr),
              pim::Response::Completed);
    EXPECT_TRUE(timeoutOffAtFirst);
    EXPECT_EQ(shownTimeout, 86400);
    const ScriptingRecord stored = item(4, 1);
    EXPECT_EQ(stored.ddeApplicationName, "137");
    EXPECT_EQ(stored.timeElapsed, 30);
    EXPECT_EQ(stored.command, "xterm");
}

}  // namespace
}  // namespace hrln::test
