#pragma once

#include "data/settings.h"
#include "platform/tray.h"
#include "platform/tray_icon.h"
#include "scheduler/frame_view.h"

#include <string>
#include <vector>

namespace hrln::scheduler {

class ScriptRunner;

enum class TrayChoice {
    AddMessage,
    AddProgram,
    QuickReminder,
    ViewToDo,
    Options,
    Restore,
    About,
    StopRunningScript,
    Exit
};

// The notification-area icon: minimising into it, restoring from it, its menu,
// and the running-script animation. It keeps its own record of whether the
// icon is shown, because the desktop may refuse any request.
class TrayController : public platform::TrayIcon {
public:
    static constexpr const char* kNormalIcon = "tray_ico";

    TrayController(platform::Tray& tray, FrameView& frame, const data::Settings& settings);

    // At frame opening: the normal icon and the tip "Double-click here to restore".
    void prepare();
    // The remembered icon with the frame's title as tip, shown if the icon is there.
    void refresh();
    // The frame was minimised: into the tray unless the tray is off or refuses.
    void minimiseToTray();
    // A click on the icon, or a menu choice that needs the frame.
    void restoreFromTray();
    // The end of every tick: the animation while a script runs, the normal icon after.
    void tickStep(bool scriptRunning);

    // The tray menu, separators as "-".
    static std::string MenuText(bool scriptsPending);
    static std::vector<TrayChoice> Choices(bool scriptsPending);
    void choose(TrayChoice choice, ScriptRunner& scripts);

    bool shown() const { return shown_; }
    // Used when the dispatch needs the frame: the icon goes, the frame shows,
    // taking the focus only when no message will open above it.
    bool removeForFrame(bool takeFocus);

    // platform::TrayIcon, for the typing animation.
    bool isShown() const override { return shown_; }
    std::string iconName() const override { return currentIcon_; }
    void showIcon(const std::string& name, const std::string& tip) override;

    int animationFrame() const { return animationFrame_; }
    const std::string& rememberedIcon() const { return rememberedIcon_; }

private:
    std::string tip() const;

    platform::Tray& tray_;
    FrameView& frame_;
    const data::Settings& settings_;
    bool shown_ = false;
    std::string currentIcon_ = kNormalIcon;
    std::string rememberedIcon_ = kNormalIcon;
    std::string tip_;
    int animationFrame_ = 1;
};

}  // namespace hrln::scheduler
