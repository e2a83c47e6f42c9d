#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace hrln::cli {

// Runs horalyn-cli on its arguments (without the program name) and gives the
// exit status: 0 done, 2 bad arguments (with one line on `err`).
int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace hrln::cli
