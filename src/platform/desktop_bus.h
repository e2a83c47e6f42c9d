#pragma once

#include <string>

namespace hrln::platform {

// One method call on the desktop's message bus, the way a script's exchange
// item drives another running program.
class DesktopBus {
public:
    virtual ~DesktopBus() = default;
    // Calls `command` ("interface.Method", optionally followed by arguments in
    // parentheses: double-quoted strings, integers, true or false) on the object
    // `path` of the service `service`. Returns whether the service answered
    // (also with a refusal); false for an absent or silent service and for a
    // command that cannot be read. Never waits longer than a short timeout.
    virtual bool call(const std::string& service, const std::string& path, const std::string& command) = 0;
};

}  // namespace hrln::platform
