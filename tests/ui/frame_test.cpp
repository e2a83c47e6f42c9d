#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusTipEvent>
#include <QTest>

namespace hrln::test {
namespace {

QStringList Choices(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            out << a->text();
    return out;
}

TEST_F(FrameTest, TitleAndStatusFollowTheScheduler)
{
    frame->show();
    frame->start();
    EXPECT_EQ(frame->objectName(), QStringLiteral("MAIN$APPFRAME"));
    scheduler->onTimer();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Horalyn 97"));
    EXPECT_EQ(frame->zoneText(2), QString());
    EXPECT_EQ(frame->zoneText(3), QStringLiteral("Monday, March 1, 2027"));
    EXPECT_EQ(frame->zoneText(4), QStringLiteral("8:00 AM"));
    EXPECT_EQ(frame->timerInterval(), 125);

    addTask(1, MakeDate(3, 2, 2027), MakeTime(14, 30), "Team meeting");
    scheduler->onTimer();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Horalyn 97"));
    EXPECT_EQ(frame->zoneText(2), QStringLiteral("Next: Team meeting"));

    frame->setWindowState(Qt::WindowMinimized);
    scheduler->onTimer();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Horalyn 97 - Team meeting Mar 2, 2027 2:30 PM"));

    settings.startUpActive = false;
    scheduler->onTimer();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Horalyn 97 (Inactive)"));
    EXPECT_EQ(frame->zoneText(2), QStringLiteral("Inactive"));
    EXPECT_EQ(frame->timerInterval(), 250);

    // A running script: the indicator and the faster timer.
    settings.startUpActive = true;
    scripts.pendingSteps = 3;
    scheduler->onTimer();
    EXPECT_EQ(frame->findChild<QLabel*>(QStringLiteral("scriptIndicator"))->text(), QStringLiteral("*"));
    EXPECT_EQ(frame->timerInterval(), 50);
    QAction* stop = frame->findChild<QAction*>(QStringLiteral("actionStopScript"));
    ASSERT_NE(stop, nullptr);
    stop->trigger();
    EXPECT_FALSE(scripts.pending());
}

TEST_F(FrameTest, MenusAndTheTrayMenu)
{
    QStringList top;
    for (QAction* a : frame->menuBar()->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{"&File", "&Browse", "&Reports", "&Window", "&Help"}));

    const QStringList idle = Choices(frame->trayMenu());
    EXPECT_EQ(idle, (QStringList{"Add &Message", "Add &Program", "&Quick Reminder", "&View To Do", "&Options",
                                 "&Restore", "&About", "E&xit Horalyn"}));
    scripts.pendingSteps = 1;
    const QStringList running = Choices(frame->trayMenu());
    ASSERT_EQ(running.size(), 9);
    EXPECT_EQ(running[7], QStringLiteral("&Stop Running Script"));

    // The frame goes into the tray when minimised, and a click brings it back.
    frame->show();
    frame->start();
    frame->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(tray->shown());
    EXPECT_FALSE(frame->isVisible());
    frame->onTrayActivated(false);
    EXPECT_FALSE(tray->shown());
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(FrameTest, TheToDoListOpensOnceFromTheMenuTheToolbarAndTheTray)
{
    settings.userId = "Robin";
    frame->show();
    frame->start();
    const auto open = [this] {
        int n = 0;
        for (QMdiSubWindow* sub : frame->clientArea()->subWindowList())
            if (sub->widget() != nullptr && sub->widget()->objectName() == QStringLiteral("VIEWTODO$QUICKWINDOW"))
                ++n;
        return n;
    };
    EXPECT_EQ(open(), 0);
    frame->findChild<QAction*>(QStringLiteral("actionToDoList"))->trigger();
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(frame->clientArea()->subWindowList().front()->widget()->windowTitle(),
              QStringLiteral("To Do List - Robin"));
    frame->findChild<QAction*>(QStringLiteral("toolToDoList"))->trigger();
    EXPECT_EQ(open(), 1);  // brought forward, not opened twice
    frame->clientArea()->closeAllSubWindows();
    QTRY_COMPARE(open(), 0);

    // The tray's choice is offered and opens it too.
    QAction* view = nullptr;
    for (QAction* a : frame->trayMenu()->actions())
        if (a->text() == QStringLiteral("&View To Do"))
            view = a;
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isEnabled());
    view->trigger();
    EXPECT_EQ(open(), 1);
}

// The quick reminder comes from the menu, the toolbar and the tray, the
// last without bringing the frame out of the tray.
TEST_F(FrameTest, TheQuickReminderOpensFromTheMenuTheToolbarAndTheTray)
{
    frame->show();
    frame->start();
    const auto reminders = [] {
        QList<QWidget*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("QUICKREMINDER$WINDOW") && w->isVisible())
                out << w;
        return out;
    };
    for (const char* action : {"actionQuickReminder", "toolQuickReminder"}) {
        frame->findChild<QAction*>(QString::fromLatin1(action))->trigger();
        const QList<QWidget*> open = reminders();
        ASSERT_EQ(open.size(), 1) << action;
        EXPECT_EQ(open.front()->windowTitle(), QStringLiteral("Quick Reminder"));
        open.front()->close();
        QTRY_VERIFY(reminders().isEmpty());
    }
    frame->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(tray->shown());
    for (QAction* a : frame->trayMenu()->actions())
        if (a->text() == QStringLiteral("&Quick Reminder"))
            a->trigger();
    ASSERT_EQ(reminders().size(), 1);
    EXPECT_TRUE(tray->shown());
    reminders().front()->close();
}

