#include "platform/qt/qt_tray.h"

#include "platform/qt/tray_icons.h"

namespace hrln::platform::qt {

void QtTray::set(const std::string& icon, const std::string& tip)
{
    if (icon != iconName_) {
        icon_.setIcon(TrayIconNamed(icon));
        iconName_ = icon;
    }
    icon_.setToolTip(QString::fromStdString(tip));
}

bool QtTray::add(const std::string& icon, const std::string& tip)
{
    if (shown_ || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    set(icon, tip);
    icon_.show();
    shown_ = true;
    return true;
}

bool QtTray::modify(const std::string& icon, const std::string& tip)
{
    if (!shown_)
        return false;
    set(icon, tip);
    return true;
}

bool QtTray::remove()
{
    if (!shown_)
        return false;
    icon_.hide();
    shown_ = false;
    return true;
}

}  // namespace hrln::platform::qt
