// The real program on a private display: the schedule browser opened from the
// frame's menu shows a task that horalyn-cli adds meanwhile, without the user
// doing anything, and deletes it by keyboard; a task edited through the
// entry form keeps the change in the store.
#include "data/settings.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace hrln::test {
namespace {

// The program on its own display, with the schedule browser open on every
// task by date, opened by hand rather than at start-up.
void OpenTheBrowser(DesktopSession& desktop)
{
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(desktop.startWindowManager(), "");
    const std::filesystem::path home = desktop.scratch();
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    std::filesystem::create_directories(home / "horalyn");
    WriteFile((home / "horalyn" / data::kSettingsFile).string(), "[Settings]\nStartUpSchedule=1\nFullSchedule=1\n");

    desktop.start({HORALYN_PROGRAM});
    ActivateFrame();
    Keys("alt+b");
    Keys("v");
    // The browser is a window inside the frame, not one the desktop lists:
    // that it opened shows in what the keys do to its list below.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
}

TEST(ScheduleProgramTest, ATaskAddedElsewhereAppearsAndIsDeletedByKeyboard)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    OpenTheBrowser(desktop);
    if (HasFatalFailure())
        return;

    const std::string cli = HORALYN_CLI;
    ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Added elsewhere", "--message", "Hello", "--date",
                                   "2099-01-01", "--time", "09:00"}),
              0);
    ASSERT_NE(CommandOutput(cli + " list").find("Added elsewhere"), std::string::npos);
    // Two ticks of 1.25 s: the list has read it again by then and highlights its first row.
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));

    Keys("Delete");
    ASSERT_TRUE(WaitUntil([] { return Shown("Confirm Delete"); }))
        << "the list did not show the new task: nothing to delete";
    // Cancel has the focus, as the default; the other of the two buttons is OK.
    Keys("Tab");
    Keys("space");
    EXPECT_TRUE(WaitUntil([&] { return CommandOutput(cli + " list").find("Added elsewhere") == std::string::npos; }))
        << CommandOutput(cli + " list");
}

TEST(ScheduleProgramTest, ATaskEditedThroughTheFormKeepsTheChange)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    OpenTheBrowser(desktop);
    if (HasFatalFailure())
        return;
    const std::string cli = HORALYN_CLI;
    std::string id = CommandOutput(cli + " add --description Dentist --message 'See the dentist' --date "
                                         "2099-01-01 --time 09:00");
    id.erase(id.find_last_not_of(" \n") + 1);
    ASSERT_FALSE(id.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));  // two ticks: the list shows it

    Keys("Return");  // the highlighted task, in the entry form
    ASSERT_TRUE(WaitUntil([] { return Shown("Changing a Schedule Task"); })) << "no entry form";
    ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^Changing a Schedule Task$",
                                   "windowactivate", "--sync"}),
              0);
    Keys("alt+d");
    Keys("ctrl+a");
    Type("Dentist at noon");
    Keys("Return");  // OK, the default button
    ASSERT_TRUE(WaitUntil([] { return !Shown("Changing a Schedule Task"); }))
        << "the form stayed open; windows shown: "
        << CommandOutput("for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname $w; done");
    const std::string shown = CommandOutput(cli + " show " + id);
    EXPECT_NE(shown.find("Dentist at noon"), std::string::npos) << shown;
    EXPECT_NE(shown.find("See the dentist"), std::string::npos) << shown;
}

}  // namespace
}  // namespace hrln::test
