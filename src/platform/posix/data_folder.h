#pragma once

#include <string>

namespace hrln::platform::posix {

// $XDG_DATA_HOME/horalyn, or ~/.local/share/horalyn: where the database,
// the INI files and the event log live.
std::string DataFolderPath();

// Makes the data folder (private to the user) when missing and makes it the
// current folder, so files named without a folder land there; an existing
// folder is made private first (TightenDataFolder). False, with `error`
// filled in, when that is not possible.
bool EnterDataFolder(std::string& error);

// Takes the group's and others' rights away from the folder and the files in
// it (the database, the INI files, the event log) where the user owns them.
// What cannot be changed is said on standard error; the program goes on.
void TightenDataFolder(const std::string& folder);

}  // namespace hrln::platform::posix
