#pragma once

#include "cli/command.h"

// `horalyn-cli backup FILE`: a copy of the whole database (every table,
// scripts and contact links included), safe while the program runs.
namespace hrln::cli {

int RunBackup(const Arguments& given, const CommandContext& context);

extern const char* const kBackupHelp;

}  // namespace hrln::cli
