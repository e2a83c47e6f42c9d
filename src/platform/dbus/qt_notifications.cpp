#include "platform/dbus/qt_notifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace hrln::platform::dbus {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

constexpr uchar kUrgencyCritical = 2;

QDBusMessage Call(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

// The reasons the server gives, as numbered by the notification protocol.
NotificationEnd EndFrom(uint reason)
{
    switch (reason) {
    case 1: return NotificationEnd::Expired;
    case 2: return NotificationEnd::Dismissed;
    case 3: return NotificationEnd::Closed;
    default: return NotificationEnd::Unknown;
    }
}

QString Escaped(const std::string& text)
{
    return QString::fromStdString(text).toHtmlEscaped();
}

}  // namespace

// Receives the server's signals in the program's event loop.
struct QtNotifications::Receiver : public QObject {
    Q_OBJECT

public:
    explicit Receiver(QDBusConnection bus)
        : watcher(kService, bus, QDBusServiceWatcher::WatchForOwnerChange)
    {
        bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(uint, QString)));
        bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                    SLOT(onClosed(uint, uint)));
        connect(&watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString& oldOwner, const QString&) {
                    // The server that showed our notifications is gone, and they with it.
                    if (!oldOwner.isEmpty() && events != nullptr)
                        events->serviceLost();
                });
    }

    NotificationEvents* events = nullptr;
    QDBusServiceWatcher watcher;

public Q_SLOTS:
    void onActionInvoked(uint id, const QString& key)
    {
        if (events != nullptr)
            events->actionInvoked(id, key.toStdString());
    }
    void onClosed(uint id, uint reason)
    {
        if (events != nullptr)
            events->notificationClosed(id, EndFrom(reason));
    }
};

QtNotifications::QtNotifications(int timeoutMs)
    : receiver_(std::make_unique<Receiver>(QDBusConnection::sessionBus())), timeoutMs_(timeoutMs)
{
}

QtNotifications::~QtNotifications() = default;

bool QtNotifications::offersActions()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QDBusMessage reply = bus.call(Call(QStringLiteral("GetCapabilities")), QDBus::Block, timeoutMs_);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const QStringList capabilities = reply.arguments().constFirst().toStringList();
    markup_ = capabilities.contains(QStringLiteral("body-markup"));
    return capabilities.contains(QStringLiteral("actions"));
}

std::optional<NotificationId> QtNotifications::show(const Notification& notification)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    QStringList actions;
    for (const NotificationAction& action : notification.actions)
        actions << QString::fromStdString(action.key) << QString::fromStdString(action.label);
    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("horalyn")}};
    if (notification.persistent) {
        // Critical, never timed out, and kept after an answer that leaves the
        // message open (Add to To Do List); the program closes it itself.
        hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(kUrgencyCritical));
        hints.insert(QStringLiteral("resident"), true);
    }
    const QString body =
        markup_ ? Escaped(notification.body) : QString::fromStdString(notification.body);
    QDBusMessage call = Call(QStringLiteral("Notify"));
    call << QStringLiteral("Horalyn") << 0u << QStringLiteral("horalyn")
         << QString::fromStdString(notification.summary) << body << actions << hints
         << (notification.persistent ? 0 : -1);
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs_);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    bool ok = false;
    const uint id = reply.arguments().constFirst().toUInt(&ok);
    // Id 0 is no notification at all.
    if (!ok || id == 0)
        return std::nullopt;
    return id;
}

void QtNotifications::close(NotificationId id)
{
    QDBusMessage call = Call(QStringLiteral("CloseNotification"));
    call << static_cast<uint>(id);
    QDBusConnection::sessionBus().send(call);
}

void QtNotifications::setEvents(NotificationEvents* events)
{
    receiver_->events = events;
}

}  // namespace hrln::platform::dbus

#include "qt_notifications.moc"
