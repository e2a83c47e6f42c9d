// The desktop-bus call against a real session bus, started for this program
// alone by dbus-run-session.
#include "platform/dbus/qt_desktop_bus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace hrln::platform::dbus {
namespace {

constexpr const char* kPrivateBusMark = "HRLN_TEST_PRIVATE_BUS";
constexpr const char* kOwnNameOption = "--own-bus-name";

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool NameHasOwner(const char* name)
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(QString::fromLatin1(name));
}

TEST(DesktopBus, TheBusItselfAnswers)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    QtDesktopBus bus;
    EXPECT_TRUE(bus.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"));
    EXPECT_TRUE(bus.call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                         R"(org.freedesktop.DBus.NameHasOwner("org.freedesktop.DBus"))"));
    // A refusal is an answer too.
    EXPECT_TRUE(bus.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.NoSuchMethod(1)"));
}

TEST(DesktopBus, AbsentServiceAndUnreadableCommandsAreNotAnswered)
{
    QtDesktopBus bus;
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(bus.call("org.horalyn.Nobody", "/org/horalyn/Nobody", "org.horalyn.Nobody.Wake()"));
    EXPECT_LT(MillisecondsSince(start), QtDesktopBus::kDefaultTimeoutMs);
    EXPECT_FALSE(bus.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "ListNames"));
    EXPECT_FALSE(bus.call("org.freedesktop.DBus", "not a path", "org.freedesktop.DBus.ListNames"));
    EXPECT_FALSE(bus.call("not a name", "/", "org.freedesktop.DBus.ListNames"));
}

TEST(DesktopBus, SilentServiceIsGivenUpAfterTheTimeout)
{
    const char* const name = "org.horalyn.Silent";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char self[4096] = {};
        const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n > 0)
            execl(self, self, kOwnNameOption, name, static_cast<char*>(nullptr));
        _exit(127);
    }
    const Clock::time_point waitFrom = Clock::now();
    while (!NameHasOwner(name) && MillisecondsSince(waitFrom) < 10000)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(NameHasOwner(name));
    kill(child, SIGSTOP);  // owns its name but answers nothing

    QtDesktopBus bus(300);
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(bus.call(name, "/", "org.horalyn.Silent.Ping()"));
    const long long took = MillisecondsSince(start);
    EXPECT_GE(took, 250);
    EXPECT_LT(took, 2000);

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// Helper mode: takes a bus name and waits to be stopped and killed.
int OwnNameAndWait(const char* name)
{
    if (!QDBusConnection::sessionBus().registerService(QString::fromLatin1(name)))
        return 1;
    for (;;)
        pause();
}

// Runs this program again under a session bus of its own.
int RerunWithPrivateBus(int argc, char** argv)
{
    setenv(kPrivateBusMark, "1", 1);
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::vector<char*> args;
    args.push_back(const_cast<char*>("dbus-run-session"));
    args.push_back(const_cast<char*>("--"));
    args.push_back(n > 0 ? self : argv[0]);
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    args.push_back(nullptr);
    execvp("dbus-run-session", args.data());
    std::fprintf(stderr, "desktop_bus_tests: cannot run dbus-run-session: %s\n", std::strerror(errno));
    return 1;
}

}  // namespace
}  // namespace hrln::platform::dbus

int main(int argc, char** argv)
{
    using namespace hrln::platform::dbus;
    if (std::getenv(kPrivateBusMark) == nullptr)
        return RerunWithPrivateBus(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], kOwnNameOption) == 0) {
        QCoreApplication app(argc, argv);
        return OwnNameAndWait(argv[2]);
    }
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
