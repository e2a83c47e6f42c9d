#pragma once

#include "platform/desktop_bus.h"

namespace hrln::platform::dbus {

// Method calls on the session or system bus through QtDBus; the program must have its
// QCoreApplication. Each call waits at most the timeout, so a hung service
// cannot freeze the caller for long.
class QtDesktopBus : public DesktopBus {
public:
    static constexpr int kDefaultTimeoutMs = 2000;

    explicit QtDesktopBus(int timeoutMs = kDefaultTimeoutMs) : timeoutMs_(timeoutMs) {}

    BusReply call(const std::string& service, const std::string& path, const std::string& command) override;

private:
    int timeoutMs_;
};

}  // namespace hrln::platform::dbus
