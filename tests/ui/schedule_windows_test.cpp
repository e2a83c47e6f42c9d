#include "ui/schedule/calendar_window.h"
#include "ui/schedule/quick_reminder_window.h"
#include "scheduler/quick_reminder.h"
#include "ui/schedule/wizard_window.h"
#include "ui/widgets/qt_prompter.h"

#include "data/settings.h"
#include "modal.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"
#include "ui/widgets/file_dialogs.h"
#include "ui/widgets/schedule_notifier.h"
#include "ui_fixture.h"

#include <QAction>
#include <QMenu>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace hrln::test {
namespace {

using data::ScheduleRecord;
using ui::CalendarWindow;
using ui::ScheduleNotifier;
using ui::WizardWindow;

template <class W = QWidget>
W* Child(QWidget* parent, const char* name)
{
    W* w = parent->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Shown and active, so the focus moves as it does for a user.
void Show(QWidget* w)
{
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
}

void Click(QWidget* parent, const char* name)
{
    QTest::mouseClick(Child<QPushButton>(parent, name), Qt::LeftButton);
}

class ScheduleWindowsTest : public StoreTest {
protected:
    ui::WindowServices window() { return {db, positions, prompter}; }
    ui::ScheduleWindowServices services() { return {window(), clock, ini, &sound}; }

    std::unique_ptr<WizardWindow> wizard(scheduler::AddWizard kind)
    {
        std::unique_ptr<WizardWindow> w(WizardWindow::OpenAddWizard(services(), kind));
        EXPECT_NE(w, nullptr);
        if (w)
            Show(w.get());
        return w;
    }
    QString page(WizardWindow& w) { return Child<QStackedWidget>(&w, "pages")->currentWidget()->objectName(); }
    // Every record of the table, the placeholder of a task being added too.
    std::vector<ScheduleRecord> tasks()
    {
        std::vector<ScheduleRecord> out;
        data::Table<ScheduleRecord> t(db);
        t.seePlaceholders();
        t.set(ScheduleRecord::KeyID);
        while (t.next() == data::kOk)
            out.push_back(t.rec);
        return out;
    }
    std::vector<std::string> categories()
    {
        return walk<data::CategoryRecord>(data::CategoryRecord::KeyCategory,
                                          [](const data::CategoryRecord& r) { return r.category.str(); });
    }

    FakeClock clock{MakeDate(3, 10, 2027), MakeTime(14, 30, 15, 50)};  // a Wednesday
    FakePrompter prompter;
    FakeSound sound;
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
    data::ProfileFile ini{dir.file(data::kSettingsFile)};
    ScheduleRecord task;
};

// Calendar

TEST_F(ScheduleWindowsTest, TheCalendarShowsASaturdayMonthInSixRowsAndIsWorkedByKeyboard)
{
    CalendarWindow calendar(window(), clock, QString(), MakeDate(5, 12, 2027), QStringLiteral("None"), task);
    EXPECT_EQ(calendar.objectName(), QStringLiteral("CALENDAR$WINDOW"));
    EXPECT_EQ(calendar.windowTitle(), QStringLiteral("Select Date"));
    calendar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    EXPECT_EQ(calendar.dayButton(6)->text(), QStringLiteral("1"));
    EXPECT_EQ(calendar.dayButton(36)->text(), QStringLiteral("31"));
    EXPECT_TRUE(calendar.dayButton(36)->isEnabled());
    for (int cell : {0, 5, 37, 41}) {
        EXPECT_TRUE(calendar.dayButton(cell)->text().isEmpty()) << cell;
        EXPECT_FALSE(calendar.dayButton(cell)->isEnabled()) << cell;
    }
    QPushButton* start = calendar.dayButton(17);  // the 12th
    EXPECT_EQ(start->text(), QStringLiteral("12"));
    EXPECT_TRUE(start->hasFocus());

    // Right, Down and Up move by a day and a week; Enter picks.
    QTest::keyClick(start, Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), calendar.dayButton(25));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(calendar.isVisible());
    EXPECT_EQ(calendar.result(), MakeDate(5, 20, 2027));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_NE(ReadFile(dir.file(data::kPositionsFile)).find("[Calendar]"), std::string::npos);
}

TEST_F(ScheduleWindowsTest, TheCalendarShowsItsFocusMarksTheStartAndTurnsMonthsByKeyboard)
{
    CalendarWindow calendar(window(), clock, QString(), MakeDate(5, 31, 2027), QStringLiteral("None"), task);
    Show(&calendar);
    QPushButton* start = calendar.dayButton(36);  // the 31st
    ASSERT_TRUE(start->hasFocus());
    EXPECT_TRUE(start->font().bold());
    EXPECT_FALSE(calendar.dayButton(35)->font().bold());
    // The focused day is drawn apart from the same day unfocused, before any Tab.
    const QImage focused = start->grab().toImage();
    calendar.findChild<QLineEdit*>(QStringLiteral("monthEdit"))->setFocus(Qt::OtherFocusReason);
    EXPECT_NE(start->grab().toImage(), focused);

    start->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(start, Qt::Key_Right);  // over the month's edge: 1 June
    auto* month = calendar.findChild<QLineEdit*>(QStringLiteral("monthEdit"));
    EXPECT_EQ(month->text(), QStringLiteral("6"));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("dayButton2"));
    EXPECT_EQ(qobject_cast<QPushButton*>(QApplication::focusWidget())->text(), QStringLiteral("1"));
    EXPECT_FALSE(calendar.dayButton(36)->font().bold());  // the start is not in June

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(month->text(), QStringLiteral("7"));
    EXPECT_EQ(qobject_cast<QPushButton*>(QApplication::focusWidget())->text(), QStringLiteral("1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    EXPECT_EQ(month->text(), QStringLiteral("5"));
    EXPECT_TRUE(calendar.dayButton(36)->font().bold());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(calendar.result(), MakeDate(5, 1, 2027));
}

TEST_F(ScheduleWindowsTest, TheCalendarWrapsRefusesBadEntriesAndCloseReturnsTheStartAsGiven)
{
    CalendarWindow calendar(window(), clock, QStringLiteral("Select Date"), 0, QStringLiteral("None"), task);
    Show(&calendar);
    auto* month = Child<QLineEdit>(&calendar, "monthEdit");
    auto* year = Child<QLineEdit>(&calendar, "yearEdit");
    EXPECT_EQ(month->text(), QStringLiteral("3"));  // 0 opens on today
    EXPECT_EQ(year->text(), QStringLiteral("2027"));

    year->setFocus();
    year->selectAll();
    QTest::keyClicks(year, QStringLiteral("1801"));
    QTest::keyClick(year, Qt::Key_Return);
    month->setFocus();
    month->selectAll();
    QTest::keyClicks(month, QStringLiteral("1"));
    QTest::keyClick(month, Qt::Key_Return);
    Click(&calendar, "previousYearButton");
    EXPECT_EQ(year->text(), QStringLiteral("2099"));
    Click(&calendar, "nextYearButton");
    Click(&calendar, "previousMonthButton");
    EXPECT_EQ(month->text(), QStringLiteral("12"));
    EXPECT_EQ(year->text(), QStringLiteral("2099"));
    EXPECT_TRUE(prompter.shown.empty());

    month->setFocus();
    month->selectAll();
    QTest::keyClicks(month, QStringLiteral("13"));
    QTest::keyClick(month, Qt::Key_Return);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Month should be between 1 to 12");
    EXPECT_TRUE(month->hasFocus());
    EXPECT_EQ(calendar.dayButton(2)->text(), QStringLiteral("1"));  // still December 2099, from a Tuesday

    Click(&calendar, "closeButton");
    EXPECT_EQ(calendar.result(), 0);
}

// A year refused by Return or Escape: one real box over the calendar each
// time, and the focus back on the year for the next try.
TEST_F(ScheduleWindowsTest, TheCalendarsQuestionIsItsOwnAndGivesTheFocusBack)
{
    ui::QtPrompter boxes;
    CalendarWindow calendar({db, positions, boxes}, clock, QStringLiteral("Select Date"), 0, QStringLiteral("None"),
                            task);
    Show(&calendar);
    auto* year = Child<QLineEdit>(&calendar, "yearEdit");
    for (const Qt::Key answer : {Qt::Key_Return, Qt::Key_Escape}) {
        QPointer<QWidget> owner;
        WhenModalOpens([&](QWidget* box) { owner = box->parentWidget(); }, QStringLiteral("MESSAGEBOX"));
        BoxAnswerer answerer(answer);
        year->setFocus();
        year->selectAll();
        QTest::keyClicks(year, QStringLiteral("1700"));
        QTest::keyClick(year, Qt::Key_Return);
        EXPECT_EQ(answerer.boxes(), 1);
        EXPECT_EQ(owner, &calendar);
        EXPECT_TRUE(calendar.isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), year);
        year->setText(QStringLiteral("2027"));
    }
}

TEST_F(ScheduleWindowsTest, AMondayOnlyTaskShowsOnlyMondaysAndYesterdayNeedsAYes)
{
    task.scheduleType = "Day of Week";
    task.monday = 1;
    CalendarWindow calendar(window(), clock, QStringLiteral("Select Date"), clock.today(), QString(), task);
    calendar.show();
    for (int m = 0; m < 2; ++m) {
        int shown = 0;
        for (int cell = 0; cell < scheduler::kCalendarCells; ++cell) {
            QPushButton* day = calendar.dayButton(cell);
            if (!day->isVisible() || day->text().isEmpty())
                continue;
            ++shown;
            EXPECT_EQ(cell % 7, 1) << day->text().toStdString();
        }
        EXPECT_GE(shown, 4);
        Click(&calendar, "nextMonthButton");
    }
    Click(&calendar, "previousMonthButton");
    Click(&calendar, "previousMonthButton");  // March 2027 again: the 8th is a Monday before today
    QTest::mouseClick(calendar.dayButton(8), Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "Confirm");
    EXPECT_TRUE(calendar.isVisible());  // No, the default, keeps it open
    prompter.answer(platform::MessageButton::Yes);
    QTest::mouseClick(calendar.dayButton(8), Qt::LeftButton);
    EXPECT_FALSE(calendar.isVisible());
    EXPECT_EQ(calendar.result(), MakeDate(3, 8, 2027));
}

// Add wizards

TEST_F(ScheduleWindowsTest, AMessageWizardFinishedUnchangedAddsItsDefaultsAndTheGeneralCategory)
{
    EXPECT_TRUE(categories().empty());
    auto w = wizard(scheduler::AddWizard::Message);
    EXPECT_EQ(w->objectName(), QStringLiteral("ADDMESSAGEWIZARD$WINDOW"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Add Message Wizard"));
    EXPECT_EQ(categories(), (std::vector<std::string>{"General"}));
    EXPECT_EQ(tasks().size(), 1u);  // the number is reserved at once
    EXPECT_EQ(Child<QComboBox>(w.get(), "categoryCombo")->currentText(), QStringLiteral("General"));

    auto* back = Child<QPushButton>(w.get(), "backButton");
    auto* next = Child<QPushButton>(w.get(), "nextButton");
    auto* finish = Child<QPushButton>(w.get(), "finishButton");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(next->isDefault());
    EXPECT_FALSE(finish->isEnabled());
    Click(w.get(), "nextButton");
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));
    EXPECT_TRUE(Child<QRadioButton>(w.get(), "dayOfWeekRadio")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(w.get(), "dayOfWeekRadio")->hasFocus());
    EXPECT_FALSE(Child<QCheckBox>(w.get(), "every1stCheck")->isEnabled());
    EXPECT_TRUE(Child<QCheckBox>(w.get(), "mondayCheck")->isEnabled());
    Click(w.get(), "nextButton");
    EXPECT_TRUE(finish->isEnabled());
    EXPECT_TRUE(finish->isDefault());
    EXPECT_FALSE(next->isEnabled());
    Click(w.get(), "backButton");
    EXPECT_TRUE(next->isDefault());
    EXPECT_FALSE(finish->isEnabled());
    Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");
    EXPECT_EQ(w->response(), pim::Response::Completed);

    const auto saved = tasks();
    ASSERT_EQ(saved.size(), 1u);
    const ScheduleRecord& t = saved[0];
    EXPECT_EQ(t.taskType, "Display Message");
    EXPECT_EQ(t.scheduleType, "Day of Week");
    EXPECT_EQ(t.sunday + t.monday + t.tuesday + t.wednesday + t.thursday + t.friday + t.saturday, 7);
    EXPECT_EQ(t.date, clock.today());
    EXPECT_EQ(t.time, clock.now().time);  // to the hundredth, though the entry shows seconds
    EXPECT_EQ(t.category, "General");
    EXPECT_EQ(t.warn, 1);
    EXPECT_EQ(t.everyLast, 1);
    EXPECT_TRUE(prompter.shown.empty());
}

// The time and date are typed as users write them: a click and "9", all
// selected and "09:00:00", the locale's own short date. Whatever the entry
// understood it shows; what it cannot read stops the wizard with a message.
TEST_F(ScheduleWindowsTest, TheWizardsTimeAndDateTakeWhatIsTyped)
{
    // German for this test only, however it ends.
    struct LocaleScope {
        QLocale before;
        ~LocaleScope() { QLocale::setDefault(before); }
    } scope;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto w = wizard(scheduler::AddWizard::Message);
    Click(w.get(), "nextButton");
    ASSERT_EQ(page(*w), QStringLiteral("whenPage"));
    auto* time = Child<QLineEdit>(w.get(), "timeEdit");
    auto* date = Child<QLineEdit>(w.get(), "nextDateEdit");
    EXPECT_EQ(time->text(), QStringLiteral("14:30:15"));

    // A click into the field, the text cleared by keyboard, then "9".
    QTest::mouseClick(time, Qt::LeftButton);
    QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(time, Qt::Key_Backspace);
    QTest::keyClicks(time, QStringLiteral("9"));
    QTest::keyClick(time, Qt::Key_Tab);
    EXPECT_EQ(time->text(), QStringLiteral("09:00"));
    // All selected and the whole time typed over it.
    time->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(time, QStringLiteral("09:00:00"));
    QTest::keyClick(time, Qt::Key_Tab);
    EXPECT_EQ(time->text(), QStringLiteral("09:00"));
    time->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(time, QStringLiteral("9.30pm"));
    QTest::keyClick(time, Qt::Key_Tab);
    EXPECT_EQ(time->text(), QStringLiteral("21:30"));

    // The German short date, day first, shown back as German writes it, the year in full.
    date->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(date, QStringLiteral("17.3.27"));
    QTest::keyClick(date, Qt::Key_Tab);
    EXPECT_EQ(date->text(), QStringLiteral("17.03.2027"));
    EXPECT_TRUE(prompter.shown.empty());

    // A time that is none: Next says what the field takes and goes nowhere.
    time->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(time, QStringLiteral("25:00"));
    Click(w.get(), "nextButton");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text.rfind("\"25:00\" is not a time of day.", 0), 0u);
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));
    EXPECT_TRUE(time->hasFocus());
    QTest::keyClick(time, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(time, QStringLiteral("8"));
    Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");
    ASSERT_EQ(w->response(), pim::Response::Completed);
    ASSERT_EQ(tasks().size(), 1u);
    EXPECT_EQ(tasks()[0].date, MakeDate(3, 17, 2027));
    EXPECT_EQ(tasks()[0].time, MakeTime(8, 0));
    EXPECT_EQ(prompter.shown.size(), 1u);
}

