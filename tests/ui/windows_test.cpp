#include "ui/frame/autostart.h"
#include "ui/frame/message_dialog.h"
#include "ui/frame/setup_window.h"
#include "ui/pim/todo_windows.h"
#include "ui/widgets/qt_prompter.h"
#include "ui_fixture.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace hrln::test {
namespace {

using namespace data;

class WindowsTest : public FrameTest {
protected:
    ui::SetupServices setupServices()
    {
        return {db, settings, ini, positions, prompter, [this] { ++scriptsCleared; }, [this](int n) { limit = n; }};
    }
    int scriptsCleared = 0;
    int limit = -1;
};

TEST_F(WindowsTest, SetupWritesEveryOptionAndShowsItAgain)
{
    {
        ui::SetupWindow setup(setupServices());
        EXPECT_EQ(setup.objectName(), QStringLiteral("SETUP$WINDOW"));
        EXPECT_TRUE(setup.findChild<QCheckBox*>(QStringLiteral("StartUpActive"))->isChecked());
        const auto check = [&](const char* key, bool on) {
            QCheckBox* box = setup.findChild<QCheckBox*>(QString::fromLatin1(key));
            ASSERT_NE(box, nullptr) << key;
            box->setChecked(on);
        };
        const auto number = [&](const char* key, int value) {
            QSpinBox* spin = setup.findChild<QSpinBox*>(QString::fromLatin1(key));
            ASSERT_NE(spin, nullptr) << key;
            spin->setValue(value);
        };
        check("StartUpActive", false);
        check("StartUpSchedule", false);
        check("StartUpToDo", true);
        check("LogEvents", true);
        check("NoTray", true);
        check("MultiUser", true);
        check("KeepRunningInTray", true);
        number("RepeatAlarmInterval", 3);
        number("HistoryExpires", 30);
        number("ScriptingDelay", 20);
        number("BurstSize", 12);
        number("MaxClipboardEntries", 80);
        setup.findChild<QLineEdit*>(QStringLiteral("UserID"))->setText(QStringLiteral("Reception"));
        setup.accept();
    }
    EXPECT_EQ(ini.read("Settings", "StartUpActive"), "1");  // stored inverted
    EXPECT_EQ(ini.read("Settings", "StartUpSchedule"), "1");
    EXPECT_EQ(ini.read("Settings", "StartUpToDo"), "1");
    EXPECT_EQ(ini.read("Settings", "RepeatAlarmInterval"), "5");
    EXPECT_EQ(ini.read("Settings", "UserID"), "Reception");
    EXPECT_EQ(ini.read("Settings", "MaxClipboardEntries"), "80");
    EXPECT_FALSE(settings.startUpActive);
    EXPECT_EQ(settings.scriptingDelay, 50);  // read back with its limit
    EXPECT_EQ(settings.burstSize, 12);
    EXPECT_EQ(limit, 80);
    const Settings reloaded = LoadSettings(ini, nullptr);
    EXPECT_FALSE(reloaded.startUpActive);
    EXPECT_TRUE(reloaded.noTray);
    EXPECT_TRUE(reloaded.keepRunningInTray);
    EXPECT_TRUE(settings.keepRunningInTray);  // at once, for the next close
    EXPECT_EQ(reloaded.historyExpires, 30);

    // Shown again as stored; Cancel writes nothing.
    ui::SetupWindow again(setupServices());
    EXPECT_FALSE(again.findChild<QCheckBox*>(QStringLiteral("StartUpActive"))->isChecked());
    EXPECT_EQ(again.findChild<QSpinBox*>(QStringLiteral("RepeatAlarmInterval"))->value(), 5);
    EXPECT_TRUE(again.findChild<QCheckBox*>(QStringLiteral("KeepRunningInTray"))->isChecked());
    again.findChild<QCheckBox*>(QStringLiteral("LogEvents"))->setChecked(false);
    again.reject();
    EXPECT_EQ(ini.read("Settings", "LogEvents"), "1");

    // A housekeeping button asks first.
    prompter.answer(platform::MessageButton::Yes);
    QTest::mouseClick(again.findChild<QPushButton*>(QStringLiteral("removeScripts")), Qt::LeftButton);
    EXPECT_EQ(scriptsCleared, 1);
    EXPECT_EQ(prompter.shown.back().text, "All active scripts have been removed");
}

QWidget* OpenMessage(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

// A message that waits for its answer holds nothing else up, takes no stray
// Enter, and stays usable while a question box is open over the frame.
TEST_F(WindowsTest, AMessageWindowHoldsNothingUpAndTakesNoStrayKeys)
{
    FakeLauncher launcher;
    settings.useModalMessage = true;
    scheduler::MessageServices services{db, settings, log, clock, prompter, sound, launcher, windows};
    ui::QtMessageLauncher messagesUi(services, positions, nullptr);
    // Should the window hold its caller, this closes it from inside, and the window is gone on return.
    bool returned = false;
    QTimer::singleShot(0, [&returned] {
        if (QWidget* w = OpenMessage(QStringLiteral("SHOWMODALMESSAGE$WINDOW")); w != nullptr && !returned)
            w->close();
    });
    messagesUi.startMessage(scheduler::MakeMessageSlots("Stretch", "Stand up", ""));
    returned = true;
    QPointer<QWidget> modal = OpenMessage(QStringLiteral("SHOWMODALMESSAGE$WINDOW"));
    ASSERT_NE(modal, nullptr) << "the message held its caller until it was closed";
    QCoreApplication::processEvents();
    ASSERT_FALSE(modal.isNull());
    EXPECT_EQ(windows.open(), 0);  // not counted against the limit

    // No default button: Enter reaches the window and closes nothing.
    for (QPushButton* b : modal->findChildren<QPushButton*>())
        EXPECT_FALSE(b->isDefault() || b->autoDefault()) << b->objectName().toStdString();
    EXPECT_EQ(modal->focusWidget(), modal->findChild<QPlainTextEdit*>(QStringLiteral("messageText")));
    QTest::keyClick(modal, Qt::Key_Return);
    QTest::keyClick(modal->findChild<QPlainTextEdit*>(QStringLiteral("messageText")), Qt::Key_Enter);
    EXPECT_TRUE(modal->isVisible());

    // A question asked over the frame leaves the message closable.
    frame->show();
    ui::QtPrompter questions(frame.get());
    bool closedMeanwhile = false;
    QTimer::singleShot(50, [&] {
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("closeButton")), Qt::LeftButton);
        QCoreApplication::processEvents();
        closedMeanwhile = modal.isNull() || !modal->isVisible();
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->reject();
    });
    questions.ask({"Task is due to run.  Run it now?", "Confirm Task", platform::MessageIcon::Exclamation,
                   platform::MessageButtons::YesNo, platform::MessageButton::No});
    EXPECT_TRUE(closedMeanwhile);
}

