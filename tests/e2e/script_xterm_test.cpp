#include "e2e/script_desktop_fixture.h"

namespace hrln::test {
namespace {

using data::ScriptingRecord;

ScriptingRecord WaitFor(std::string_view window)
{
    ScriptingRecord r = ScriptItem("Wait");
    r.waitForWindow = window;
    return r;
}

// A task starts xterm and its script types a shell command into it: the file
// the command writes shows that every character arrived, and the title the
// command sets tells the script when to close the window.
TEST_F(ScriptDesktopTest, ScriptTypesIntoXtermAndClosesIt)
{
    ScriptingRecord focus = ScriptItem("Set Focus");
    focus.focusOnWindow = "*probe";
    ScriptingRecord keys = ScriptItem("Send Keystrokes");
    keys.keystrokes = "echo 'Ab9 ,.:;!?#&=+-_/<>@{}|~ äß€' >o;printf '\\33]2;written\\7'[ENTER]";
    store(1, {WaitFor("Horalyn probe"), focus, keys, WaitFor("written"), ScriptItem("Close Program")});

    script::ProgramRequest request;
    // The shell names the window once it runs: xterm is ready for keys then.
    request.command = "xterm -T starting -e sh -c \"printf '\\33]2;Horalyn probe\\7';exec sh\"";
    request.startFolder = desktop.scratch();
    request.scriptTaskId = 1;
    ASSERT_TRUE(engine->RunTaskProgram(request)) << ::testing::PrintToString(messages());

    ASSERT_TRUE(runScript());
    EXPECT_EQ(ReadFile(desktop.scratch() + "/o"), "Ab9 ,.:;!?#&=+-_/<>@{}|~ äß€\n");
    EXPECT_TRUE(WaitUntil([&] { return !windowListed("written") && !windowListed("Horalyn probe"); }));
    EXPECT_EQ(messages(), std::vector<std::string>{});
}

// "If Window..." and a "Wait" for a window to go, against a window that comes
// and goes while the script runs.
TEST_F(ScriptDesktopTest, ScriptFollowsAWindowThatAppearsAndDisappears)
{
    ScriptingRecord ifThere = ScriptItem("If Window...");
    ifThere.windowExistance = "Window Exists";
    ifThere.windowTitleToCheckFor = "Transient*";
    ScriptingRecord ifGone = ifThere;
    ifGone.windowExistance = "Window Doesn't Exist";
    const auto say = [](std::string_view text) {
        ScriptingRecord r = ScriptItem("Display Message");
        r.ddeApplicationName = text;
        return r;
    };
    store(2, {ifThere, say("there at first"), ScriptItem("...End If"), WaitFor("transient window"), ifThere,
              say("there now"), ScriptItem("...End If"), WaitFor("~*WINDOW"), ifGone, say("gone"),
              ScriptItem("...End If")});

    script::ProgramRequest request;
    request.command = "N/A";
    request.scriptTaskId = 2;
    ASSERT_TRUE(engine->RunTaskProgram(request));

    pid_t transient = -1;
    ASSERT_TRUE(runScript([&] {
        const std::vector<std::string> said = messages();
        if (transient < 0 && engine->pendingItems().front().item.action == "Wait")
            transient = desktop.start({"xterm", "-T", "Transient window", "-e", "sleep", "600"});
        if (transient > 0 && said == std::vector<std::string>{"there now"}) {
            desktop.stop(transient);
            transient = 0;
        }
    }));
    EXPECT_EQ(messages(), (std::vector<std::string>{"there now", "gone"}));
}

}  // namespace
}  // namespace hrln::test