// Made on a Wednesday for Mondays only, the task first runs on Monday; once
// only at a time already past, it is saved only when the user says so.
TEST_F(ScheduleWindowsTest, AWizardsTaskFirstRunsWhenItsRuleSaysAndNeverBySurprise)
{
    {
        auto w = wizard(scheduler::AddWizard::Message);
        Click(w.get(), "nextButton");
        auto* date = Child<QLineEdit>(w.get(), "nextDateEdit");
        EXPECT_EQ(date->text(), QStringLiteral("2027-03-10"));
        for (const char* day : {"sundayCheck", "tuesdayCheck", "wednesdayCheck", "thursdayCheck", "fridayCheck",
                                "saturdayCheck"})
            Child<QCheckBox>(w.get(), day)->click();
        EXPECT_EQ(date->text(), QStringLiteral("2027-03-15"));  // in view before Finish
        Click(w.get(), "nextButton");
        Click(w.get(), "finishButton");
        ASSERT_EQ(w->response(), pim::Response::Completed);
        EXPECT_EQ(w->task().date, MakeDate(3, 15, 2027));
        EXPECT_EQ(w->task().monday + w->task().wednesday, 1);
    }
    {
        // Every day at 09:00, made at 14:30: tomorrow, not at once.
        auto w = wizard(scheduler::AddWizard::Message);
        Click(w.get(), "nextButton");
        Child<QLineEdit>(w.get(), "timeEdit")->setText(QStringLiteral("9"));
        Click(w.get(), "nextButton");
        Click(w.get(), "finishButton");
        ASSERT_EQ(w->response(), pim::Response::Completed);
        EXPECT_EQ(w->task().date, MakeDate(3, 11, 2027));
        EXPECT_EQ(w->task().time, MakeTime(9, 0));
    }
    EXPECT_TRUE(prompter.shown.empty());

    auto w = wizard(scheduler::AddWizard::Message);
    Click(w.get(), "nextButton");
    Child<QRadioButton>(w.get(), "onceRadio")->click();
    auto* time = Child<QLineEdit>(w.get(), "timeEdit");
    time->setText(QStringLiteral("9"));
    Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");  // No, the default: back to the time
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "Time Already Passed");
    EXPECT_EQ(w->response(), pim::Response::None);
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));
    EXPECT_TRUE(time->hasFocus());
    prompter.answer(platform::MessageButton::Yes);
    Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");
    ASSERT_EQ(w->response(), pim::Response::Completed);
    EXPECT_EQ(w->task().scheduleType, "Once");
    EXPECT_EQ(w->task().date, MakeDate(3, 10, 2027));
    EXPECT_EQ(w->task().time, MakeTime(9, 0));
}

