#pragma once

#include "common/text.h"
#include "data/database.h"
#include "data/event_log.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/table.h"
#include "script/script_engine.h"
#include "support/fake_clock.h"
#include "support/fake_desktop_bus.h"
#include "support/fake_event_pump.h"
#include "support/fake_journal.h"
#include "support/fake_keyboard.h"
#include "support/fake_processes.h"
#include "support/fake_prompter.h"
#include "support/fake_script_view.h"
#include "support/fake_windows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace hrln::test {

using data::ScriptingRecord;

inline ScriptingRecord Item(std::string_view action)
{
    ScriptingRecord r;
    r.action = action;
    return r;
}
inline ScriptingRecord Keys(std::string_view keys)
{
    ScriptingRecord r = Item("Send Keystrokes");
    r.keystrokes = keys;
    return r;
}
inline ScriptingRecord Wait(int seconds, std::string_view window = "", std::string_view combination = "")
{
    ScriptingRecord r = Item("Wait");
    r.secondsToWait = static_cast<data::Long>(seconds);
    r.waitForWindow = window;
    r.ddeApplicationName = combination;
    return r;
}
inline ScriptingRecord Focus(std::string_view pattern)
{
    ScriptingRecord r = Item("Set Focus");
    r.focusOnWindow = pattern;
    return r;
}
inline ScriptingRecord IfWindow(std::string_view condition, std::string_view pattern)
{
    ScriptingRecord r = Item("If Window...");
    r.windowExistance = condition;
    r.windowTitleToCheckFor = pattern;
    return r;
}
inline ScriptingRecord IfElapsed(std::string_view condition, data::Long seconds)
{
    ScriptingRecord r = Item("If Time Elapsed...");
    r.ifTimeElapsed = condition;
    r.timeElapsed = seconds;
    return r;
}
inline ScriptingRecord EndIf()
{
    return Item("...End If");
}
inline ScriptingRecord Start(std::string_view command, std::string_view options = "", data::Long limit = 0)
{
    ScriptingRecord r = Item("Start Program");
    r.command = command;
    r.ddeApplicationName = options;
    r.timeElapsed = limit;
    return r;
}

// A fresh database, fake desktop and clock around a real interpreter.
class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(db.create(), data::kOk);
        settings.logEvents = true;
    }

    // Stores a task's script, numbering the items 1, 2, 3...
    void store(data::Long taskId, const std::vector<ScriptingRecord>& items)
    {
        data::Table<ScriptingRecord> t(db);
        data::Long sequence = 0;
        for (const ScriptingRecord& item : items) {
            t.rec = item;
            t.rec.id = taskId;
            t.rec.sequence = ++sequence;
            ASSERT_EQ(t.add(), data::kOk);
        }
    }

    // Queues a task's script the way the dispatch does, with nothing to start.
    void queue(data::Long taskId)
    {
        script::ProgramRequest request;
        request.command = "N/A";
        request.scriptTaskId = taskId;
        engine.RunTaskProgram(request);
    }

    // One timer tick half a second after the last.
    void tick()
    {
        clock.advance(50);
        engine.ProcessScriptStep();
    }
    void runToEnd(int maxTicks = 2000)
    {
        for (int i = 0; i < maxTicks && engine.hasPendingItems(); ++i)
            tick();
        ASSERT_FALSE(engine.hasPendingItems()) << "script still pending after " << maxTicks << " ticks";
    }

    // The event log as "label/data" lines.
    std::vector<std::string> logLines() const
    {
        std::vector<std::string> out;
        std::istringstream in(ReadFile(dir.file(data::kEventLogFile)));
        for (std::string line; std::getline(in, line);) {
            const auto field = [&](std::size_t at, std::size_t width) {
                return std::string(text::Clip(line.substr(at, width)));
            };
            out.push_back(field(20, 30) + "/" + field(50, 50));
        }
        return out;
    }

    TempDir dir;
    data::Database db{dir.file(data::kMainDatabaseFile), data::MainLayout()};
    data::Settings settings;
    FakeClock clock{MakeDate(3, 1, 2027), MakeTime(9, 0)};
    Journal journal{&clock};
    FakePrompter prompter;
    FakeWindows windows{&journal};
    FakeKeyboard keyboard{&journal};
    FakeProcesses processes{&journal};
    FakeDesktopBus bus{&journal};
    FakeEventPump pump{clock, &journal};
    FakeStatusBar status;
    FakeTrayIcon tray{&journal};
    data::EventLog log{dir.file(data::kEventLogFile), clock, settings};
    script::ScriptEngine engine{{db, settings, log, clock, prompter, windows, keyboard, processes, bus, pump, status,
                                 tray}};
};

}  // namespace hrln::test
