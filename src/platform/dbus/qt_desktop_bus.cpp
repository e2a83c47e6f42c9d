#include "platform/dbus/qt_desktop_bus.h"

#include "platform/dbus/bus_command.h"
#include "platform/dbus/bus_values.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QVariant>
#include <QXmlStreamReader>

namespace hrln::platform::dbus {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
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

QMetaType MetaTypeOf(const std::string& type)
{
    switch (type.front()) {
    case 'y': return QMetaType::fromType<uchar>();
    case 'b': return QMetaType::fromType<bool>();
    case 'n': return QMetaType::fromType<short>();
    case 'q': return QMetaType::fromType<ushort>();
    case 'i': return QMetaType::fromType<int>();
    case 'u': return QMetaType::fromType<uint>();
    case 'x': return QMetaType::fromType<qlonglong>();
    case 't': return QMetaType::fromType<qulonglong>();
    case 'd': return QMetaType::fromType<double>();
    case 'o': return QMetaType::fromType<QDBusObjectPath>();
    case 'g': return QMetaType::fromType<QDBusSignature>();
    case 'v': return QMetaType::fromType<QDBusVariant>();
    default: return QMetaType::fromType<QString>();
    }
}

QVariant ToVariant(const BusValue& value);

// Arrays are written element by element so that an empty one keeps its type.
QVariant ToArray(const BusValue& value)
{
    const auto& elements = std::get<std::vector<BusValue>>(value.data);
    QDBusArgument out;
    if (value.signature.size() > 1 && value.signature[1] == '{') {
        out.beginMap(MetaTypeOf(value.signature.substr(2, 1)), MetaTypeOf(value.signature.substr(3, 1)));
        out.endMap();  // dictionaries are written empty only
        return QVariant::fromValue(out);
    }
    const std::string element = value.signature.substr(1);
    out.beginArray(MetaTypeOf(element));
    for (const BusValue& e : elements) {
        const QVariant v = ToVariant(e);
        switch (element.front()) {
        case 'y': out << v.value<uchar>(); break;
        case 'b': out << v.toBool(); break;
        case 'n': out << v.value<short>(); break;
        case 'q': out << v.value<ushort>(); break;
        case 'i': out << v.toInt(); break;
        case 'u': out << v.toUInt(); break;
        case 'x': out << v.toLongLong(); break;
        case 't': out << v.toULongLong(); break;
        case 'd': out << v.toDouble(); break;
        case 'o': out << v.value<QDBusObjectPath>(); break;
        case 'g': out << v.value<QDBusSignature>(); break;
        case 'v': out << v.value<QDBusVariant>(); break;
        default: out << v.toString(); break;
        }
    }
    out.endArray();
    return QVariant::fromValue(out);
}

QVariant ToVariant(const BusValue& value)
{
    const std::string& type = value.signature;
    switch (type.front()) {
    case 'b': return QVariant(std::get<bool>(value.data));
    case 'n': return QVariant::fromValue(static_cast<short>(std::get<std::int64_t>(value.data)));
    case 'i': return QVariant::fromValue(static_cast<int>(std::get<std::int64_t>(value.data)));
    case 'x': return QVariant::fromValue(static_cast<qlonglong>(std::get<std::int64_t>(value.data)));
    case 'y': return QVariant::fromValue(static_cast<uchar>(std::get<std::uint64_t>(value.data)));
    case 'q': return QVariant::fromValue(static_cast<ushort>(std::get<std::uint64_t>(value.data)));
    case 'u': return QVariant::fromValue(static_cast<uint>(std::get<std::uint64_t>(value.data)));
    case 't': return QVariant::fromValue(static_cast<qulonglong>(std::get<std::uint64_t>(value.data)));
    case 'd': return QVariant(std::get<double>(value.data));
    case 's': return QVariant(Q(std::get<std::string>(value.data)));
    case 'o': return QVariant::fromValue(QDBusObjectPath(Q(std::get<std::string>(value.data))));
    case 'g': return QVariant::fromValue(QDBusSignature(Q(std::get<std::string>(value.data))));
    case 'v': return QVariant::fromValue(QDBusVariant(ToVariant(std::get<std::vector<BusValue>>(value.data).front())));
    default: return ToArray(value);
    }
}

// The in-arguments of `interface.method` in a service's description of an
// object; nothing when the description does not list the method.
std::optional<std::string> InSignature(const QString& xml, const QString& interface, const QString& method)
{
    QXmlStreamReader r(xml);
    bool inInterface = false;
    bool inMethod = false;
    std::string signature;
    while (!r.atEnd()) {
        const QXmlStreamReader::TokenType token = r.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const auto name = r.name();
            const auto attributes = r.attributes();
            if (name == QLatin1String("interface"))
                inInterface = attributes.value(QLatin1String("name")) == interface;
            else if (name == QLatin1String("method") && inInterface)
                inMethod = attributes.value(QLatin1String("name")) == method;
            else if (name == QLatin1String("arg") && inMethod &&
                     attributes.value(QLatin1String("direction")) != QLatin1String("out"))
                signature += attributes.value(QLatin1String("type")).toString().toStdString();
        } else if (token == QXmlStreamReader::EndElement) {
            if (r.name() == QLatin1String("method") && inMethod)
                return signature;
            if (r.name() == QLatin1String("interface"))
                inInterface = false;
        }
    }
    return std::nullopt;
}

