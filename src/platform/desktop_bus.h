#pragma once

#include <string>

namespace hrln::platform {

// How a call on the desktop bus ended.
enum class BusOutcome {
    Answered,    // the service replied, also with a refusal
    Silent,      // no such service (none is started for the call), or no reply in time
    BadCommand,  // the command or one of its values cannot be written: nothing was sent
};

struct BusReply {
    BusOutcome outcome = BusOutcome::Silent;
    std::string problem;  // for BadCommand: what is wrong, in words for the script's author
};

// One method call on the desktop's message bus, the way a script's exchange
// item drives another running program.
class DesktopBus {
public:
    virtual ~DesktopBus() = default;
    // Calls `command` on the object `path` of the service `service`.
    // `service` may start with "system:" (the system bus) or "session:" (the
    // default); `path` may be followed by a blank and an interface, which a
    // command naming only its method then uses. The command is
    // "interface.Method", optionally followed by arguments in parentheses
    // (separated by commas) or after a blank (separated by blanks); an
    // argument may carry a type prefix ("int64:5000000", "variant:double:0.5",
    // "array:string:a,b"), and untyped ones are converted to the method's
    // signature when the service describes itself. A service that is not
    // running is never started. Never waits longer than a short timeout, the
    // description of the service included.
    virtual BusReply call(const std::string& service, const std::string& path, const std::string& command) = 0;
};

}  // namespace hrln::platform
