#include "platform/x11/x11_windows.h"
#include "x_client.h"

#include <gtest/gtest.h>

#include <algorithm>

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

}  // namespace
}  // namespace hrln::test
