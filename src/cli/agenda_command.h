#pragma once

#include "cli/command.h"

#include <array>
#include <string_view>

// `horalyn-cli agenda`: what the scheduler will perform over the coming days.
namespace hrln::cli {

inline constexpr std::array<std::string_view, 1> kAgendaOptions = {"--days"};

int RunAgenda(const Arguments& given, const CommandContext& context);

extern const char* const kAgendaHelp;

}  // namespace hrln::cli
