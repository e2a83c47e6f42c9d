// The real program on a private display: a task added with horalyn-cli comes
// due, its message window appears on time and closes with its button, and the
// occurrence is left as history.
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_keyboard.h"
#include "platform/x11/x11_windows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

namespace hrln::test {
namespace {

using Clock = std::chrono::steady_clock;

bool HasWindow(platform::x11::X11Windows& windows, const std::string& title, platform::WindowHandle* found = nullptr)
{
    for (const platform::TopLevelWindow& w : windows.topLevelWindows()) {
        if (w.title == title) {
            if (found != nullptr)
                *found = w.handle;
            return true;
        }
    }
    return false;
}

std::string ActiveWindow()
{
    std::string active = CommandOutput("xdotool getactivewindow 2>/dev/null");
    if (!active.empty() && active.back() == '\n')
        active.pop_back();
    return active;
}

// The window manager's managed windows, the topmost last.
std::vector<unsigned long> StackingBottomToTop()
{
    std::vector<unsigned long> windows;
    std::istringstream list(CommandOutput("xprop -root _NET_CLIENT_LIST_STACKING"));
    for (std::string word; list >> word;)
        if (word.rfind("0x", 0) == 0)
            windows.push_back(std::stoul(word, nullptr, 16));
    return windows;
}

// Activates `window` and waits until the window manager reports it active, so
// keys typed next reach it.
bool Activate(platform::x11::X11Windows& windows, platform::WindowHandle window)
{
    windows.activate(window);
    return WaitUntil([&] {
        return CommandOutput("xdotool getactivewindow 2>/dev/null") == std::to_string(window) + "\n";
    }, std::chrono::seconds(10));
}

TEST(ProgramTest, ADueMessageAppearsOnTimeClosesAndLeavesHistory)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::filesystem::path home;
    OpenDesktop(desktop, home);
    if (HasFatalFailure())
        return;
    WriteFile((home / "horalyn" / "HRLN.INI").string(), "[Settings]\nLogEvents=1\n");

    const pid_t program = desktop.start({HORALYN_PROGRAM});
    platform::x11::X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    platform::x11::X11Windows windows(connection);
    ASSERT_TRUE(WaitUntil([&] { return HasWindow(windows, "Horalyn 97"); })) << "the frame did not open";

    const std::string cli = HORALYN_CLI;
    ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Dentist", "--message",
                                   "Call the dentist about Tuesday", "--time", "+4"}),
              0);
    const auto added = Clock::now();
    platform::WindowHandle message = 0;
    ASSERT_TRUE(WaitUntil([&] { return HasWindow(windows, "Message", &message); }, std::chrono::seconds(30)))
        << "no message window";
    const auto shownAfter = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - added);
    EXPECT_GE(shownAfter.count(), 3000) << "shown before its time";

    // With our own frame in front, the message takes the keys.
    EXPECT_TRUE(WaitUntil([&] { return ActiveWindow() == std::to_string(message); }, std::chrono::seconds(10)))
        << "active: " << ActiveWindow();
    // The message text, copied out of the window as a user would.
    ASSERT_TRUE(Activate(windows, message));
    platform::x11::X11Keyboard keyboard;
    // The text has the focus from the start; a stray Enter closes nothing.
    ASSERT_TRUE(keyboard.sendKey(0x0D));
    ASSERT_TRUE(keyboard.sendKey(0x200 | 'A'));    // Ctrl+A
    ASSERT_TRUE(keyboard.sendKey(0x200 | 'C'));    // Ctrl+C
    EXPECT_TRUE(WaitUntil(
        [] { return CommandOutput("xclip -o -selection clipboard 2>/dev/null") == "Call the dentist about Tuesday"; },
        std::chrono::seconds(10)));

    ASSERT_TRUE(keyboard.sendKey(0x400 | 'O'));    // Alt+O: "Cl&ose"
    EXPECT_TRUE(WaitUntil([&] { return !HasWindow(windows, "Message"); })) << "the window stayed open";

    // Typing in another program: the next message shows above it, the keys stay there.
    desktop.start({"xterm", "-T", "Typing here", "-e", "sleep", "600"});
    platform::WindowHandle typing = 0;
    ASSERT_TRUE(WaitUntil([&] { return HasWindow(windows, "Typing here", &typing); })) << "no xterm";
    ASSERT_TRUE(Activate(windows, typing));
    ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Stretch", "--message", "Stand up", "--time", "+2"}),
              0);
    ASSERT_TRUE(WaitUntil([&] { return HasWindow(windows, "Message", &message); }, std::chrono::seconds(30)));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(ActiveWindow(), std::to_string(typing)) << "the message took the keys";
    const std::vector<unsigned long> stacking = StackingBottomToTop();
    const auto place = [&](platform::WindowHandle w) { return std::find(stacking.begin(), stacking.end(), w); };
    EXPECT_TRUE(place(message) != stacking.end() && place(message) > place(typing)) << "under the other program";
    ASSERT_TRUE(Activate(windows, message));
    ASSERT_TRUE(keyboard.sendKey(0x400 | 'O'));
    EXPECT_TRUE(WaitUntil([&] { return !HasWindow(windows, "Message"); }));

    const std::string log = ReadFile((home / "horalyn" / "HRLNEvnt.LOG").string());
    EXPECT_NE(log.find("Message"), std::string::npos);
    EXPECT_NE(log.find("Dentist"), std::string::npos);
    const std::string history = CommandOutput(cli + " list --history");
    EXPECT_NE(history.find("\tDentist"), std::string::npos) << history;
    EXPECT_EQ(CommandOutput(cli + " list"), "");  // the once-only task itself is gone

    // Asked to stop, the program closes as its Exit does.
    desktop.stop(program);
    EXPECT_NE(ReadFile((home / "horalyn" / "HRLNEvnt.LOG").string()).find("Exit Horalyn"), std::string::npos);
    EXPECT_NE(ReadFile((home / "horalyn" / "POSITION.INI").string()).find("[Main]"), std::string::npos);
}

