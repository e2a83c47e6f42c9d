#include "ui/widgets/schedule_notifier.h"

namespace hrln::ui {

ScheduleNotifier& ScheduleNotifier::instance()
{
    static ScheduleNotifier notifier;
    return notifier;
}

void NotifyScheduleBrowsers()
{
    Q_EMIT ScheduleNotifier::instance().changed();
}

void NotifyToDoLists()
{
    Q_EMIT ScheduleNotifier::instance().todoChanged();
}

}  // namespace hrln::ui
