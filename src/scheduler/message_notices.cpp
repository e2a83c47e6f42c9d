#include "scheduler/message_notices.h"

#include "common/text.h"
#include "common/translate.h"
#include "data/errors.h"

#include <vector>

namespace hrln::scheduler {

MessageNotices::MessageNotices(platform::Notifications& notifications,
                               std::function<void(std::unique_ptr<MessageWindow>)> showWindow)
    : notifications_(notifications), showWindow_(std::move(showWindow))
{
    notifications_.setEvents(this);
}

MessageNotices::~MessageNotices()
{
    notifications_.setEvents(nullptr);
}

void MessageNotices::post(std::unique_ptr<MessageWindow> message)
{
    // Without buttons a notification could not be snoozed: the window can.
    if (!notifications_.offersActions()) {
        toWindow(std::move(message));
        return;
    }
    const MessageSlots& slots = message->messageSlots();
    platform::Notification notice;
    notice.summary = slots.title.empty() ? std::string("Horalyn") : slots.title;
    notice.body = std::string(text::Clip(slots.text));
    notice.actions = {{kOpen, HrlnTranslate("MessageNotices", "Open")},
                      {kSnooze, HrlnTranslate("MessageNotices", "Snooze")},
                      {kToDo, HrlnTranslate("MessageNotices", "Add to To Do List")},
                      {kClose, HrlnTranslate("MessageNotices", "Close")}};
    notice.persistent = true;
    const std::optional<platform::NotificationId> id = notifications_.show(notice);
    if (!id) {
        toWindow(std::move(message));
        return;
    }
    // A server that reuses an id still held has dropped that message: show it.
    if (std::unique_ptr<MessageWindow> dropped = release(*id))
        toWindow(std::move(dropped));
    held_.emplace(*id, std::move(message));
}

void MessageNotices::onTimer()
{
    for (auto& [id, message] : held_)
        message->onTimer();
}

void MessageNotices::closeAll()
{
    while (!held_.empty()) {
        const platform::NotificationId id = held_.begin()->first;
        held_.erase(held_.begin());
        notifications_.close(id);
    }
}

std::unique_ptr<MessageWindow> MessageNotices::release(platform::NotificationId id)
{
    const auto it = held_.find(id);
    if (it == held_.end())
        return nullptr;
    std::unique_ptr<MessageWindow> message = std::move(it->second);
    held_.erase(it);
    return message;
}

void MessageNotices::toWindow(std::unique_ptr<MessageWindow> message)
{
    if (showWindow_)
        showWindow_(std::move(message));
}

void MessageNotices::actionInvoked(platform::NotificationId id, const std::string& key)
{
    if (held_.count(id) == 0)
        return;  // another program's, or answered already
    if (key == kToDo) {
        // As in the window: the item is added and the message stays. The box
        // runs its own event loop, in which this message may be answered
        // otherwise: nothing of it is used once the box is open.
        MessageWindow& message = *held_.at(id);
        if (message.addTodoItem() != data::kOk)
            return;
        if (whenToDoAdded)
            whenToDoAdded();
        platform::Prompter& prompter = message.prompter();
        prompter.ask(message.todoAdded());
        return;
    }
    std::unique_ptr<MessageWindow> message = release(id);
    if (key == kSnooze && message->snooze() != data::kOk) {
        // Not stored: the message stays before the user, in its window.
        notifications_.close(id);
        toWindow(std::move(message));
        return;
    }
    if (key != kSnooze && key != kClose) {
        // The notification itself was clicked (or an answer we do not know):
        // the whole message, with every length to snooze for, in its window.
        notifications_.close(id);
        toWindow(std::move(message));
        return;
    }
    notifications_.close(id);
}

void MessageNotices::notificationClosed(platform::NotificationId id, platform::NotificationEnd end)
{
    std::unique_ptr<MessageWindow> message = release(id);
    if (!message)
        return;
    // Closed by the user: answered, as the window's Close. Gone any other way
    // (it expired, another program closed it): it may not have been read.
    if (end != platform::NotificationEnd::Dismissed)
        toWindow(std::move(message));
}

void MessageNotices::serviceLost()
{
    std::vector<std::unique_ptr<MessageWindow>> lost;
    for (auto& [id, message] : held_)
        lost.push_back(std::move(message));
    held_.clear();
    for (std::unique_ptr<MessageWindow>& message : lost)
        toWindow(std::move(message));
}

}  // namespace hrln::scheduler
