#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hrln::platform {

// A desktop notification the user can answer from where it shows.
struct NotificationAction {
    std::string key;    // handed back when the user chooses it; "default" is a click on the notification
    std::string label;  // what the button says
};

struct Notification {
    std::string summary;
    std::string body;
    std::vector<NotificationAction> actions;
    // Stays until answered: no timeout, and an action does not take it away.
    bool persistent = false;
};

// Why a notification went away.
enum class NotificationEnd {
    Expired,    // the server took it away unanswered (its own timeout)
    Dismissed,  // the user closed it
    Closed,     // a program asked for it to close
    Unknown,
};

using NotificationId = std::uint32_t;

// What the desktop reports about notifications; it reports on every program's
// notifications, so a receiver acts only on the ids it was given.
class NotificationEvents {
public:
    virtual ~NotificationEvents() = default;
    virtual void actionInvoked(NotificationId id, const std::string& key) = 0;
    virtual void notificationClosed(NotificationId id, NotificationEnd end) = 0;
    // The notification server went away: every notification it showed is gone.
    virtual void serviceLost() = 0;
};

// The desktop's notification server. Every request may fail (no server, a
// server that hangs): the caller shows the message some other way.
class Notifications {
public:
    virtual ~Notifications() = default;
    // A server answers and can show buttons on a notification.
    virtual bool offersActions() = 0;
    // The server's id for the notification shown, or nothing when it was not shown.
    virtual std::optional<NotificationId> show(const Notification& notification) = 0;
    virtual void close(NotificationId id) = 0;
    // Where events go from now on (nullptr: nowhere).
    virtual void setEvents(NotificationEvents* events) = 0;
};

}  // namespace hrln::platform
