#pragma once

#include "data/records.h"
#include "ui/schedule/schedule_services.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace hrln::ui {

// QuickReminder: one line, "Call Bob in 10 minutes", and Enter adds a
// once-only message task. Below the line it shows what it understood.
class QuickReminderWindow : public QDialog {
    Q_OBJECT

public:
    explicit QuickReminderWindow(const ScheduleWindowServices& services, QWidget* parent = nullptr);

    // The task added, once the window was accepted.
    const data::ScheduleRecord& added() const { return added_; }

    void accept() override;

protected:
    void done(int result) override;

private:
    void showUnderstood();

    ScheduleWindowServices s_;
    QLineEdit* line_ = nullptr;
    QLabel* understood_ = nullptr;
    data::ScheduleRecord added_;
};

}  // namespace hrln::ui
