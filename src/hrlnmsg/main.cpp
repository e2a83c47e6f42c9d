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

#include "platform/posix/helper_programs.h"

#include <cstdio>
#include <cstring>

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
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("Usage: hrlnmsg TEXT [DESCRIPTION]\n"
                    "Shows TEXT as a desktop notification under DESCRIPTION, or in a small window\n"
                    "when no notification service answers. Horalyn starts it for its message tasks;\n"
                    "it is not meant to be run by hand.\n");
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-V") == 0)) {
        std::printf("hrlnmsg (horalyn) %s\n", HRLN_VERSION);
        return 0;
    }
    if (!hrln::platform::posix::StartedByUs()) {
        std::fprintf(stderr, "hrlnmsg: a helper of horalyn, which starts it; not meant to be run by hand\n");
        return 2;
    }
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
