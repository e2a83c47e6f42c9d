#include "cli/values.h"

#include <charconv>
#include <cstdio>

namespace hrln::cli {
std::optional<int> ParseWhole(std::string_view s)
{
    int value = 0;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (s.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<Date> ParseDate(std::string_view s)
{
    return ParseD17(s);
}

std::optional<Time> ParseTime(std::string_view s)
{
    return ParseT7(s);
}

std::string FormatTimeHundredths(Time time)
{
    if (time == 0)
        return {};
    const TimeOfDay t = SplitTime(time);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%02d", t.hours, t.minutes, t.seconds, t.hundredths);
    return buf;
}

namespace {

// Bytes of `text` from `at` on that form one character a terminal would act
// on rather than show; 0 for a character shown as it is. Stored texts are
// valid UTF-8.
std::size_t ControlLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned c = byte(at);
    if (c < 0x20 || c == 0x7f || c == '\\')
        return 1;
    if (c == 0xc2 && byte(at + 1) >= 0x80 && byte(at + 1) <= 0x9f)
        return 2;  // the C1 controls, U+0080 to U+009F (0x9B starts a terminal command)
    // The direction overrides and isolates, which reorder what is shown.
    if (c == 0xe2 && ((byte(at + 1) == 0x80 && byte(at + 2) >= 0xaa && byte(at + 2) <= 0xae) ||
                      (byte(at + 1) == 0x81 && byte(at + 2) >= 0xa6 && byte(at + 2) <= 0xa9)))
        return 3;
    return 0;
}

}  // namespace

std::string OneLine(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && ControlLength(text, first) == 0)
        ++first;
    if (first == text.size())
        return std::string(text);  // the common case: nothing to escape

    std::string line(text.substr(0, first));
    line.reserve(text.size() + 8);
    for (std::size_t i = first; i < text.size();) {
        const std::size_t length = ControlLength(text, i);
        if (length == 0) {
            line += text[i++];
            continue;
        }
        char buf[8];
        switch (text[i]) {
        case '\\': line += "\\\\"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        case '\t': line += "\\t"; break;
        default:
            if (length == 1) {
                std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(text[i]));
            } else {
                const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]) & 0x3fu; };
                // C2 xx is U+00xx; E2 yy zz is U+2000 + yy zz's low bits.
                const unsigned code = length == 2 ? static_cast<unsigned char>(text[i + 1])
                                                  : 0x2000u + (at(1) << 6) + at(2);
                std::snprintf(buf, sizeof buf, "\\u%04x", code);
            }
            line += buf;
        }
        i += length;
    }
    return line;
}

}  // namespace hrln::cli
