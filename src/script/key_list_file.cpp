#include "script/key_list_file.h"

#include <system_error>

namespace hrln::script {

bool InstallKeyList(const std::filesystem::path& shipped, const std::filesystem::path& dataFolder,
                    std::string& error)
{
    std::error_code ec;
    const std::filesystem::path target = dataFolder / kKeyListFile;
    if (std::filesystem::exists(target, ec))
        return true;
    if (!std::filesystem::copy_file(shipped, target, std::filesystem::copy_options::skip_existing, ec) && ec) {
        error = ec.message();
        return false;
    }
    // A copy keeps the shipped file's bits, readable by all: the data folder's
    // files are the user's alone.
    std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::replace, ec);
    return true;
}

}  // namespace hrln::script
