#pragma once

#include <QIcon>

#include <string>

namespace hrln::platform::qt {

// The program's tray icons by name: "tray_ico" (at rest), "trayb_ico",
// "trayc_ico", "trayd_ico" (a script running), "traybr_ico", "traydr_ico"
// (keys being typed). Drawn, not loaded, so they need no files. An unknown
// name gives the icon at rest.
QIcon TrayIconNamed(const std::string& name);

}  // namespace hrln::platform::qt
