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
    return true;
}

}  // namespace hrln::script