TEST_F(WindowsTest, MessagesOpenedTogetherAreCascadedSoEachIsSeen)
{
    FakeLauncher launcher;
    scheduler::MessageServices services{db, settings, log, clock, prompter, sound, launcher, windows};
    ui::QtMessageLauncher messagesUi(services, positions, nullptr);
    for (const char* title : {"One", "Two", "Three"})
        messagesUi.startMessage(scheduler::MakeMessageSlots(title, "Text", ""));
    std::vector<QPoint> places;
    std::vector<QPointer<QWidget>> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("SHOWMESSAGE$WINDOW") && w->isVisible()) {
            places.push_back(w->pos());
            open.emplace_back(w);
        }
    ASSERT_EQ(places.size(), 3u);
    std::sort(places.begin(), places.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); });
    EXPECT_LT(places[0].y(), places[1].y());
    EXPECT_LT(places[1].x(), places[2].x());
    for (QPointer<QWidget>& w : open) {
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("closeButton")), Qt::LeftButton);
        QTRY_VERIFY(w.isNull());
    }
    EXPECT_EQ(windows.open(), 0);
}

// "Saved" belongs to the message window, so closing it leaves that window in
// front, not the frame.
TEST_F(WindowsTest, TheSavedBoxBelongsToTheMessageWindow)
{
    FakeLauncher launcher;
    scheduler::MessageServices services{db, settings, log, clock, prompter, sound, launcher, windows};
    ui::QtMessageLauncher messagesUi(services, positions, nullptr);
    messagesUi.setOwnBoxes(true);
    frame->show();
    messagesUi.startMessage(scheduler::MakeMessageSlots("Stretch", "Stand up", ""));
    QPointer<QWidget> window = OpenMessage(QStringLiteral("SHOWMESSAGE$WINDOW"));
    ASSERT_NE(window, nullptr);
    QWidget* owner = nullptr;
    QString text;
    QTimer::singleShot(50, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            owner = box->parentWidget();
            text = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("todoButton")), Qt::LeftButton);
    EXPECT_EQ(text, QStringLiteral("Added to To Do List:\nStretch"));
    EXPECT_EQ(owner, window.data());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(window->isVisible());
    window->close();
    QTRY_VERIFY(window.isNull());  // gone before the next test's counter exists
}