// The message filled in from the description is not selected: the Return
// that goes on to the next page keeps it.
TEST_F(ScheduleWindowsTest, TheMessageFilledFromTheDescriptionSurvivesTheReturnToTheNextPage)
{
    auto w = wizard(scheduler::AddWizard::Task);
    Child<QRadioButton>(w.get(), "displayMessageRadio")->click();
    Click(w.get(), "nextButton");
    auto* description = Child<QLineEdit>(w.get(), "descriptionEdit");
    description->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(description, QStringLiteral("Water the plants"));
    Click(w.get(), "nextButton");
    ASSERT_EQ(page(*w), QStringLiteral("messagePage"));
    auto* message = Child<QPlainTextEdit>(w.get(), "messageEdit");
    ASSERT_TRUE(message->hasFocus());
    EXPECT_EQ(message->toPlainText(), QStringLiteral("Water the plants"));
    EXPECT_FALSE(message->textCursor().hasSelection());
    QTest::keyClick(message, Qt::Key_Return);
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));
    EXPECT_EQ(message->toPlainText(), QStringLiteral("Water the plants"));

    // Once the user writes in it, Return breaks the line.
    Click(w.get(), "backButton");
    message->setFocus(Qt::TabFocusReason);
    message->moveCursor(QTextCursor::End);
    QTest::keyClicks(message, QStringLiteral("!"));
    QTest::keyClick(message, Qt::Key_Return);
    EXPECT_EQ(page(*w), QStringLiteral("messagePage"));
    EXPECT_EQ(message->toPlainText(), QStringLiteral("Water the plants!\n"));
    Click(w.get(), "nextButton");
    Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");
    ASSERT_FALSE(tasks().empty());
    EXPECT_EQ(tasks().back().message.str(), "Water the plants!\n");
}

