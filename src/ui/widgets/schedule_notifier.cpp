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

}  // namespace hrln::ui
