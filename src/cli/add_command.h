#pragma once

#include "cli/command.h"
#include "cli/task_options.h"
#include "data/records.h"
#include "platform/clock.h"

#include <string>
#include <variant>

// `horalyn-cli add`: makes a task in the program's database.
namespace hrln::cli {

inline constexpr auto kAddOptions =
    Join(kTaskOptions, std::array<std::string_view, 7>{"--task-type", "--description", "--message", "--command",
                                                       "--path", "--category", "--alarm"});
inline constexpr std::array<std::string_view, 6> kAddFlags = {"--warn",      "--skip-if-missed", "--no-history",
                                                              "--confirm",   "--skip-next",      "--disabled"};

// The task the options describe, due at `now` unless told otherwise; its ID
// and user are given when it is added. A reason for the user on bad input.
std::variant<data::ScheduleRecord, std::string> ParseAddArguments(const Arguments& given, platform::DateTime now);

int RunAdd(const Arguments& given, const CommandContext& context);

extern const char* const kAddHelp;

}  // namespace hrln::cli
