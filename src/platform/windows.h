#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hrln::platform {

// A top-level window of the desktop; 0 stands for "no window".
using WindowHandle = std::uint64_t;

struct TopLevelWindow {
    WindowHandle handle = 0;
    std::string title;  // UTF-8, possibly empty
};

// The desktop's top-level windows, as the script engine drives them.
class Windows {
public:
    virtual ~Windows() = default;
    // Every top-level window, hidden ones and our own included, front to back
    // (with a window manager: the windows it manages first, then the hidden ones).
    virtual std::vector<TopLevelWindow> topLevelWindows() = 0;
    // Switches to the window: raises it and gives it the focus. A window that
    // has gone is ignored silently.
    virtual void activate(WindowHandle window) = 0;
    // Shows the window restored to its normal size and place (from minimised
    // or maximised).
    virtual void restore(WindowHandle window) = 0;
    // Asks the window to close, as the user's close does; the program decides
    // whether and how. Nothing waits for it.
    virtual void postCloseRequest(WindowHandle window) = 0;
    // Gives the first window the process `processId` shows the window mode
    // `showMode` (the numbers of Processes), once it appears; a process that
    // shows none within a few seconds is forgotten. Mode 1 asks for nothing.
    virtual void applyStartMode(std::int64_t processId, int showMode) = 0;
    // Whether the window is this program's own main window.
    virtual bool isOwnMainWindow(WindowHandle window) const = 0;
};

}  // namespace hrln::platform
