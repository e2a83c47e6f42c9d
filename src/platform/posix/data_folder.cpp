#include "platform/posix/data_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace hrln::platform::posix {
namespace fs = std::filesystem;

std::string DataFolderPath()
{
    // An XDG path must be absolute to count.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        return (fs::path(xdg) / "horalyn").string();
    std::string home;
    if (const char* h = std::getenv("HOME"); h != nullptr && *h != '\0') {
        home = h;
    } else if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_dir != nullptr) {
        home = entry->pw_dir;
    }
    return (fs::path(home.empty() ? "/tmp" : home) / ".local" / "share" / "horalyn").string();
}

bool EnterDataFolder(std::string& error)
{
    const fs::path folder = DataFolderPath();
    std::error_code ec;
    if (!fs::exists(folder, ec)) {
        fs::create_directories(folder, ec);
        if (!ec)
            fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    if (!ec)
        fs::current_path(folder, ec);
    if (ec) {
        error = folder.string() + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace hrln::platform::posix
