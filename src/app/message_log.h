#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hrln::app {

// Diagnostics for the person who started the program, on standard error:
// warnings and errors always, debugging messages only when asked for. The
// event log, in the data folder, is a separate record of what the program did.
enum class LogLevel { Debug, Info, Warning, Critical, Fatal };

// The line written for one message, or nothing when it is held back.
std::optional<std::string> LogLine(LogLevel level, bool verbose, std::string_view message);

// Routes Qt's messages (qDebug, qWarning, ...) through LogLine to standard error.
void InstallMessageLog(bool verbose);

}  // namespace hrln::app
