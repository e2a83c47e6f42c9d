// Tests, their blocks, "Exit Script" and unknown actions, through whole scripts.
#include "script_fixture.h"

namespace hrln::test {
namespace {

using Lines = std::vector<std::string>;

Lines Typed(const Journal& journal)
{
    Lines out;
    for (const std::string& line : journal.texts())
        if (line.rfind("type ", 0) == 0)
            out.push_back(line.substr(5));
    return out;
}

TEST_F(ScriptTest, FailingOuterTestRemovesTheNestedBlockWhole)
{
    windows.open(10, "Inner");
    store(7, {IfWindow("Window Exists", "Outer"), Keys("a"), IfWindow("Window Exists", "Inner"), Keys("b"), EndIf(),
              Keys("c"), EndIf(), Keys("d")});
    queue(7);
    runToEnd();
    EXPECT_EQ(Typed(journal), (Lines{"d"}));
    EXPECT_EQ(logLines(), (Lines{"Run Program/N/A", "Script/If Window...", "Script/...End If",
                                 "Script/Send Keystrokes", "Script/**End**"}));
}

TEST_F(ScriptTest, PassingTestsRunTheirBlocksAndNestedFailuresStayInside)
{
    windows.open(10, "Outer window");
    store(7, {IfWindow("Window Exists", "Outer*"), Keys("a"), IfWindow("Window Doesn't Exist", "*window"), Keys("b"),
              EndIf(), Keys("c"), EndIf(), Keys("d")});
    queue(7);
    runToEnd();
    EXPECT_EQ(Typed(journal), (Lines{"a", "c", "d"}));
    EXPECT_EQ(engine.lastWindow(), 10u);  // a match becomes the last window
}

TEST_F(ScriptTest, FailedTestWithoutEndIfEndsOnlyItsOwnScript)
{
    store(1, {Keys("a"), IfWindow("Window Exists", "Nowhere"), Keys("b")});
    store(2, {IfWindow("Window Exists", "Nowhere"), Keys("x"), EndIf(), Keys("c")});
    queue(1);
    queue(2);
    runToEnd();
    EXPECT_EQ(Typed(journal), (Lines{"a", "c"}));
}

TEST_F(ScriptTest, ExitScriptStopsAtItsOwnMarker)
{
    store(1, {Keys("a"), Item("Exit Script"), Keys("b"), Wait(30, "Never")});
    store(2, {Keys("c")});
    queue(1);
    queue(2);
    runToEnd();
    EXPECT_EQ(Typed(journal), (Lines{"a", "c"}));
    const Lines lines = logLines();
    EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 5),
              (Lines{"Script/Send Keystrokes", "Script/**End**", "Script/Send Keystrokes"}));
}

TEST_F(ScriptTest, TimeElapsedDefaultFailsOnTheFirstDay)
{
    store(7, {IfElapsed("Greater Than", 86400), Keys("a"), EndIf(), IfElapsed("Time Elapsed is Less", 86400),
              Keys("b"), EndIf()});
    queue(7);
    runToEnd();
    EXPECT_EQ(Typed(journal), (Lines{"b"}));
}

TEST_F(ScriptTest, TimeElapsedDeadlinePastMidnightIsOnTheNextDay)
{
    clock.set(MakeDate(3, 1, 2027), MakeTime(23, 59, 0));
    store(7, {Wait(90), IfElapsed("Greater Than", 60), Keys("after"), EndIf(), IfElapsed("Time Elapsed is Less", 60),
              Keys("before"), EndIf()});
    queue(7);
    const script::PendingItem& test = engine.pendingItems()[1];
    EXPECT_EQ(test.deadlineDate, MakeDate(3, 2, 2027));
    EXPECT_EQ(test.deadlineTime, MakeTime(0, 0, 1));
    runToEnd();
    EXPECT_EQ(Typed(journal), (Lines{"after"}));
}

TEST_F(ScriptTest, HugeThresholdCarriesWholeDays)
{
    store(7, {IfElapsed("Greater Than", 3 * 86400 + 60)});
    queue(7);
    const script::PendingItem& test = engine.pendingItems()[0];
    EXPECT_EQ(test.deadlineDate, MakeDate(3, 4, 2027));
    EXPECT_EQ(test.deadlineTime, MakeTime(9, 1, 1));
    EXPECT_EQ(engine.ScriptStatusText(), "If Time Elapsed...:259260 seconds");
}

TEST_F(ScriptTest, UnknownActionIsReportedLoggedAndRemoved)
{
    store(7, {Item("Jump Around"), Keys("a")});
    queue(7);
    runToEnd();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Invalid script option:  Jump Around");
    EXPECT_EQ(prompter.shown[0].caption, "Script Error");
    EXPECT_EQ(Typed(journal), (Lines{"a"}));
    EXPECT_EQ(logLines()[1], "Script/Jump Around");
}

TEST_F(ScriptTest, DebugModeExplainsTests)
{
    settings.debug = true;
    store(7, {IfWindow("Window Doesn't Exist", "Nothing"), EndIf(), IfWindow("Window Exists", "Nothing"), EndIf()});
    queue(7);
    runToEnd();
    Lines boxes;
    for (const platform::MessageBox& box : prompter.shown)
        boxes.push_back(box.caption + ": " + box.text);
    EXPECT_EQ(boxes, (Lines{"Test passed: Next item will be processed.", "Test failed: Removing task items."}));
}

TEST_F(ScriptTest, TenThousandItemsSkipAndNestWithoutTrouble)
{
    std::vector<data::ScriptingRecord> items;
    items.push_back(IfWindow("Window Exists", "Nothing"));
    for (int i = 0; i < 5000; ++i)
        items.push_back(IfWindow("Window Exists", "Nothing"));
    for (int i = 0; i < 4998; ++i)
        items.push_back(EndIf());
    items.push_back(Keys("z"));
    store(7, items);
    queue(7);
    EXPECT_EQ(engine.pendingItems().size(), 10001u);
    runToEnd();
    EXPECT_TRUE(Typed(journal).empty());  // too few "...End If": the block runs to the script's end
    EXPECT_EQ(logLines().back(), "Script/**End**");
}

}  // namespace
}  // namespace hrln::test
