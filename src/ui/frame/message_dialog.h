#pragma once

#include "data/profile_file.h"
#include "scheduler/message_notices.h"
#include "scheduler/message_window.h"

#include <QDialog>

#include <functional>
#include <memory>

class QTimer;

namespace hrln::ui {

class QtPrompter;

// SHOWMESSAGE$WINDOW (and SHOWMODALMESSAGE$WINDOW): a due task's message with
// its repeated alarm, "&Snooze" and "&Add to To Do List".
class MessageDialog : public QDialog {
    Q_OBJECT

public:
    MessageDialog(std::unique_ptr<scheduler::MessageWindow> model, bool modal, data::ProfileFile& positions,
                  QWidget* parent = nullptr);
    // The window's own question boxes, when the model asks through them.
    void takeBoxes(std::unique_ptr<platform::Prompter> boxes) { boxes_ = std::move(boxes); }
    ~MessageDialog() override;

    scheduler::MessageWindow& model() { return *model_; }
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<platform::Prompter> boxes_;  // declared first: the model asks through it
    std::unique_ptr<scheduler::MessageWindow> model_;
    data::ProfileFile& positions_;
    QString section_;
    QTimer* timer_;
};

// Opens a message window for each due task, the way the settings ask for.
class QtMessageLauncher : public scheduler::MessageLauncher {
public:
    QtMessageLauncher(scheduler::MessageServices services, data::ProfileFile& positions, QWidget* parent);
    ~QtMessageLauncher() override;
    void startMessage(const scheduler::MessageSlots& slots) override;
    // Each window asks its own questions ("Saved"), in boxes that belong to it,
    // so the window stays in front; otherwise they go to the given prompter.
    void setOwnBoxes(bool own) { ownBoxes_ = own; }
    // Tells whether the user is at work in another program, whose keys a
    // message must not take; unset, a message never takes them.
    void setUserElsewhere(std::function<bool()> elsewhere) { userElsewhere_ = std::move(elsewhere); }
    // The desktop's notifications, for the messages that go there. Give the
    // same as the services' `notifications`, before the first message.
    void useNotifications(platform::Notifications& notifications);
    scheduler::MessageNotices* notices() const { return notices_.get(); }
    // The program ends: messages shown as notifications go with it.
    void closeNotices();

private:
    void showWindow(std::unique_ptr<scheduler::MessageWindow> model, bool modal,
                    std::unique_ptr<QtPrompter> boxes);

    bool ownBoxes_ = false;
    std::function<bool()> userElsewhere_;
    scheduler::MessageServices services_;
    data::ProfileFile& positions_;
    QWidget* parent_;
    std::unique_ptr<platform::Prompter> noticeBoxes_;  // questions of messages shown as notifications
    std::unique_ptr<scheduler::MessageNotices> notices_;
    std::unique_ptr<QTimer> noticeTimer_;  // their repeated alarms
};

// Moves a message window about to open clear of the message windows already open.
void Cascade(QWidget* window);

}  // namespace hrln::ui
