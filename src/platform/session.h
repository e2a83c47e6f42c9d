#pragma once

#include <optional>
#include <string>

namespace hrln::platform {

// Facts about the logged-on user.
class Session {
public:
    virtual ~Session() = default;
    // The user's logon name, or nothing when it cannot be found out.
    virtual std::optional<std::string> networkUserName() const = 0;
};

}  // namespace hrln::platform
