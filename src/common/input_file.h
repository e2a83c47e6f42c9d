#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace hrln {

// Opens a file that the user named for reading it whole (an import). Only a
// regular file is opened: a named pipe without a writer would hold the
// caller for ever, and a device never ends. The reason it cannot be read,
// in the system's own words, or empty when `in` is open; `size` is then the
// file's size in bytes.
std::string OpenInputFile(const std::string& path, std::ifstream& in, std::uint64_t& size);

// Why `path` cannot be an input file as far as its kind tells (missing, a
// folder, a pipe, a device), without opening it; empty when it is a regular file.
std::string InputFileProblem(const std::string& path);

// The system's words for the error number `code`, or for a failure that left
// none ("Input/output error").
std::string SystemErrorText(int code);

}  // namespace hrln
