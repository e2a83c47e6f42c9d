#include "ui/schedule/update_schedule.h"

#include "data/settings.h"
#include "modal.h"
#include "scheduler/schedule_form.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"
#include "ui/script/browse_scripting.h"
#include "ui/widgets/qt_prompter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace hrln::test {
namespace {

using data::ScheduleRecord;
using pim::Request;
using pim::Response;

class UpdateScheduleTest : public StoreTest {
protected:
    ui::ScheduleFormServices services() { return {{db, positions, prompter}, ini, clock, sound, selectedDay}; }

    std::int64_t addTask(data::Long id, int items = 0)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec = Task(id, MakeDate(1, 4, 2027), MakeTime(9, 0), "task " + std::to_string(id));
        t.rec.scheduleType = "Day of Week";
        t.rec.monday = 1;
        EXPECT_EQ(t.add(), data::kOk);
        data::Table<data::ScriptingRecord> s(db);
        for (int seq = 1; seq <= items; ++seq) {
            s.rec.id = id;
            s.rec.sequence = seq * 10;
            s.rec.action = "Send Keystrokes";
            EXPECT_EQ(s.add(), data::kOk);
        }
        return t.rowId();
    }
    int items(data::Long id)
    {
        data::Table<data::ScriptingRecord> s(db);
        s.set(data::ScriptingRecord::KeyID);
        int n = 0;
        while (s.next() == data::kOk)
            n += s.rec.id == id ? 1 : 0;
        return n;
    }
    bool stored(data::Long id, ScheduleRecord* out = nullptr)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec.id = id;
        if (t.get(ScheduleRecord::KeyID) != data::kOk)
            return false;
        if (out != nullptr)
            *out = t.rec;
        return true;
    }
    template <class W>
    static W* child(QWidget* w, const char* name)
    {
        W* found = w->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    FakePrompter prompter;
    FakeSound sound;
    FakeClock clock{MakeDate(1, 4, 2027), MakeTime(8, 0)};
    Date selectedDay = MakeDate(1, 6, 2027);
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
    data::ProfileFile ini{dir.file(data::kSettingsFile)};
};

// A once-only task set for a moment already past would run as soon as it is
// written: OK asks, and No keeps the form open on the time.
TEST_F(UpdateScheduleTest, AOnceOnlyTimeAlreadyPastAsksBeforeItIsSaved)
{
    WhenModalOpens([&](QWidget* form) {
        QTest::keyClicks(child<QLineEdit>(form, "descriptionEdit"), QStringLiteral("Call back"));
        child<QRadioButton>(form, "scheduleType0")->click();  // "Once"
        auto* date = child<QLineEdit>(form, "dateEdit");
        date->selectAll();
        QTest::keyClicks(date, QStringLiteral("2027-01-04"));
        auto* time = child<QLineEdit>(form, "timeEdit");
        time->setFocus(Qt::MouseFocusReason);
        time->selectAll();
        QTest::keyClicks(time, QStringLiteral("7.30am"));
        QTest::keyClick(time, Qt::Key_Return);  // the entry's Return is OK's
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].caption, "Time Already Passed");
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->focusWidget(), time);
        EXPECT_EQ(time->text(), QStringLiteral("07:30"));  // shown as understood
        prompter.answer(platform::MessageButton::Yes);
        child<QPushButton>(form, "okButton")->click();
    });
    std::int64_t rowid = 0;
    ASSERT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Insert, rowid, false, nullptr), Response::Completed);
    EXPECT_EQ(prompter.shown.size(), 2u);
    data::Table<ScheduleRecord> t(db);
    t.set(ScheduleRecord::KeyID);
    ASSERT_EQ(t.next(), data::kOk);
    EXPECT_EQ(t.rec.description.str(), "Call back");
    EXPECT_EQ(t.rec.date, MakeDate(1, 4, 2027));
    EXPECT_EQ(t.rec.time, MakeTime(7, 30));
}