TEST_F(FrameTest, TheToDoListOpensWithTheFrameWhenTheSettingsSaySo)
{
    settings.startUpToDo = true;
    frame->show();
    frame->start();
    ASSERT_EQ(frame->clientArea()->subWindowList().size(), 1);
    EXPECT_EQ(frame->clientArea()->subWindowList().front()->widget()->objectName(),
              QStringLiteral("VIEWTODO$QUICKWINDOW"));
}

TEST_F(FrameTest, TheStartUpWindowsOpenContactsFirstAndTheBrowseMenuOpensTheContactWindows)
{
    settings.startUpToDo = true;
    settings.startUpClipboardSaver = true;
    settings.startUpContacts = true;
    frame->show();
    frame->start();
    QStringList opened;
    for (QMdiSubWindow* sub : frame->clientArea()->subWindowList(QMdiArea::CreationOrder))
        opened << sub->widget()->objectName();
    EXPECT_EQ(opened, (QStringList{"BROWSECONTACTS$QUICKWINDOW", "BROWSECLIPBOARD$QUICKWINDOW", "VIEWTODO$QUICKWINDOW"}));

    QAction* contacts = frame->findChild<QAction*>(QStringLiteral("actionBrowseContacts"));
    QAction* categories = frame->findChild<QAction*>(QStringLiteral("actionBrowseContactCategories"));
    ASSERT_NE(contacts, nullptr);
    ASSERT_NE(categories, nullptr);
    EXPECT_TRUE(contacts->isEnabled());
    EXPECT_EQ(contacts->statusTip(), QStringLiteral("Browse Contacts"));
    EXPECT_EQ(categories->statusTip(), QStringLiteral("Browse Contact Categories"));
    contacts->trigger();  // already open: brought forward
    categories->trigger();
    opened.clear();
    for (QMdiSubWindow* sub : frame->clientArea()->subWindowList(QMdiArea::CreationOrder))
        opened << sub->widget()->objectName();
    EXPECT_EQ(opened.count(QStringLiteral("BROWSECONTACTS$QUICKWINDOW")), 1);
    EXPECT_EQ(opened.back(), QStringLiteral("BROWSECONTACTCATEGORIES$QUICKWINDOW"));
}

// In the tray the frame counts as minimised even when the desktop drops the
// minimised state of the unmapped window: the title and tip show the next task.
TEST_F(FrameTest, InTheTrayTheTitleShowsTheNextTask)
{
    addTask(1, MakeDate(3, 2, 2027), MakeTime(14, 30), "Team meeting");
    frame->show();
    frame->start();
    frame->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(tray->shown());
    frame->setWindowState(Qt::WindowNoState);  // as an X11 desktop reports a withdrawn window
    scheduler->onTimer();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Horalyn 97 - Team meeting Mar 2, 2027 2:30 PM"));
    EXPECT_EQ(trayBackend.tip, "Horalyn 97 - Team meeting Mar 2, 2027 2:30 PM");
    EXPECT_FALSE(frame->isVisible());
    frame->onTrayActivated(false);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(frame->isMinimized());
}

