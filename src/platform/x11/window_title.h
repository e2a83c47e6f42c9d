#pragma once

#include "platform/x11/x11_connection.h"

namespace hrln::platform::x11 {

// Makes a window's title empty in every property a desktop reads (WM_NAME,
// _NET_WM_NAME and the manager's _NET_WM_VISIBLE_NAME): toolkits put their
// program's name in place of an empty title.
void ClearWindowTitle(const X11Connection& connection, unsigned long window);

}  // namespace hrln::platform::x11
