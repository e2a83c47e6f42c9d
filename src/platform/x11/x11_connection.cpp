#include "platform/x11/x11_connection.h"

#include <X11/Xlib.h>

namespace hrln::platform::x11 {

namespace {

int g_errors = 0;

int CountError(Display*, XErrorEvent*)
{
    ++g_errors;
    return 0;
}

}  // namespace

X11Connection::X11Connection(const char* displayName) : display_(XOpenDisplay(displayName)) {}

unsigned long X11Connection::root() const
{
    return DefaultRootWindow(display_);
}

unsigned long X11Connection::atom(const char* name) const
{
    return XInternAtom(display_, name, False);
}

X11Connection::~X11Connection()
{
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display)
{
    // Errors of earlier requests belong to whoever made them.
    XSync(display_, False);
    previous_ = reinterpret_cast<void*>(XSetErrorHandler(CountError));
    errorsBefore_ = g_errors;
}

X11ErrorTrap::~X11ErrorTrap()
{
    XSync(display_, False);
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_));
}

bool X11ErrorTrap::failed()
{
    XSync(display_, False);
    return g_errors != errorsBefore_;
}

}  // namespace hrln::platform::x11
