// The real program on a private display: a task's script written by keyboard
// in the script editor opened from the entry form starts xterm, waits for its
// shell and types a command that writes a file when the task is run from the
// schedule browser; the script exported, cleared and imported back through
// the editor's own buttons and the file dialog comes back item for item.
#include "data/database.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/table.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace hrln::test {
namespace {

// The fields each action of the test's script reads; an item's other fields
// hold whatever the editor's other pages held, which a script file does not carry.
const std::map<std::string, std::set<std::string>> kUsedFields{
    {"Start Program", {"Command", "Path", "DDEApplicationName", "TimeElapsed"}},
    {"Wait", {"SecondsToWait", "WaitForWindow", "DDEApplicationName"}},
    {"Send Keystrokes", {"Keystrokes"}},
};

// Each item of task `id`'s script in order: its action and the fields it uses.
std::vector<std::string> ReadScript(const std::string& file, data::Long id)
{
    std::vector<std::string> out;
    data::Database db(file, data::MainLayout());
    if (db.open(data::AccessMode::ReadOnly) != data::kOk)
        return out;
    data::Table<data::ScriptingRecord> t(db);
    t.set(data::ScriptingRecord::KeyID);
    while (t.next() == data::kOk) {
        if (t.rec.id != id)
            continue;
        const auto used = kUsedFields.find(t.rec.action.str());
        std::string item = "Action=" + t.rec.action.str() + ";";
        data::ScriptingRecord::fields(t.rec, [&](const char* name, const auto& value) {
            if (used == kUsedFields.end() || used->second.count(name) == 0)
                return;
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, data::Long>)
                item += std::string(name) + "=" + std::to_string(value) + ";";
            else
                item += std::string(name) + "=" + value.str() + ";";
        });
        out.push_back(item);
    }
    return out;
}

// Whether an item as ReadScript gives it holds `value` in `field`.
bool Has(const std::string& item, const std::string& field, const std::string& value)
{
    return item.find(field + "=" + value + ";") != std::string::npos;
}

void Repeat(const std::string& key, int times)
{
    if (times == 0)
        return;
    std::vector<std::string> command{"xdotool", "key", "--delay", "80"};
    for (int i = 0; i < times; ++i)
        command.push_back(key);
    ASSERT_EQ(DesktopSession::run(command), 0);
}

std::string ShownWindows()
{
    return CommandOutput(
        "for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname $w; done");
}

void Activate(const std::string& title)
{
    ASSERT_TRUE(WaitUntil([&] { return Shown(title); })) << "no window \"" << title << "\"; windows shown:\n"
                                                         << ShownWindows();
    ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$",
                                   "windowactivate", "--sync"}),
              0);
}

void Gone(const std::string& title)
{
    ASSERT_TRUE(WaitUntil([&] { return !Shown(title); })) << "\"" << title << "\" stayed open; windows shown:\n"
                                                          << ShownWindows();
}

// Qt's own file dialog has the focus on the file name: the path typed over the suggestion.
void AnswerFileDialog(const std::string& title, const std::string& path)
{
    Activate(title);
    Keys("ctrl+a");
    Type(path);
    Keys("Return");
    Gone(title);
}

// From the highlighted task, by `key`, its entry form, and from there its script.
void OpenScriptFromForm(const std::string& key)
{
    Keys(key);
    Activate("Changing a Schedule Task");
    if (testing::Test::HasFatalFailure())
        return;
    Keys("alt+s");
    Activate("Scripting");
}

// One item added through the editor's "&Add": its action `down` places below
// the first in the list, then what `fill` types into its fields.
void AddItem(int down, const std::function<void()>& fill)
{
    Keys("alt+a");
    Activate("Adding Scripting");
    if (testing::Test::HasFatalFailure())
        return;
    Repeat("Down", down);  // the focus starts on the action
    fill();
    Keys("alt+o");
    Gone("Adding Scripting");
}

