#pragma once

#include "platform/tray.h"

#include <QSystemTrayIcon>

namespace hrln::platform::qt {

// The notification-area icon through QSystemTrayIcon. An add is refused when
// no notification area runs (no tray host on the display) or the icon is
// already shown; modify and remove are refused while it is not shown. Needs a
// QApplication. The clicks arrive as icon().activated.
class QtTray : public Tray {
public:
    bool add(const std::string& icon, const std::string& tip) override;
    bool modify(const std::string& icon, const std::string& tip) override;
    bool remove() override;

    QSystemTrayIcon& icon() { return icon_; }
    bool shown() const { return shown_; }
    const std::string& iconName() const { return iconName_; }

private:
    void set(const std::string& icon, const std::string& tip);

    QSystemTrayIcon icon_;
    bool shown_ = false;
    std::string iconName_;
};

}  // namespace hrln::platform::qt
