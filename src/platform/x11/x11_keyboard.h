#pragma once

#include "platform/keyboard.h"
#include "platform/x11/scratch_keys.h"

#include <string>

namespace hrln::platform::x11 {

// Typing through the XTEST extension into the focused window, by libxdo,
// which follows the current keyboard layout and lends a spare key code to
// symbols the layout has no key for. Each call opens its own short-lived
// connection, so a layout changed meanwhile is always seen.
class X11Keyboard : public Keyboard {
public:
    // Empty: the display named by $DISPLAY.
    explicit X11Keyboard(std::string displayName = {}) : displayName_(std::move(displayName)) {}
    // Gives back the key codes lent to symbols the layout lacks.
    ~X11Keyboard() override;
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    bool sendKey(KeyCode code) override;
    bool typeText(std::string_view text) override;

private:
    std::string displayName_;
    ScratchKeys scratch_;
};

}  // namespace hrln::platform::x11
