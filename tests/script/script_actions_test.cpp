// Items that act on the desktop, driven through the interpreter.
#include "script_fixture.h"

namespace hrln::test {
namespace {

using Lines = std::vector<std::string>;

data::ScriptingRecord Dde(std::string_view service, std::string_view path, std::string_view command)
{
    data::ScriptingRecord r = Item("DDE (Dynamic Data Exchange)");
    r.ddeApplicationName = service;
    r.ddeApplicationTopic = path;
    r.ddeCommand = command;
    r.ddeType = "Execute";
    return r;
}

TEST_F(ScriptTest, FocusTypeAndCloseInOrder)
{
    windows.open(300, "Untitled - Editor");
    store(7, {Focus("untitled - *"), Keys("Hi[ENTER]"), Item("Close Program")});
    queue(7);
    runToEnd();
    EXPECT_EQ(journal.texts(), (Lines{"activate 300", "restore 300", "pause 50", "type Hi", "pause 50", "key D",
                                      "restore 300", "close 300"}));
}

TEST_F(ScriptTest, FailedFocusLeavesNoWindowToClose)
{
    settings.debug = true;
    windows.open(300, "Editor");
    store(7, {Focus("Editor"), Focus("Viewer"), Item("Close Program")});
    queue(7);
    runToEnd();
    EXPECT_EQ(journal.texts(), (Lines{"activate 300", "restore 300"}));
    EXPECT_EQ(engine.lastWindow(), 0u);
    Lines boxes;
    for (const platform::MessageBox& box : prompter.shown)
        boxes.push_back(box.caption + ": " + box.text);
    EXPECT_EQ(boxes, (Lines{"Set Focus: Editor", "Set Focus: Viewer", "Failed Set Focus: Viewer"}));
}

TEST_F(ScriptTest, ScriptNeverClosesOurOwnWindow)
{
    windows.open(12345, "Horalyn");
    windows.ownMainWindow = 12345;
    store(7, {Focus("Horalyn"), Item("Close Program")});
    queue(7);
    runToEnd();
    EXPECT_EQ(journal.texts(), (Lines{"activate 12345", "restore 12345"}));
}

TEST_F(ScriptTest, StartProgramAsksForItsWindowModeOnTheProcessCreated)
{
    processes.processId = 777;
    store(7, {Start("viewer", "027"), Start("editor", "028"), Start("shell", "021"), Keys("x")});
    queue(7);
    runToEnd();
    EXPECT_EQ(journal.texts(), (Lines{"create viewer||normal|7", "mode 777|7", "create editor||normal|8", "mode 777|8",
                                      "create shell||normal|1", "pause 50", "type x"}));
}

TEST_F(ScriptTest, HighPriorityRefusedIsLoggedAndTheProgramRunsAnyway)
{
    processes.refuseHigh = true;
    store(7, {Start("backup --all", "031"), Start("index", "021")});
    queue(7);
    runToEnd();
    EXPECT_EQ(logLines(), (Lines{"Run Program/N/A", "Run Program/backup --all", "High Priority Refused/backup --all",
                                 "Script/Start Program", "Run Program/index", "Script/Start Program", "Script/**End**"}));
}

TEST_F(ScriptTest, StartProgramWaitsForItsEndWithinTheLimit)
{
    store(7, {Start("backup --all", "132", 10), Keys("after")});
    queue(7);
    for (int i = 0; i < 20; ++i)
        tick();
    EXPECT_EQ(journal.texts().at(0), "create backup --all||high|2");
    EXPECT_EQ(engine.pendingItems().front().item.action, "Wait for Program End");
    EXPECT_EQ(engine.ScriptStatusText(), "Wait for Program End:backup --all");
    processes.running = false;
    tick();
    runToEnd();
    EXPECT_EQ(journal.texts().back(), "type after");
    EXPECT_EQ(logLines(), (Lines{"Run Program/N/A", "Run Program/backup --all", "Script/Wait for Program End",
                                 "Script/Send Keystrokes", "Script/**End**"}));
}

TEST_F(ScriptTest, StartProgramGivesUpAtItsDeadline)
{
    store(7, {Start("server", "1", 5), Keys("on")});
    queue(7);
    const Time t0 = clock.current.time;
    runToEnd();
    EXPECT_TRUE(processes.running);
    // Started at +2 s, waited 5 s.
    EXPECT_GT(journal.entries.back().at.time, t0 + 700);
    EXPECT_LT(journal.entries.back().at.time, t0 + 900);
}

TEST_F(ScriptTest, StartProgramWithoutLimitWaitsAsLongAsItRuns)
{
    store(7, {Start("job", "100", 0)});
    queue(7);
    for (int i = 0; i < 500; ++i)
        tick();
    EXPECT_TRUE(engine.hasPendingItems());
    processes.running = false;
    runToEnd();
}

TEST_F(ScriptTest, ProgramThatCannotStartIsNotWaitedFor)
{
    processes.running = true;  // an earlier program still runs
    processes.createError = 13;
    store(7, {Start("nothing-here", "1", 0), Keys("next")});
    queue(7);
    runToEnd(100);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Could not start nothing-here.");
    EXPECT_EQ(prompter.shown[0].caption, "Error Code 13");
    EXPECT_EQ(journal.texts().back(), "type next");
}

TEST_F(ScriptTest, StartProgramWithNothingToStartDoesNotWait)
{
    processes.running = true;  // an earlier program still runs
    store(7, {Start("n/a", "1"), Start("   ", "1"), Keys("next")});
    queue(7);
    runToEnd(100);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "type next"}));
}

