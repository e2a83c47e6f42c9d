#pragma once

#include <string_view>

namespace hrln::platform {

// The main window's status bar; zones are numbered from 1.
class StatusBar {
public:
    virtual ~StatusBar() = default;
    virtual void setZoneText(int zone, std::string_view text) = 0;
};

}  // namespace hrln::platform
