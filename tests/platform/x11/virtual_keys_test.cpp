#include "platform/x11/virtual_keys.h"
#include "script/key_table.h"

#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include <X11/Xlib.h>

namespace hrln::test {
namespace {

using platform::x11::KeySequenceOf;
using platform::x11::KeysymNameOf;
using platform::x11::MouseClickOf;

// Every key of the notation reaches X as a symbol X knows, or as a button.
TEST(VirtualKeysTest, EveryNameOfTheKeyTableHasAnXKey)
{
    for (const script::KeyName& key : script::KeyNames()) {
        if (MouseClickOf(key.code).button != 0)
            continue;
        const std::string name = KeysymNameOf(key.code);
        ASSERT_FALSE(name.empty()) << key.name;
        EXPECT_NE(XStringToKeysym(name.c_str()), static_cast<KeySym>(NoSymbol)) << key.name << " -> " << name;
    }
}

TEST(VirtualKeysTest, ModifierBitsBecomeTheLibrarysPrefixes)
{
    EXPECT_EQ(KeySequenceOf(0x473), "alt+F4");
    EXPECT_EQ(KeySequenceOf(0x31B), "ctrl+shift+Escape");
    EXPECT_EQ(KeySequenceOf(0x167), "shift+KP_7");
    EXPECT_EQ(KeySequenceOf(0x641), "ctrl+alt+a");
    EXPECT_EQ(KeySequenceOf(0x0D), "Return");
    EXPECT_EQ(KeySequenceOf(0x7B), "F12");
    EXPECT_EQ(KeySequenceOf(0x6E), "KP_Decimal");
    EXPECT_EQ(KeySequenceOf(0xFF), "");  // no such key
}

TEST(VirtualKeysTest, MouseCodesAreButtonsAtThePointer)
{
    EXPECT_EQ(MouseClickOf(1).button, 1);
    EXPECT_EQ(MouseClickOf(2).button, 3);  // right is X's button 3
    EXPECT_EQ(MouseClickOf(3).button, 2);
    EXPECT_EQ(MouseClickOf(1).clicks, 1);
    EXPECT_EQ(MouseClickOf(0x506).button, 3);
    EXPECT_EQ(MouseClickOf(0x506).clicks, 2);
    EXPECT_EQ(MouseClickOf(7).clicks, 2);
    EXPECT_EQ(MouseClickOf(4).button, 0);
    EXPECT_EQ(MouseClickOf(0x41).button, 0);
}

}  // namespace
}  // namespace hrln::test