// Started minimised into the tray, the frame waits there; a message coming
// due brings it back beside the message, and a click on the tray restores it.
TEST(ProgramTest, StartedMinimisedTheFrameComesBackForAMessageAndATrayClick)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(desktop.startWindowManager(), "");
    ASSERT_EQ(desktop.startTrayHost(), "");
    const std::filesystem::path home = desktop.scratch();
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    std::filesystem::create_directories(home / "horalyn");
    WriteFile((home / "horalyn" / "HRLN.INI").string(), "[Settings]\nStartUpMinimized=1\n");
    const auto frameShown = [] { return CommandOutput("xdotool search --onlyvisible --name '^Horalyn 97' 2>/dev/null") != ""; };
    const auto trayIcon = [] {
        // Our visible window that is neither the frame nor a message: the icon in the tray.
        for (std::istringstream ids(CommandOutput("xdotool search --onlyvisible --classname horalyn 2>/dev/null"));;) {
            std::string id;
            if (!(ids >> id))
                return std::string();
            const std::string name = CommandOutput("xdotool getwindowname " + id);
            if (name.rfind("Horalyn 97", 0) != 0 && name != "Message\n")
                return id;
        }
    };

    desktop.start({HORALYN_PROGRAM});
    ASSERT_TRUE(WaitUntil([&] { return !trayIcon().empty(); })) << "no icon in the tray";
    EXPECT_FALSE(frameShown());

    const std::string cli = HORALYN_CLI;
    ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Tea", "--message", "Tea time", "--time", "+2"}), 0);
    EXPECT_TRUE(WaitUntil([] { return CommandOutput("xdotool search --onlyvisible --name '^Message$' 2>/dev/null") != ""; },
                          std::chrono::seconds(30)))
        << "no message window";
    EXPECT_TRUE(WaitUntil(frameShown, std::chrono::seconds(10))) << "the frame stayed in the tray";
    // The message, not the frame that came back with it, is on top and has the keys;
    // still so once the frame has been mapped and settled.
    const auto messageOnTop = [] {
        const std::string message = CommandOutput("xdotool search --onlyvisible --name '^Message$' 2>/dev/null");
        const std::string frame = CommandOutput("xdotool search --onlyvisible --name '^Horalyn 97' 2>/dev/null");
        if (message.empty() || frame.empty())
            return false;
        const std::vector<unsigned long> bottomToTop = StackingBottomToTop();
        const auto place = [&](const std::string& id) {
            return std::find(bottomToTop.begin(), bottomToTop.end(), std::stoul(id)) - bottomToTop.begin();
        };
        return place(message) > place(frame) && place(frame) < static_cast<long>(bottomToTop.size()) &&
               ActiveWindow() + "\n" == message;
    };
    const auto state = [] {
        return "message " + CommandOutput("xdotool search --onlyvisible --name '^Message$'") + "frame " +
               CommandOutput("xdotool search --onlyvisible --name '^Horalyn 97'") + "active " + ActiveWindow() +
               "\n" + CommandOutput("xprop -root _NET_CLIENT_LIST_STACKING");
    };
    EXPECT_TRUE(WaitUntil(messageOnTop, std::chrono::seconds(10))) << "the message is under the frame: " << state();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(messageOnTop()) << "the frame came over the message: " << state();

    // Into the tray again, and back with one click on its icon.
    ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^Horalyn 97", "windowminimize"}),
              0);
    ASSERT_TRUE(WaitUntil([&] { return !frameShown() && !trayIcon().empty(); })) << "not hidden in the tray";
    ASSERT_EQ(DesktopSession::run({"xdotool", "mousemove", "--window", trayIcon(), "4", "4", "click", "1"}), 0);
    EXPECT_TRUE(WaitUntil(frameShown, std::chrono::seconds(10))) << "one click did not restore the frame";
}

// Without a notification service, hrlnmsg shows the text in a window of its
// own: with no session bus at all, and with a bus on which nobody answers for
// notifications. Neither bus may start one the machine has installed (an
// unset bus address would start a bus that does), so the test holds
// wherever it runs.
TEST(ProgramTest, TheExternalMessageProgramFallsBackToAWindow)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(desktop.startWindowManager(), "");
    // Started as the program starts it; by hand it would refuse.
    setenv("HORALYN_STARTED_BY", "horalyn", 1);
    platform::x11::X11Connection connection;
    platform::x11::X11Windows windows(connection);
    platform::x11::X11Keyboard keyboard;
    for (const bool bus : {false, true}) {
        SCOPED_TRACE(bus ? "a bus without a notification service" : "no session bus");
        if (bus)
            ASSERT_EQ(desktop.startSessionBus(false), "");
        else
            desktop.withoutSessionBus();
        desktop.start({HRLNMSG_PROGRAM, "Say \"hi\"; then & leave"});
        platform::WindowHandle box = 0;
        ASSERT_TRUE(WaitUntil([&] { return HasWindow(windows, "Message", &box); })) << "no fallback window";
        // Enter: OK. A key that arrives before the window has taken the
        // focus is lost, so it is pressed again while the window stays.
        bool closed = false;
        for (int attempt = 0; attempt < 5 && !closed; ++attempt) {
            ASSERT_TRUE(Activate(windows, box));
            ASSERT_TRUE(keyboard.sendKey(0x0D));
            closed = WaitUntil([&] { return !HasWindow(windows, "Message"); }, std::chrono::seconds(4));
        }
        EXPECT_TRUE(closed);
    }
}

}  // namespace
}  // namespace hrln::test
