#include "app/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace hrln::app {
namespace {

QString FreshFolder()
{
    return QStringLiteral("/tmp/horalyn-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TEST(SingleInstanceTest, ASecondStartOnTheSameFolderWakesTheFirst)
{
    const QString folder = FreshFolder();
    SingleInstance first(folder);
    EXPECT_FALSE(first.otherIsRunning());
    ASSERT_TRUE(first.listen());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    SingleInstance second(folder);
    EXPECT_TRUE(second.otherIsRunning());
    EXPECT_TRUE(shown.wait(2000));

    // Another folder is another program.
    SingleInstance elsewhere(FreshFolder());
    EXPECT_FALSE(elsewhere.otherIsRunning());
}

TEST(SingleInstanceTest, ASocketLeftByAProgramThatDiedIsTakenOver)
{
    const QString folder = FreshFolder();
    SingleInstance next(folder);
    // What a crash leaves behind: the socket file, with nobody listening on it.
    const QByteArray path = (QDir::tempPath() + QChar('/') + next.serverName()).toLocal8Bit();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(QString::fromLocal8Bit(path)));

    EXPECT_FALSE(next.otherIsRunning());
    EXPECT_TRUE(next.listen());
    SingleInstance later(folder);
    EXPECT_TRUE(later.otherIsRunning());
}

}  // namespace
}  // namespace hrln::app
