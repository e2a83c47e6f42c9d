#pragma once

#include "cli/report_command.h"
#include "platform/clock.h"
#include "platform/session.h"

#include <iosfwd>
#include <span>
#include <string_view>

namespace hrln::cli {

// Runs horalyn-cli on its arguments (without the program name) and gives the
// exit status: 0 done, 1 no task with the ID given, 2 bad arguments or an
// unusable database (with the reason on `err`).
int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// The same with the clock that says "now" and the session that names the
// user in multi-user mode.
int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
           const platform::Clock& clock, const platform::Session* session, const PdfRenderer* pdf = nullptr);

// The program's own clock and session, with `pdf` drawing reports as PDF.
int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err, const PdfRenderer* pdf);

}  // namespace hrln::cli
