#pragma once

#include <QObject>

namespace hrln::ui {

// The process-wide "data changed" events: the scheduler raises `changed` after
// it changed the schedule or saw the file change (any writer, ours included),
// and every open list refreshes; a message window raises `todoChanged` at once
// after it added a to-do item.
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
