#pragma once

// Test doubles for what the scheduler drives: the frame, the tray, sound, the
// script engine, message windows and the clipboard. Each records what it was asked.
#include "platform/clipboard.h"
#include "platform/program_launcher.h"
#include "platform/sound.h"
#include "platform/station.h"
#include "platform/tray.h"
#include "scheduler/frame_view.h"
#include "scheduler/message_window.h"
#include "scheduler/script_runner.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace hrln::test {

class FakeFrame : public scheduler::FrameView {
public:
    std::string title() const override { return title_; }
    void setTitle(const std::string& t) override { title_ = t; }
    void setZoneText(int zone, std::string_view text) override { zones[zone] = std::string(text); }
    void setScriptIndicator(bool running) override { indicator = running; }
    void setTimerInterval(int hundredths) override { interval = hundredths; }
    bool isMinimized() const override { return minimized; }
    bool isVisible() const override { return visible; }
    void unminimize() override { minimized = false; }
    void showNormal() override
    {
        minimized = false;
        visible = true;
    }
    void showBehind() override
    {
        showNormal();
        shownBehind = true;
    }
    void hide() override { visible = false; }
    void runCommand(scheduler::FrameCommand command) override { commands.push_back(command); }

    std::string title_ = "Horalyn 97";
    std::map<int, std::string> zones;
    bool indicator = false;
    int interval = 0;
    bool minimized = false;
    bool visible = true;
    bool shownBehind = false;  // came back for a message, leaving it the focus
    std::vector<scheduler::FrameCommand> commands;
};

class FakeTray : public platform::Tray {
public:
    bool add(const std::string& newIcon, const std::string& newTip) override
    {
        log.push_back("add " + newIcon);
        if (refuseAdd)
            return false;
        shown = true;
        icon = newIcon;
        tip = newTip;
        return true;
    }
    bool modify(const std::string& newIcon, const std::string& newTip) override
    {
        if (!shown)
            return false;
        log.push_back("modify " + newIcon);
        icon = newIcon;
        tip = newTip;
        return true;
    }
    bool remove() override
    {
        log.push_back("remove");
        if (refuseRemove || !shown)
            return false;
        shown = false;
        return true;
    }

    bool refuseAdd = false;
    bool refuseRemove = false;
    bool shown = false;
    std::string icon;
    std::string tip;
    std::vector<std::string> log;
};

class FakeSound : public platform::Sound {
public:
    void beep() override { played.push_back("BEEP"); }
    void play(const std::string& file) override { played.push_back(file); }
    void playEvent(const std::string& eventId) override { played.push_back("event:" + eventId); }
    std::vector<std::string> played;
};

struct ProgramRun {
    std::string command;
    std::string path;
    std::int32_t scriptId = 0;
};

class FakeScripts : public scheduler::ScriptRunner {
public:
    bool pending() const override { return pendingSteps > 0; }
    void processStep() override
    {
        ++steps;
        --pendingSteps;
    }
    void runTaskProgram(const std::string& command, const std::string& path, std::int32_t scriptId) override
    {
        runs.push_back({command, path, scriptId});
        pendingSteps += stepsPerScript;
    }
    void stop() override { pendingSteps = 0; }
    std::size_t queued() const override { return static_cast<std::size_t>(pendingSteps); }
    void discardFrom(std::size_t count) override
    {
        pendingSteps = std::min(pendingSteps, static_cast<int>(count));
    }

    int pendingSteps = 0;
    int stepsPerScript = 0;
    int steps = 0;
    std::vector<ProgramRun> runs;
};

class FakeMessages : public scheduler::MessageLauncher {
public:
    void startMessage(const scheduler::MessageSlots& slots) override
    {
        started.push_back(slots);
        if (counter != nullptr)
            counter->opened();  // the window stays open for the rest of the test
    }
    std::vector<scheduler::MessageSlots> started;
    scheduler::MessageWindowCounter* counter = nullptr;
};

class FakeLauncher : public platform::ProgramLauncher {
public:
    bool startDetached(const std::string& program, const std::vector<std::string>& arguments) override
    {
        starts.push_back({program, arguments});
        return true;
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> starts;
};

// Records what was held and how each hold ended.
class FakeStartGate : public platform::StartGate {
public:
    void hold(const std::string& databasePath, std::int64_t station, std::int64_t serial) override
    {
        holds.push_back({databasePath, station, serial});
        held = true;
    }
    void release(bool run) override
    {
        releases.push_back(run);
        held = false;
    }
    struct Hold {
        std::string database;
        std::int64_t station = 0;
        std::int64_t serial = 0;
    };
    std::vector<Hold> holds;
    std::vector<bool> releases;
    bool held = false;
};

class FakeClipboard : public platform::Clipboard {
public:
    std::string text() override { return content; }
    void setText(const std::string& t) override { content = t; }
    std::string content;
};

}  // namespace hrln::test
