#pragma once

// A plain Xlib program of the test's own: makes windows with chosen titles
// and protocols and watches what reaches them.
#include "e2e/desktop_session.h"

#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <functional>
#include <string>

namespace hrln::test {

class XClient {
public:
    XClient() : d(XOpenDisplay(nullptr)) {}
    ~XClient()
    {
        if (d != nullptr)
            XCloseDisplay(d);
    }
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    Atom atom(const char* name) const { return XInternAtom(d, name, False); }

    // A window titled through _NET_WM_NAME (UTF-8) and/or WM_NAME (Latin-1).
    Window window(const std::string& utf8Title, const std::string& latin1Name = {}, bool map = true,
                  bool deleteProtocol = false)
    {
        const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 200, 100, 0, 0, 0);
        XSelectInput(d, w, KeyPressMask | KeyReleaseMask | ButtonPressMask | StructureNotifyMask | FocusChangeMask);
        if (!utf8Title.empty())
            XChangeProperty(d, w, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(utf8Title.data()), static_cast<int>(utf8Title.size()));
        if (!latin1Name.empty())
            XStoreName(d, w, latin1Name.c_str());
        if (deleteProtocol) {
            Atom protocol = atom("WM_DELETE_WINDOW");
            XSetWMProtocols(d, w, &protocol, 1);
        }
        if (map)
            XMapWindow(d, w);
        XSync(d, False);
        return w;
    }

    bool viewable(Window w)
    {
        XWindowAttributes a{};
        return XGetWindowAttributes(d, w, &a) != 0 && a.map_state == IsViewable;
    }

    // Waits for an event on `w` that `wanted` accepts; it lands in `out`.
    bool waitEvent(Window w, const std::function<bool(const XEvent&)>& wanted, XEvent& out)
    {
        return WaitUntil([&] {
            while (XPending(d) > 0) {
                XNextEvent(d, &out);
                if (out.xany.window == w && wanted(out))
                    return true;
            }
            return false;
        });
    }

    // Drains the queue of events on `w` that `wanted` accepts.
    std::vector<XEvent> collect(Window w, const std::function<bool(const XEvent&)>& wanted)
    {
        XSync(d, False);
        std::vector<XEvent> events;
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.xany.window == w && wanted(e))
                events.push_back(e);
        }
        return events;
    }

    Display* d;
};

}  // namespace hrln::test
