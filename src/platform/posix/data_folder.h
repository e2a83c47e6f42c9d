#pragma once

#include <string>

namespace hrln::platform::posix {

// $XDG_DATA_HOME/horalyn, or ~/.local/share/horalyn: where the database,
// the INI files and the event log live.
std::string DataFolderPath();

// Makes the data folder (private to the user) when missing and makes it the
// current folder, so files named without a folder land there. False, with
// `error` filled in, when that is not possible.
bool EnterDataFolder(std::string& error);

}  // namespace hrln::platform::posix