TEST_F(UpdateScheduleTest, ANewTaskStartsOnTheChosenDayAndNoneHasNoTime)
{
    WhenModalOpens([&](QWidget* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Adding a Schedule Task"));
        EXPECT_EQ(child<QLineEdit>(form, "dateEdit")->text(), QStringLiteral("2027-01-06"));
        EXPECT_TRUE(child<QRadioButton>(form, "taskType2")->isChecked());  // "Both"
        QTest::keyClicks(child<QLineEdit>(form, "descriptionEdit"), QStringLiteral("Stretch"));
        child<QRadioButton>(form, "taskType3")->click();  // "None"
        EXPECT_EQ(child<QLineEdit>(form, "timeEdit")->text(), QStringLiteral("23:59:54"));
        EXPECT_FALSE(child<QLineEdit>(form, "timeEdit")->isEnabled());
        child<QPushButton>(form, "okButton")->click();
    });
    std::int64_t rowid = 0;
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Insert, rowid, false, nullptr), Response::Completed);
    ScheduleRecord r;
    ASSERT_TRUE(stored(1, &r));
    EXPECT_EQ(r.description.str(), "Stretch");
    EXPECT_EQ(r.taskType.str(), "None");
    EXPECT_EQ(r.time, scheduler::kNoTaskTime);
    EXPECT_EQ(r.date, selectedDay);
    EXPECT_EQ(r.everyLast, 1);
}

TEST_F(UpdateScheduleTest, CancelOnACopyLeavesNoTaskAndNoCopiedScript)
{
    const std::int64_t source = addTask(5, 30);
    int copiedWhileOpen = -1;
    WhenModalOpens(
        [&](QWidget* form) {
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Adding a Schedule Task"));
            copiedWhileOpen = items(6);
            EXPECT_EQ(child<QLineEdit>(form, "descriptionEdit")->text(), QStringLiteral("task 5"));
            QTest::keyClick(form, Qt::Key_Escape);
        },
        QStringLiteral("UPDATESCHEDULE$QUICKWINDOW"));
    std::int64_t rowid = source;
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Insert, rowid, true, nullptr), Response::Cancelled);
    EXPECT_EQ(copiedWhileOpen, 30);  // the copy keeps every item while the form is open
    EXPECT_FALSE(stored(6));
    EXPECT_EQ(items(6), 0);
    EXPECT_EQ(items(5), 30);
}

TEST_F(UpdateScheduleTest, CancellingTheScriptsCopyCancelsTheCopy)
{
    // Long enough that the copy is still running when Cancel is pressed.
    const std::int64_t source = addTask(5, 3000);
    bool formOpened = false;
    WhenModalOpens([](QWidget* progress) { child<QPushButton>(progress, "cancelButton")->click(); },
                   QStringLiteral("COPYSCRIPT$PROGRESSWINDOW"));
    const QPointer<QTimer> formWatch = WhenModalOpens(
        [&](QWidget* form) {
            formOpened = true;
            QTest::keyClick(form, Qt::Key_Escape);
        },
        QStringLiteral("UPDATESCHEDULE$QUICKWINDOW"));
    std::int64_t rowid = source;
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Insert, rowid, true, nullptr), Response::Cancelled);
    delete formWatch.data();  // left waiting when no form opened, as it should not
    // A task with part of its script would run half its steps: neither stays.
    EXPECT_FALSE(formOpened);
    EXPECT_FALSE(stored(6));
    EXPECT_EQ(items(6), 0);
    EXPECT_EQ(items(5), 3000);
}

TEST_F(UpdateScheduleTest, MonthlyGreysTheWeekdaysButKeepsThem)
{
    std::int64_t rowid = addTask(3);
    WhenModalOpens([&](QWidget* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Changing a Schedule Task"));
        EXPECT_TRUE(child<QCheckBox>(form, "monday")->isEnabled());
        child<QRadioButton>(form, "scheduleType3")->click();  // "Monthly"
        EXPECT_FALSE(child<QCheckBox>(form, "monday")->isEnabled());
        EXPECT_TRUE(child<QCheckBox>(form, "monday")->isChecked());
        child<QPushButton>(form, "okButton")->click();
    });
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Change, rowid, false, nullptr), Response::Completed);
    ScheduleRecord r;
    ASSERT_TRUE(stored(3, &r));
    EXPECT_EQ(r.scheduleType.str(), "Monthly");
    EXPECT_EQ(r.monday, 1);
}

