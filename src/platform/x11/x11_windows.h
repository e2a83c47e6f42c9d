#pragma once

#include "platform/windows.h"
#include "platform/x11/x11_connection.h"

#include <chrono>
#include <functional>
#include <vector>

namespace hrln::platform::x11 {

// The desktop's top-level windows through Xlib. Works with a window manager
// (through its EWMH requests) and without one (raising, mapping and focusing
// directly). Handles are X window ids of client windows.
class X11Windows : public Windows {
public:
    explicit X11Windows(X11Connection& connection) : x_(connection) {}

    std::vector<TopLevelWindow> topLevelWindows() override;
    void activate(WindowHandle window) override;
    void restore(WindowHandle window) override;
    void postCloseRequest(WindowHandle window) override;
    void applyStartMode(std::int64_t processId, int showMode) override;
    bool isOwnMainWindow(WindowHandle window) const override { return window != 0 && window == ownMainWindow_; }

    // Applies the window modes whose windows have appeared; called often (a
    // tenth of a second) so that the window is seen as it should be from the
    // start. Whether some still wait.
    bool tendStartModes();
    // Called when a mode starts waiting for its window, so that the caller
    // tends modes only while some wait.
    void setWhenModeWaits(std::function<void()> call) { whenModeWaits_ = std::move(call); }

    // Whether the window with the keyboard belongs to another program: one
    // of ours, or none at all, leaves the keys free for a window of ours.
    bool anotherProgramHasFocus();

    // The program's main window, once it exists.
    void setOwnMainWindow(WindowHandle window) { ownMainWindow_ = window; }

private:
    // Whether a running window manager announces support for `hint`.
    bool managerSupports(const char* hint);
    std::vector<unsigned long> clientsFrontToBack();
    std::vector<unsigned long> treeFrontToBack();
    std::vector<unsigned long> allFrontToBack();
    unsigned long activeWindow();
    void applyMode(unsigned long window, int showMode, unsigned long previous);
    void sendToRoot(unsigned long window, const char* messageType, long a, long b, long c);

    struct PendingMode {
        unsigned long process;
        int showMode;
        unsigned long previous;  // the window that had the focus when the program started
        std::chrono::steady_clock::time_point until;
    };

    X11Connection& x_;
    WindowHandle ownMainWindow_ = 0;
    std::vector<PendingMode> modes_;
    std::function<void()> whenModeWaits_;
};

}  // namespace hrln::platform::x11