TEST_F(ScheduleWindowsTest, CancelAndClosingLeaveNoRecord)
{
    {
        auto w = wizard(scheduler::AddWizard::Program);
        EXPECT_EQ(tasks().size(), 1u);
        Click(w.get(), "cancelButton");
        EXPECT_EQ(w->response(), pim::Response::Cancelled);
        EXPECT_TRUE(tasks().empty());
    }
    {
        auto w = wizard(scheduler::AddWizard::Task);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        EXPECT_TRUE(tasks().empty());
    }
    {
        auto w = wizard(scheduler::AddWizard::Message);
        w->close();  // the window's own close box
        EXPECT_TRUE(tasks().empty());
    }
    EXPECT_NE(ReadFile(dir.file(data::kPositionsFile)).find("[AddProgramWizard]"), std::string::npos);
}

// The script written from a wizard belongs to the task being added: it stays
// with a finished task and goes with a cancelled one.
TEST_F(ScheduleWindowsTest, AWizardsScriptIsKeptWithItsTaskAndGoesWithACancel)
{
    const auto writeOneItem = [this](WizardWindow& w) {
        WhenModalOpens(
            [this](QWidget* browser) {
                data::Table<data::ScriptingRecord> s(db);
                s.rec.id = tasks().at(0).id;  // the placeholder of the task being added
                s.rec.sequence = 1;
                s.rec.action = "Send Keystrokes";
                EXPECT_EQ(s.add(), data::kOk);
                QTest::keyClick(browser, Qt::Key_Escape);
            },
            QStringLiteral("BROWSESCRIPTING$QUICKWINDOW"));
        Click(&w, "scriptingButton");
    };
    const auto items = [this] {
        data::Table<data::ScriptingRecord> s(db);
        return s.count();
    };
    {
        auto w = wizard(scheduler::AddWizard::Program);
        writeOneItem(*w);
        EXPECT_EQ(items(), 1);
        Click(w.get(), "cancelButton");
        EXPECT_TRUE(tasks().empty());
        EXPECT_EQ(items(), 0);
    }
    auto w = wizard(scheduler::AddWizard::Program);
    Child<QLineEdit>(w.get(), "commandEdit")->setText(QStringLiteral("xterm"));
    writeOneItem(*w);
    for (int i = 0; i < 3; ++i)
        Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");
    ASSERT_EQ(w->response(), pim::Response::Completed);
    ASSERT_EQ(tasks().size(), 1u);
    data::Table<data::ScriptingRecord> s(db);
    s.rec.id = tasks()[0].id;
    s.rec.sequence = 1;
    EXPECT_EQ(s.get(data::ScriptingRecord::KeyID), data::kOk);
}

