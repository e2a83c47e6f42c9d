#include "platform/x11/scratch_keys.h"

#include <X11/Xlib.h>

#include <algorithm>

namespace hrln::platform::x11 {

namespace {

// The keyboard mapping, freed with the object.
struct Mapping {
    explicit Mapping(Display* display)
    {
        XDisplayKeycodes(display, &min, &max);
        syms = XGetKeyboardMapping(display, static_cast<KeyCode>(min), max - min + 1, &perCode);
    }
    ~Mapping()
    {
        if (syms != nullptr)
            XFree(syms);
    }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;

    KeySym at(int code, int level) const { return syms[(code - min) * perCode + level]; }
    bool produces(KeySym sym) const
    {
        for (int code = min; code <= max; ++code)
            for (int level = 0; level < perCode; ++level)
                if (at(code, level) == sym)
                    return true;
        return false;
    }
    bool empty(int code) const
    {
        for (int level = 0; level < perCode; ++level)
            if (at(code, level) != NoSymbol)
                return false;
        return true;
    }

    int min = 0;
    int max = 0;
    int perCode = 0;
    KeySym* syms = nullptr;
};

void Bind(Display* display, KeyCode code, KeySym sym)
{
    KeySym pair[2] = {sym, sym};
    XChangeKeyboardMapping(display, code, 2, pair, 1);
}

}  // namespace

unsigned long KeysymOfCodePoint(char32_t cp)
{
    if ((cp >= 0x20 && cp <= 0x7E) || (cp >= 0xA0 && cp <= 0xFF))
        return cp;
    return 0x01000000 | cp;
}

void ScratchKeys::lend(Display* display, const std::vector<unsigned long>& symbols)
{
    const Mapping map(display);
    if (map.syms == nullptr)
        return;
    // A new layout may have taken codes we lent: forget those.
    std::erase_if(lent_, [&](const auto& l) { return map.at(l.first, 0) != l.second; });
    bool changed = false;
    for (const KeySym sym : symbols) {
        if (map.produces(sym) || std::any_of(lent_.begin(), lent_.end(), [&](const auto& l) { return l.second == sym; }))
            continue;
        int spare = 0;
        for (int code = map.max; code >= map.min && spare == 0; --code) {
            const bool ours = std::any_of(lent_.begin(), lent_.end(), [&](const auto& l) { return l.first == code; });
            if (map.empty(code) && !ours)
                spare = code;
        }
        if (spare != 0) {
            lent_.emplace_back(static_cast<KeyCode>(spare), sym);
        } else if (!lent_.empty()) {
            auto& reused = lent_[next_++ % lent_.size()];
            reused.second = sym;
            spare = reused.first;
        } else {
            continue;  // no spare code at all: the typing library binds one itself
        }
        Bind(display, static_cast<KeyCode>(spare), sym);
        changed = true;
    }
    if (changed)
        XSync(display, False);
}

void ScratchKeys::release(Display* display)
{
    const Mapping map(display);
    for (const auto& [code, sym] : lent_)
        if (map.syms != nullptr && map.at(code, 0) == sym)
            Bind(display, code, NoSymbol);
    lent_.clear();
    XSync(display, False);
}

}  // namespace hrln::platform::x11
