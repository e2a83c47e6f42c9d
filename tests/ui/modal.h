#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace hrln::test {

// Runs `act` on the next modal window that opens (a form, selector or
// progress window run with exec()), from inside its event loop. The watch
// stops itself once it has acted; one that is no longer wanted can be deleted.
inline QTimer* WhenModalOpens(std::function<void(QWidget*)> act, const QString& objectName = {})
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act, objectName] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && (objectName.isEmpty() || modal->objectName() == objectName)) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
    return poll;
}

}  // namespace hrln::test
