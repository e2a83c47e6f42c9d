#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace hrln::test {

// The part of a desktop notification service that hrlnmsg and the program
// talk to; keeps what it was sent, and answers as a user would through
// ActionInvoked and NotificationClosed (register it with the scriptable
// signals exported too).
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        QString summary;
        QString body;
        QStringList actions;  // key, label, key, label...
        QVariantMap hints;
        int timeout = -1;
        uint id = 0;
    };
    std::vector<Notification> received;
    std::vector<uint> closed;  // asked to close, in order
    QStringList capabilities{QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("persistence")};

    // The user chooses `key` on notification `id`.
    void answer(uint id, const QString& key) { Q_EMIT ActionInvoked(id, key); }

Q_SIGNALS:
    Q_SCRIPTABLE void ActionInvoked(uint id, const QString& key);
    Q_SCRIPTABLE void NotificationClosed(uint id, uint reason);

public Q_SLOTS:
    Q_SCRIPTABLE QStringList GetCapabilities() { return capabilities; }
    Q_SCRIPTABLE uint Notify(const QString& /*app*/, uint /*replaces*/, const QString& /*icon*/,
                             const QString& summary, const QString& body, const QStringList& actions,
                             const QVariantMap& hints, int timeout)
    {
        const uint id = static_cast<uint>(received.size()) + 1;
        received.push_back({summary, body, actions, hints, timeout, id});
        return id;
    }
    Q_SCRIPTABLE void CloseNotification(uint id)
    {
        closed.push_back(id);
        Q_EMIT NotificationClosed(id, 3);  // closed by a program's call
    }
};

}  // namespace hrln::test