TEST_F(FrameTest, TheGuideOpensInTheProgramsOwnHelpWindow)
{
    frame->show();
    QAction* contents = nullptr;
    for (QAction* a : frame->findChildren<QAction*>())
        if (a->text() == QStringLiteral("&Contents"))
            contents = a;
    ASSERT_NE(contents, nullptr);
    contents->trigger();
    contents->trigger();  // the open window comes to the front, no second one
    QList<QWidget*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("HELP$WINDOW") && w->isVisible())
            open << w;
    ASSERT_EQ(open.size(), 1);
    auto* text = open.front()->findChild<QTextBrowser*>(QStringLiteral("helpText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Horalyn guide")));
    // The guide's own links stay in the window, and Back returns.
    text->setSource(QUrl(QStringLiteral("more.html")));
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("The second page")));
    auto* back = open.front()->findChild<QPushButton*>(QStringLiteral("backButton"));
    ASSERT_TRUE(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Horalyn guide")));
    open.front()->close();
}

TEST_F(FrameTest, MenuHintsShowInZoneOne)
{
    frame->show();
    frame->start();
    QAction* setup = frame->findChild<QAction*>(QStringLiteral("actionSetup"));
    ASSERT_NE(setup, nullptr);
    // A hovered menu item sends its hint to the menu bar that opened the menu.
    setup->showStatusText(frame->menuBar());
    EXPECT_EQ(frame->zoneText(1), QStringLiteral("Change the program's options"));
    EXPECT_TRUE(frame->findChild<QLabel*>(QStringLiteral("zone1"))->isVisible());
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(frame->menuBar(), &leave);
    EXPECT_EQ(frame->zoneText(1), QString());
}

TEST_F(FrameTest, TheFrameReopensWhereItWasClosed)
{
    settings.logEvents = true;
    frame->show();
    frame->start();
    frame->setGeometry(120, 90, 700, 500);
    frame->close();
    EXPECT_EQ(positions.read("Main", "XPosit"), "120");
    EXPECT_NE(ReadFile(dir.file(data::kEventLogFile)).find("Exit Horalyn"), std::string::npos);

    ui::MainFrame again({db, settings, log, ini, positions, clock, prompter, QString(), QString(), nullptr});
    again.start();
    EXPECT_EQ(again.geometry(), QRect(120, 90, 700, 500));
}

// Closing the window with a task still to come: asked once a session, the
// answer is carried out; with the option set the tray is taken without a word.
TEST_F(FrameTest, ClosingTheWindowKeepsTheProgramAsTheUserChooses)
{
    bool ended = false;
    QObject::connect(frame.get(), &ui::MainFrame::closed, [&ended] { ended = true; });
    frame->show();
    frame->start();
    EXPECT_FALSE(frame->keepRunningOnWindowClose()) << "nothing to come: closing just ends";
    EXPECT_TRUE(prompter.shown.empty());

    addTask(1, MakeDate(3, 2, 2027), MakeTime(14, 30), "Team meeting");
    prompter.answer(platform::MessageButton::Cancel);
    EXPECT_TRUE(frame->keepRunningOnWindowClose());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("will not be performed"), std::string::npos);
    EXPECT_TRUE(frame->isVisible()) << "cancelled: the window stays";
    EXPECT_FALSE(tray->shown());
    EXPECT_FALSE(frame->keepRunningOnWindowClose()) << "asked once a session only";
    EXPECT_EQ(prompter.shown.size(), 1u);

    settings.keepRunningInTray = true;
    EXPECT_TRUE(frame->keepRunningOnWindowClose());
    EXPECT_TRUE(tray->shown());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_FALSE(ended);
    frame->onTrayActivated(false);
    EXPECT_TRUE(frame->isVisible());

    // Exit is never turned into the tray.
    frame->close();
    EXPECT_TRUE(ended);
}

// Asked and answered Yes on a fresh frame: the frame goes to the tray.
TEST_F(FrameTest, AnsweringYesToTheCloseQuestionGoesToTheTray)
{
    addTask(1, MakeDate(3, 2, 2027), MakeTime(14, 30), "Team meeting");
    frame->show();
    frame->start();
    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(frame->keepRunningOnWindowClose());
    EXPECT_TRUE(tray->shown());
    EXPECT_FALSE(frame->isVisible());
}

}  // namespace
}  // namespace hrln::test
