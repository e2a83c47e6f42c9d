#pragma once

#include <QIcon>
#include <QString>

namespace hrln::ui {

// The program's own icons, drawn at run time so they are crisp at every size:
// "clock", "snooze", "exit", "nextpage", "program", "message", "schedule",
// "todo", "done", "notdone", "stop", and the tray icons ("tray_ico", ...) as the tray draws them.
// Toolbar icons come from the desktop's theme where it has a fitting one.
QIcon ProgramIcon(const QString& name);

}  // namespace hrln::ui
