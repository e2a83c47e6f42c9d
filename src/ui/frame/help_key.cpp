#include "ui/frame/help_key.h"

#include "ui/frame/guide_topics.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QWidget>

namespace hrln::ui {

HelpKey::HelpKey(Open open, QObject* parent) : QObject(parent), open_(std::move(open))
{
    qApp->installEventFilter(this);
}

QWidget* HelpKey::GuideWindowOf(QWidget* widget)
{
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget())
        if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w->parentWidget()) != nullptr)
            return w;
    return nullptr;
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
        return false;
    // A key goes to the focused widget and on to its parents: the first is the one that counts.
    const QWidget* window = GuideWindowOf(static_cast<QWidget*>(watched));
    open_(GuideAnchorFor(window != nullptr ? window->objectName() : QString()));
    return true;
}

}  // namespace hrln::ui
