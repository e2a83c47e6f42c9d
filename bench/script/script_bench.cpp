// The cost of one interpreter tick against the length of the pending list.
#include "data/database.h"
#include "data/event_log.h"
#include "script/script_engine.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace hrln;

struct StillClock : platform::Clock {
    platform::DateTime now() const override { return {MakeDate(3, 1, 2027), MakeTime(9, 0)}; }
};
struct QuietPrompter : platform::Prompter {
    platform::MessageButton ask(const platform::MessageBox& b) override { return b.defaultButton; }
    void endProgram(const std::string&) override {}
};
struct Desktop : platform::Windows {
    Desktop()
    {
        for (int i = 0; i < 30; ++i)
            list.push_back({static_cast<platform::WindowHandle>(1000 + i), "Window number " + std::to_string(i)});
    }
    std::vector<platform::TopLevelWindow> topLevelWindows() override { return list; }
    void activate(platform::WindowHandle) override {}
    void restore(platform::WindowHandle) override {}
    void postCloseRequest(platform::WindowHandle) override {}
    void applyStartMode(std::int64_t, int) override {}
    bool isOwnMainWindow(platform::WindowHandle) const override { return false; }
    std::vector<platform::TopLevelWindow> list;
};
struct NoKeys : platform::Keyboard {
    bool sendKey(platform::KeyCode) override { return true; }
    bool typeText(std::string_view) override { return true; }
};
struct NoPrograms : platform::Processes {
    int shellOpen(const std::string&, const std::string&, const std::string&, int) override { return 42; }
    platform::AdvancedStartResult createProcess(const std::string&, const std::string&, platform::ProcessPriority,
                                                int) override
    {
        return {true, 0};
    }
    bool processStillRunning() override { return false; }
};
struct NoBus : platform::DesktopBus {
    platform::BusReply call(const std::string&, const std::string&, const std::string&) override
    {
        return {platform::BusOutcome::Answered, {}};
    }
};
struct NoPause : platform::EventPump {
    void pause(int) override {}
};
struct NoStatus : platform::StatusBar {
    void setZoneText(int, std::string_view) override {}
};
struct NoTray : platform::TrayIcon {
    bool isShown() const override { return false; }
    std::string iconName() const override { return "tray_ico"; }
    void showIcon(const std::string&, const std::string&) override {}
};

struct Fixture {
    Fixture()
        : folder(std::filesystem::temp_directory_path() / ("hrln-bench-" + std::to_string(getpid()))),
          db((std::filesystem::create_directories(folder), (folder / "HRLN.TPS").string()), data::MainLayout()),
          log((folder / "HRLNEvnt.LOG").string(), clock, settings),
          engine({db, settings, log, clock, prompter, windows, keys, programs, bus, pump, status, tray})
    {
        db.create();
    }
    ~Fixture()
    {
        db.close();
        std::filesystem::remove_all(folder);
    }

    // Fills the list with `count` copies of an item that came due yesterday.
    void fill(const data::ScriptingRecord& item, std::int64_t count)
    {
        script::PendingItem entry;
        entry.item = item;
        entry.dueDate = MakeDate(2, 28, 2027);
        entry.dueTime = MakeTime(12, 0);
        for (std::int64_t i = 0; i < count; ++i)
            engine.pendingItems().push_back(entry);
    }

    std::filesystem::path folder;
    StillClock clock;
    data::Settings settings;
    data::Database db;
    data::EventLog log;
    QuietPrompter prompter;
    Desktop windows;
    NoKeys keys;
    NoPrograms programs;
    NoBus bus;
    NoPause pump;
    NoStatus status;
    NoTray tray;
    script::ScriptEngine engine;
};

// Each tick runs and removes the head item; a copy goes to the back so the
// list keeps its length.
void BM_TickRunsHeadItem(benchmark::State& state)
{
    Fixture f;
    data::ScriptingRecord focus;
    focus.action = "Set Focus";
    focus.focusOnWindow = "*number 17";
    f.fill(focus, state.range(0));
    for (auto _ : state) {
        f.engine.ProcessScriptStep();
        f.engine.pendingItems().push_back(f.engine.pendingItems().back());
    }
    state.counters["pending"] = static_cast<double>(f.engine.pendingItems().size());
}
BENCHMARK(BM_TickRunsHeadItem)->Arg(10)->Arg(10000);

// Each tick looks for a window that is not there; the head stays.
void BM_TickHoldsWaitingItem(benchmark::State& state)
{
    Fixture f;
    data::ScriptingRecord wait;
    wait.action = "Wait";
    wait.waitForWindow = "Never shown*";
    f.fill(wait, state.range(0));
    for (auto _ : state)
        f.engine.ProcessScriptStep();
    state.counters["pending"] = static_cast<double>(f.engine.pendingItems().size());
}
BENCHMARK(BM_TickHoldsWaitingItem)->Arg(10)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