TEST_F(ScheduleWindowsTest, TheTaskWizardRoutesByTheTypeChosenOnItsFirstPage)
{
    auto w = wizard(scheduler::AddWizard::Task);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Add Task Wizard"));
    EXPECT_TRUE(Child<QRadioButton>(w.get(), "bothRadio")->isChecked());
    Child<QRadioButton>(w.get(), "displayMessageRadio")->click();
    Click(w.get(), "nextButton");
    EXPECT_EQ(page(*w), QStringLiteral("categoryPage"));
    Click(w.get(), "nextButton");
    EXPECT_EQ(page(*w), QStringLiteral("messagePage"));
    Click(w.get(), "backButton");
    EXPECT_EQ(page(*w), QStringLiteral("categoryPage"));
    Click(w.get(), "backButton");
    EXPECT_EQ(page(*w), QStringLiteral("taskPage"));

    Child<QRadioButton>(w.get(), "runProgramRadio")->click();
    Click(w.get(), "nextButton");
    Click(w.get(), "nextButton");
    EXPECT_EQ(page(*w), QStringLiteral("commandPage"));
    EXPECT_TRUE(Child<QLineEdit>(w.get(), "commandEdit")->isEnabled());
    EXPECT_FALSE(Child<QPlainTextEdit>(w.get(), "messageEdit")->isEnabled());
    Click(w.get(), "nextButton");
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));
    Click(w.get(), "backButton");
    EXPECT_EQ(page(*w), QStringLiteral("commandPage"));
    EXPECT_TRUE(Child<QPushButton>(w.get(), "backButton")->isEnabled());

    // A click on a tab of the sheet changes nothing.
    QWidget* tabs = Child(w.get(), "pageTabs");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint(5, tabs->height() / 2));
    EXPECT_EQ(page(*w), QStringLiteral("commandPage"));
}

TEST_F(ScheduleWindowsTest, NoneTakesTheTimeAwayAndAWarningAfterTheTaskIsRefused)
{
    auto w = wizard(scheduler::AddWizard::Task);
    Child<QRadioButton>(w.get(), "noneRadio")->click();
    auto* time = Child<QLineEdit>(w.get(), "timeEdit");
    EXPECT_FALSE(time->isEnabled());
    EXPECT_EQ(time->text(), QStringLiteral("23:59:54"));
    EXPECT_FALSE(Child<QLineEdit>(w.get(), "commandEdit")->isEnabled());
    for (int i = 0; i < 4; ++i)
        Click(w.get(), "nextButton");
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));

    // The same day one hour after the task: cleared with the message.
    auto* warnDate = Child<QLineEdit>(w.get(), "warnDateEdit");
    auto* warnTime = Child<QLineEdit>(w.get(), "warnTimeEdit");
    warnDate->setText(QStringLiteral("2027-03-11"));
    Q_EMIT warnDate->editingFinished();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Advanced Warning cannot be after scheduled task.");
    EXPECT_TRUE(warnDate->text().isEmpty());
    EXPECT_TRUE(warnTime->text().isEmpty());
    warnDate->setText(QStringLiteral("2027-03-10"));
    warnTime->setText(QStringLiteral("12:00"));
    Q_EMIT warnTime->editingFinished();
    EXPECT_EQ(prompter.shown.size(), 1u);  // earlier the same day stands

    // The task moved a day earlier leaves its warning after it: Finish refuses it.
    auto* date = Child<QLineEdit>(w.get(), "nextDateEdit");
    date->setText(QStringLiteral("2027-03-09"));
    Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");
    EXPECT_EQ(w->response(), pim::Response::None);
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown.back().text, "Advanced Warning cannot be after scheduled task.");
    date->setText(QStringLiteral("2027-03-10"));
    warnDate->setText(QStringLiteral("2027-03-10"));
    warnTime->setText(QStringLiteral("12:00"));

    Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");
    ASSERT_EQ(tasks().size(), 1u);
    EXPECT_EQ(tasks()[0].time, 8'639'500);
    EXPECT_EQ(tasks()[0].advanceWarnDate, MakeDate(3, 10, 2027));
    EXPECT_EQ(tasks()[0].advanceWarnTime, MakeTime(12, 0));
}

