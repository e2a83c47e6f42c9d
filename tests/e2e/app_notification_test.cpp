// The real program's reminders on a desktop of the test's own: a message as a
// desktop notification answered from it, the message window when no
// notification server runs, and a program that keeps running in the tray
// after its window is closed, or starts there.
#include "e2e/desktop_session.h"
#include "notification_service.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_windows.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace hrln::test {
namespace {

// Waits for `condition` while serving the test's own bus objects.
bool Serve(const std::function<bool()>& condition, int limitMs = 30'000)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// A desktop with a window manager and a private session bus; the program's
// data folder holds `settings` as its INI file.
void OpenDesktop(DesktopSession& desktop, const std::string& settings)
{
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(desktop.startWindowManager(), "");
    // Without the machine's services, so no notification server but ours.
    ASSERT_EQ(desktop.startSessionBus(false), "");
    const std::filesystem::path home = desktop.scratch();
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    std::filesystem::create_directories(home / "horalyn");
    std::ofstream((home / "horalyn" / "HRLN.INI").string()) << "[Settings]\n" << settings;
}

std::vector<platform::WindowHandle> Titled(platform::x11::X11Windows& windows, const std::string& title)
{
    std::vector<platform::WindowHandle> found;
    for (const platform::TopLevelWindow& w : windows.topLevelWindows())
        if (w.title == title)
            found.push_back(w.handle);
    return found;
}

bool Viewable(platform::WindowHandle window)
{
    return CommandOutput("xwininfo -id " + std::to_string(window) + " 2>/dev/null").find("IsViewable") !=
           std::string::npos;
}

bool AnyViewable(platform::x11::X11Windows& windows, const std::string& title)
{
    for (platform::WindowHandle w : Titled(windows, title))
        if (Viewable(w))
            return true;
    return false;
}

// The tasks still to come, one line each, as horalyn-cli lists them.
std::vector<std::string> TasksToCome()
{
    std::istringstream listed(CommandOutput(std::string(HORALYN_CLI) + " list 2>&1"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(listed, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

void AddMessage(const std::string& description, const std::string& text, const std::string& when)
{
    ASSERT_EQ(DesktopSession::run({HORALYN_CLI, "add", "--description", description, "--message", text, "--time",
                                   when}),
              0);
}

class NotificationServer {
public:
    NotificationServer()
        : bus_(QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                             QStringLiteral("server")))
    {
    }
    ~NotificationServer() { QDBusConnection::disconnectFromBus(QStringLiteral("server")); }
    bool start()
    {
        return bus_.isConnected() &&
               bus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                   QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals) &&
               bus_.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }
    NotificationService service;

private:
    QDBusConnection bus_;
};

TEST(ProgramNotificationTest, SnoozeFromTheNotificationAddsTheTaskAndClosesIt)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    OpenDesktop(desktop, "UseExternalMessage=1\n");
    if (HasFatalFailure())
        return;
    NotificationServer server;
    ASSERT_TRUE(server.start());
    NotificationService& service = server.service;

    desktop.start({HORALYN_PROGRAM});
    platform::x11::X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    platform::x11::X11Windows windows(connection);
    ASSERT_TRUE(Serve([&] { return !Titled(windows, "Horalyn 97").empty(); })) << "the frame did not open";

    AddMessage("Tea", "Put the kettle on", "+2");
    ASSERT_TRUE(Serve([&] { return !service.received.empty(); })) << "no notification";
    const NotificationService::Notification sent = service.received.front();
    EXPECT_EQ(sent.summary, QStringLiteral("Tea"));
    EXPECT_EQ(sent.body, QStringLiteral("Put the kettle on"));
    EXPECT_EQ(sent.timeout, 0) << "it stays until answered";
    EXPECT_EQ(sent.hints.value(QStringLiteral("urgency")).toInt(), 2);
    EXPECT_TRUE(sent.actions.contains(QStringLiteral("snooze")));
    EXPECT_TRUE(sent.actions.contains(QStringLiteral("Add to To Do List")));
    EXPECT_TRUE(sent.actions.contains(QStringLiteral("close")));
    EXPECT_TRUE(TasksToCome().empty()) << "the once-only task became history";

    service.answer(sent.id, QStringLiteral("snooze"));
    ASSERT_TRUE(Serve([&] { return !service.closed.empty(); })) << "the notification stayed";
    EXPECT_EQ(service.closed, std::vector<uint>{sent.id});
    const std::vector<std::string> tasks = TasksToCome();
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_NE(tasks[0].find("\tOnce\tTea"), std::string::npos) << tasks[0];

    // Answered once: the message window never shows, nor a second notification.
    Serve([] { return false; }, 3000);
    EXPECT_TRUE(Titled(windows, "Message").empty());
    EXPECT_EQ(service.received.size(), 1u);
}

TEST(ProgramNotificationTest, WithoutANotificationServerTheMessageWindowShows)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    OpenDesktop(desktop, "UseExternalMessage=1\n");
    if (HasFatalFailure())
        return;
    desktop.start({HORALYN_PROGRAM});
    platform::x11::X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    platform::x11::X11Windows windows(connection);
    ASSERT_TRUE(Serve([&] { return !Titled(windows, "Horalyn 97").empty(); })) << "the frame did not open";
    AddMessage("Tea", "Put the kettle on", "+2");
    EXPECT_TRUE(Serve([&] { return AnyViewable(windows, "Message"); })) << "no message window";
    EXPECT_EQ(Titled(windows, "Message").size(), 1u);
}

// Closed by the window manager, as the user's close button does: the program
// goes on in the tray and a later task still comes.
TEST(ProgramNotificationTest, ClosedWithTheOptionTheProgramRunsOnInTheTray)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    OpenDesktop(desktop, "KeepRunningInTray=1\nStartUpSchedule=1\n");
    if (HasFatalFailure())
        return;
    ASSERT_EQ(desktop.startTrayHost(), "");
    const pid_t program = desktop.start({HORALYN_PROGRAM});
    platform::x11::X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    platform::x11::X11Windows windows(connection);
    ASSERT_TRUE(Serve([&] { return AnyViewable(windows, "Horalyn 97"); })) << "the frame did not open";
    for (platform::WindowHandle frame : Titled(windows, "Horalyn 97"))
        windows.postCloseRequest(frame);
    ASSERT_TRUE(Serve([&] { return !AnyViewable(windows, "Horalyn 97"); })) << "the frame stayed open";
    EXPECT_EQ(kill(program, 0), 0) << "the program ended";

    AddMessage("Stretch", "Stand up", "+3");

    EXPECT_TRUE(Serve([&] { return AnyViewable(windows, "Message"); })) << "the later task did not come";
    EXPECT_EQ(kill(program, 0), 0);
}

// Started as the session's autostart entry starts it: straight into the tray.
TEST(ProgramNotificationTest, StartedForTheTrayTheFrameIsNotShown)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    OpenDesktop(desktop, "StartUpSchedule=1\n");
    if (HasFatalFailure())
        return;
    ASSERT_EQ(desktop.startTrayHost(), "");
    const pid_t program = desktop.start({HORALYN_PROGRAM, "--tray"});
    platform::x11::X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    platform::x11::X11Windows windows(connection);
    ASSERT_TRUE(Serve([&] { return !Titled(windows, "Horalyn 97").empty(); })) << "the program did not start";
    EXPECT_TRUE(Serve([&] { return !AnyViewable(windows, "Horalyn 97"); }, 10'000)) << "the frame is shown";
    Serve([] { return false; }, 1500);
    EXPECT_FALSE(AnyViewable(windows, "Horalyn 97")) << "the frame came back by itself";
    EXPECT_EQ(kill(program, 0), 0);
}

}  // namespace
}  // namespace hrln::test

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
