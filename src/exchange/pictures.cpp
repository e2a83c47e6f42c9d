#include "exchange/pictures.h"

#include "common/text.h"

#include <array>
#include <cstdio>

namespace hrln::exchange {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

std::optional<int> Digits(std::string_view s, std::size_t maxLength)
{
    if (s.empty() || s.size() > maxLength)
        return std::nullopt;
    int value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// "Dec 8, 2026" or "December 8, 2026": the month name whole or its first three
// letters, in any letter case.
std::optional<std::int64_t> ParseMonthDayYear(std::string_view s, bool fullName)
{
    const std::size_t blank = s.find(' ');
    const std::size_t comma = s.find(", ");
    if (blank == std::string_view::npos || comma == std::string_view::npos || comma < blank)
        return std::nullopt;
    const std::string month = text::ToUpper(s.substr(0, blank));
    int number = 0;
    for (std::size_t m = 0; m < kMonthNames.size() && number == 0; ++m) {
        const std::string_view name = fullName ? kMonthNames[m] : kMonthNames[m].substr(0, 3);
        if (text::ToUpper(name) == month)
            number = static_cast<int>(m) + 1;
    }
    const std::optional<int> day = Digits(s.substr(blank + 1, comma - blank - 1), 2);
    const std::optional<int> year = Digits(s.substr(comma + 2), 4);
    if (number == 0 || !day || !year || *year < kFirstYear || *year > kLastYear || !IsValidDate(*year, number, *day))
        return std::nullopt;
    return MakeDate(number, *day, *year);
}

// "1:05 PM": hours 1 to 12, minutes, AM or PM in any letter case.
std::optional<std::int64_t> ParseT3(std::string_view s)
{
    const std::size_t colon = s.find(':');
    const std::size_t blank = s.find(' ');
    if (colon == std::string_view::npos || blank == std::string_view::npos || blank < colon)
        return std::nullopt;
    const std::optional<int> hours = Digits(s.substr(0, colon), 2);
    const std::optional<int> minutes = Digits(s.substr(colon + 1, blank - colon - 1), 2);
    const std::string half = text::ToUpper(s.substr(blank + 1));
    if (!hours || !minutes || *hours < 1 || *hours > 12 || *minutes > 59 || (half != "AM" && half != "PM"))
        return std::nullopt;
    return MakeTime(*hours % 12 + (half == "PM" ? 12 : 0), *minutes);
}

}  // namespace

std::string FormatPicture(std::int64_t value, std::string_view picture)
{
    const auto v = static_cast<std::int32_t>(value);
    if (picture == "d3")
        return FormatD3(v, EnglishDateNames());
    if (picture == "D4")
        return FormatD4(v, EnglishDateNames());
    if (picture == "d17")
        return FormatD17(v);
    if (picture == "T3" || picture == "t3")
        return FormatT3(v, EnglishDateNames());
    if (picture == "t7") {
        // Hundredths are written when there are any, so that a file read back
        // gives the moment it was written from.
        std::string out = FormatT7(v);
        if (const int hundredths = v > 0 ? SplitTime(v).hundredths : 0; hundredths != 0) {
            char buf[8];
            std::snprintf(buf, sizeof buf, ".%02d", hundredths);
            out += buf;
        }
        return out;
    }
    return std::to_string(value);
}

std::optional<std::int64_t> ParsePicture(std::string_view s, std::string_view picture)
{
    s = text::Trim(s);
    if (s.empty())
        return 0;
    if (picture == "d3")
        return ParseMonthDayYear(s, false);
    if (picture == "D4")
        return ParseMonthDayYear(s, true);
    if (picture == "d17") {
        if (const auto d = ParseD17(s))
            return *d;
        return std::nullopt;
    }
    if (picture == "T3" || picture == "t3")
        return ParseT3(s);
    if (picture == "t7") {
        if (const auto t = ParseT7(s))
            return *t;
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace hrln::exchange