// The warning refused with Return belongs to the wizard: one box, the Return
// does not go on to "&Next ->", and the focus comes back to the entry.
TEST_F(ScheduleWindowsTest, AWarningRefusedByReturnIsOneBoxOverTheWizard)
{
    ui::QtPrompter boxes;
    std::unique_ptr<WizardWindow> w(WizardWindow::OpenAddWizard({{db, positions, boxes}, clock, ini, &sound},
                                                                scheduler::AddWizard::Task));
    ASSERT_NE(w, nullptr);
    Show(w.get());
    for (int i = 0; i < 4; ++i)
        Click(w.get(), "nextButton");
    ASSERT_EQ(page(*w), QStringLiteral("whenPage"));
    auto* warnDate = Child<QLineEdit>(w.get(), "warnDateEdit");
    warnDate->setFocus();
    QTest::keyClicks(warnDate, QStringLiteral("2027-03-12"));
    QPointer<QWidget> owner;
    WhenModalOpens([&](QWidget* box) { owner = box->parentWidget(); }, QStringLiteral("MESSAGEBOX"));
    BoxAnswerer answerer(Qt::Key_Return);
    QTest::keyClick(warnDate, Qt::Key_Return);
    EXPECT_EQ(answerer.boxes(), 1);
    EXPECT_EQ(owner, w.get());
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));
    EXPECT_TRUE(warnDate->text().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), warnDate);
    w->close();
}

TEST_F(ScheduleWindowsTest, TheProgramChooserFillsOnlyABlankStartFolderAndTheTimeIsTyped)
{
    std::vector<ui::FileRequest> asked;
    QString next = QStringLiteral("/opt/tools/bin/backup.sh");
    ui::SetFileChooser([&](QWidget*, const ui::FileRequest& r) {
        asked.push_back(r);
        return next;
    });
    auto w = wizard(scheduler::AddWizard::Program);
    EXPECT_EQ(page(*w), QStringLiteral("commandPage"));
    Click(w.get(), "browseProgramButton");
    EXPECT_EQ(Child<QLineEdit>(w.get(), "commandEdit")->text(), next);
    EXPECT_EQ(Child<QLineEdit>(w.get(), "pathEdit")->text(), QStringLiteral("/opt/tools/bin"));
    next = QStringLiteral("/usr/bin/xterm");
    Click(w.get(), "browseProgramButton");
    EXPECT_EQ(Child<QLineEdit>(w.get(), "commandEdit")->text(), next);
    EXPECT_EQ(Child<QLineEdit>(w.get(), "pathEdit")->text(), QStringLiteral("/opt/tools/bin"));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, QStringLiteral("Choose a Program to Start"));
    EXPECT_EQ(asked[1].suggested, QStringLiteral("/opt/tools/bin"));  // starts in the start folder
    EXPECT_TRUE(Child<QPushButton>(w.get(), "scriptingButton")->isEnabled());

    // The time typed in over the keyboard, as a user does: Alt+I, which
    // selects what the entry holds, then the digits run together.
    Click(w.get(), "nextButton");
    auto* time = Child<QLineEdit>(w.get(), "timeEdit");
    // "Schedule &Type" has Alt+T and "T&ime:" Alt+I: each goes straight to its field.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(time->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("dayOfWeekRadio"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(time->hasFocus());
    QTest::keyClicks(time, QStringLiteral("160542"));
    QTest::keyClick(time, Qt::Key_Tab);
    EXPECT_EQ(time->text(), QStringLiteral("16:05:42"));  // shown as understood

    // The alarm's file comes from the last one used; the program wizard asks its own way.
    ini.write("Settings", "LastWAVFile", "/sounds/bell.wav");
    Click(w.get(), "nextButton");
    Click(w.get(), "nextButton");
    Child<QCheckBox>(w.get(), "alarmCheck")->click();
    EXPECT_EQ(Child<QLineEdit>(w.get(), "wavFileEdit")->text(), QStringLiteral("/sounds/bell.wav"));
    next = QString();
    Click(w.get(), "browseWavButton");
    EXPECT_EQ(asked.back().title, QStringLiteral("Choose a WAV File"));
    Click(w.get(), "playButton");  // a file that is not there is not played
    EXPECT_TRUE(sound.played.empty());
    EXPECT_TRUE(Child<QLineEdit>(w.get(), "wavFileEdit")->hasFocus());
    Click(w.get(), "finishButton");
    ui::SetFileChooser(nullptr);

    ASSERT_EQ(tasks().size(), 1u);
    EXPECT_EQ(tasks()[0].taskType, "Run Program");
    EXPECT_EQ(tasks()[0].command, "/usr/bin/xterm");
    EXPECT_EQ(tasks()[0].path, "/opt/tools/bin");
    EXPECT_EQ(tasks()[0].time, MakeTime(16, 5, 42));
    EXPECT_EQ(tasks()[0].alarm, 1);
    EXPECT_EQ(tasks()[0].alarmFile, "/sounds/bell.wav");
}

// Quick reminder

