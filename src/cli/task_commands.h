#pragma once

#include "cli/command.h"

#include <array>
#include <string_view>

// `horalyn-cli list`, `show ID` and `delete ID`: the tasks in the program's
// database, read and removed.
namespace hrln::cli {

inline constexpr std::array<std::string_view, 1> kListFlags = {"--history"};

int RunList(const Arguments& given, const CommandContext& context);
int RunShow(const Arguments& given, const CommandContext& context);
int RunDelete(const Arguments& given, const CommandContext& context);

extern const char* const kListHelp;
extern const char* const kShowHelp;
extern const char* const kDeleteHelp;

}  // namespace hrln::cli
