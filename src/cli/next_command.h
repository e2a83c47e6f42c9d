#pragma once

#include "data/records.h"

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <variant>

// `horalyn-cli next`: previews the occurrences of a repetition rule.
namespace hrln::cli {

struct NextRequest {
    data::ScheduleRecord task;  // the rule, with its current occurrence in date and time
    int count = 10;
};

struct HelpRequested {};

// Reads the options that follow "next". A reason for the user on bad input.
std::variant<NextRequest, HelpRequested, std::string> ParseNextArguments(std::span<const std::string_view> args);

// Writes the task's current occurrence and then each following one, as the
// scheduler would move the task after performing it, one per line.
void PrintOccurrences(NextRequest request, std::ostream& out, std::ostream& err);

// "YYYY-MM-DD HH:MM:SS.hh"
std::string FormatOccurrence(Date date, Time time);

extern const char* const kNextHelp;

}  // namespace hrln::cli
