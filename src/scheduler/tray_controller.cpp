#include "scheduler/tray_controller.h"

#include "common/text.h"
#include "common/translate.h"
#include "scheduler/script_runner.h"

#include <array>

namespace hrln::scheduler {
namespace {

constexpr std::size_t kTipWidth = 64;
constexpr std::array<const char*, 4> kAnimation = {"tray_ico", "trayb_ico", "trayc_ico", "trayd_ico"};

}  // namespace

TrayController::TrayController(platform::Tray& tray, FrameView& frame, const data::Settings& settings)
    : tray_(tray), frame_(frame), settings_(settings)
{
}

std::string TrayController::tip() const
{
    return std::string(text::CutToWidth(frame_.title(), kTipWidth));
}

void TrayController::prepare()
{
    currentIcon_ = kNormalIcon;
    rememberedIcon_ = kNormalIcon;
    tip_ = "Double-click here to restore";
}

void TrayController::refresh()
{
    currentIcon_ = rememberedIcon_;
    tip_ = tip();
    if (shown_)
        tray_.modify(currentIcon_, tip_);
}

void TrayController::minimiseToTray()
{
    if (settings_.noTray || shown_)
        return;
    tip_ = tip();
    if (tray_.add(currentIcon_, tip_)) {
        frame_.hide();
        shown_ = true;
    }
}

void TrayController::restoreFromTray()
{
    if (!shown_)
        return;
    frame_.showNormal();
    currentIcon_ = rememberedIcon_;
    tip_ = tip();
    if (tray_.remove()) {
        shown_ = false;
    } else {
        // Keep the flag in step with what the desktop shows.
        shown_ = tray_.add(currentIcon_, tip_);
    }
}

bool TrayController::removeForFrame(bool takeFocus)
{
    if (!shown_ || !tray_.remove())
        return false;
    shown_ = false;
    if (takeFocus)
        frame_.showNormal();
    else
        frame_.showBehind();
    return true;
}

void TrayController::tickStep(bool scriptRunning)
{
    if (!scriptRunning && rememberedIcon_ != currentIcon_ && shown_) {
        currentIcon_ = rememberedIcon_;
        refresh();
    }
    if (scriptRunning && shown_) {
        tip_ = tip();
        animationFrame_ = animationFrame_ % 4 + 1;
        currentIcon_ = kAnimation[static_cast<std::size_t>(animationFrame_ - 1)];
        tray_.modify(currentIcon_, tip_);
    }
}

void TrayController::showIcon(const std::string& name, const std::string& newTip)
{
    currentIcon_ = name;
    if (!newTip.empty())
        tip_ = std::string(text::CutToWidth(newTip, kTipWidth));
    if (shown_)
        tray_.modify(currentIcon_, tip_);
}

std::string TrayController::MenuText(bool scriptsPending)
{
    // One text per menu, items between bars, so that a translation keeps them in step.
    return scriptsPending
               ? HrlnTranslate("TrayMenu", "Add &Message|Add &Program|&Quick Reminder|&View To Do|&Options|-|&Restore|-|"
                                           "&About|&Stop Running Script|E&xit Horalyn")
               : HrlnTranslate("TrayMenu",
                               "Add &Message|Add &Program|&Quick Reminder|&View To Do|&Options|-|&Restore|-|&About|E&xit Horalyn");
}

std::vector<TrayChoice> TrayController::Choices(bool scriptsPending)
{
    std::vector<TrayChoice> choices = {TrayChoice::AddMessage, TrayChoice::AddProgram, TrayChoice::QuickReminder,
                                       TrayChoice::ViewToDo,   TrayChoice::Options,    TrayChoice::Restore,
                                       TrayChoice::About};
    if (scriptsPending)
        choices.push_back(TrayChoice::StopRunningScript);
    choices.push_back(TrayChoice::Exit);
    return choices;
}

void TrayController::choose(TrayChoice choice, ScriptRunner& scripts)
{
    switch (choice) {
    case TrayChoice::AddMessage:
        restoreFromTray();
        frame_.runCommand(FrameCommand::AddMessage);
        break;
    case TrayChoice::AddProgram:
        restoreFromTray();
        frame_.runCommand(FrameCommand::AddProgram);
        break;
    case TrayChoice::QuickReminder:
        // A line and Enter: the frame may stay in the tray meanwhile.
        frame_.runCommand(FrameCommand::QuickReminder);
        break;
    case TrayChoice::ViewToDo:
        restoreFromTray();
        frame_.runCommand(FrameCommand::ToDoList);
        break;
    case TrayChoice::Options:
        restoreFromTray();
        frame_.runCommand(FrameCommand::Setup);
        break;
    case TrayChoice::Restore:
        restoreFromTray();
        break;
    case TrayChoice::About:
        frame_.runCommand(FrameCommand::About);
        break;
    case TrayChoice::StopRunningScript:
        scripts.stop();
        break;
    case TrayChoice::Exit:
        if (shown_ && tray_.remove())
            shown_ = false;
        frame_.runCommand(FrameCommand::Close);
        break;
    }
}

}  // namespace hrln::scheduler
