#include "platform/x11/virtual_keys.h"

namespace hrln::platform::x11 {

namespace {

struct NamedKey {
    unsigned vk;
    const char* keysym;
};

// The keys of the key table that have no letter or digit of their own.
constexpr NamedKey kNamedKeys[] = {
    {0x08, "BackSpace"}, {0x09, "Tab"},       {0x0D, "Return"},      {0x13, "Pause"},    {0x14, "Caps_Lock"},
    {0x1B, "Escape"},    {0x20, "space"},     {0x21, "Prior"},       {0x22, "Next"},     {0x23, "End"},
    {0x24, "Home"},      {0x25, "Left"},      {0x26, "Up"},          {0x27, "Right"},    {0x28, "Down"},
    {0x2C, "Print"},     {0x2D, "Insert"},    {0x2E, "Delete"},      {0x6A, "KP_Multiply"}, {0x6B, "KP_Add"},
    {0x6D, "KP_Subtract"}, {0x6E, "KP_Decimal"}, {0x6F, "KP_Divide"},
};

}  // namespace

std::string KeysymNameOf(KeyCode code)
{
    const unsigned vk = code & 0xFFu;
    if (vk >= 0x41 && vk <= 0x5A)
        return std::string(1, static_cast<char>('a' + (vk - 0x41)));
    if (vk >= 0x30 && vk <= 0x39)
        return std::string(1, static_cast<char>('0' + (vk - 0x30)));
    // Appending rather than literal + string: GCC 12 at -O3 reports a false
    // -Wrestrict overlap for the prepend.
    if (vk >= 0x60 && vk <= 0x69) {
        std::string name = "KP_";
        name += static_cast<char>('0' + (vk - 0x60));
        return name;
    }
    if (vk >= 0x70 && vk <= 0x7B) {
        std::string name = "F";
        name += std::to_string(vk - 0x70 + 1);
        return name;
    }
    for (const NamedKey& k : kNamedKeys)
        if (k.vk == vk)
            return k.keysym;
    return {};
}

std::string ModifierSequenceOf(KeyCode code)
{
    std::string out;
    const auto add = [&](const char* name) {
        if (!out.empty())
            out += '+';
        out += name;
    };
    if ((code & kCtrlBit) != 0)
        add("ctrl");
    if ((code & kAltBit) != 0)
        add("alt");
    if ((code & kShiftBit) != 0)
        add("shift");
    return out;
}

std::string KeySequenceOf(KeyCode code)
{
    const std::string key = KeysymNameOf(code);
    if (key.empty())
        return {};
    const std::string modifiers = ModifierSequenceOf(code);
    return modifiers.empty() ? key : modifiers + "+" + key;
}

MouseClick MouseClickOf(KeyCode code)
{
    switch (code & 0xFFu) {
    case 1: return {1, 1};
    case 2: return {3, 1};
    case 3: return {2, 1};
    case 5: return {1, 2};
    case 6: return {3, 2};
    case 7: return {2, 2};
    default: return {};
    }
}

}  // namespace hrln::platform::x11
