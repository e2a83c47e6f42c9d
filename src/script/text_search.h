#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

// Finding text in the lines of a viewed file.
namespace hrln::script {

// A place in the lines: line number and byte offset, both from 0.
struct TextPosition {
    int line = 0;
    int column = -1;
    friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

struct TextSearch {
    std::string text;
    bool wholeWord = false;
    bool matchCase = false;
    bool down = true;
};

// The lines of a text file ended by CR LF, LF or CR, as valid UTF-8 (bytes
// that are not are replaced); a line longer than `width` characters goes on
// in the next line rather than being cut.
std::vector<std::string> ReadViewedLines(std::istream& in, std::size_t width = 255);

// The next match after `from` (down) or before it (up), without wrapping;
// none when the rest of the lines hold none. Start down from {0, -1}, up from
// EndOfLines(). Letter case is compared for ASCII letters.
std::optional<TextPosition> FindText(const std::vector<std::string>& lines, const TextSearch& search,
                                     TextPosition from);
TextPosition EndOfLines(const std::vector<std::string>& lines);

}  // namespace hrln::script
