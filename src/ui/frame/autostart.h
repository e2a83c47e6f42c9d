#pragma once

#include <QString>

namespace hrln::ui {

// The desktop session's autostart entry for the program
// ($XDG_CONFIG_HOME/autostart/horalyn.desktop): a scheduler that is not
// running performs nothing.
QString AutostartPath();
bool AutostartEnabled();
// The start option the entry passes: the program starts in the notification area.
inline constexpr const char* kAutostartOption = "--tray";
// Writes or removes the entry; `program` is the path of the running program.
bool SetAutostart(bool enabled, const QString& program);

}  // namespace hrln::ui