TEST(ScriptEditorProgramTest, AScriptTypedInTheEditorRunsFromRunNowAndSurvivesExportAndImport)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::filesystem::path home;
    OpenDesktop(desktop, home);
    if (HasFatalFailure())
        return;
    WriteFile((home / "horalyn" / data::kSettingsFile).string(), "[Settings]\nFullSchedule=1\n");
    const std::string file = (home / "horalyn" / data::kMainDatabaseFile).string();
    const std::string written = (home / "out.txt").string();
    const std::string exported = (home / "script.hsx").string();

    // A task that runs only its script, far from due; a repeating one, which
    // stays with its script when run, where a one-time task would go (so its
    // next occurrence must lie within the days kept, up to 2099).
    std::string id = CommandOutput(std::string(HORALYN_CLI) +
                                   " add --task-type 'Run Program' --description Scripted --command N/A"
                                   " --type Yearly --date 2098-01-01 --time 09:00");
    id.erase(id.find_last_not_of(" \n") + 1);
    ASSERT_FALSE(id.empty());
    const data::Long task = std::stoi(id);

    desktop.start({HORALYN_PROGRAM});
    ActivateFrame();
    Keys("alt+b");
    Keys("v");
    // The browser is a window inside the frame, which the desktop does not
    // list: that it opened shows in the form its Enter opens.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    OpenScriptFromForm("Return");
    if (HasFatalFailure())
        return;

    // The shell renames the window once it runs: xterm takes keys then.
    const std::string command = "xterm -T starting -e sh -c \"printf '\\33]2;Probe shell\\7';exec sh\"";
    const std::string keystrokes = "echo typed by the script >out.txt;exit[ENTER]";
    AddItem(7, [&] {  // Start Program
        Keys("alt+n");
        Type(command);
        Keys("alt+i");
        Type(home.string());
    });
    if (HasFatalFailure())
        return;
    AddItem(1, [] {  // Wait
        Keys("alt+w");
        Type("Probe shell");
    });
    if (HasFatalFailure())
        return;
    AddItem(0, [&] {  // Send Keystrokes
        Keys("alt+k");
        Type(keystrokes);
    });
    if (HasFatalFailure())
        return;
    const std::vector<std::string> script = ReadScript(file, task);
    ASSERT_EQ(script.size(), 3u) << testing::PrintToString(script);
    EXPECT_TRUE(Has(script[0], "Action", "Start Program")) << script[0];
    EXPECT_TRUE(Has(script[0], "Command", command)) << script[0];
    EXPECT_TRUE(Has(script[0], "Path", home.string())) << script[0];
    EXPECT_TRUE(Has(script[1], "Action", "Wait")) << script[1];
    EXPECT_TRUE(Has(script[1], "WaitForWindow", "Probe shell")) << script[1];
    EXPECT_TRUE(Has(script[2], "Action", "Send Keystrokes")) << script[2];
    EXPECT_TRUE(Has(script[2], "Keystrokes", keystrokes)) << script[2];

    // "Cl&ose", then the form's "&OK"; back in the browser its list has the focus.
    Keys("alt+o");
    Gone("Scripting");
    Keys("alt+o");
    Gone("Changing a Schedule Task");
    if (HasFatalFailure())
        return;
    ActivateFrame();
    // "Run Now" follows "&Add", "&Edit", "&Delete", "Cop&y" and "Reschedule".
    Repeat("Tab", 6);
    Keys("space");
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(written) == "typed by the script\n"; }))
        << "\"" << ReadFile(written) << "\"; windows shown:\n"
        << ShownWindows();
    // The shell's exit closes xterm.
    Gone("Probe shell");
    if (HasFatalFailure())
        return;
    // A yearly task outlives its run, and its script with it.
    EXPECT_EQ(ReadScript(file, task), script);

    // The script again, from the form: exported, cleared and imported back.
    ActivateFrame();
    OpenScriptFromForm("alt+e");
    if (HasFatalFailure())
        return;
    Keys("alt+x");
    AnswerFileDialog("Export to File", exported);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(exported).find("xterm -T starting") != std::string::npos; }))
        << "nothing exported; windows shown:\n"
        << ShownWindows();

    // "Clear All" has no key of its own. From the list, which has the focus
    // back, it follows "&Add", "&Edit", "&Delete", "Cop&y", the four moves,
    // "&Import" and "E&xport"; "&Print" after it is greyed where nothing prints.
    Activate("Scripting");
    if (HasFatalFailure())
        return;
    Repeat("Tab", 11);
    Keys("space");
    Activate("Clear All");
    if (HasFatalFailure())
        return;
    Keys("alt+y");
    ASSERT_TRUE(WaitUntil([&] { return ReadScript(file, task).empty(); }))
        << testing::PrintToString(ReadScript(file, task));

    Activate("Scripting");
    if (HasFatalFailure())
        return;
    Keys("alt+i");
    AnswerFileDialog("Choose File to Import", exported);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitUntil([&] { return ReadScript(file, task).size() == script.size(); }))
        << testing::PrintToString(ReadScript(file, task)) << "windows shown:\n"
        << ShownWindows();
    EXPECT_EQ(ReadScript(file, task), script);
}

}  // namespace
}  // namespace hrln::test
