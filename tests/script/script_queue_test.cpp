#include "script_fixture.h"

namespace hrln::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(ScriptTest, NotApplicableCommandStartsNothingButRunsTheScript)
{
    store(7, {Keys("hi")});
    script::ProgramRequest request;
    request.command = "n/a";
    request.scriptTaskId = 7;
    EXPECT_TRUE(engine.RunTaskProgram(request));
    runToEnd();
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "type hi"}));
    EXPECT_EQ(logLines(), (Lines{"Run Program/n/a", "Script/Send Keystrokes", "Script/**End**"}));
}

TEST_F(ScriptTest, BlankCommandOnlyRunsTheScript)
{
    store(7, {Keys("k")});
    script::ProgramRequest request;
    request.command = "    ";
    request.scriptTaskId = 7;
    EXPECT_TRUE(engine.RunTaskProgram(request));
    runToEnd();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "type k"}));
}

TEST_F(ScriptTest, DueTimesCarryEachItemsOwnDelay)
{
    settings.scriptingDelay = 60;
    store(7, {Keys("a"), Wait(5), IfWindow("Window Exists", "x"), Wait(3, "", "Or"), EndIf(), Keys("b")});
    const Time t0 = clock.current.time;
    queue(7);
    Lines due;
    for (const script::PendingItem& p : engine.pendingItems())
        due.push_back(std::string(p.item.action.view()) + "@" + std::to_string(p.dueTime - t0));
    // Two delays to begin with, then each item's own share; tests and "Or"
    // waits add nothing.
    EXPECT_EQ(due, (Lines{"Send Keystrokes@180", "Wait@680", "If Window...@680", "Wait@680", "...End If@680",
                          "Send Keystrokes@740", "**End**@740"}));
}

TEST_F(ScriptTest, FirstItemRunsOnTheFirstTickPastOneAndAHalfSeconds)
{
    store(7, {Focus("Editor")});
    windows.open(500, "Editor");
    const Time t0 = clock.current.time;
    queue(7);
    EXPECT_EQ(engine.pendingItems().front().dueTime, t0 + 150);
    for (int i = 0; i < 3; ++i)
        tick();  // at +150 the item is due but not past due
    EXPECT_TRUE(journal.entries.empty());
    tick();
    ASSERT_FALSE(journal.entries.empty());
    EXPECT_EQ(journal.entries[0].at.time, t0 + 200);
}

TEST_F(ScriptTest, EmptyScriptStillEndsWithItsMarker)
{
    queue(99);
    ASSERT_EQ(engine.pendingItems().size(), 1u);
    runToEnd();
    EXPECT_EQ(logLines(), (Lines{"Run Program/N/A", "Script/**End**"}));
    EXPECT_EQ(status.zones[2], "Script completed");
}

TEST_F(ScriptTest, SecondScriptQueuedInTheSameTickFollowsTheFirst)
{
    store(1, {Keys("one"), Wait(20)});
    store(2, {Keys("two")});
    queue(1);
    queue(2);
    const script::PendingItems& items = engine.pendingItems();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[2].item.action, "**End**");
    // The second script starts one delay after the first one's last entry.
    EXPECT_EQ(items[3].dueTime, items[2].dueTime + 50 + 50);
    runToEnd();
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "type one", "pause 50", "type two"}));
}

TEST_F(ScriptTest, FailedStartShowsTheMessageAndQueuesNothing)
{
    store(7, {Keys("never")});
    script::ProgramRequest request;
    request.command = "missing-tool --go ";
    request.scriptTaskId = 7;
    EXPECT_FALSE(engine.RunTaskProgram(request));
    EXPECT_FALSE(engine.hasPendingItems());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Could not start missing-tool --go.");
    EXPECT_EQ(prompter.shown[0].caption, "Error Code 2");
    EXPECT_EQ(logLines(), (Lines{"Run Program/missing-tool --go"}));
}

TEST_F(ScriptTest, DispatchStartIsSimpleAndNormalWhateverTheShowMode)
{
    processes.openable = {"report.ods"};
    script::ProgramRequest request;
    request.command = "report.ods";
    request.startFolder = "/srv/reports";
    request.showMode = 7;
    EXPECT_TRUE(engine.RunTaskProgram(request));
    EXPECT_EQ(journal.texts(), (Lines{"open report.ods||/srv/reports|1"}));
    EXPECT_EQ(engine.lastStartResult(), 42);
}

TEST_F(ScriptTest, ScriptQueuedJustBeforeMidnightRunsAfterIt)
{
    store(7, {Wait(2), Keys("late")});
    clock.set(MakeDate(3, 1, 2027), kTimeMax - 100);
    queue(7);
    const script::PendingItem& wait = engine.pendingItems().front();
    EXPECT_EQ(wait.dueDate, MakeDate(3, 2, 2027));
    EXPECT_EQ(wait.dueTime, MakeTime(0, 0, 1, 99));
    runToEnd();
    ASSERT_EQ(journal.entries.size(), 2u);
    EXPECT_EQ(journal.entries[1].at.date, MakeDate(3, 2, 2027));
}

}  // namespace
}  // namespace hrln::test
