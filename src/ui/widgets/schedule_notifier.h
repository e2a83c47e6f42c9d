#pragma once

#include <QObject>

namespace hrln::ui {

// The process-wide "schedule changed" event: the scheduler raises it after it
// has changed the schedule, and every open schedule list refreshes.
class ScheduleNotifier : public QObject {
    Q_OBJECT

public:
    static ScheduleNotifier& instance();

Q_SIGNALS:
    void changed();
};

// Tells every open schedule list that the schedule changed.
void NotifyScheduleBrowsers();

}  // namespace hrln::ui
