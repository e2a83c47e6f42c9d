#include "platform/posix/data_folder.h"

#include "platform/posix/private_files.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

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
    } else {
        TightenDataFolder(folder.string());
    }
    if (!ec)
        fs::current_path(folder, ec);
    if (ec) {
        error = folder.string() + ": " + ec.message();
        return false;
    }
    return true;
}

void TightenDataFolder(const std::string& folder)
{
    // A folder made by an older version, or by hand, may be open to others;
    // the files in it were made with the user's mask (0644).
    std::vector<std::string> failures;
    std::string failure;
    if (!MakePrivate(folder, failure))
        failures.push_back(failure);
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!MakePrivate(it->path().string(), failure))
            failures.push_back(failure);
    }
    // Not fatal: the program can still work, but the user should know.
    for (const std::string& f : failures)
        std::fprintf(stderr, "horalyn: cannot make %s private to its owner\n", f.c_str());
}

}  // namespace hrln::platform::posix
