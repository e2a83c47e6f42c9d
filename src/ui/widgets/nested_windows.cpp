#include "ui/widgets/nested_windows.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace hrln::ui {
namespace {

bool OpenWindow(const QWidget* w)
{
    return w->isWindow() && w->isVisible() && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip;
}

// Whether `w` is `window` or descends from it, across window boundaries.
bool Within(const QWidget* w, const QWidget* window)
{
    for (; w != nullptr; w = w->parentWidget())
        if (w == window)
            return true;
    return false;
}

class NestedWindowGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Close || !watched->isWidgetType())
            return false;
        QWidget* nested = OpenNestedWindow(static_cast<QWidget*>(watched));
        if (nested == nullptr)
            return false;
        event->ignore();
        nested->raise();
        nested->activateWindow();
        return true;
    }
};

}  // namespace

QWidget* OpenNestedWindow(const QWidget* window)
{
    if (window == nullptr)
        return nullptr;
    const QWidget* top = window->window();
    QWidget* nested = nullptr;
    QWidget* question = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == top || w == window || !OpenWindow(w))
            continue;
        // The innermost one is the one in front.
        if (Within(w, window) && (nested == nullptr || Within(w, nested)))
            nested = w;
        // A box over the top-level window may have been asked by any of its
        // children, this one among them.
        else if (top != window && w->parentWidget() == top && w->isModal())
            question = w;
    }
    return nested != nullptr ? nested : question;
}

void KeepOpenWhileNested(QWidget* window)
{
    window->installEventFilter(new NestedWindowGuard(window));
}

void DetachChildren(QObject* window)
{
    for (QObject* child : window->findChildren<QObject*>())
        QObject::disconnect(child, nullptr, window, nullptr);
}

}  // namespace hrln::ui