// One line and Enter: the text, then when. The window says what it
// understood while the user types, and adds nothing it cannot read.
TEST_F(ScheduleWindowsTest, AQuickReminderIsOneLineAndEnter)
{
    {
        ui::QuickReminderWindow w(services());
        Show(&w);
        EXPECT_EQ(w.objectName(), QStringLiteral("QUICKREMINDER$WINDOW"));
        auto* line = Child<QLineEdit>(&w, "reminderEdit");
        auto* understood = Child<QLabel>(&w, "understoodLabel");
        ASSERT_TRUE(line->hasFocus());
        QTest::keyClicks(line, QStringLiteral("Call Bob"));
        EXPECT_EQ(understood->text().toStdString(), scheduler::QuickReminderHelp());
        QTest::keyClick(line, Qt::Key_Return);  // no moment yet: told, and nothing added
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_TRUE(w.isVisible());
        QTest::keyClicks(line, QStringLiteral(" in 10 minutes"));
        EXPECT_EQ(understood->text(), QStringLiteral("\"Call Bob\" on Wednesday, March 10, 2027 at 2:40 PM"));
        QTest::keyClick(line, Qt::Key_Return);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Accepted);
    }
    ASSERT_EQ(tasks().size(), 1u);
    const ScheduleRecord t = tasks()[0];
    EXPECT_EQ(t.description.str(), "Call Bob");
    EXPECT_EQ(t.message.str(), "Call Bob");
    EXPECT_EQ(t.taskType.str(), "Display Message");
    EXPECT_EQ(t.scheduleType.str(), "Once");
    EXPECT_EQ(t.date, clock.today());
    EXPECT_EQ(t.time, MakeTime(14, 40, 15, 50));
    EXPECT_EQ(categories(), (std::vector<std::string>{"General"}));

    // Said for a moment already past, it asks; No adds nothing, and Escape leaves.
    ui::QuickReminderWindow w(services());
    Show(&w);
    QTest::keyClicks(Child<QLineEdit>(&w, "reminderEdit"), QStringLiteral("Stand up today at 9"));
    QTest::keyClick(Child<QLineEdit>(&w, "reminderEdit"), Qt::Key_Return);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].caption, "Time Already Passed");
    EXPECT_TRUE(w.isVisible());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(tasks().size(), 1u);
}

// Rescheduling

class SpecialEventWindowTest : public ScheduleWindowsTest {
protected:
    void SetUp() override
    {
        ScheduleWindowsTest::SetUp();
        source = Task(5, MakeDate(3, 15, 2027), MakeTime(9, 0), "Standup", "Work");
        source.scheduleType = "Day of Week";
        source.monday = 1;
        data::Table<ScheduleRecord> t(db);
        t.rec = source;
        ASSERT_EQ(t.add(), data::kOk);
    }

    // Gives the source task a script of `count` steps.
    void addScript(int count)
    {
        data::Table<data::ScriptingRecord> s(db);
        for (int step = 1; step <= count; ++step) {
            s.clear();
            s.rec.id = source.id;
            s.rec.sequence = step * 10;
            s.rec.action = "Send Keystrokes";
            s.rec.keystrokes = "step " + std::to_string(step);
            ASSERT_EQ(s.add(), data::kOk);
        }
    }
    // The script of task `id`, in order: sequence and keystrokes of each step.
    std::vector<std::pair<data::Long, std::string>> script(data::Long id)
    {
        std::vector<std::pair<data::Long, std::string>> out;
        data::Table<data::ScriptingRecord> s(db);
        s.set(data::ScriptingRecord::KeyID);
        while (s.next() == data::kOk)
            if (s.rec.id == id)
                out.emplace_back(s.rec.sequence, s.rec.keystrokes.str());
        return out;
    }

    ScheduleRecord source;
};

TEST_F(SpecialEventWindowTest, TheTickedSkipBoxMarksTheSourceAndAMessageTaskHasNoCommandPage)
{
    std::unique_ptr<WizardWindow> w(WizardWindow::OpenSpecialEvent(services(), source));
    ASSERT_NE(w, nullptr);
    Show(w.get());
    EXPECT_EQ(w->objectName(), QStringLiteral("SPECIALEVENTWIZARD$WINDOW"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Reschedule Event Wizard"));
    EXPECT_EQ(Child<QComboBox>(w.get(), "categoryCombo")->currentText(), QStringLiteral("Work"));
    EXPECT_TRUE(Child<QRadioButton>(w.get(), "displayMessageRadio")->isChecked());
    Click(w.get(), "nextButton");
    EXPECT_EQ(page(*w), QStringLiteral("messagePage"));
    Click(w.get(), "nextButton");
    EXPECT_EQ(page(*w), QStringLiteral("whenPage"));
    Click(w.get(), "backButton");
    Click(w.get(), "backButton");
    EXPECT_EQ(page(*w), QStringLiteral("taskPage"));
    Click(w.get(), "nextButton");
    Click(w.get(), "nextButton");
    Child<QLineEdit>(w.get(), "nextDateEdit")->setText(QStringLiteral("2027-03-16"));
    Child<QCheckBox>(w.get(), "skipCheck")->click();
    Click(w.get(), "nextButton");
    // An open schedule list shares the window's connection: it hears of the new task only when told.
    QSignalSpy told(&ScheduleNotifier::instance(), &ScheduleNotifier::changed);
    Click(w.get(), "finishButton");
    EXPECT_EQ(w->response(), pim::Response::Completed);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(told.count(), 1);

    const auto all = tasks();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].id, 5);
    EXPECT_EQ(all[0].skipNextTime, 1);
    EXPECT_EQ(all[0].scheduleType, "Day of Week");
    EXPECT_EQ(all[1].skipNextTime, 0);
    EXPECT_EQ(all[1].scheduleType, "Once");
    EXPECT_EQ(all[1].date, MakeDate(3, 16, 2027));
    EXPECT_EQ(all[1].category, "Work");
    EXPECT_EQ(w->task().id, all[1].id);
}