// Entries count characters as the task stores them: a character outside the
// basic plane is one, is never split, and a cut or a refused key is noted at
// the field with its label and width.
TEST_F(UpdateScheduleTest, EntriesKeepWholeCharactersAndNoteWhatTheyCut)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    QString pasted;
    QString pastedNote;
    QString typed;
    bool noteAfterTyping = false;
    WhenModalOpens([&](QWidget* form) {
        auto* description = child<QLineEdit>(form, "descriptionEdit");
        const auto note = [&] { return form->findChild<QLabel*>(QStringLiteral("fieldNoteLabel")); };
        description->setFocus();
        description->insert(QStringLiteral("a") + emoji.repeated(45));
        pasted = description->text();
        ASSERT_NE(note(), nullptr);
        pastedNote = note()->isVisible() ? note()->text() : QString();
        note()->hide();

        // Typing into the full field is refused where the cursor is.
        description->setText(QStringLiteral("b") + emoji.repeated(39));
        description->setCursorPosition(1);
        QTest::keyClicks(description, QStringLiteral("x"));
        typed = description->text();
        noteAfterTyping = note()->isVisible();
        description->setText(QStringLiteral("a") + emoji.repeated(30));
        child<QPushButton>(form, "okButton")->click();
    });
    std::int64_t rowid = 0;
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Insert, rowid, false, nullptr), Response::Completed);
    EXPECT_EQ(pasted, QStringLiteral("a") + emoji.repeated(39));
    EXPECT_EQ(pastedNote, QStringLiteral("Description: up to 40 characters."));
    EXPECT_EQ(typed, QStringLiteral("b") + emoji.repeated(39));
    EXPECT_TRUE(noteAfterTyping);
    ScheduleRecord r;
    ASSERT_TRUE(stored(1, &r));
    EXPECT_EQ(QString::fromStdString(r.description.str()), QStringLiteral("a") + emoji.repeated(30));
}

// What a user types that the task cannot hold is refused at its field, and
// another station's change meanwhile is shown, not overwritten.
TEST_F(UpdateScheduleTest, BadEntriesAndAChangeMeanwhileKeepTheFormOpen)
{
    std::int64_t rowid = addTask(4);
    data::Database other(db.path(), data::MainLayout());
    ASSERT_EQ(other.open(), data::kOk);
    std::vector<std::string> seen;
    WhenModalOpens([&](QWidget* form) {
        // A message pasted past its 1000 characters is cut where it shows, never inside a character.
        auto* message = child<QPlainTextEdit>(form, "messageEdit");
        message->setPlainText(QString(999, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x98\x80") +
                              QString(500, QLatin1Char('b')));
        EXPECT_EQ(message->toPlainText().toUcs4().size(), 1000);
        EXPECT_TRUE(message->toPlainText().endsWith(QString::fromUtf8("a\xF0\x9F\x98\x80")));

        // A date refused while another page shows brings its page back with the focus on it.
        auto* date = child<QLineEdit>(form, "dateEdit");
        date->setText(QStringLiteral("2027-02-30"));
        auto* pages = form->findChild<QTabWidget*>();
        pages->setCurrentIndex(pages->count() - 1);
        child<QPushButton>(form, "okButton")->click();
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(pages->currentWidget()->isAncestorOf(date));
        EXPECT_EQ(form->focusWidget(), date);
        seen.push_back(prompter.shown.back().caption);
        date->setText(QStringLiteral("2027-01-11"));

        data::Table<ScheduleRecord> theirs(other);
        theirs.rec.id = 4;
        ASSERT_EQ(theirs.get(ScheduleRecord::KeyID), data::kOk);
        theirs.rec.description = "theirs";
        ASSERT_EQ(theirs.put(), data::kOk);

        auto* description = child<QLineEdit>(form, "descriptionEdit");
        description->setText(QStringLiteral("mine"));
        child<QPushButton>(form, "okButton")->click();
        EXPECT_TRUE(form->isVisible());
        seen.push_back(prompter.shown.back().text);
        EXPECT_EQ(description->text(), QStringLiteral("theirs"));
        QTest::keyClick(form, Qt::Key_Escape);
    });
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Change, rowid, false, nullptr), Response::Cancelled);
    EXPECT_EQ(seen, (std::vector<std::string>{"Invalid Entry", "This record was changed by another station."}));
    ScheduleRecord r;
    ASSERT_TRUE(stored(4, &r));
    EXPECT_EQ(r.description.str(), "theirs");
    EXPECT_EQ(r.date, MakeDate(1, 4, 2027));
}

