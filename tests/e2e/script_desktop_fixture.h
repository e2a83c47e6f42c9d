#pragma once

// The real interpreter driving the real desktop backends on a private display
// with a window manager; only the message boxes, the status bar, the tray
// icon and the desktop bus are doubles.
#include "data/database.h"
#include "data/event_log.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/table.h"
#include "e2e/desktop_session.h"
#include "platform/event_pump.h"
#include "platform/posix/posix_processes.h"
#include "platform/posix/system_clock.h"
#include "platform/x11/x11_keyboard.h"
#include "platform/x11/x11_windows.h"
#include "script/script_engine.h"
#include "support/fake_desktop_bus.h"
#include "support/fake_prompter.h"
#include "support/fake_script_view.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

namespace hrln::test {

// Pauses for real: the programs typed into need the time.
class SleepingPump : public platform::EventPump {
public:
    void pause(int hundredths) override { std::this_thread::sleep_for(std::chrono::milliseconds(10 * hundredths)); }
};

inline data::ScriptingRecord ScriptItem(std::string_view action)
{
    data::ScriptingRecord r;
    r.action = action;
    return r;
}

class ScriptDesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!DesktopSession::XvfbInstalled())
            GTEST_SKIP() << DesktopSession::kNoXvfb;
        ASSERT_EQ(desktop.startDisplay(), "");
        ASSERT_EQ(desktop.startWindowManager(), "");
        // xterm reads and shows UTF-8 only in a UTF-8 locale.
        setenv("LC_ALL", "C.UTF-8", 1);
        ASSERT_EQ(db.create(), data::kOk);
        settings.scriptingDelay = data::kMinScriptingDelay;
        settings.burstSize = data::kMaxBurstSize;
        connection = std::make_unique<platform::x11::X11Connection>();
        ASSERT_TRUE(connection->isOpen());
        windows = std::make_unique<platform::x11::X11Windows>(*connection);
        engine = std::make_unique<script::ScriptEngine>(script::ScriptServices{
            db, settings, log, clock, prompter, *windows, keyboard, processes, bus, pump, status, tray});
    }

    void store(data::Long taskId, const std::vector<data::ScriptingRecord>& items)
    {
        data::Table<data::ScriptingRecord> t(db);
        data::Long sequence = 0;
        for (const data::ScriptingRecord& item : items) {
            t.rec = item;
            t.rec.id = taskId;
            t.rec.sequence = ++sequence;
            ASSERT_EQ(t.add(), data::kOk);
        }
    }

    // Ticks the interpreter as the main window's timer does until the script
    // ends; `eachTick` lets the test act on the desktop meanwhile.
    bool runScript(const std::function<void()>& eachTick = {})
    {
        return WaitUntil(
            [&] {
                engine->ProcessScriptStep();
                if (eachTick)
                    eachTick();
                return !engine->hasPendingItems();
            },
            std::chrono::seconds(60));
    }

    bool windowListed(std::string_view title)
    {
        const auto list = windows->topLevelWindows();
        return std::any_of(list.begin(), list.end(), [&](const auto& w) { return w.title == title; });
    }

    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const auto& box : prompter.shown)
            out.push_back(box.text);
        return out;
    }

    DesktopSession desktop;
    TempDir dir;
    data::Database db{dir.file(data::kMainDatabaseFile), data::MainLayout()};
    data::Settings settings;
    platform::posix::SystemClock clock;
    data::EventLog log{dir.file(data::kEventLogFile), clock, settings};
    FakePrompter prompter;
    std::unique_ptr<platform::x11::X11Connection> connection;
    std::unique_ptr<platform::x11::X11Windows> windows;
    platform::x11::X11Keyboard keyboard;
    platform::posix::PosixProcesses processes;
    FakeDesktopBus bus;
    SleepingPump pump;
    FakeStatusBar status;
    FakeTrayIcon tray;
    std::unique_ptr<script::ScriptEngine> engine;
};

}  // namespace hrln::test
