#pragma once

#include "platform/keyboard.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hrln::script {

// The groups of key names, in the order the key list shows them.
enum class KeyGroup {
    Plain,       // keys without modifier ("ENTERKEY", "F4", "MOUSELEFT"...)
    Digit,       // "KEY0".."KEY9", "KEYPAD0".."KEYPAD9"
    Shift,
    Ctrl,
    Alt,
    CtrlShift,
    AltShift,
    CtrlAlt,
};

struct KeyName {
    std::string name;  // upper case, as listed
    platform::KeyCode code = 0;
    KeyGroup group = KeyGroup::Plain;
};

// Every name of the notation, group by group. "PAUSE", which sends nothing, is
// not among them.
const std::vector<KeyName>& KeyNames();

// The modifier prefixes and their bits ("SHIFT" 0x100 ... "CTRLALT" 0x600).
struct KeyPrefix {
    const char* prefix;
    platform::KeyCode bits;
    KeyGroup group;
};
const std::vector<KeyPrefix>& KeyPrefixes();

// What a bracketed name stands for.
struct KeyLookup {
    enum class Kind { Key, Nothing, Unknown };
    Kind kind = Kind::Unknown;
    platform::KeyCode code = 0;
};

// Looks a name up in any letter case, trailing blanks ignored. "PAUSE" is
// Nothing; a name in no table is Unknown.
KeyLookup LookUpKeyName(std::string_view name);

}  // namespace hrln::script
