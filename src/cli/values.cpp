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

std::string OneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\': line += "\\\\"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        case '\t': line += "\\t"; break;
        default: line += c;
        }
    }
    return line;
}

}  // namespace hrln::cli
