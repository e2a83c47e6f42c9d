#include "script/window_match.h"
#include "support/fake_journal.h"
#include "support/fake_windows.h"

#include <gtest/gtest.h>

namespace hrln::script {
namespace {

TEST(TitlePattern, FollowsTheThreeForms)
{
    struct Case {
        const char* title;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"Connect To", "connect to", true},
        {"Connect To", "Connect To   ", true},
        {"Connect To  ", "Connect To", true},
        {"Connect", "Connect To", false},
        {"Untitled - Notepad", "Untitled - *", true},
        {"My Untitled", "Untitled - *", false},
        {"Untitled", "Untitled - *", false},
        {"Document - Notepad", "*notepad", true},
        {"NOTEPAD++", "*Notepad  ", true},
        {"Unknown pad", "Un*pad", true},  // the text after the "*" is ignored
        {"Unix shell", "Un*pad", true},
        {"anything", "*", false},
        {"anything", "*   ", false},
        {"anything", "", false},
        {"   ", "   ", false},
        {"*", "*", true},  // the exact test comes first
        {"\xC3\xA4rger - Editor", "\xC3\x84RGER*", true},
        {"Caf\xC3\xA9 menu", "*CAF\xC3\x89", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TitleMatchesPattern(c.title, c.pattern), c.matches) << c.title << " / " << c.pattern;
}

TEST(WindowList, SkipsUntitledWindowsAndCutsLongTitles)
{
    test::FakeWindows windows;
    windows.windows = {{10, ""}, {11, std::string(300, 'x')}, {12, "Editor"}};
    const std::vector<OpenWindow> list = ListOpenWindows(windows);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].handle, 11u);
    EXPECT_EQ(list[0].title.size(), kTitleWidth);
    EXPECT_EQ(list[1].title, "Editor");
}

TEST(FindWindow, FrontMostMatchWinsAndTildeIsIgnored)
{
    test::FakeWindows windows;
    windows.open(100, "Notes - Notepad");
    windows.open(200, "Untitled - Notepad");  // now in front
    EXPECT_EQ(FindWindowByPattern(windows, "*Notepad"), 200u);
    EXPECT_EQ(FindWindowByPattern(windows, "~Notes*"), 100u);
    EXPECT_EQ(FindWindowByPattern(windows, "notepad.exe"), 0u);
    EXPECT_EQ(FindWindowByPattern(windows, "~"), 0u);
    // The list is read afresh for every match.
    windows.close(200);
    EXPECT_EQ(FindWindowByPattern(windows, "*Notepad"), 100u);
}

TEST(FindWindow, ActivationRaisesThenRestores)
{
    test::Journal journal;
    test::FakeWindows windows{&journal};
    ActivateWindow(windows, 77);
    EXPECT_EQ(journal.texts(), (std::vector<std::string>{"activate 77", "restore 77"}));
}

}  // namespace
}  // namespace hrln::script
