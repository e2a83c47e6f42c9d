#include "platform/x11/typing_plan.h"

#include <cstdio>

namespace hrln::platform::x11 {

namespace {

// Decodes one UTF-8 character at `at`, moving past it; 0 for an invalid one
// (past which `at` also moves, one byte).
char32_t NextCodePoint(std::string_view s, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
    } else {
        ++at;
        return 0;
    }
    if (at + length > s.size()) {
        ++at;
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u) {
            ++at;
            return 0;
        }
        cp = (cp << 6) | (byte(at + i) & 0x3Fu);
    }
    const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++at;
        return 0;
    }
    at += length;
    return cp;
}

}  // namespace

std::vector<TypingPiece> PlanTyping(std::string_view utf8)
{
    std::vector<TypingPiece> plan;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[at]);
        if (c < 0x80) {
            if (plan.empty() || !plan.back().isText)
                plan.push_back({true, {}, 0});
            plan.back().value += static_cast<char>(c);
            ++at;
            continue;
        }
        const char32_t cp = NextCodePoint(utf8, at);
        if (cp == 0)
            continue;
        char name[16];
        std::snprintf(name, sizeof name, "U%04X", static_cast<unsigned>(cp));
        plan.push_back({false, name, cp});
    }
    return plan;
}

}  // namespace hrln::platform::x11