// A refused value is named by the label the user sees beside it.
TEST_F(UpdateScheduleTest, ARefusedValueIsNamedByItsLabel)
{
    std::int64_t rowid = addTask(4);
    WhenModalOpens([&](QWidget* form) {
        child<QRadioButton>(form, "scheduleType5")->click();  // "Custom"
        child<QSpinBox>(form, "everySpin")->setValue(0);
        child<QPushButton>(form, "okButton")->click();
        QTest::keyClick(form, Qt::Key_Escape);
    });
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Change, rowid, false, nullptr), Response::Cancelled);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().text, "Every must be between 1 and 999999.");
}

// A task deleted by another station while its form was open: OK offers to
// try again, close without saving or go back; Cancel keeps the form, No closes it.
TEST_F(UpdateScheduleTest, ATaskDeletedMeanwhileOffersToCloseWithoutSaving)
{
    std::int64_t rowid = addTask(4);
    data::Database other(db.path(), data::MainLayout());
    ASSERT_EQ(other.open(), data::kOk);
    bool openAfterCancel = false;
    WhenModalOpens([&](QWidget* form) {
        data::Table<ScheduleRecord> theirs(other);
        theirs.rec.id = 4;
        ASSERT_EQ(theirs.get(ScheduleRecord::KeyID), data::kOk);
        ASSERT_EQ(theirs.remove(), data::kOk);
        child<QLineEdit>(form, "descriptionEdit")->setText(QStringLiteral("mine"));
        prompter.answer(platform::MessageButton::Cancel);
        child<QPushButton>(form, "okButton")->click();
        openAfterCancel = form->isVisible();
        prompter.answer(platform::MessageButton::No);
        child<QPushButton>(form, "okButton")->click();
    });
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Change, rowid, false, nullptr), Response::Cancelled);
    EXPECT_TRUE(openAfterCancel);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_EQ(prompter.shown[0].caption, "Update Error");
    EXPECT_FALSE(stored(4));
}

// A bad date finished with Return is reported once: the Return goes no
// further to "&OK", whose check would say it again, the focus comes back to
// the entry, and leaving the entry says nothing more.
TEST_F(UpdateScheduleTest, ABadDateFinishedWithReturnIsReportedOnce)
{
    std::int64_t rowid = addTask(4);
    ui::QtPrompter boxes;
    const ui::ScheduleFormServices withBoxes{{db, positions, boxes}, ini, clock, sound, selectedDay};
    BoxAnswerer answerer(Qt::Key_Return);
    bool openAfterReturn = false;
    bool focusBack = false;
    int boxesAfterLeaving = -1;
    WhenModalOpens([&](QWidget* form) {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        auto* pages = form->findChild<QTabWidget*>(QStringLiteral("pages"));
        auto* date = child<QLineEdit>(form, "dateEdit");
        pages->setCurrentIndex(1);
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, QStringLiteral("2027-02-31"));
        QTest::keyClick(date, Qt::Key_Return);
        openAfterReturn = form->isVisible();
        focusBack = QTest::qWaitFor([&] { return QApplication::focusWidget() == date; });
        child<QLineEdit>(form, "timeEdit")->setFocus();
        QCoreApplication::processEvents();
        boxesAfterLeaving = answerer.boxes();
        form->close();
    });
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(withBoxes, Request::Change, rowid, false, nullptr), Response::Cancelled);
    EXPECT_TRUE(openAfterReturn);
    EXPECT_TRUE(focusBack);
    EXPECT_EQ(boxesAfterLeaving, 1);
}

