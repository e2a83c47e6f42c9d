#include "platform/x11/x11_keyboard.h"
#include "x_client.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace hrln::test {
namespace {

// Key and button events that reach a focused window of the test's own.
class X11KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!DesktopSession::XvfbInstalled())
            GTEST_SKIP() << DesktopSession::kNoXvfb;
        ASSERT_EQ(desktop.startDisplay(), "");
        client = std::make_unique<XClient>();
        target = client->window("Typing target");
        XSetInputFocus(client->d, target, RevertToPointerRoot, CurrentTime);
        XWarpPointer(client->d, None, target, 0, 0, 0, 0, 50, 50);
        XSync(client->d, False);
    }

    struct Press {
        KeySym sym;
        unsigned state;
    };
    std::vector<Press> keyPresses()
    {
        std::vector<Press> out;
        for (XEvent& e : client->collect(target, [](const XEvent& e) { return e.type == KeyPress; }))
            out.push_back({XLookupKeysym(&e.xkey, 0), e.xkey.state});
        return out;
    }
    bool keyDown(KeySym sym)
    {
        char keys[32];
        XQueryKeymap(client->d, keys);
        const KeyCode code = XKeysymToKeycode(client->d, sym);
        return (keys[code / 8] & (1 << (code % 8))) != 0;
    }

    DesktopSession desktop;
    std::unique_ptr<XClient> client;
    Window target = None;
    platform::x11::X11Keyboard keyboard;
};

TEST_F(X11KeyboardTest, KeyCodeIsPressedWithItsModifiersAroundIt)
{
    ASSERT_TRUE(keyboard.sendKey(0x473));  // Alt+F4
    const std::vector<Press> presses = keyPresses();
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0].sym, static_cast<KeySym>(XK_Alt_L));
    EXPECT_EQ(presses[1].sym, static_cast<KeySym>(XK_F4));
    EXPECT_NE(presses[1].state & Mod1Mask, 0u);
    EXPECT_FALSE(keyDown(XK_Alt_L));  // released after

    ASSERT_TRUE(keyboard.sendKey(0x0D));
    const std::vector<Press> enter = keyPresses();
    ASSERT_EQ(enter.size(), 1u);
    EXPECT_EQ(enter[0].sym, static_cast<KeySym>(XK_Return));
    EXPECT_EQ(enter[0].state & (ShiftMask | ControlMask | Mod1Mask), 0u);

    EXPECT_FALSE(keyboard.sendKey(0xFF));  // a code without a key
}

TEST_F(X11KeyboardTest, ModifierTheUserHoldsIsReleasedForTheTextAndPressedAgain)
{
    XTestFakeKeyEvent(client->d, XKeysymToKeycode(client->d, XK_Shift_L), True, CurrentTime);
    XSync(client->d, False);
    keyPresses();  // the user's own Shift

    ASSERT_TRUE(keyboard.typeText("qQ"));
    const std::vector<Press> presses = keyPresses();
    std::vector<Press> letters;
    for (const Press& p : presses)
        if (p.sym == XK_q)
            letters.push_back(p);
    ASSERT_EQ(letters.size(), 2u);
    EXPECT_EQ(letters[0].state & ShiftMask, 0u);  // "q", not "Q"
    EXPECT_NE(letters[1].state & ShiftMask, 0u);
    EXPECT_TRUE(keyDown(XK_Shift_L));  // still held, as before
    XTestFakeKeyEvent(client->d, XKeysymToKeycode(client->d, XK_Shift_L), False, CurrentTime);
    XSync(client->d, False);
}

TEST_F(X11KeyboardTest, MouseCodesClickAtThePointerOnceOrTwice)
{
    const auto buttons = [&] {
        std::vector<unsigned> out;
        for (XEvent& e : client->collect(target, [](const XEvent& e) { return e.type == ButtonPress; }))
            out.push_back(e.xbutton.button);
        return out;
    };
    ASSERT_TRUE(keyboard.sendKey(5));  // left, double
    EXPECT_EQ(buttons(), (std::vector<unsigned>{1, 1}));
    ASSERT_TRUE(keyboard.sendKey(2));  // right
    EXPECT_EQ(buttons(), (std::vector<unsigned>{3}));
    ASSERT_TRUE(keyboard.sendKey(0x203));  // Ctrl + middle
    const auto clicks = client->collect(target, [](const XEvent& e) { return e.type == ButtonPress; });
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].xbutton.button, 2u);
    EXPECT_NE(clicks[0].xbutton.state & ControlMask, 0u);
    EXPECT_FALSE(keyDown(XK_Control_L));
}

TEST(X11KeyboardWithoutDisplayTest, ReportsThatNothingCouldBeDelivered)
{
    platform::x11::X11Keyboard keyboard(":4095");
    EXPECT_FALSE(keyboard.typeText("abc"));
    EXPECT_FALSE(keyboard.sendKey(0x0D));
}

}  // namespace
}  // namespace hrln::test
