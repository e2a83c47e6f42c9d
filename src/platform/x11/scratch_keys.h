#pragma once

#include <utility>
#include <vector>

// Xlib's own declarations, keeping its macros out of the code including this.
typedef struct _XDisplay Display;

namespace hrln::platform::x11 {

// Spare key codes lent to symbols that no key of the layout produces, so that
// typing them is an ordinary key press. The codes stay lent after the typing:
// changing the keymap again at once would race with the program still reading
// the last keys (it looks symbols up when it handles the event). They are
// given back by `release`, and reused for the next symbols when all are lent.
class ScratchKeys {
public:
    // Makes every symbol in `symbols` reachable by some key code, as far as
    // spare codes allow.
    void lend(Display* display, const std::vector<unsigned long>& symbols);
    void release(Display* display);

private:
    std::vector<std::pair<unsigned char, unsigned long>> lent_;  // key code, key symbol
    std::size_t next_ = 0;  // the lent code to reuse first when none is spare
};

// The key symbol of a Unicode character: Latin-1 ones are their own code,
// the others the Unicode range of key symbols.
unsigned long KeysymOfCodePoint(char32_t cp);

}  // namespace hrln::platform::x11
