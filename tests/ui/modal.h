#pragma once

#include <QApplication>
#include <QPointer>
#include <QTest>
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

// Answers every real message box that opens, while it lives, with `key`
// typed into the box's focus, as a user's key reaches it; counts the boxes.
class BoxAnswerer {
public:
    explicit BoxAnswerer(Qt::Key key) : key_(key)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr || box->objectName() != QStringLiteral("MESSAGEBOX") || !box->isVisible() ||
                box == last_)
                return;
            last_ = box;
            ++boxes_;
            QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box, key_);
        });
        timer_.start();
    }
    int boxes() const { return boxes_; }

private:
    Qt::Key key_;
    QTimer timer_;
    QPointer<QWidget> last_;
    int boxes_ = 0;
};

}  // namespace hrln::test
