#pragma once

#include "platform/notifications.h"
#include "scheduler/message_window.h"

#include <functional>
#include <map>
#include <memory>

namespace hrln::scheduler {

// Messages shown as desktop notifications that stay until answered, with the
// message window's own answers: Snooze, Add to To Do List, Close. Each
// message is held here until it is answered, and goes to a message window
// whenever its notification is gone unanswered (it expired, or the server
// went away), so a message is neither lost nor shown twice.
class MessageNotices : public platform::NotificationEvents {
public:
    // Action keys sent with each notification.
    static constexpr const char* kSnooze = "snooze";
    static constexpr const char* kToDo = "todo";
    static constexpr const char* kClose = "close";
    static constexpr const char* kOpen = "default";  // a click on the notification itself

    // `showWindow` takes a message back to show it in a message window.
    MessageNotices(platform::Notifications& notifications,
                   std::function<void(std::unique_ptr<MessageWindow>)> showWindow);
    ~MessageNotices() override;
    MessageNotices(const MessageNotices&) = delete;
    MessageNotices& operator=(const MessageNotices&) = delete;

    // Shows an opened message (Mode::Notice) as a notification. When no server
    // can show one with its answers, the message goes to a window at once.
    void post(std::unique_ptr<MessageWindow> message);
    // The held messages' repeated alarms; call at the message window's step.
    void onTimer();
    // The program ends: the notifications go with it, as its windows do.
    void closeAll();
    std::size_t outstanding() const { return held_.size(); }
    // Told after a to-do item was added from a notification (open to-do lists show it).
    std::function<void()> whenToDoAdded;

    // platform::NotificationEvents
    void actionInvoked(platform::NotificationId id, const std::string& key) override;
    void notificationClosed(platform::NotificationId id, platform::NotificationEnd end) override;
    void serviceLost() override;

private:
    // Takes a held message out, so no later event can act on it again.
    std::unique_ptr<MessageWindow> release(platform::NotificationId id);
    void toWindow(std::unique_ptr<MessageWindow> message);

    platform::Notifications& notifications_;
    std::function<void(std::unique_ptr<MessageWindow>)> showWindow_;
    std::map<platform::NotificationId, std::unique_ptr<MessageWindow>> held_;
};

}  // namespace hrln::scheduler
