#pragma once

#include <QString>

namespace hrln::ui {

// The desktop session's autostart entry for the program
// ($XDG_CONFIG_HOME/autostart/horalyn.desktop): a scheduler that is not
// running performs nothing.
QString AutostartPath();
bool AutostartEnabled();
// Writes or removes the entry; `program` is the path of the running program.
bool SetAutostart(bool enabled, const QString& program);

}  // namespace hrln::ui
