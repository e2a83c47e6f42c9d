// hrlnmsg TEXT: shows TEXT as a desktop notification, or in a small window of
// its own when no notification service answers.
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMessageBox>
#include <QVariantMap>

#include <cstdio>

namespace {

constexpr int kBusTimeoutMs = 2000;

bool Notify(const QString& text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("/org/freedesktop/Notifications"),
                                                       QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("Notify"));
    const QString summary = text.section(QChar('\n'), 0, 0).left(80);
    call << QStringLiteral("Horalyn") << 0u << QStringLiteral("horalyn") << summary << text << QStringList()
         << QVariantMap{{QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)}} << -1;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: hrlnmsg TEXT\n");
        return 2;
    }
    const QString text = QString::fromLocal8Bit(argv[1]);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("hrlnmsg"));
    if (Notify(text))
        return 0;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Message"), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("HRLNMSG$WINDOW"));
    box.exec();
    return 0;
}
