#include "x_client.h"  // first: gtest before Xlib

#include "platform/x11/window_properties.h"
#include "platform/x11/x11_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace hrln::test {
namespace {

using platform::x11::X11Connection;
using platform::x11::X11Windows;

class X11WindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!DesktopSession::XvfbInstalled())
            GTEST_SKIP() << DesktopSession::kNoXvfb;
        ASSERT_EQ(desktop.startDisplay(), "");
        client = std::make_unique<XClient>();
        connection = std::make_unique<X11Connection>();
        ASSERT_TRUE(connection->isOpen());
        windows = std::make_unique<X11Windows>(*connection);
    }

    // Where the window stands in the list, front first; -1 when not listed.
    int position(Window w)
    {
        const auto list = windows->topLevelWindows();
        const auto it = std::find_if(list.begin(), list.end(), [&](const auto& t) { return t.handle == w; });
        return it == list.end() ? -1 : static_cast<int>(it - list.begin());
    }
    std::string title(Window w)
    {
        for (const auto& t : windows->topLevelWindows())
            if (t.handle == w)
                return t.title;
        return "(not listed)";
    }

    DesktopSession desktop;
    std::unique_ptr<XClient> client;
    std::unique_ptr<X11Connection> connection;
    std::unique_ptr<X11Windows> windows;
};

TEST_F(X11WindowsTest, WithoutManagerListsTitledWindowsFrontToBackHiddenOnesIncluded)
{
    const Window utf8 = client->window("Größe – Fenster");
    const Window latin1 = client->window("", "Caf\xE9 cr\xE8me");
    const Window untitled = client->window("");
    const Window hidden = client->window("Hidden one", "", false);
    XRaiseWindow(client->d, utf8);
    XSync(client->d, False);

    EXPECT_EQ(title(utf8), "Größe – Fenster");
    EXPECT_EQ(title(latin1), "Café crème");
    EXPECT_EQ(title(hidden), "Hidden one");
    EXPECT_EQ(position(untitled), -1);
    EXPECT_EQ(position(utf8), 0);
    EXPECT_LT(position(hidden), position(latin1));  // made later, so in front
}

TEST_F(X11WindowsTest, WithoutManagerActivationRaisesAndFocusesDirectly)
{
    const Window back = client->window("Back");
    const Window front = client->window("Front");
    ASSERT_LT(position(front), position(back));

    windows->activate(back);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(client->d, &focus, &revert);
    EXPECT_EQ(focus, back);
    EXPECT_EQ(position(back), 0);

    // An unmapped window is shown when restored.
    const Window unmapped = client->window("Unmapped", "", false);
    windows->restore(unmapped);
    EXPECT_TRUE(client->viewable(unmapped));
}

TEST_F(X11WindowsTest, CloseRequestIsTheWindowsOwnDeleteProtocol)
{
    const Window polite = client->window("Polite", "", true, true);
    windows->postCloseRequest(polite);
    XEvent event{};
    ASSERT_TRUE(client->waitEvent(polite, [](const XEvent& e) { return e.type == ClientMessage; }, event));
    EXPECT_EQ(event.xclient.message_type, client->atom("WM_PROTOCOLS"));
    EXPECT_EQ(static_cast<Atom>(event.xclient.data.l[0]), client->atom("WM_DELETE_WINDOW"));
    EXPECT_TRUE(client->viewable(polite));  // closing is the program's own decision
}

TEST_F(X11WindowsTest, WindowThatHasGoneIsIgnoredSilently)
{
    const Window gone = client->window("Gone soon");
    XDestroyWindow(client->d, gone);
    XSync(client->d, False);
    windows->activate(gone);
    windows->restore(gone);
    windows->postCloseRequest(gone);
    windows->activate(0);
    EXPECT_EQ(position(gone), -1);
    EXPECT_GE(position(client->window("Still working")), 0);
}

TEST_F(X11WindowsTest, WithManagerFollowsItsStackingAndRestoresMinimisedWindows)
{
    ASSERT_EQ(desktop.startWindowManager(), "");
    const Window first = client->window("First managed");
    const Window second = client->window("Second managed");
    // Titles come from the clients, not from the manager's frames.
    ASSERT_TRUE(WaitUntil([&] { return position(first) >= 0 && position(second) >= 0; }));

    windows->activate(first);
    EXPECT_TRUE(WaitUntil([&] { return position(first) == 0; }));

    XIconifyWindow(client->d, second, DefaultScreen(client->d));
    XSync(client->d, False);
    ASSERT_TRUE(WaitUntil([&] { return !client->viewable(second); }));
    EXPECT_GE(position(second), 0);  // minimised windows stay listed
    windows->activate(second);
    windows->restore(second);
    EXPECT_TRUE(WaitUntil([&] { return client->viewable(second) && position(second) == 0; }));
}

