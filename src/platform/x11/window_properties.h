#pragma once

#include <X11/Xlib.h>

#include <string>
#include <string_view>
#include <vector>

namespace hrln::platform::x11 {

// Reading window properties. Each returns nothing (empty) when the window or
// the property is missing; the caller holds an X11ErrorTrap around them.

// A 32-bit property (windows, atoms, cardinals) as its values.
std::vector<unsigned long> ReadLongs(Display* display, Window window, Atom property, Atom type);

bool HasProperty(Display* display, Window window, Atom property);

// The window's title as UTF-8: _NET_WM_NAME, else WM_NAME in whatever
// encoding it was stored.
std::string ReadTitle(Display* display, Window window);

// ISO 8859-1, the encoding of STRING properties, as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

}  // namespace hrln::platform::x11
