// "Wait" items: seconds, windows, "~", "Or", and how a wait pushes later items back.
#include "script_fixture.h"

namespace hrln::test {
namespace {


// Ticks until the clock reaches `time` today, opening or closing windows as asked.
class WaitTest : public ScriptTest {
protected:
    void tickUntil(Time time)
    {
        while (clock.current.time < time)
            tick();
    }
    Time moment(const std::string& what) const
    {
        for (const Journal::Entry& e : journal.entries)
            if (e.what == what)
                return e.at.time;
        ADD_FAILURE() << "never happened: " << what;
        return 0;
    }
    const Time t0 = MakeTime(9, 0);
};

TEST_F(WaitTest, WindowWaitBeginsWhenDueAndPushesLaterItemsBack)
{
    store(7, {Wait(10, "Editor*"), Keys("x")});
    queue(7);
    tickUntil(t0 + 3000);
    EXPECT_TRUE(engine.waitStarted());
    EXPECT_EQ(engine.pendingItems().size(), 3u);
    windows.open(55, "Editor - draft");
    runToEnd();
    // The wait began on the first tick past its due time (+11.5 s) and found the
    // window at +30.5 s: the keys, due with it, move back by those 19 s.
    EXPECT_EQ(moment("activate 55"), t0 + 3050);
    EXPECT_EQ(moment("type x"), t0 + 3150);
    EXPECT_EQ(engine.lastWindow(), 55u);
    EXPECT_NE(std::find(status.history.begin(), status.history.end(), "Wait:Adjusting Remaining Items"),
              status.history.end());
}

TEST_F(WaitTest, AdjustmentReachesLaterScriptsToo)
{
    settings.debug = true;
    store(1, {Wait(0, "Dialog")});
    store(2, {Keys("y")});
    queue(1);
    queue(2);
    const Time keysDue = engine.pendingItems()[2].dueTime;
    tickUntil(t0 + 500);
    windows.open(900, "Dialog");
    tick();
    EXPECT_EQ(engine.pendingItems()[1].dueTime, keysDue + 400);
    bool told = false;
    for (const platform::MessageBox& box : prompter.shown)
        told = told || (box.caption == "Adjustment Required" && box.text == "Adjusting remaining items by 4 seconds");
    EXPECT_TRUE(told);
}

TEST_F(WaitTest, TildeWaitEndsOnTheFirstTickWithoutTheWindow)
{
    windows.open(40, "Saving file...");
    store(7, {Wait(0, "~Saving*"), Keys("done")});
    queue(7);
    tickUntil(t0 + 1000);
    EXPECT_EQ(engine.pendingItems().front().item.action, "Wait");
    windows.close(40);
    windows.open(41, "Saved - Editor");  // does not start with the prefix
    tick();
    EXPECT_EQ(engine.pendingItems().front().item.action, "Send Keystrokes");
    runToEnd();
    EXPECT_EQ(moment("type done"), t0 + 1150);
}

TEST_F(WaitTest, OrWaitEndsWhenItsSecondsAreUp)
{
    store(7, {Wait(3, "Never*", "Or"), Keys("a")});
    queue(7);
    runToEnd();
    // Due with the item before it (+1 s); its three seconds are counted from
    // the first tick that found it at the head.
    EXPECT_GE(moment("type a"), t0 + 100 + 300);
    EXPECT_LE(moment("type a"), t0 + 100 + 300 + 150);
    EXPECT_FALSE(engine.waitStarted());
}

TEST_F(WaitTest, OrWaitEndsEarlierWhenTheWindowComes)
{
    store(7, {Wait(60, "Box", "Or"), Keys("a")});
    queue(7);
    tickUntil(t0 + 500);
    windows.open(3000, "Box");
    runToEnd();
    EXPECT_LT(moment("type a"), t0 + 700);
}

TEST_F(WaitTest, AWaitThatTimedOutDoesNotLeakIntoTheNextOne)
{
    // The first wait gives up after its 2 s; the second one's waiting is
    // counted from its own start, not from the first one's.
    store(7, {Wait(2, "Never", "Or"), Wait(10, "Late"), Keys("k")});
    queue(7);
    tickUntil(t0 + 2000);
    windows.open(77, "Late");
    runToEnd();
    EXPECT_EQ(moment("activate 77"), t0 + 2050);
    EXPECT_EQ(moment("type k"), t0 + 2150);
}

TEST_F(WaitTest, WaitWithoutWindowOnlySpendsItsSeconds)
{
    store(7, {Wait(4), Keys("a")});
    queue(7);
    runToEnd();
    EXPECT_EQ(moment("type a"), t0 + 100 + 400 + 50 + 50 + 50);
    EXPECT_EQ(windows.listings, 0);
}

}  // namespace
}  // namespace hrln::test
