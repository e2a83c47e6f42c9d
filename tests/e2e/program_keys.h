#pragma once

// Driving the real program by keyboard, as its desktop tests do: which
// windows show, keys and text typed into the active window, the frame
// brought forward.
#include "e2e/desktop_session.h"

#include <gtest/gtest.h>

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

}  // namespace hrln::test