// The same windows, hidden ones included, are listed with and without a
// manager: one that was never shown, and one that was shown and hidden again
// (as the program's own frame is when it goes to the tray).
TEST_F(X11WindowsTest, HiddenWindowsAreListedWithAndWithoutManager)
{
    const auto hiddenOnesListed = [&](const std::string& tag) {
        const Window never = client->window("Never shown " + tag, "", false);
        const Window shown = client->window("Shown then hidden " + tag);
        const Window visible = client->window("Visible " + tag);
        EXPECT_TRUE(WaitUntil([&] { return client->viewable(shown) && position(shown) >= 0; })) << tag;
        XWithdrawWindow(client->d, shown, DefaultScreen(client->d));
        XSync(client->d, False);
        EXPECT_TRUE(WaitUntil([&] { return !client->viewable(shown); })) << tag;
        EXPECT_EQ(title(never), "Never shown " + tag);
        EXPECT_TRUE(WaitUntil([&] { return position(shown) >= 0; })) << tag;
        EXPECT_GE(position(visible), 0) << tag;
        const auto list = windows->topLevelWindows();
        EXPECT_EQ(std::count_if(list.begin(), list.end(), [&](const auto& t) { return t.handle == never; }), 1) << tag;
    };
    hiddenOnesListed("alone");
    ASSERT_EQ(desktop.startWindowManager(), "");
    hiddenOnesListed("managed");
}

// A window of a pretend process, shown the way a started program shows its first one.
Window ProcessWindow(XClient& client, const std::string& title, unsigned long process)
{
    const Window w = client.window(title, "", false);
    XChangeProperty(client.d, w, client.atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&process), 1);
    XMapWindow(client.d, w);
    XSync(client.d, False);
    return w;
}

class StartModeTest : public X11WindowsTest {
protected:
    unsigned long active()
    {
        const auto a = platform::x11::ReadLongs(client->d, DefaultRootWindow(client->d),
                                                client->atom("_NET_ACTIVE_WINDOW"), XA_WINDOW);
        if (!a.empty())
            return a.front();
        Window focus = None;  // no manager: the input focus says it
        int revert = 0;
        XGetInputFocus(client->d, &focus, &revert);
        return focus;
    }
    bool iconic(Window w)
    {
        const auto state = platform::x11::ReadLongs(client->d, w, client->atom("WM_STATE"), client->atom("WM_STATE"));
        return !state.empty() && state.front() == IconicState;
    }
    // Starts "Before" with the focus, then the pretend program's window in `mode`.
    Window startIn(int mode, unsigned long process, Window& before)
    {
        before = client->window("Before " + std::to_string(process));
        EXPECT_TRUE(WaitUntil([&] { return client->viewable(before); }));
        windows->activate(before);
        EXPECT_TRUE(WaitUntil([&] { return active() == before; }));
        windows->applyStartMode(static_cast<std::int64_t>(process), mode);
        const Window w = ProcessWindow(*client, "Started " + std::to_string(process), process);
        EXPECT_TRUE(WaitUntil([&] { return !windows->tendStartModes(); }));
        return w;
    }
};

TEST_F(StartModeTest, WithManagerMinimisedAndUnfocusedModesHold)
{
    ASSERT_EQ(desktop.startWindowManager(), "");
    Window before = None;
    // Mode 1 asks for nothing: the manager focuses the new window.
    const Window normal = startIn(1, 5001, before);
    EXPECT_TRUE(WaitUntil([&] { return active() == normal; }));

    const Window minimisedWithFocus = startIn(2, 5002, before);
    EXPECT_TRUE(WaitUntil([&] { return iconic(minimisedWithFocus); }));

    const Window minimised = startIn(7, 5007, before);
    EXPECT_TRUE(WaitUntil([&] { return iconic(minimised) && active() == before; }));

    const Window unfocused = startIn(8, 5008, before);
    EXPECT_TRUE(WaitUntil([&] { return client->viewable(unfocused) && active() == before; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(active(), before);  // and stays so
    EXPECT_FALSE(iconic(unfocused));
}

TEST_F(StartModeTest, WithoutManagerTheWindowIsHiddenOrLeftWithoutTheFocus)
{
    Window before = None;
    const Window minimised = startIn(7, 6007, before);
    EXPECT_FALSE(client->viewable(minimised));
    EXPECT_EQ(active(), before);

    const Window unfocused = startIn(8, 6008, before);
    EXPECT_TRUE(client->viewable(unfocused));
    EXPECT_EQ(active(), before);
    // A program that never shows a window is forgotten, not waited for by the others.
    windows->applyStartMode(6999, 2);
    EXPECT_TRUE(windows->tendStartModes());
}

}  // namespace
}  // namespace hrln::test
