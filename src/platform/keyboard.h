#pragma once

#include <cstdint>
#include <string_view>

namespace hrln::platform {

// A key of the key notation: the low byte is a Windows virtual-key code, and
// the bits below add modifiers pressed around it. Codes 1-3 are the left, right
// and middle mouse buttons, 5-7 the same buttons clicked twice.
using KeyCode = std::uint16_t;

inline constexpr KeyCode kShiftBit = 0x100;
inline constexpr KeyCode kCtrlBit = 0x200;
inline constexpr KeyCode kAltBit = 0x400;

// Typing into whatever window has the keyboard focus, as if the user typed.
// Each call returns false when the keys could not be delivered at all.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // One key (or mouse button) with the modifiers its code asks for.
    virtual bool sendKey(KeyCode code) = 0;
    // Plain UTF-8 text, each character as the key that produces it on the
    // current keyboard layout.
    virtual bool typeText(std::string_view text) = 0;
};

}  // namespace hrln::platform