bool NeedsSignature(const std::vector<BusArgument>& arguments)
{
    for (const BusArgument& arg : arguments)
        if (arg.type.empty())
            return true;
    return false;
}

BusReply Reply(BusOutcome outcome, std::string problem = {})
{
    return BusReply{outcome, std::move(problem)};
}

}  // namespace

BusReply QtDesktopBus::call(const std::string& service, const std::string& path, const std::string& command)
{
    std::string name = service;
    bool system = false;
    if (name.rfind("system:", 0) == 0) {
        system = true;
        name.erase(0, 7);
    } else if (name.rfind("session:", 0) == 0) {
        name.erase(0, 8);
    }
    std::string object = path;
    std::string interface;
    if (const std::size_t blank = path.find(' '); blank != std::string::npos) {
        object = path.substr(0, blank);
        interface = path.substr(blank + 1);
        interface.erase(0, interface.find_first_not_of(' '));
        if (!IsValidInterfaceName(interface))
            return Reply(BusOutcome::BadCommand, "\"" + interface + "\" is not an interface name");
    }
    if (!IsValidBusName(name))
        return Reply(BusOutcome::BadCommand, "\"" + name + "\" is not a bus name");
    if (!IsValidObjectPath(object))
        return Reply(BusOutcome::BadCommand, "\"" + object + "\" is not an object path");
    const std::optional<BusCommand> parsed = ParseBusCommand(command, interface);
    if (!parsed)
        return Reply(BusOutcome::BadCommand, "the command cannot be read");

    QDBusConnection bus = system ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Reply(BusOutcome::Silent);

    // Messages are built by hand rather than through an interface object,
    // which would introspect with the library's long default timeout. No call
    // may start a service that is not running.
    QElapsedTimer clock;
    clock.start();
    const auto send = [&](QDBusMessage message) {
        message.setAutoStartService(false);
        const qint64 left = std::max<qint64>(timeoutMs_ - clock.elapsed(), 1);
        return bus.call(message, QDBus::Block, static_cast<int>(left));
    };

    std::optional<std::string> signature;
    if (NeedsSignature(parsed->arguments)) {
        const QDBusMessage description = send(QDBusMessage::createMethodCall(
            Q(name), Q(object), QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")));
        if (description.type() == QDBusMessage::ErrorMessage && IsSilence(description.errorName()))
            return Reply(BusOutcome::Silent);
        // A service without a description of the method takes the arguments
        // as they are written.
        if (description.type() == QDBusMessage::ReplyMessage && !description.arguments().isEmpty())
            signature = InSignature(description.arguments().front().toString(), Q(parsed->interface),
                                    Q(parsed->method));
    }
    const BusConversion converted = ConvertArguments(parsed->arguments, signature);
    if (!converted.problem.empty())
        return Reply(BusOutcome::BadCommand, converted.problem);

    QDBusMessage message =
        QDBusMessage::createMethodCall(Q(name), Q(object), Q(parsed->interface), Q(parsed->method));
    QList<QVariant> arguments;
    for (const BusValue& value : converted.values)
        arguments.append(ToVariant(value));
    message.setArguments(arguments);

    const QDBusMessage reply = send(message);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Reply(BusOutcome::Answered);
    if (reply.type() == QDBusMessage::ErrorMessage && !IsSilence(reply.errorName()))
        return Reply(BusOutcome::Answered);
    return Reply(BusOutcome::Silent);
}

}  // namespace hrln::platform::dbus
