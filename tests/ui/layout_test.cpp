// Every window shows its texts whole at its default size: no button, heading,
// label or title cut, and no window larger than the screen it opens on.
#include "modal.h"
#include "data/record_tags.h"
#include "ui_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTest>

namespace hrln::test {
namespace {

QString Plain(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

// What of `window` shows cut at its present size, one line per fault.
QStringList CutTexts(QWidget* window)
{
    QStringList faults;
    const QString where = window->objectName();
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        // What the style asks for the text, or the text with its margins.
        const int margin = 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const int needed = std::min(button->sizeHint().width(),
                                    button->fontMetrics().horizontalAdvance(Plain(button->text())) + margin);
        if (needed > button->width())
            faults << where + ": button \"" + button->text() + "\" needs " + QString::number(needed) + ", has " +
                          QString::number(button->width());
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->text().isEmpty() || Qt::mightBeRichText(label->text()))
            continue;
        const int needed = label->fontMetrics().horizontalAdvance(Plain(label->text()));
        if (needed > label->contentsRect().width())
            faults << where + ": label \"" + label->text() + "\" needs " + QString::number(needed) + ", has " +
                          QString::number(label->contentsRect().width());
    }
    for (QTableView* view : window->findChildren<QTableView*>()) {
        if (!view->isVisible())
            continue;
        QHeaderView* header = view->horizontalHeader();
        const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const QString heading = view->model()->headerData(c, Qt::Horizontal).toString();
            const int needed = header->fontMetrics().horizontalAdvance(heading) + margin;
            const int shown = std::min(header->sectionSize(c),
                                       header->viewport()->width() - header->sectionViewportPosition(c));
            // A column wholly past the edge is reached by scrolling; one the
            // edge cuts shows a broken heading.
            if (!heading.isEmpty() && shown > 0 && needed > shown)
                faults << where + ": heading \"" + heading + "\" needs " + QString::number(needed) + ", shows " +
                              QString::number(shown);
        }
    }
    return faults;
}

// The title a desktop shows whole: its text and room for the icon and the
// window's buttons.
QStringList CutTitle(QWidget* shown, const QString& title)
{
    constexpr int kTitleBarRoom = 120;
    const int needed = QFontMetrics(QApplication::font()).horizontalAdvance(title) + kTitleBarRoom;
    if (needed > shown->width())
        return {shown->objectName() + ": title \"" + title + "\" needs " + QString::number(needed) + ", has " +
                QString::number(shown->width())};
    return {};
}

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
