#include "platform/posix/user_session.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace hrln::platform::posix {

std::optional<std::string> UserSession::networkUserName() const
{
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr && *found->pw_name != '\0')
        return std::string(found->pw_name);
    if (const char* user = std::getenv("USER"); user != nullptr && *user != '\0')
        return std::string(user);
    return std::nullopt;
}

}  // namespace hrln::platform::posix
