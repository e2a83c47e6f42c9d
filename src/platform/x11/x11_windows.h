#pragma once

#include "platform/windows.h"
#include "platform/x11/x11_connection.h"

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
    bool isOwnMainWindow(WindowHandle window) const override { return window != 0 && window == ownMainWindow_; }

    // The program's main window, once it exists.
    void setOwnMainWindow(WindowHandle window) { ownMainWindow_ = window; }

private:
    // Whether a running window manager announces support for `hint`.
    bool managerSupports(const char* hint);
    std::vector<unsigned long> clientsFrontToBack();
    std::vector<unsigned long> treeFrontToBack();
    void sendToRoot(unsigned long window, const char* messageType, long a, long b, long c);

    X11Connection& x_;
    WindowHandle ownMainWindow_ = 0;
};

}  // namespace hrln::platform::x11
