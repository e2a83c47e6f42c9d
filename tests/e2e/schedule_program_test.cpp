// The real program on a private display: the schedule browser opened from the
// frame's menu shows a task that horalyn-cli adds meanwhile, without the user
// doing anything, and deletes it by keyboard; a task edited through the
// entry form keeps the change in the store; a day picked in the calendar by
// keyboard alone, a month on and a day further, is the day the list shows.
#include "common/date_time.h"
#include "data/settings.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

namespace hrln::test {
namespace {

// The program on its own display, with the schedule browser open on every
// task by date, opened by hand rather than at start-up.
void OpenTheBrowser(DesktopSession& desktop, bool fullSchedule = true)
{
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(desktop.startWindowManager(), "");
    const std::filesystem::path home = desktop.scratch();
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    std::filesystem::create_directories(home / "horalyn");
    WriteFile((home / "horalyn" / data::kSettingsFile).string(),
              std::string("[Settings]\nStartUpSchedule=1\nFullSchedule=") + (fullSchedule ? "1" : "0") + "\n");

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

TEST(ScheduleProgramTest, TheCalendarIsWorkedByKeyboardAcrossMonths)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    // Page Down from today, then Right: the same day next month (or its last), and one day on.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int month = local.tm_mon == 11 ? 1 : local.tm_mon + 2;
    const int year = local.tm_year + 1900 + (local.tm_mon == 11 ? 1 : 0);
    const Date target = MakeDate(month, std::min(local.tm_mday, DaysInMonth(month, year)), year) + 1;

    DesktopSession desktop;
    OpenTheBrowser(desktop, false);
    if (HasFatalFailure())
        return;
    const std::string cli = HORALYN_CLI;
    ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Picked by keys", "--message", "Hello", "--date",
                                   FormatD17(target), "--time", "09:00"}),
              0);

    Keys("alt+p");  // "&Pick Day"
    ASSERT_TRUE(WaitUntil([] { return Shown("Select Date"); })) << "no calendar; windows shown: " << VisibleTitles();
    Keys("Page_Down");
    Keys("Right");
    Keys("Return");
    ASSERT_TRUE(WaitUntil([] { return !Shown("Select Date"); })) << "the calendar stayed open";
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    // The day's list holds the task: "&Delete" asks about it.
    Keys("alt+d");
    ASSERT_TRUE(WaitUntil([] { return Shown("Confirm Delete"); }))
        << "the picked day's list showed no task; windows shown: " << VisibleTitles();
    Keys("Escape");
}

}  // namespace
}  // namespace hrln::test
