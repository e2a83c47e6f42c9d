#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "e2e/desktop_session.h"
#include "platform/x11/x11_keyboard.h"
#include "platform/x11/x11_windows.h"
#include "support/temp_dir.h"

#include <X11/Xlib.h>
#include <filesystem>

namespace hrln::test {
namespace {

// Capitals, digits, punctuation (several behind AltGr or dead keys on the
// German layout), umlauts (keys of their own there, none on the US layout)
// and characters neither layout has a key for.
constexpr char kMixedText[] = "Zwölf Boxkämpfer jagen Viktor über den Deich! 1+2=3; @{}[]\\|~^`€ж<>\"#$%&*()_Qy',";

class TypingLayoutTest : public ::testing::TestWithParam<const char*> {};

// 80 characters typed into xterm arrive exactly, whatever the layout.
TEST_P(TypingLayoutTest, MixedTextArrivesExactlyInXterm)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(DesktopSession::run({"setxkbmap", "-layout", GetParam()}), 0);
    setenv("LC_ALL", "C.UTF-8", 1);
    const std::string out = desktop.scratch() + "/typed";
    // The shell renames the window once it reads: xterm is ready for keys then.
    desktop.start({"xterm", "-T", "Starting", "-e", "sh", "-c",
                   "printf '\\033]2;Typing target\\007'; IFS= read -r l; printf %s \"$l\" > " + out});

    platform::x11::X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    platform::x11::X11Windows windows(connection);
    platform::WindowHandle xterm = 0;
    ASSERT_TRUE(WaitUntil([&] {
        for (const auto& w : windows.topLevelWindows())
            if (w.title == "Typing target")
                xterm = w.handle;
        return xterm != 0;
    }));
    // Without a window manager the focus is set directly; xterm may map a
    // moment after it names its window.
    ASSERT_TRUE(WaitUntil([&] {
        windows.activate(xterm);
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(connection.display(), &focus, &revert);
        return focus == xterm;
    }));

    platform::x11::X11Keyboard keyboard;
    ASSERT_TRUE(keyboard.typeText(kMixedText));
    ASSERT_TRUE(keyboard.sendKey(0x0D));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(out); }));
    EXPECT_EQ(ReadFile(out), kMixedText);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TypingLayoutTest, ::testing::Values("us", "de"));

}  // namespace
}  // namespace hrln::test
