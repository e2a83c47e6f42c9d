#pragma once

#include "cli/command.h"

#include <array>
#include <string_view>

// `horalyn-cli export` and `import`: the schedule, contacts or to-do list to
// and from comma-delimited, iCalendar and vCard files, for scripts and backups.
namespace hrln::cli {

inline constexpr std::array<std::string_view, 4> kExchangeOptions = {"--layout", "--fields", "--save-layout", "--format"};
inline constexpr std::array<std::string_view, 2> kExchangeFlags = {"--no-header", "--history"};

int RunExport(const Arguments& given, const CommandContext& context);
int RunImport(const Arguments& given, const CommandContext& context);

extern const char* const kExportHelp;
extern const char* const kImportHelp;

}  // namespace hrln::cli
