// The real program with each kind of the desktop's file dialog open on its
// data folder, where the dialog sees the database files: another process
// writes and closes meanwhile, and the program, killed outright, has lost
// nothing. Without locks of its own the program would share nothing more
// with the other process once the dialog had looked into the files: the
// other would take itself for the database's last user and delete its log.
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/wait.h>
#include <thread>

namespace hrln::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

struct DialogRoute {
    const char* kind;
    std::function<void()> open;  // from the frame, by keyboard, up to the dialog
    const char* title;           // the file dialog's own
};

std::string Cli(const std::string& arguments)
{
    return CommandOutput("'" HORALYN_CLI "' " + arguments + " 2>&1");
}

// Date and time `seconds` from now, as horalyn-cli takes them.
std::pair<std::string, std::string> Ahead(int seconds)
{
    const std::time_t at = std::time(nullptr) + seconds;
    tm local{};
    localtime_r(&at, &local);
    char date[16];
    char time[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return {date, time};
}

// The descriptors of `pid` that name a file deleted under it.
std::string DeletedFiles(pid_t pid)
{
    std::string out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        const std::string target = fs::read_symlink(entry.path(), ec).string();
        if (target.ends_with(" (deleted)"))
            out += target + "\n";
    }
    return out;
}

std::string IntegrityCheck(const fs::path& database)
{
    data::Database db(database.string(), data::MainLayout());
    if (db.open() != data::kOk)
        return "cannot open: " + db.lastFileError();
    // Through our own connection: the keys' collation lives there.
    sqlite3_stmt* check = nullptr;
    std::string result = "no answer";
    if (sqlite3_prepare_v2(db.handle(), "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
    sqlite3_finalize(check);
    return result;
}

void Press(const std::string& keys)
{
    Keys(keys);
    std::this_thread::sleep_for(milliseconds(300));
}

const DialogRoute kRoutes[] = {
    {"open",
     [] {
         Keys("alt+f");
         Keys("i");
         Keys("s");  // File, Import, Schedule
     },
     "Import Schedule"},
    {"save",
     [] {
         Keys("alt+f");
         Keys("e");
         Keys("s");  // File, Export, Schedule, then the fields as offered
         ActivateTitled("Export Schedule Fields");
         Keys("Return");
     },
     "Export Schedule"},
    {"program",
     [] {
         Keys("alt+b");
         Keys("w");
         Keys("p");  // Browse, Wizards, Add Program: its first page asks for the program
         ActivateTitled("Add Program Wizard");
         Press("alt+r");  // "B&rowse"
     },
     "Choose a Program to Start"},
    {"sound",
     [] {
         Keys("alt+b");
         Keys("v");  // the schedule browser, then a new task's form
         std::this_thread::sleep_for(milliseconds(1500));
         Keys("Insert");
         ActivateTitled("Adding a Schedule Task");
         // The Advanced page's tab, clicked; then Alarm, three fields on,
         // whose Play with no sound file asks for one.
         ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^Adding a Schedule Task$",
                                        "mousemove", "--window", "%1", "162", "26", "click", "1"}),
                   0);
         std::this_thread::sleep_for(milliseconds(500));
         Keys("Tab");
         Keys("Tab");
         Keys("Tab");
         Keys("space");
         Press("alt+p");
     },
     "Select WAV File for Alarm"},
    {"print to file",
     [] {
         Keys("alt+r");
         Keys("s");
         Keys("c");  // Reports, Schedule, Category Order
         ActivateTitled("Report Options");
         Keys("Return");
         ActivateTitled("Schedule by Category");
         Keys("ctrl+p");
         ActivateTitled("Print");
         Keys("alt+n");
         Keys("End");  // the PDF printer, whose file the dialog's button asks for
         Keys("alt+f");
         Keys("Tab");
         Press("space");
         // This one starts in the home folder: the user goes to the data folder.
         ActivateTitled("Print To File ...");
         Keys("ctrl+a");
         Type(std::string(std::getenv("XDG_DATA_HOME")) + "/horalyn/");
         Keys("Return");
     },
     "Print To File ..."},
};

class FileDialogLockTest : public ::testing::TestWithParam<DialogRoute> {
protected:
    void SetUp() override
    {
        if (!DesktopSession::XvfbInstalled())
            GTEST_SKIP() << DesktopSession::kNoXvfb;
        OpenDesktop(desktop, home);
        database = home / "horalyn" / data::kMainDatabaseFile;
        marker = home / "performed";
        std::ofstream(home / "m") << "#!/bin/sh\necho \"$1\" >> '" << marker.string() << "'\n";
        fs::permissions(home / "m", fs::perms::owner_all);
    }

    int performed(const std::string& task) const
    {
        std::ifstream in(marker);
        int n = 0;
        for (std::string line; std::getline(in, line);)
            n += line == task;
        return n;
    }

    DesktopSession desktop;
    fs::path home;
    fs::path database;
    fs::path marker;
};

TEST_P(FileDialogLockTest, AnotherProcessWritesWhileTheDialogIsOpenAndAKillLosesNothing)
{
    const DialogRoute& route = GetParam();
    ASSERT_EQ(Cli("add --description Before --message 'Written first' --date 2099-01-01 --time 09:00"), "1\n");
    const pid_t program = desktop.start({HORALYN_PROGRAM});
    ActivateFrame();
    if (HasFatalFailure())
        return;
    route.open();
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(WaitUntil([&] { return Shown(route.title); })) << route.kind << ": no file dialog; shown:\n"
                                                              << VisibleTitles();
    // Time for the dialog to list the data folder.
    std::this_thread::sleep_for(milliseconds(1500));

    // Another process adds a task due in a moment and closes the file; the
    // program, its dialog still open, performs it: it sees the same file.
    const auto [date, time] = Ahead(3);
    const std::string due = "add --task-type 'Run Program' --description Due --command './m due' --path '" +
                            home.string() + "' --date " + date + " --time " + time;
    ASSERT_NE(Cli(due), "");
    EXPECT_TRUE(WaitUntil([&] { return performed("due") > 0; }, std::chrono::seconds(20)))
        << route.kind << ": the task another process added was not performed";
    EXPECT_TRUE(Shown(route.title)) << "the dialog closed: " << VisibleTitles();
    EXPECT_EQ(DeletedFiles(program), "") << route.kind;
    EXPECT_TRUE(fs::exists(database.string() + "-wal"));

    // One more write from outside, then the program dies with its dialog open.
    ASSERT_NE(Cli("add --description After --message 'Written last' --date 2099-01-02 --time 09:00"), "");
    ::kill(program, SIGKILL);
    desktop.stop(program);

    const std::string listed = Cli("list");
    EXPECT_NE(listed.find("Before"), std::string::npos) << listed;
    EXPECT_NE(listed.find("After"), std::string::npos) << listed;
    EXPECT_EQ(performed("due"), 1);
    EXPECT_EQ(IntegrityCheck(database), "ok");
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FileDialogLockTest, ::testing::ValuesIn(kRoutes),
                         [](const ::testing::TestParamInfo<DialogRoute>& route) {
                             std::string name;
                             for (const char* c = route.param.kind; *c != '\0'; ++c)
                                 if (*c != ' ')
                                     name += *c;
                             return name;
                         });

}  // namespace
}  // namespace hrln::test
