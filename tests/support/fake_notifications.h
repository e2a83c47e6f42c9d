#pragma once

#include "platform/notifications.h"

#include <map>
#include <vector>

namespace hrln::test {

// A notification server that keeps what it was shown and closed, and lets a
// test send its events as a desktop would.
class FakeNotifications : public platform::Notifications {
public:
    bool running = true;  // a server answers
    bool actions = true;  // it shows buttons
    std::map<platform::NotificationId, platform::Notification> shown;  // still shown
    std::vector<platform::NotificationId> closed;                       // asked to close, in order
    platform::NotificationId nextId = 1;

    bool offersActions() override { return running && actions; }
    std::optional<platform::NotificationId> show(const platform::Notification& notification) override
    {
        if (!running)
            return std::nullopt;
        shown[nextId] = notification;
        return nextId++;
    }
    void close(platform::NotificationId id) override
    {
        closed.push_back(id);
        shown.erase(id);
    }
    void setEvents(platform::NotificationEvents* events) override { events_ = events; }

    // The user answers a notification.
    void invoke(platform::NotificationId id, const std::string& key)
    {
        if (events_ != nullptr)
            events_->actionInvoked(id, key);
    }
    // The notification goes away, as the server reports it.
    void end(platform::NotificationId id, platform::NotificationEnd why)
    {
        shown.erase(id);
        if (events_ != nullptr)
            events_->notificationClosed(id, why);
    }
    void quit()
    {
        running = false;
        shown.clear();
        if (events_ != nullptr)
            events_->serviceLost();
    }
    platform::NotificationEvents* events() const { return events_; }

private:
    platform::NotificationEvents* events_ = nullptr;
};

}  // namespace hrln::test
