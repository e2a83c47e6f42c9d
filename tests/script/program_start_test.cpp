#include "script/program_start.h"
#include "support/fake_journal.h"
#include "support/fake_processes.h"
#include "support/fake_prompter.h"
#include "support/fake_windows.h"

#include <gtest/gtest.h>

namespace hrln::script {
namespace {

using Lines = std::vector<std::string>;

class SimpleStartTest : public ::testing::Test {
protected:
    int start(std::string_view command) { return StartSimple(processes, command, "/home/me ", 1); }

    test::Journal journal;
    test::FakeProcesses processes{&journal};
};

TEST_F(SimpleStartTest, AcceptedAtOnceNeedsNoSplit)
{
    processes.openable = {"notes.txt"};
    EXPECT_EQ(start("notes.txt   "), 42);
    EXPECT_EQ(journal.texts(), (Lines{"open notes.txt||/home/me|1"}));
}

TEST_F(SimpleStartTest, QuotedProgramIsSplitAtTheClosingQuote)
{
    processes.openable = {"/opt/my app/run"};
    EXPECT_EQ(start("\"/opt/my app/run\"   -x  y"), 42);
    EXPECT_EQ(journal.texts(), (Lines{"open \"/opt/my app/run\"   -x  y||/home/me|1",
                                      "open /opt/my app/run|-x  y|/home/me|1"}));
}

TEST_F(SimpleStartTest, PathWithBlanksIsFoundFromTheRight)
{
    processes.openable = {"/opt/My Tools/edit"};
    EXPECT_EQ(start("/opt/My Tools/edit  a b"), 42);
    EXPECT_EQ(journal.texts(), (Lines{
                                   "open /opt/My Tools/edit  a b||/home/me|1",
                                   "open /opt/My|Tools/edit  a b|/home/me|1",  // first blank
                                   "open /opt/My Tools/edit  a|b|/home/me|1",  // then from the right
                                   "open /opt/My Tools/edit|a b|/home/me|1",
                               }));
}

TEST_F(SimpleStartTest, FailureKeepsTheLastCodeAfterEverySplit)
{
    processes.failure = platform::kStartPathNotFound;
    EXPECT_EQ(start("a b c"), platform::kStartPathNotFound);
    // The first blank, then from the right the blank at position 4; the walk
    // from the right ends at position 3.
    EXPECT_EQ(journal.texts(), (Lines{"open a b c||/home/me|1", "open a|b c|/home/me|1", "open a b|c|/home/me|1"}));
}

TEST_F(SimpleStartTest, BlankOrQuoteOnlyCommandsFailQuietly)
{
    for (const char* command : {"", "     ", "\"", "\"\"", "\"  \"", "\"\"\"\"\"\""}) {
        journal.entries.clear();
        EXPECT_EQ(start(command), platform::kStartFileNotFound) << command;
        EXPECT_LE(journal.entries.size(), 3u) << command;
    }
}

TEST(StartOptions, ReadsTheThreeDigitsWithDefaults)
{
    const StartOptions blank = ReadStartOptions("");
    EXPECT_FALSE(blank.waitForEnd);
    EXPECT_EQ(blank.priority, 2);
    EXPECT_EQ(blank.windowMode, 1);
    const StartOptions full = ReadStartOptions("138");
    EXPECT_TRUE(full.waitForEnd);
    EXPECT_EQ(full.priority, 3);
    EXPECT_EQ(full.windowMode, 8);
    const StartOptions odd = ReadStartOptions("x13");
    EXPECT_FALSE(odd.waitForEnd);
    EXPECT_EQ(odd.priority, 1);
    EXPECT_EQ(odd.windowMode, 1);
    EXPECT_EQ(ReadStartOptions("0x7").windowMode, 7);
}

TEST(StartOptions, WrittenCodesReadBackAndKeepTheRestOfTheField)
{
    EXPECT_EQ(WriteStartOptions({true, 3, 7}, ""), "137");
    EXPECT_EQ(WriteStartOptions({false, 1, 8}, "xyz tail"), "018 tail");
    // Values no code stands for are written as the defaults they read as.
    EXPECT_EQ(WriteStartOptions({false, 9, 3}, "12"), "021");
    const StartOptions back = ReadStartOptions(WriteStartOptions({true, 1, 2}, ""));
    EXPECT_TRUE(back.waitForEnd);
    EXPECT_EQ(back.priority, 1);
    EXPECT_EQ(back.windowMode, 2);
}

TEST(AdvancedStart, PriorityClassesAndForcedNormal)
{
    test::Journal journal;
    test::FakeProcesses processes{&journal};
    StartAdvanced(processes, "run -a  ", "/tmp", 1, false, 7);
    StartAdvanced(processes, "run", "", 3, false, 1);
    StartAdvanced(processes, "run", "", 3, true, 1);
    StartAdvanced(processes, "run", "", 9, false, 1);
    EXPECT_EQ(journal.texts(), (Lines{"create run -a|/tmp|idle|7", "create run||high|1", "create run||normal|1",
                                      "create run||normal|1"}));
}

TEST(StartFailure, MessageNamesTheCommandAndCode)
{
    test::FakePrompter prompter;
    ReportStartFailure(prompter, "edit.exe  ", 2);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Could not start edit.exe.");
    EXPECT_EQ(prompter.shown[0].caption, "Error Code 2");
    EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::None);
}

TEST(CloseProgram, ClosesOnlyAMatchedForeignWindow)
{
    test::Journal journal;
    test::FakeWindows windows{&journal};
    windows.ownMainWindow = 900;
    CloseProgram(windows, 0);
    CloseProgram(windows, 900);
    CloseProgram(windows, 321);
    EXPECT_EQ(journal.texts(), (Lines{"restore 321", "close 321"}));
}

}  // namespace
}  // namespace hrln::script
