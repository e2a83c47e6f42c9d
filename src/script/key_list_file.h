#pragma once

#include <filesystem>
#include <string>

namespace hrln::script {

// The list of key names shown to users, shipped beside the program.
inline constexpr const char* kKeyListFile = "KEYCODES.TXT";

// Copies the shipped key list into the data folder unless a copy is already
// there (the user may have annotated it). False, with `error` filled in, when
// the copy fails.
bool InstallKeyList(const std::filesystem::path& shipped, const std::filesystem::path& dataFolder,
                    std::string& error);

}  // namespace hrln::script
