#pragma once

#include <string>

namespace hrln::platform {

// The notification-area icon, as the typing animation borrows it.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual bool isShown() const = 0;
    // Name of the icon showing now ("tray_ico", ...).
    virtual std::string iconName() const = 0;
    // Shows the named icon; a non-empty tip replaces the tip as well.
    virtual void showIcon(const std::string& name, const std::string& tip) = 0;
};

}  // namespace hrln::platform
