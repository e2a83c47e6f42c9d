#pragma once

#include "platform/notifications.h"

#include <memory>

namespace hrln::platform::dbus {

// The desktop's notification server (org.freedesktop.Notifications on the
// session bus) through QtDBus; the program must have its QCoreApplication.
// Each call waits at most the timeout, so a hung server cannot freeze the
// program for long; its events arrive through the program's event loop.
class QtNotifications : public Notifications {
public:
    static constexpr int kDefaultTimeoutMs = 2000;

    explicit QtNotifications(int timeoutMs = kDefaultTimeoutMs);
    ~QtNotifications() override;
    QtNotifications(const QtNotifications&) = delete;
    QtNotifications& operator=(const QtNotifications&) = delete;

    bool offersActions() override;
    std::optional<NotificationId> show(const Notification& notification) override;
    void close(NotificationId id) override;
    void setEvents(NotificationEvents* events) override;

    struct Receiver;

private:
    std::unique_ptr<Receiver> receiver_;
    int timeoutMs_;
    bool markup_ = false;  // the server reads the body as markup
};

}  // namespace hrln::platform::dbus
