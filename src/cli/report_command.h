#pragma once

#include "cli/command.h"
#include "common/report.h"

#include <array>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>

// `horalyn-cli report`: any report of the Reports menu as PDF, plain text or
// comma-delimited text, to a file or to standard output.
namespace hrln::cli {

// Writes the report as PDF to the file `path`, or to `out` when `path` is
// empty. False when it could not be written. The program that draws pages
// supplies it; without one, --format pdf is refused.
using PdfRenderer = std::remove_const_t<std::remove_pointer_t<decltype(CommandContext::pdf)>>;

inline constexpr std::array<std::string_view, 5> kReportOptions = {"--format", "--from", "--to", "--category",
                                                                   "--output"};
inline constexpr std::array<std::string_view, 3> kReportFlags = {"--history", "--disabled", "--open"};

int RunReport(const Arguments& given, const CommandContext& context);

extern const char* const kReportHelp;

}  // namespace hrln::cli
