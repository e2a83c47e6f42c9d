#pragma once

#include "common/date_time.h"

#include <optional>
#include <string>
#include <string_view>

// Dates, times and numbers as the commands read them from arguments and
// write them to their output.
namespace hrln::cli {

// A whole decimal number, nothing else around it.
std::optional<int> ParseWhole(std::string_view s);
// YYYY-MM-DD naming a real day the program keeps (kFirstDate to kLastDate).
std::optional<Date> ParseDate(std::string_view s);
// HH:MM, HH:MM:SS or HH:MM:SS.hh (the hour may have one digit).
std::optional<Time> ParseTime(std::string_view s);

// "HH:MM:SS.hh"; empty for no time.
std::string FormatTimeHundredths(Time time);
// A stored text on one output line that a terminal shows and never acts on:
// backslash, line break, carriage return and tab are written as \\, \n, \r
// and \t, the other control bytes as \xHH (\x1b), the C1 controls and the
// direction overrides as \uHHHH.
std::string OneLine(std::string_view text);

}  // namespace hrln::cli
