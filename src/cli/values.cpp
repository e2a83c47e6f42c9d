#include "cli/values.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace hrln::cli {
namespace {

bool AllDigits(std::string_view s, std::size_t minLength, std::size_t maxLength)
{
    if (s.size() < minLength || s.size() > maxLength)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

}  // namespace

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
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return std::nullopt;
    const std::string_view y = s.substr(0, 4), m = s.substr(5, 2), d = s.substr(8, 2);
    if (!AllDigits(y, 4, 4) || !AllDigits(m, 2, 2) || !AllDigits(d, 2, 2))
        return std::nullopt;
    const int year = *ParseWhole(y), month = *ParseWhole(m), day = *ParseWhole(d);
    if (year < 1801 || !IsValidDate(year, month, day))
        return std::nullopt;
    return MakeDate(month, day, year);
}

std::optional<Time> ParseTime(std::string_view s)
{
    std::array<std::string_view, 4> parts{};
    const std::size_t colon1 = s.find(':');
    if (colon1 == std::string_view::npos)
        return std::nullopt;
    parts[0] = s.substr(0, colon1);
    std::string_view rest = s.substr(colon1 + 1);
    const std::size_t colon2 = rest.find(':');
    parts[1] = rest.substr(0, colon2);
    if (colon2 != std::string_view::npos) {
        rest = rest.substr(colon2 + 1);
        const std::size_t dot = rest.find('.');
        parts[2] = rest.substr(0, dot);
        if (dot != std::string_view::npos) {
            parts[3] = rest.substr(dot + 1);
            if (!AllDigits(parts[3], 2, 2))
                return std::nullopt;
        }
        if (!AllDigits(parts[2], 2, 2))
            return std::nullopt;
    }
    if (!AllDigits(parts[0], 1, 2) || !AllDigits(parts[1], 2, 2))
        return std::nullopt;
    const int hours = *ParseWhole(parts[0]);
    const int minutes = *ParseWhole(parts[1]);
    const int seconds = parts[2].empty() ? 0 : *ParseWhole(parts[2]);
    const int hundredths = parts[3].empty() ? 0 : *ParseWhole(parts[3]);
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return MakeTime(hours, minutes, seconds, hundredths);
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
