#include "ui/widgets/window_placement.h"

#include <QMdiSubWindow>

#include "data/window_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace hrln::ui {
namespace {

// Room for the desktop's title bar and borders around the window.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

}  // namespace

void RestoreWindowPosition(QWidget* window, data::ProfileFile& positions, const QString& section)
{
    // Never saved: the window opens where it was designed to (for a dialog, over its parent).
    if (positions.read(section.toStdString(), "XPosit").find_first_not_of(' ') == std::string::npos)
        return;
    const QRect designed = window->geometry();
    data::WindowPlacement design{designed.x(),     designed.y(), designed.width(), designed.height(),
                                 window->isMaximized(), false,
                                 window->minimumSize() != window->maximumSize()};
    const data::WindowPlacement placed = data::RestoreWindowPosition(positions, section.toStdString(), design);
    QRect wanted(placed.x, placed.y, placed.width, placed.height);
    // A place on a screen that is gone moves onto the nearest one that is there.
    if (QGuiApplication::screenAt(wanted.center()) == nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            wanted.setSize(wanted.size().boundedTo(area.size()));
            wanted.moveTopLeft(QPoint(std::clamp(wanted.x(), area.left(), area.right() - wanted.width() + 1),
                                      std::clamp(wanted.y(), area.top(), area.bottom() - wanted.height() + 1)));
        }
    }
    window->setGeometry(wanted);
    if (placed.maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void SaveWindowPosition(const QWidget* window, data::ProfileFile& positions, const QString& section)
{
    const QRect normal = window->isMaximized() || window->isMinimized() ? window->normalGeometry() : window->geometry();
    data::SaveWindowPosition(positions, section.toStdString(),
                             {normal.x(), normal.y(), normal.width(), normal.height(), window->isMaximized(),
                              window->isMinimized(), true});
}

void ResizeWithin(QWidget* window, const QSize& designed)
{
    // Room beside the title for the desktop's icon and window buttons: a
    // small window is otherwise only as wide as its fields, its title cut.
    constexpr int kTitleBarRoom = 120;
    const int titleWidth = window->fontMetrics().horizontalAdvance(window->windowTitle()) + kTitleBarRoom;
    QSize size = designed.expandedTo(window->minimumSizeHint()).expandedTo(QSize(titleWidth, 0));
    const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
        size = size.boundedTo(screen->availableGeometry().size() - QSize(kFrameWidth, kFrameHeight));
    window->resize(size);
}

void KeepWithinScreen(QWidget* window)
{
    const QRect wanted = window->geometry();
    const QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // The window's own area, inside the frame the desktop draws around it.
    const QRect area = screen->availableGeometry().adjusted(kFrameWidth / 2, kFrameHeight - kFrameWidth / 2,
                                                            -kFrameWidth / 2, -kFrameWidth / 2);
    QRect kept(wanted.topLeft(), wanted.size().boundedTo(area.size()));
    kept.moveTopLeft(QPoint(std::clamp(kept.x(), area.left(), area.right() - kept.width() + 1),
                            std::clamp(kept.y(), area.top(), area.bottom() - kept.height() + 1)));
    if (kept != wanted)
        window->setGeometry(kept);
}

QWidget* PlacedWindow(QWidget* window)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    return sub != nullptr ? static_cast<QWidget*>(sub) : window;
}

}  // namespace hrln::ui
