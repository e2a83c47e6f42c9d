#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace hrln::test {

// The part of a desktop notification service that hrlnmsg talks to; keeps
// what it was sent.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        QString summary;
        QString body;
    };
    std::vector<Notification> received;

public Q_SLOTS:
    Q_SCRIPTABLE uint Notify(const QString& /*app*/, uint /*replaces*/, const QString& /*icon*/,
                             const QString& summary, const QString& body, const QStringList& /*actions*/,
                             const QVariantMap& /*hints*/, int /*timeout*/)
    {
        received.push_back({summary, body});
        return static_cast<uint>(received.size());
    }
};

}  // namespace hrln::test
