#pragma once

#include "platform/session.h"

namespace hrln::platform::posix {

// The logon name from the user database, falling back to $USER.
class UserSession : public Session {
public:
    std::optional<std::string> networkUserName() const override;
};

}  // namespace hrln::platform::posix