TEST_F(ScriptTest, BusItemCallsQuietlyAndGoesOn)
{
    bus.reply = {platform::BusOutcome::Silent, {}};
    store(7, {Dde("org.example.Player ", "/org/example", "org.example.Player.Play()"), Dde("org.example.Player", "/", ""),
              Keys("x")});
    queue(7);
    EXPECT_EQ(engine.ScriptStatusText(), "DDE (Dynamic Data Exchange):Execute org.example.Player /org/example");
    runToEnd();
    EXPECT_EQ(journal.texts(), (Lines{"bus org.example.Player|/org/example|org.example.Player.Play()", "pause 50",
                                      "type x"}));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptTest, BusCommandThatCannotBeWrittenIsReportedAndTheScriptGoesOn)
{
    bus.reply = {platform::BusOutcome::BadCommand, "argument 1: \"abc\" is not a valid int64"};
    store(7, {Dde("org.example.Player", "/org/example", "org.example.Player.Seek(abc)"), Keys("x")});
    queue(7);
    runToEnd();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "Could not send org.example.Player.Seek(abc): argument 1: \"abc\" is not a valid int64.");
    EXPECT_EQ(prompter.shown[0].caption, "Script Error");
    EXPECT_EQ(journal.texts().back(), "type x");
}

TEST_F(ScriptTest, DisplayMessageHoldsTheStep)
{
    data::ScriptingRecord message = Item("Display Message");
    message.ddeApplicationName = "Backup finished";
    message.ddeApplicationTopic = "Night job";
    store(7, {message});
    queue(7);
    runToEnd();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Backup finished");
    EXPECT_EQ(prompter.shown[0].caption, "Night job");
    EXPECT_EQ(prompter.shown[0].buttons, platform::MessageButtons::Ok);
}

TEST_F(ScriptTest, StopWhileTypingEndsEverythingAtOnce)
{
    store(7, {Keys("abcdefghijklmnop[ENTER]"), Keys("more")});
    store(8, {Keys("other")});
    queue(7);
    queue(8);
    pump.during = [&] {
        engine.ProcessScriptStep();  // a tick served during the pause is dropped
        if (pump.pauses == 2)
            engine.StopRunningScript();
    };
    runToEnd();
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "type abcdefg", "pause 50"}));
    EXPECT_EQ(status.zones[2], "Script completed");
    EXPECT_EQ(logLines(), (Lines{"Run Program/N/A", "Run Program/N/A"}));
}

TEST_F(ScriptTest, KeyboardFailureIsReportedOnce)
{
    keyboard.failing = true;
    store(7, {Keys("abcdefghij[TAB]"), Keys("z")});
    queue(7);
    runToEnd();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].caption, "Script Error");
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "type abcdefg", "pause 50", "type z"}));
}

TEST_F(ScriptTest, StatusLineDescribesTheHeadItem)
{
    const std::pair<data::ScriptingRecord, const char*> cases[] = {
        {Start("notepad.exe"), "Start Program:notepad.exe"},
        {Keys("abc[TAB]"), "Send Keystrokes:abc[TAB]"},
        {Focus("*Notepad"), "Set Focus:*Notepad"},
        {Wait(0, "Save As"), "Wait:Save As"},
        {Wait(12, "Save As"), "Wait:12 seconds Save As"},
        {IfWindow("Window Exists", "Print"), "If Window...:Print"},
        {Item("Exit Script"), "Exit Script"},
    };
    data::Long id = 1;
    for (const auto& [item, line] : cases) {
        store(id, {item});
        queue(id);
        EXPECT_EQ(engine.ScriptStatusText(), line);
        engine.StopRunningScript();
        ++id;
    }
}

}  // namespace
}  // namespace hrln::test