TEST_F(UpdateScheduleTest, ScriptingOpensTheTasksScriptAndANewTasksScriptGoesWithItsCancel)
{
    const std::int64_t task = addTask(5, 2);
    int shown = -1;
    WhenModalOpens(
        [&](QWidget* form) {
            WhenModalOpens(
                [&](QWidget* browser) {
                    shown = static_cast<ui::BrowseScriptingWindow*>(browser)->list()->model()->rowCount();
                    QTest::keyClick(browser, Qt::Key_Escape);
                },
                QStringLiteral("BROWSESCRIPTING$QUICKWINDOW"));
            auto* scripting = child<QPushButton>(form, "scriptingButton");
            EXPECT_FALSE(scripting->isEnabled());  // a message task runs no script
            child<QRadioButton>(form, "taskType0")->click();  // "Run Program"
            EXPECT_TRUE(scripting->isEnabled());
            scripting->click();
            QTest::keyClick(form, Qt::Key_Escape);
        },
        QStringLiteral("UPDATESCHEDULE$QUICKWINDOW"));
    std::int64_t rowid = task;
    ui::UpdateScheduleWindow::Run(services(), Request::Change, rowid, false, nullptr);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(items(5), 2);

    // Items written into a task that is then not saved would belong to nothing.
    WhenModalOpens(
        [&](QWidget* form) {
            WhenModalOpens(
                [&](QWidget* browser) {
                    data::Table<data::ScriptingRecord> s(db);
                    s.rec.id = 6;
                    s.rec.sequence = 1;
                    s.rec.action = "Exit Script";
                    EXPECT_EQ(s.add(), data::kOk);
                    QTest::keyClick(browser, Qt::Key_Escape);
                },
                QStringLiteral("BROWSESCRIPTING$QUICKWINDOW"));
            child<QPushButton>(form, "scriptingButton")->click();
            QTest::keyClick(form, Qt::Key_Escape);
        },
        QStringLiteral("UPDATESCHEDULE$QUICKWINDOW"));
    rowid = 0;
    EXPECT_EQ(ui::UpdateScheduleWindow::Run(services(), Request::Insert, rowid, false, nullptr), Response::Cancelled);
    EXPECT_FALSE(stored(6));
    EXPECT_EQ(items(6), 0);
}

// A WAV file name typed in is remembered as one chosen, and a blank entry
// takes the last one back; the last run shows its date and, labelled, its time.
TEST_F(UpdateScheduleTest, ATypedWavFileIsRememberedAndTheLastRunShowsDateAndTime)
{
    std::int64_t rowid = 0;
    {
        data::Table<ScheduleRecord> t(db);
        t.rec = Task(8, MakeDate(1, 4, 2027), MakeTime(9, 0), "Ring");
        t.rec.alarm = 1;
        t.rec.lastRunDate = MakeDate(1, 3, 2027);
        t.rec.lastRunTime = MakeTime(7, 15, 30);
        ASSERT_EQ(t.add(), data::kOk);
        rowid = t.rowId();
    }
    WhenModalOpens([&](QWidget* form) {
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        form->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentIndex(1);
        EXPECT_EQ(child<QLabel>(form, "lastRunLabel")->text(), QStringLiteral("2027-01-03"));
        QLabel* time = child<QLabel>(form, "lastRunTimeLabel");
        EXPECT_EQ(time->text(), QStringLiteral("07:15:30"));
        bool labelled = false;
        for (const QLabel* l : time->parentWidget()->findChildren<QLabel*>())
            labelled = labelled || (l->text() == QStringLiteral("Time:") && l->y() == time->y() &&
                                    l->x() < time->x() && l->x() > child<QLabel>(form, "lastRunLabel")->x());
        EXPECT_TRUE(labelled);

        form->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentIndex(2);
        QLineEdit* wav = child<QLineEdit>(form, "alarmFileEdit");
        ASSERT_TRUE(wav->isVisible());
        wav->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(wav, QStringLiteral("/tmp/ring.wav"));
        QTest::keyClick(wav, Qt::Key_Tab);
        EXPECT_EQ(ini.read(data::kSettingsSection, "LastWAVFile"), "/tmp/ring.wav");
        wav->setFocus(Qt::TabFocusReason);
        wav->selectAll();
        QTest::keyClick(wav, Qt::Key_Backspace);
        QTest::keyClick(wav, Qt::Key_Tab);
        EXPECT_EQ(wav->text(), QStringLiteral("/tmp/ring.wav"));
        QTest::keyClick(form, Qt::Key_Escape);
    });
    ui::UpdateScheduleWindow::Run(services(), Request::Change, rowid, false, nullptr);
}

}  // namespace
}  // namespace hrln::test
