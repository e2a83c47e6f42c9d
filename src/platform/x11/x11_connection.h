#pragma once

#include <string>

// Xlib's own declaration, so that this header leaves Xlib's macros (None,
// Bool, Status...) out of the code that includes it, Qt's and the tests' too.
typedef struct _XDisplay Display;

namespace hrln::platform::x11 {

// One Xlib connection to the display, closed with the object.
class X11Connection {
public:
    // Null: the display named by $DISPLAY.
    explicit X11Connection(const char* displayName = nullptr);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    bool isOpen() const { return display_ != nullptr; }
    Display* display() const { return display_; }
    unsigned long root() const;
    unsigned long atom(const char* name) const;

private:
    Display* display_ = nullptr;
};

// While alive, X protocol errors (a window that has just gone, most often)
// are recorded instead of ending the program, which is Xlib's default.
// Not thread-safe: the handler is process-wide; use from one thread only.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits for the server to handle every request so far; whether any failed.
    bool failed();

private:
    Display* display_;
    void* previous_;
    int errorsBefore_;
};

}  // namespace hrln::platform::x11
