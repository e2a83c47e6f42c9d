#include "platform/dbus/qt_desktop_bus.h"

#include "platform/dbus/bus_command.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QString>
#include <QVariant>

namespace hrln::platform::dbus {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

QVariant ToVariant(const BusArgument& arg)
{
    return std::visit(
        [](const auto& v) -> QVariant {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>)
                return QVariant(QString::fromStdString(v));
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return QVariant(static_cast<qlonglong>(v));
            else
                return QVariant(v);
        },
        arg);
}

// Errors that mean nobody answered, as opposed to a service refusing the call.
bool IsSilence(const QString& errorName)
{
    static const char* const kSilence[] = {
        "org.freedesktop.DBus.Error.ServiceUnknown", "org.freedesktop.DBus.Error.NameHasNoOwner",
        "org.freedesktop.DBus.Error.NoReply",        "org.freedesktop.DBus.Error.Timeout",
        "org.freedesktop.DBus.Error.TimedOut",       "org.freedesktop.DBus.Error.Disconnected",
        "org.freedesktop.DBus.Error.NoServer",       "org.freedesktop.DBus.Error.NoNetwork",
    };
    for (const char* name : kSilence)
        if (errorName == QLatin1String(name))
            return true;
    return false;
}

}  // namespace

bool QtDesktopBus::call(const std::string& service, const std::string& path, const std::string& command)
{
    const std::optional<BusCommand> parsed = ParseBusCommand(command);
    if (!parsed || !IsValidBusName(service) || !IsValidObjectPath(path))
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;

    // Built by hand rather than through an interface object, which would first
    // introspect the service with the library's long default timeout.
    QDBusMessage message = QDBusMessage::createMethodCall(Q(service), Q(path), Q(parsed->interface), Q(parsed->method));
    QList<QVariant> arguments;
    for (const BusArgument& arg : parsed->arguments)
        arguments.append(ToVariant(arg));
    message.setArguments(arguments);

    const QDBusMessage reply = bus.call(message, QDBus::Block, timeoutMs_);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    return reply.type() == QDBusMessage::ErrorMessage && !IsSilence(reply.errorName());
}

}  // namespace hrln::platform::dbus
