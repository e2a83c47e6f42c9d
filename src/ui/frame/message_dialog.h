#pragma once

#include "data/profile_file.h"
#include "scheduler/message_window.h"

#include <QDialog>

#include <functional>
#include <memory>

class QTimer;

namespace hrln::ui {

// SHOWMESSAGE$WINDOW (and SHOWMODALMESSAGE$WINDOW): a due task's message with
// its repeated alarm, "&Snooze" and "&Add to To Do List".
class MessageDialog : public QDialog {
    Q_OBJECT

public:
    MessageDialog(std::unique_ptr<scheduler::MessageWindow> model, bool modal, data::ProfileFile& positions,
                  QWidget* parent = nullptr);
    ~MessageDialog() override;

    scheduler::MessageWindow& model() { return *model_; }
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<scheduler::MessageWindow> model_;
    data::ProfileFile& positions_;
    QString section_;
    QTimer* timer_;
};

// Opens a message window for each due task, the way the settings ask for.
class QtMessageLauncher : public scheduler::MessageLauncher {
public:
    QtMessageLauncher(scheduler::MessageServices services, data::ProfileFile& positions, QWidget* parent);
    void startMessage(const scheduler::MessageSlots& slots) override;

private:
    scheduler::MessageServices services_;
    data::ProfileFile& positions_;
    QWidget* parent_;
};

}  // namespace hrln::ui
