#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "e2e/desktop_session.h"
#include "resident/bench_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace hrln::bench {
namespace {

using Clock = std::chrono::steady_clock;
using test::DesktopSession;

// Another client's top-level window claiming process `pid`, mapped at once.
Window MapWindowOf(Display* d, unsigned long pid, bool overrideRedirect)
{
    XSetWindowAttributes attributes{};
    attributes.override_redirect = overrideRedirect ? True : False;
    const Window w = XCreateWindow(d, DefaultRootWindow(d), 10, 10, 50, 40, 0, CopyFromParent, InputOutput,
                                   CopyFromParent, CWOverrideRedirect, &attributes);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XMapWindow(d, w);
    XSync(d, False);
    return w;
}

// The launch figures stand on this: a window is told once it is mapped, by
// the process it names, and a menu or tooltip (override-redirect) or another
// process's window is never taken for it.
void ExpectMapsTold(bool windowManager)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    ASSERT_EQ(desktop.startDisplay(), "");
    if (windowManager) {
        ASSERT_EQ(desktop.startWindowManager(), "");
    }
    MapWatch watch;
    ASSERT_TRUE(watch.ok());
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);

    const auto soon = [] { return Clock::now() + std::chrono::milliseconds(300); };
    const auto before = Clock::now();
    MapWindowOf(other, 5151, true);
    EXPECT_FALSE(watch.waitMapped(5151, soon()).has_value()) << "an override-redirect window counted";
    MapWindowOf(other, 4242, false);
    const auto mapped = watch.waitMapped(4242, Clock::now() + std::chrono::seconds(20));
    ASSERT_TRUE(mapped.has_value());
    EXPECT_GE(*mapped, before);
    EXPECT_LE(*mapped, Clock::now());
    EXPECT_FALSE(watch.waitMapped(4343, soon()).has_value()) << "a window counted for the wrong process";

    // Created unmapped, mapped later: told at the map, not at the creation.
    XSetWindowAttributes attributes{};
    const Window late = XCreateWindow(other, DefaultRootWindow(other), 0, 0, 20, 20, 0, CopyFromParent, InputOutput,
                                      CopyFromParent, 0, &attributes);
    const unsigned long latePid = 6161;
    XChangeProperty(other, late, XInternAtom(other, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&latePid), 1);
    XSync(other, False);
    EXPECT_FALSE(watch.waitMapped(6161, soon()).has_value()) << "an unmapped window counted";
    const auto mapAt = Clock::now();
    XMapWindow(other, late);
    XSync(other, False);
    const auto lateMapped = watch.waitMapped(6161, Clock::now() + std::chrono::seconds(20));
    ASSERT_TRUE(lateMapped.has_value());
    EXPECT_GE(*lateMapped, mapAt);
    XCloseDisplay(other);
}

TEST(MapWatchTest, ToldOnMapWithoutWindowManager)
{
    ExpectMapsTold(false);
}

TEST(MapWatchTest, ToldOnMapUnderOpenbox)
{
    ExpectMapsTold(true);
}

}  // namespace
}  // namespace hrln::bench