// A moved occurrence performs what the task would have: the copy carries a
// script of its own, which stays when the source's changes, and goes with a
// copy that is not kept.
TEST_F(SpecialEventWindowTest, TheMovedOccurrenceTakesACopyOfTheScript)
{
    addScript(3);
    const auto steps = script(source.id);
    ASSERT_EQ(steps.size(), 3u);

    std::unique_ptr<WizardWindow> w(WizardWindow::OpenSpecialEvent(services(), source));
    ASSERT_NE(w, nullptr);
    Show(w.get());
    const data::Long copyId = w->task().id;
    ASSERT_NE(copyId, source.id);
    Click(w.get(), "nextButton");
    Click(w.get(), "nextButton");
    Child<QLineEdit>(w.get(), "nextDateEdit")->setText(QStringLiteral("2027-03-16"));
    Click(w.get(), "nextButton");
    Click(w.get(), "finishButton");
    ASSERT_EQ(w->response(), pim::Response::Completed);
    EXPECT_EQ(script(copyId), steps);
    EXPECT_EQ(script(source.id), steps);

    // Its own copy: the source's script may change, the moved occurrence's stays.
    data::Table<data::ScriptingRecord> s(db);
    s.rec.id = source.id;
    s.rec.sequence = 20;
    ASSERT_EQ(s.get(data::ScriptingRecord::KeyID), data::kOk);
    ASSERT_EQ(s.remove(), data::kOk);
    EXPECT_EQ(script(source.id).size(), 2u);
    EXPECT_EQ(script(copyId), steps);

    // Cancelled, the copy leaves no script behind.
    std::unique_ptr<WizardWindow> cancelled(WizardWindow::OpenSpecialEvent(services(), source));
    ASSERT_NE(cancelled, nullptr);
    Show(cancelled.get());
    const data::Long unkept = cancelled->task().id;
    EXPECT_EQ(script(unkept).size(), 2u);
    Click(cancelled.get(), "cancelButton");
    EXPECT_TRUE(script(unkept).empty());
    EXPECT_EQ(script(source.id).size(), 2u);
}

TEST_F(SpecialEventWindowTest, CancellingTheScriptsCopyCancelsTheWizard)
{
    // Long enough that the copy is still running when Cancel is pressed.
    addScript(3000);
    WhenModalOpens([](QWidget* progress) { Child<QPushButton>(progress, "cancelButton")->click(); },
                   QStringLiteral("COPYSCRIPT$PROGRESSWINDOW"));
    std::unique_ptr<WizardWindow> w(WizardWindow::OpenSpecialEvent(services(), source));
    // A moved occurrence with part of the script would run half its steps.
    EXPECT_EQ(w, nullptr);
    const auto all = tasks();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_TRUE(pim::SameRecord(all[0], source));
    EXPECT_EQ(script(source.id).size(), 3000u);
    data::Table<data::ScriptingRecord> s(db);
    EXPECT_EQ(s.count(), 3000);
}

TEST_F(SpecialEventWindowTest, CancellingLeavesNeitherACopyNorAChange)
{
    std::unique_ptr<WizardWindow> w(WizardWindow::OpenSpecialEvent(services(), source));
    ASSERT_NE(w, nullptr);
    Show(w.get());
    Click(w.get(), "nextButton");
    Click(w.get(), "nextButton");
    Child<QCheckBox>(w.get(), "skipCheck")->click();
    QSignalSpy told(&ScheduleNotifier::instance(), &ScheduleNotifier::changed);
    Click(w.get(), "cancelButton");
    EXPECT_EQ(told.count(), 0);
    const auto all = tasks();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].skipNextTime, 0);
    EXPECT_TRUE(pim::SameRecord(all[0], source));
}

// The frame starts the wizards from its menu, toolbar and tray menu.
TEST_F(FrameTest, TheWizardCommandsOpenTheirWizards)
{
    frame->show();
    const auto openWizards = [] {
        QStringList names;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->objectName().endsWith(QStringLiteral("WIZARD$WINDOW")))
                names << w->objectName();
        names.sort();
        return names;
    };
    const auto closeAll = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->objectName().endsWith(QStringLiteral("WIZARD$WINDOW")))
                w->close();
        QApplication::processEvents();
    };
    auto* generic = frame->findChild<QAction*>(QStringLiteral("actionGenericAdd"));
    ASSERT_NE(generic, nullptr);
    EXPECT_EQ(generic->text(), QStringLiteral("Generic &Add "));
    EXPECT_EQ(generic->statusTip(), QStringLiteral("Add a message, program, both or neither"));
    generic->trigger();
    frame->findChild<QAction*>(QStringLiteral("toolMessageWizard"))->trigger();
    frame->findChild<QAction*>(QStringLiteral("toolProgramWizard"))->trigger();
    // Several at once, each with its own reserved task.
    EXPECT_EQ(openWizards(), (QStringList{"ADDMESSAGEWIZARD$WINDOW", "ADDPROGRAMWIZARD$WINDOW", "ADDTASKWIZARD$WINDOW"}));
    EXPECT_EQ(data::Table<data::ScheduleRecord>(db).count(), 3);
    closeAll();
    EXPECT_EQ(data::Table<data::ScheduleRecord>(db).count(), 0);

    QMenu* menu = frame->trayMenu();
    for (QAction* a : menu->actions()) {
        if (a->text() == QStringLiteral("Add &Program")) {
            EXPECT_TRUE(a->isEnabled());
            a->trigger();
        }
    }
    EXPECT_EQ(openWizards(), (QStringList{"ADDPROGRAMWIZARD$WINDOW"}));
    closeAll();
}

}  // namespace
}  // namespace hrln::test
