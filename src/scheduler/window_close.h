#pragma once

#include "data/database.h"
#include "data/settings.h"
#include "platform/prompter.h"

namespace hrln::scheduler {

// What closing the frame's window does. Exit from the menus, the tray or the
// session always ends the program; this is only the window's own close.
enum class WindowClose {
    Exit,    // the program ends, and its reminders with it
    ToTray,  // the frame goes to the notification area (minimised where there is none)
    Ask,     // say what ending would cost, and let the user choose
};

struct WindowCloseState {
    bool warned = false;  // the question was asked once this session already
};

// Decides for one close. Asks only once a session, only when a task is still
// to come and only when there is a notification area to go to.
WindowClose DecideWindowClose(const data::Settings& settings, WindowCloseState& state, bool taskToCome);

// The question of an Ask; Yes goes to the tray, No ends the program, Cancel keeps the window open.
platform::MessageBox KeepRunningQuestion();

// An enabled task remains in the schedule, which a closed program would not perform.
bool TaskToCome(data::Database& db);

}  // namespace hrln::scheduler
