// hrlnmsg against a notification service of the test's own, on a private
// session bus: the task's description is the summary, the message the body.
#include "e2e/desktop_session.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>

#include <gtest/gtest.h>

#include "notification_service.h"

namespace hrln::test {
namespace {

// Runs hrlnmsg with `arguments` and serves the bus until it has notified.
bool Notified(NotificationService& service, const QStringList& arguments)
{
    const int before = static_cast<int>(service.received.size());
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // As the program starts it.
    env.insert(QStringLiteral("HORALYN_STARTED_BY"), QStringLiteral("horalyn"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(HRLNMSG_PROGRAM), arguments);
    QElapsedTimer waited;
    waited.start();
    while (static_cast<int>(service.received.size()) == before && waited.elapsed() < 20'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    program.waitForFinished(10'000);
    return static_cast<int>(service.received.size()) > before;
}

TEST(NotificationTest, TheDescriptionIsTheSummaryAndTheMessageTheBody)
{
    DesktopSession session;
    ASSERT_EQ(session.startSessionBus(), "");
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                                        QStringLiteral("notifications"));
    ASSERT_TRUE(bus.isConnected());
    NotificationService service;
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                   QDBusConnection::ExportScriptableSlots));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));

    ASSERT_TRUE(Notified(service, {QStringLiteral("Put the kettle on"), QStringLiteral("Tea")}));
    EXPECT_EQ(service.received.back().summary, QStringLiteral("Tea"));
    EXPECT_EQ(service.received.back().body, QStringLiteral("Put the kettle on"));

    // A blank description, or none at all (the older command line), gives the program's name.
    ASSERT_TRUE(Notified(service, {QStringLiteral("Stretch"), QStringLiteral("  ")}));
    EXPECT_EQ(service.received.back().summary, QStringLiteral("Horalyn"));
    ASSERT_TRUE(Notified(service, {QStringLiteral("Stand up")}));
    EXPECT_EQ(service.received.back().summary, QStringLiteral("Horalyn"));
    EXPECT_EQ(service.received.back().body, QStringLiteral("Stand up"));
    QDBusConnection::disconnectFromBus(QStringLiteral("notifications"));
}

}  // namespace
}  // namespace hrln::test

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
