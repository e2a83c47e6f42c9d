#pragma once

#include "data/database.h"
#include "platform/prompter.h"

#include <string>

namespace hrln::data {

// The standard messages about files.
enum class Warning {
    InvalidFile = 1,
    InvalidKey = 2,
    KeyRebuildError = 3,
    CreationNotAllowed = 4,
    CreationError = 5,
    FileAccessError = 30,
};

// An error code with its text, as the messages show it: "File Not Found (2)".
// For a file-system failure, the file system's own words.
std::string ErrorDescription(const Database& db, int code);

// Shows one standard message and, where the message says so, ends the program.
// Returns the warning's number, or 0 when the user declined a question.
int StandardWarning(Warning warning, const std::string& fileName, const std::string& errorDescription,
                    platform::Prompter& prompter);

struct OpenResult {
    int error = kOk;
    bool ended = false;  // the program was told to end
    bool ok() const { return error == kOk && !ended; }
};

inline constexpr const char* kUpgradeMessage =
    "The databases must be upgraded before using this version.  Consult your documentation for instructions on this.";

// Opens `table` for a window: counts its use, creates the file when `create`
// allows it, retries a locked file once, converts an older layout, offers to
// rebuild damaged keys, and otherwise reports the failure and ends the program.
// With `doNotReport`, a missing file is returned as kNoFile without a message.
OpenResult CheckOpen(Database& db, const TableSchema& table, bool create, bool doNotReport, AccessMode mode,
                     platform::Prompter& prompter);

// The window's last use of `table` is over; the file closes with its last table.
void CloseTable(Database& db, const TableSchema& table);

}  // namespace hrln::data
