#pragma once

#include "cli/command.h"
#include "cli/task_options.h"
#include "data/records.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>

// `horalyn-cli next`: previews the occurrences of a repetition rule.
namespace hrln::cli {

struct NextRequest {
    data::ScheduleRecord task;  // the rule, with its current occurrence in date and time
    int count = 10;
};

inline constexpr auto kNextOptions = Join(kTaskOptions, std::array<std::string_view, 1>{"--count"});

// Reads the options that follow "next". A reason for the user on bad input.
std::variant<NextRequest, std::string> ParseNextArguments(const Arguments& given);

// Writes the task's current occurrence and then each following one, as the
// scheduler would move the task after performing it, one per line.
void PrintOccurrences(NextRequest request, std::ostream& out, std::ostream& err);

// "YYYY-MM-DD HH:MM:SS.hh"
std::string FormatOccurrence(Date date, Time time);

int RunNext(const Arguments& given, const CommandContext& context);

extern const char* const kNextHelp;

}  // namespace hrln::cli
