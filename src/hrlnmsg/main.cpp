// hrlnmsg TEXT [DESCRIPTION]: shows TEXT as a desktop notification under the
// summary DESCRIPTION ("Horalyn" when blank or missing), or both in a small
// window of its own when no notification service answers.
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QIcon>
#include <QMessageBox>
#include <QVariantMap>

#include <cstdio>

namespace {

constexpr int kBusTimeoutMs = 2000;

bool Notify(const QString& summary, const QString& text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("/org/freedesktop/Notifications"),
                                                       QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("Notify"));
    call << QStringLiteral("Horalyn") << 0u << QStringLiteral("horalyn") << summary << text << QStringList()
         << QVariantMap{{QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)}} << -1;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: hrlnmsg TEXT [DESCRIPTION]\n");
        return 2;
    }
    const QString text = QString::fromLocal8Bit(argv[1]);
    QString summary = argc == 3 ? QString::fromLocal8Bit(argv[2]).trimmed() : QString();
    if (summary.isEmpty())
        summary = QStringLiteral("Horalyn");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("hrlnmsg"));
    if (Notify(summary, text))
        return 0;
    const QIcon icon = QIcon::fromTheme(QStringLiteral("horalyn"));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Message"), summary, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("HRLNMSG$WINDOW"));
    box.setInformativeText(text);
    if (!icon.isNull()) {
        box.setWindowIcon(icon);
        box.setIconPixmap(icon.pixmap(48));
    }
    box.exec();
    return 0;
}
