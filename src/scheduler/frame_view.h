#pragma once

#include "platform/status_bar.h"

#include <string>

namespace hrln::scheduler {

// Menu commands that the tray menu and the scheduler ask the frame to carry out.
enum class FrameCommand { AddMessage, AddProgram, QuickReminder, ToDoList, Setup, About, Close };

// The main frame as the scheduler sees it: title, status zones (1 hints,
// 2 next task, 3 date, 4 time), script indicator, timer and window state.
class FrameView : public platform::StatusBar {
public:
    virtual std::string title() const = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setScriptIndicator(bool running) = 0;
    // Hundredths of a second until the next tick.
    virtual void setTimerInterval(int hundredths) = 0;
    virtual bool isMinimized() const = 0;
    virtual bool isVisible() const = 0;
    virtual void unminimize() = 0;
    // Shown normally and brought to the front.
    virtual void showNormal() = 0;
    // Shown normally without taking the focus, for a message window that
    // opens next and must stay above it.
    virtual void showBehind() = 0;
    virtual void hide() = 0;
    virtual void runCommand(FrameCommand command) = 0;
};

}  // namespace hrln::scheduler
