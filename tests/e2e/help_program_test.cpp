// The real program on a private display: F1 in the frame and the Help menu's
// commands, by keyboard, open the guide's help window at their parts.
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"

#include <gtest/gtest.h>

namespace hrln::test {
namespace {

TEST(HelpProgramTest, F1AndTheHelpMenuOpenTheGuideAtTheirParts)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::string file;
    StartProgram(desktop, file);
    if (testing::Test::HasFatalFailure())
        return;

    // The schedule opens with the program and has the keyboard: F1 opens its
    // part of the guide, which the help window's title names.
    Keys("F1");
    ASSERT_TRUE(WaitUntil([] { return Shown("Horalyn Help - The schedule"); })) << VisibleTitles();

    ActivateFrame();
    Keys("alt+h");
    Keys("h");  // "&How to Use Help"
    ASSERT_TRUE(WaitUntil([] { return Shown("Horalyn Help - Using Help"); })) << VisibleTitles();
    // Only one help window, moved to the new place.
    EXPECT_FALSE(Shown("Horalyn Help - The schedule"));

    // In the help window, the Contents button by its letter.
    ActivateTitled("Horalyn Help - Using Help");
    Keys("alt+c");
    EXPECT_TRUE(WaitUntil([] { return Shown("Horalyn Help - Contents"); })) << VisibleTitles();
}

}  // namespace
}  // namespace hrln::test
