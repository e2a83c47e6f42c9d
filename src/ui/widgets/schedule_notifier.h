#pragma once

#include <QObject>

namespace hrln::ui {

// The process-wide "table changed" events: the scheduler raises the schedule's
// after it has changed the schedule, a message window the to-do list's after it
// added an item, and every open list over that table refreshes.
class ScheduleNotifier : public QObject {
    Q_OBJECT

public:
    static ScheduleNotifier& instance();

Q_SIGNALS:
    void changed();
    void todoChanged();
};

// Tells every open schedule list that the schedule changed.
void NotifyScheduleBrowsers();
// Tells every open to-do list that an item was added elsewhere.
void NotifyToDoLists();

}  // namespace hrln::ui
