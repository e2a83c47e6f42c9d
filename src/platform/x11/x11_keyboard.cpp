#include "platform/x11/x11_keyboard.h"

#include "platform/x11/typing_plan.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/virtual_keys.h"

#include <algorithm>
#include <cstdlib>

// xdo.h declares C functions without a C++ guard.
extern "C" {
#include <xdo.h>
}

namespace hrln::platform::x11 {

namespace {

constexpr useconds_t kKeyDelay = 12000;  // between key events, so slow programs keep up

// A libxdo session that releases the modifier keys the user holds down and
// presses them again when it ends, so they do not change what is typed.
class TypingSession {
public:
    explicit TypingSession(const std::string& displayName)
        : xdo_(xdo_new(displayName.empty() ? nullptr : displayName.c_str()))
    {
        if (xdo_ == nullptr)
            return;
        xdo_->quiet = 1;
        if (xdo_get_active_modifiers(xdo_, &held_, &heldCount_) == XDO_SUCCESS && heldCount_ > 0)
            xdo_clear_active_modifiers(xdo_, CURRENTWINDOW, held_, heldCount_);
    }
    ~TypingSession()
    {
        if (xdo_ == nullptr)
            return;
        if (heldCount_ > 0)
            xdo_set_active_modifiers(xdo_, CURRENTWINDOW, held_, heldCount_);
        std::free(held_);
        xdo_free(xdo_);
    }
    TypingSession(const TypingSession&) = delete;
    TypingSession& operator=(const TypingSession&) = delete;

    xdo_t* get() const { return xdo_; }

private:
    xdo_t* xdo_;
    charcodemap_t* held_ = nullptr;
    int heldCount_ = 0;
};

}  // namespace

bool X11Keyboard::sendKey(KeyCode code)
{
    const MouseClick click = MouseClickOf(code);
    const std::string keys = KeySequenceOf(code);
    if (click.button == 0 && keys.empty())
        return false;
    TypingSession session(displayName_);
    xdo_t* xdo = session.get();
    if (xdo == nullptr)
        return false;
    if (click.button == 0)
        return xdo_send_keysequence_window(xdo, CURRENTWINDOW, keys.c_str(), kKeyDelay) == XDO_SUCCESS;

    const std::string modifiers = ModifierSequenceOf(code);
    if (!modifiers.empty())
        xdo_send_keysequence_window_down(xdo, CURRENTWINDOW, modifiers.c_str(), kKeyDelay);
    const bool clicked =
        xdo_click_window_multiple(xdo, CURRENTWINDOW, click.button, click.clicks, kKeyDelay) == XDO_SUCCESS;
    if (!modifiers.empty())
        xdo_send_keysequence_window_up(xdo, CURRENTWINDOW, modifiers.c_str(), kKeyDelay);
    return clicked;
}

X11Keyboard::~X11Keyboard()
{
    const X11Connection x(displayName_.empty() ? nullptr : displayName_.c_str());
    if (x.isOpen())
        scratch_.release(x.display());
}

bool X11Keyboard::typeText(std::string_view text)
{
    const std::vector<TypingPiece> plan = PlanTyping(text);
    // Plain ASCII may lack a key too: "^" and "`" are dead keys on some layouts.
    std::vector<unsigned long> symbols;
    for (const TypingPiece& piece : plan) {
        if (!piece.isText)
            symbols.push_back(KeysymOfCodePoint(piece.codePoint));
        else
            for (const char c : piece.value)
                if (c >= 0x20 && c <= 0x7E)
                    symbols.push_back(KeysymOfCodePoint(static_cast<char32_t>(c)));
    }
    std::sort(symbols.begin(), symbols.end());
    symbols.erase(std::unique(symbols.begin(), symbols.end()), symbols.end());
    if (!symbols.empty()) {
        // Before the typing library reads the keymap, so it finds them there.
        const X11Connection x(displayName_.empty() ? nullptr : displayName_.c_str());
        if (!x.isOpen())
            return false;
        scratch_.lend(x.display(), symbols);
    }
    TypingSession session(displayName_);
    xdo_t* xdo = session.get();
    if (xdo == nullptr)
        return false;
    bool typed = true;
    for (const TypingPiece& piece : plan) {
        const int result = piece.isText
                               ? xdo_enter_text_window(xdo, CURRENTWINDOW, piece.value.c_str(), kKeyDelay)
                               : xdo_send_keysequence_window(xdo, CURRENTWINDOW, piece.value.c_str(), kKeyDelay);
        typed = typed && result == XDO_SUCCESS;
    }
    return typed;
}

}  // namespace hrln::platform::x11
