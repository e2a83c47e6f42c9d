// The real program on a private display: a message added through "Add
// &Message" from the frame's menu, all by keyboard, comes due at the time
// typed into the wizard and shows its window.
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace hrln::test {
namespace {

using Clock = std::chrono::steady_clock;

// The wall-clock time `ahead` seconds from now as the digits a time entry takes ("HHMMSS").
std::string DigitsAhead(int ahead)
{
    const std::time_t at = std::time(nullptr) + ahead;
    std::tm local{};
    localtime_r(&at, &local);
    char digits[8];
    std::strftime(digits, sizeof digits, "%H%M%S", &local);
    return digits;
}

TEST(WizardProgramTest, AMessageAddedByTheWizardFromTheMenuAppearsOnTime)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    // Near midnight the time typed would fall on tomorrow's date.
    if (const std::time_t now = std::time(nullptr); std::localtime(&now)->tm_hour == 23 &&
                                                    std::localtime(&now)->tm_min >= 58)
        GTEST_SKIP() << "too close to midnight";
    DesktopSession desktop;
    std::filesystem::path home;
    OpenDesktop(desktop, home);
    if (HasFatalFailure())
        return;

    const pid_t program = desktop.start({HORALYN_PROGRAM});
    ActivateFrame();

    // Browse, Wizards, Add Message.
    Keys("alt+b");
    Keys("w");
    Keys("m");
    ASSERT_TRUE(WaitUntil([] { return Shown("Add Message Wizard"); })) << "no wizard";
    ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^Add Message Wizard$",
                                   "windowactivate", "--sync"}),
              0);
    Keys("alt+d");
    Type("Wizard dentist");
    Keys("Tab");  // into the message, which starts as the description, the cursor at its end
    Keys("ctrl+a");
    Type("Call the dentist from the wizard");
    Keys("alt+n");
    Keys("alt+i");  // "T&ime:"
    const int ahead = 8;
    Type(DigitsAhead(ahead));
    const auto typed = Clock::now();
    Keys("Return");  // Next, the default button
    Keys("Return");  // Finish, the default on the last page
    ASSERT_TRUE(WaitUntil([] { return !Shown("Add Message Wizard"); }))
        << "the wizard stayed open; windows shown: "
        << CommandOutput("for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname $w; done");
    const std::string cli = HORALYN_CLI;
    EXPECT_NE(CommandOutput(cli + " list").find("Wizard dentist"), std::string::npos) << CommandOutput(cli + " list");

    ASSERT_TRUE(WaitUntil([] { return Shown("Message"); }, std::chrono::seconds(40))) << "no message window";
    const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - typed);
    // Typed as whole seconds, so it may come up to a second early; never much before.
    EXPECT_GE(after.count(), (ahead - 2) * 1000) << "shown before its time";
    EXPECT_LE(after.count(), (ahead + 15) * 1000) << "shown late";

    // It stays in the schedule for its next day, all seven being set.
    const std::string list = CommandOutput(cli + " list");
    EXPECT_NE(list.find("Wizard dentist"), std::string::npos) << list;
    desktop.stop(program);
}

}  // namespace
}  // namespace hrln::test
