#pragma once

#include <string>

namespace hrln::platform {

// The program's icon in the desktop's notification area. Each request may be
// refused (no notification area, or the icon is not shown); the caller keeps
// its own record of whether the icon is shown.
class Tray {
public:
    virtual ~Tray() = default;
    // `icon` names one of the program's tray icons ("tray_ico", "trayb_ico", ...).
    virtual bool add(const std::string& icon, const std::string& tip) = 0;
    virtual bool modify(const std::string& icon, const std::string& tip) = 0;
    virtual bool remove() = 0;
};

}  // namespace hrln::platform
