#pragma once

#include "platform/keyboard.h"

#include <string>

namespace hrln::platform::x11 {

// The X key symbol name of a virtual-key code's key (the low byte), such as
// "a", "F4", "KP_Add" or "Return"; empty for codes without a key here.
std::string KeysymNameOf(KeyCode code);

// The key with its modifiers in libxdo's key-sequence form ("ctrl+alt+F4");
// empty when the key has no symbol.
std::string KeySequenceOf(KeyCode code);

// The modifiers alone ("shift+ctrl"); empty when the code asks for none.
std::string ModifierSequenceOf(KeyCode code);

// X pointer button (1 left, 2 middle, 3 right) and click count of a mouse
// code; button 0 for key codes.
struct MouseClick {
    int button = 0;
    int clicks = 0;
};
MouseClick MouseClickOf(KeyCode code);

}  // namespace hrln::platform::x11
