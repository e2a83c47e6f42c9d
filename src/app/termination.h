#pragma once

class QWidget;

namespace hrln::app {

// SIGTERM, SIGINT and SIGHUP close `frame` as the user's Exit does, so the
// program ends cleanly (position saved, "Exit Horalyn" logged) when the
// session or a terminal asks it to stop.
void CloseOnTerminationSignals(QWidget* frame);

}  // namespace hrln::app