TEST_F(WindowsTest, AMessageWindowSnoozesAndAddsToTheToDoList)
{
    FakeLauncher launcher;
    clock.set(MakeDate(3, 1, 2027), MakeTime(23, 55));
    scheduler::MessageServices services{db, settings, log, clock, prompter, sound, launcher, windows};
    ui::QtMessageLauncher messagesUi(services, positions, nullptr);
    messagesUi.startMessage(scheduler::MakeMessageSlots("Stretch", "Stand up\rand stretch", ""));
    EXPECT_EQ(windows.open(), 1);

    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("SHOWMESSAGE$WINDOW") && w->isVisible())
            window = w;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("messageTitle"))->text(), QStringLiteral("Stretch"));
    EXPECT_EQ(window->findChild<QPlainTextEdit*>(QStringLiteral("messageText"))->toPlainText(),
              QStringLiteral("Stand up\nand stretch"));

    // An open to-do list shows the item at once.
    ui::ViewToDoWindow todoList({{db, positions, prompter}, clock, QString()});
    todoList.show();
    EXPECT_EQ(todoList.list()->model()->rowCount(), 0);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("todoButton")), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back().text, "Added to To Do List:\rStretch");
    EXPECT_TRUE(window->isVisible());  // the window stays open
    ASSERT_EQ(todoList.list()->model()->rowCount(), 1);
    EXPECT_EQ(todoList.list()->model()->data(todoList.list()->model()->index(0, 2)).toString(),
              QStringLiteral("Stretch"));

    QPointer<QWidget> guard(window);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("snoozeButton")), Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());  // closed and gone
    EXPECT_EQ(windows.open(), 0);

    Table<ScheduleRecord> snoozed(db);
    snoozed.rec.id = 1;
    ASSERT_EQ(snoozed.get(ScheduleRecord::KeyID), kOk);
    EXPECT_EQ(snoozed.rec.date, MakeDate(3, 2, 2027));
    EXPECT_EQ(snoozed.rec.time, MakeTime(0, 5));
    Table<TodoRecord> todo(db);
    EXPECT_EQ(todo.count(), 1);
}

// The other snooze lengths are reached by keyboard alone: the button's
// mnemonic opens the menu, a length's mnemonic snoozes and closes the window.
TEST_F(WindowsTest, AMessageSnoozesForALengthChosenByKeyboard)
{
    FakeLauncher launcher;
    clock.set(MakeDate(3, 1, 2027), MakeTime(10, 0));
    scheduler::MessageServices services{db, settings, log, clock, prompter, sound, launcher, windows};
    ui::QtMessageLauncher messagesUi(services, positions, nullptr);
    messagesUi.startMessage(scheduler::MakeMessageSlots("Stretch", "Stand up", ""));
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("SHOWMESSAGE$WINDOW") && w->isVisible())
            window = w;
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());

    bool menuSeen = false;
    // The menu runs its own loop: answer it from inside.
    std::function<void()> pick = [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menuSeen = menu->objectName() == QStringLiteral("snoozeLengthsMenu");
            QTest::keyClick(menu, Qt::Key_3);  // "&30 minutes"
        } else {
            QTimer::singleShot(20, pick);
        }
    };
    QTimer::singleShot(20, pick);
    QPointer<QWidget> guard(window);
    QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(guard.isNull());
    EXPECT_TRUE(menuSeen);
    EXPECT_EQ(windows.open(), 0);
    Table<ScheduleRecord> snoozed(db);
    snoozed.rec.id = 1;
    ASSERT_EQ(snoozed.get(ScheduleRecord::KeyID), kOk);
    EXPECT_EQ(snoozed.rec.date, MakeDate(3, 1, 2027));
    EXPECT_EQ(snoozed.rec.time, MakeTime(10, 30));
    EXPECT_EQ(snoozed.rec.category, "Snooze");
}

// The login entry starts the program in the notification area, with a path
// that holds blanks and quotes kept whole; switching it off removes it.
TEST_F(WindowsTest, TheAutostartEntryStartsTheProgramInTheTray)
{
    const QString program = QStringLiteral("/opt/my apps/hora\"lyn");
    ASSERT_TRUE(ui::SetAutostart(true, program));
    EXPECT_TRUE(ui::AutostartEnabled());
    QFile entry(ui::AutostartPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QString exec;
    for (const QString& line : QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Exec=")))
            exec = line;
    entry.close();
    EXPECT_EQ(exec, QStringLiteral("Exec=\"/opt/my apps/hora\\\"lyn\" --tray"));
    ASSERT_TRUE(ui::SetAutostart(false, program));
    EXPECT_FALSE(ui::AutostartEnabled());
    EXPECT_TRUE(ui::SetAutostart(false, program)) << "removing what is not there is no failure";
}

}  // namespace
}  // namespace hrln::test
