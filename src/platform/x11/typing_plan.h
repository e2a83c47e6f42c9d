#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hrln::platform::x11 {

// Text cut into what the typing library can take: runs of ASCII typed as
// text whatever the process's locale, and each other character as its key
// symbol name (Unicode "U" form), which is layout-aware the same way.
struct TypingPiece {
    bool isText = true;
    std::string value;  // ASCII text, or a key symbol name
    char32_t codePoint = 0;  // of a key symbol
};

// Invalid UTF-8 bytes are dropped.
std::vector<TypingPiece> PlanTyping(std::string_view utf8);

}  // namespace hrln::platform::x11
