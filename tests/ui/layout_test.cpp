// Every window shows its texts whole at its default size: no button, heading,
// label or title cut, and no window larger than the screen it opens on.
#include "modal.h"
#include "window_walk.h"
#include "data/record_tags.h"
#include "ui_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTest>

namespace hrln::test {
namespace {

class LayoutTest : public FrameTest {
protected:
    // The frame of the fixture, with the user's marks so that it offers the schedule.
    void SetUp() override
    {
        FrameTest::SetUp();
        ASSERT_EQ(data::OpenTagFile(tagFile, db), data::kOk);
        scheduler.reset();
        tray.reset();
        frame.reset();
        ui::FrameServices services{db, settings, log, ini, positions, clock, prompter,
                                   QString::fromStdString(dir.path().string()),
                                   QString::fromStdString(dir.file("guide.html")), nullptr, nullptr, &clipboard};
        services.tags = &tags;
        frame = std::make_unique<ui::MainFrame>(services);
        tray = std::make_unique<scheduler::TrayController>(trayBackend, *frame, settings);
        scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
            db, settings, log, clock, prompter, sound, *frame, *tray, scripts, messages, windows, nullptr, nullptr});
        frame->attach(scheduler.get(), tray.get(), &scripts);
    }

    void open(const char* action)
    {
        QAction* a = frame->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }

    data::Database tagFile{dir.file(data::kTagFile), data::TagLayout()};
    data::RecordTags tags{tagFile, 0, data::TaggedTable::Schedule};
};

// The browsers the frame opens inside itself, each at its default size.
TEST_F(LayoutTest, TheFramesWindowsShowTheirTextsWhole)
{
    settings.userId = "Robin";
    for (int id = 1; id <= 3; ++id)
        addTask(id, MakeDate(3, 1, 2027), MakeTime(9, id), "a task of a long description to fill its column");
    frame->show();
    frame->start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(frame->frameGeometry().height(), screen.height());
    EXPECT_LE(frame->frameGeometry().width(), screen.width());
    for (const char* action : {"actionViewSchedule", "actionToDoList", "actionClipboardSaver", "actionBrowseContacts",
                               "actionBrowseCategories", "actionBrowseContactCategories"}) {
        open(action);
        const QList<QMdiSubWindow*> subs = frame->clientArea()->subWindowList(QMdiArea::CreationOrder);
        QMdiSubWindow* sub = subs.isEmpty() ? nullptr : subs.back();
        ASSERT_NE(sub, nullptr) << action;
        QWidget* window = sub->widget();
        QCoreApplication::processEvents();
        const QStringList faults = CutTexts(window) + CutTitle(sub, window->windowTitle());
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        sub->close();
        QCoreApplication::processEvents();
    }
}

// The quick reminder shows its prompt, its help and a reading whole.
TEST_F(LayoutTest, TheQuickReminderShowsItsTextsWhole)
{
    frame->show();
    frame->start();
    open("actionQuickReminder");
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("QUICKREMINDER$WINDOW") && w->isVisible())
            window = w;
    ASSERT_NE(window, nullptr);
    QCoreApplication::processEvents();
    QStringList faults = CutTexts(window) + CutTitle(window, window->windowTitle());
    auto* line = window->findChild<QLineEdit*>(QStringLiteral("reminderEdit"));
    ASSERT_NE(line, nullptr);
    line->setText(QStringLiteral("Take the long report to the third floor tomorrow at 9:30pm"));
    QCoreApplication::processEvents();
    faults << CutTexts(window);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    window->close();
}

// The help window opens inside the screen, whatever its size.
TEST_F(LayoutTest, TheHelpWindowFitsTheScreen)
{
    frame->show();
    for (QAction* a : frame->findChildren<QAction*>())
        if (a->text() == QStringLiteral("&Contents"))
            a->trigger();
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("HELP$WINDOW") && w->isVisible())
            help = w;
    ASSERT_NE(help, nullptr);
    const QRect screen = help->screen()->availableGeometry();
    EXPECT_LE(help->frameGeometry().height(), screen.height());
    EXPECT_LE(help->frameGeometry().width(), screen.width());
    const QStringList faults = CutTexts(help);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    help->close();
}

}  // namespace
}  // namespace hrln::test
