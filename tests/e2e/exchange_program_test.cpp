// The real program on a private display: the schedule written to a
// comma-delimited file through File, Export, with its fields chosen by
// keyboard, and read back through File, Import by the program working on a
// second, empty data folder, gives that folder the same tasks.
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

namespace hrln::test {
namespace {

// horalyn-cli on the data folder under `home`.
std::string Cli(const std::filesystem::path& home, const std::string& arguments)
{
    return CommandOutput("XDG_DATA_HOME='" + home.string() + "' '" HORALYN_CLI "' " + arguments);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Every task of a folder as `list` gives it without its ID, and every field
// `show` gives but the ID, sorted: IDs are the importing folder's own.
struct Tasks {
    std::vector<std::string> listed;
    std::vector<std::string> shown;
};

Tasks Read(const std::filesystem::path& home)
{
    Tasks tasks;
    for (const std::string& line : Lines(Cli(home, "list"))) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        tasks.listed.push_back(line.substr(tab + 1));
        std::string fields;
        for (const std::string& field : Lines(Cli(home, "show " + line.substr(0, tab))))
            if (!field.starts_with("ID: "))
                fields += field + "\n";
        tasks.shown.push_back(fields);
    }
    std::sort(tasks.listed.begin(), tasks.listed.end());
    std::sort(tasks.shown.begin(), tasks.shown.end());
    return tasks;
}

// Starts the program on the data folder under `home` and brings its frame forward.
pid_t StartOn(DesktopSession& desktop, const std::filesystem::path& home)
{
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    std::filesystem::create_directories(home / "horalyn");
    const pid_t program = desktop.start({HORALYN_PROGRAM});
    ActivateFrame();
    return program;
}

void ActivateWindow(const std::string& title)
{
    ASSERT_TRUE(WaitUntil([&] { return Shown(title); })) << "no window \"" << title << "\"";
    ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$",
                                   "windowactivate", "--sync"}),
              0);
}

// A button pressed by its key clicks a moment later, and a second press
// within that moment would be taken as the same click.
void Press(const std::string& keys)
{
    Keys(keys);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

// In Qt's own file dialog, which has the focus on the file name: the name typed over the suggestion.
void AnswerFileDialog(const std::string& title, const std::string& path)
{
    ActivateWindow(title);
    Keys("ctrl+a");
    Type(path);
    Keys("Return");
    ASSERT_TRUE(WaitUntil([&] { return !Shown(title); })) << "the file dialog stayed open";
}

std::string ShownWindows()
{
    return CommandOutput(
        "for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname $w; done");
}

TEST(ExchangeProgramTest, TheScheduleExportedFromTheMenuIsImportedIntoAnotherFolderAsTheSameTasks)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(desktop.startWindowManager(), "");
    ASSERT_EQ(desktop.startSessionBus(), "");
    const std::filesystem::path scratch = desktop.scratch();
    const std::filesystem::path first = scratch / "first";
    const std::filesystem::path second = scratch / "second";
    const std::string file = (scratch / "out" / "tasks.csv").string();
    std::filesystem::create_directories(scratch / "out");
    std::filesystem::create_directories(first / "horalyn");

    // Each kind of rule, a program, another category, and texts that need quoting.
    setenv("XDG_DATA_HOME", first.c_str(), 1);
    const std::string cli = HORALYN_CLI;
    ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Dentist", "--message", "See the dentist", "--date",
                                   "2099-03-14", "--time", "09:30"}),
              0);
    ASSERT_EQ(DesktopSession::run({cli, "add", "--task-type", "Run Program", "--description", "Backup", "--command",
                                   "/bin/true --quiet", "--path", "/tmp", "--type", "Day of Week", "--days",
                                   "mon,thu", "--date", "2099-01-05", "--time", "22:15:30"}),
              0);
    ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Quarterly", "--message", "Figures due", "--type",
                                   "Custom", "--every", "3", "--unit", "months", "--date", "2099-02-01", "--time",
                                   "08:00", "--category", "Work", "--warn"}),
              0);
    ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Call \"Bob\", then Ann", "--message",
                                   "First, the plan\nthen \"the rest\"", "--type", "Day of Month", "--days", "tue",
                                   "--ordinals", "2nd,last", "--date", "2099-04-14", "--time", "17:45"}),
              0);
    const Tasks before = Read(first);
    ASSERT_EQ(before.listed.size(), 4u) << Cli(first, "list");
    ASSERT_TRUE(std::any_of(before.shown.begin(), before.shown.end(), [](const std::string& task) {
        return task.find("Command: /bin/true --quiet\n") != std::string::npos;
    }));

    // File, Export, Schedule: every field is chosen at first.
    pid_t program = StartOn(desktop, first);
    if (HasFatalFailure())
        return;
    Keys("alt+f");
    Keys("e");
    Keys("s");
    ActivateWindow("Export Schedule Fields");
    if (HasFatalFailure())
        return;
    // The chosen list from its top: User and ID out (the other folder gives
    // its own), then Description up from the third place to the first.
    Keys("alt+h");
    Keys("ctrl+Home");
    Press("alt+r");
    Press("alt+r");
    Keys("alt+h");
    Keys("Down");
    Keys("Down");
    Press("alt+u");
    Press("alt+u");
    Keys("Return");  // OK, the dialog's default button
    ASSERT_TRUE(WaitUntil([] { return !Shown("Export Schedule Fields"); })) << "the field chooser stayed open";
    AnswerFileDialog("Export Schedule", file);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(file); })) << "nothing written; windows shown:\n"
                                                                          << ShownWindows();
    const std::string written = ReadFile(file);
    const std::string header = written.substr(0, written.find("\r\n"));
    EXPECT_TRUE(header.starts_with("\"Description\",\"TaskType\",\"Category\",\"Command\"")) << header;
    EXPECT_EQ(header.find("\"ID\""), std::string::npos) << header;
    EXPECT_EQ(header.find("\"User\""), std::string::npos) << header;
    EXPECT_NE(written.find("\"Call \"\"Bob\"\", then Ann\""), std::string::npos) << written;
    desktop.stop(program);

    // The program again, on an empty folder: File, Import, Schedule, the file,
    // then the fields as the import chooser offers them (all, named by the
    // file's first line).
    program = StartOn(desktop, second);
    if (HasFatalFailure())
        return;
    ASSERT_EQ(Cli(second, "list"), "");
    Keys("alt+f");
    Keys("i");
    Keys("s");
    AnswerFileDialog("Import Schedule", file);
    if (HasFatalFailure())
        return;
    ActivateWindow("Import Schedule Fields");
    if (HasFatalFailure())
        return;
    Keys("Return");
    ASSERT_TRUE(WaitUntil([&] { return Read(second).listed.size() == before.listed.size(); }))
        << Cli(second, "list") << "windows shown:\n"
        << ShownWindows();
    // The summary, which follows the last record.
    ASSERT_TRUE(WaitUntil([] { return Shown("Import Schedule"); })) << "no summary; windows shown:\n"
                                                                    << ShownWindows();
    const Tasks after = Read(second);
    EXPECT_EQ(after.listed, before.listed);
    EXPECT_EQ(after.shown, before.shown);
    EXPECT_FALSE(std::filesystem::exists((scratch / "out" / "tasks.rejected.csv"))) << "lines were skipped";
    desktop.stop(program);
}

}  // namespace
}  // namespace hrln::test
