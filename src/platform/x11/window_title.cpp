#include "platform/x11/window_title.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace hrln::platform::x11 {

void ClearWindowTitle(const X11Connection& connection, unsigned long window)
{
    if (!connection.isOpen() || window == 0)
        return;
    Display* display = connection.display();
    X11ErrorTrap trap(display);  // the window may be gone already
    static const unsigned char kEmpty[] = "";
    XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace, kEmpty, 0);
    XChangeProperty(display, window, static_cast<Atom>(connection.atom("_NET_WM_NAME")),
                    static_cast<Atom>(connection.atom("UTF8_STRING")), 8, PropModeReplace, kEmpty, 0);
    XDeleteProperty(display, window, static_cast<Atom>(connection.atom("_NET_WM_VISIBLE_NAME")));
    XFlush(display);
    trap.failed();
}

}  // namespace hrln::platform::x11
