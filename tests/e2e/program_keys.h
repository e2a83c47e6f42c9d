#pragma once

// Driving the real program by keyboard, as its desktop tests do: which
// windows show, keys and text typed into the active window, the frame
// brought forward.
#include "data/database.h"
#include "e2e/desktop_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace hrln::test {

// Whether a visible window has exactly the title `title`.
inline bool Shown(const std::string& title)
{
    return !CommandOutput("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null").empty();
}

inline void Keys(const std::string& keys)
{
    ASSERT_EQ(DesktopSession::run({"xdotool", "key", "--delay", "80", keys}), 0);
}

inline void Type(const std::string& text)
{
    ASSERT_EQ(DesktopSession::run({"xdotool", "type", "--delay", "60", text}), 0);
}

// The titles of every visible window, one a line, for failure messages.
inline std::string VisibleTitles()
{
    return CommandOutput(
        "for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname $w; done");
}

// Waits for the window titled exactly `title` and makes it the active one.
inline void ActivateTitled(const std::string& title)
{
    ASSERT_TRUE(WaitUntil([&] { return Shown(title); })) << "no window \"" << title << "\"; shown:\n"
                                                         << VisibleTitles();
    ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$",
                                   "windowactivate", "--sync"}),
              0);
}

// Waits for the program's frame and makes it the active window, so keys reach it.
inline void ActivateFrame()
{
    ASSERT_TRUE(WaitUntil([] {
        return !CommandOutput("xdotool search --onlyvisible --name '^Horalyn 97' 2>/dev/null").empty();
    })) << "no frame";
    ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^Horalyn 97", "windowactivate",
                                   "--sync"}),
              0);
}

// A display, window manager and session bus of the test's own, with the
// program's data and settings folders in the session's scratch folder `home`.
inline void OpenDesktop(DesktopSession& desktop, std::filesystem::path& home)
{
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(desktop.startWindowManager(), "");
    ASSERT_EQ(desktop.startSessionBus(), "");
    home = desktop.scratch();
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    std::filesystem::create_directories(home / "horalyn");
}

// Starts the real program on a desktop of its own (above) and brings its
// frame forward; `file` is then the database it works on.
inline void StartProgram(DesktopSession& desktop, std::string& file)
{
    std::filesystem::path home;
    OpenDesktop(desktop, home);
    if (::testing::Test::HasFatalFailure())
        return;
    file = (home / "horalyn" / data::kMainDatabaseFile).string();
    desktop.start({HORALYN_PROGRAM});
    ActivateFrame();
}

}  // namespace hrln::test
