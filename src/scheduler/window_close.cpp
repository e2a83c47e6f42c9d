#include "scheduler/window_close.h"

#include "common/translate.h"

#include "data/records.h"
#include "data/table.h"

namespace hrln::scheduler {

WindowClose DecideWindowClose(const data::Settings& settings, WindowCloseState& state, bool taskToCome)
{
    if (settings.keepRunningInTray)
        return WindowClose::ToTray;
    // Offering the tray to someone who turned it off would contradict them.
    if (state.warned || !taskToCome || settings.noTray)
        return WindowClose::Exit;
    state.warned = true;
    return WindowClose::Ask;
}

platform::MessageBox KeepRunningQuestion()
{
    return {HrlnTranslate("WindowClose", "Tasks still to come will not be performed while Horalyn is not running.\r\r"
                                         "Keep Horalyn running in the notification area instead?\r"
                                         "(Setup can make this what closing the window always does.)"),
            "Horalyn", platform::MessageIcon::Exclamation, platform::MessageButtons::YesNoCancel,
            platform::MessageButton::Yes};
}

bool TaskToCome(data::Database& db)
{
    data::Table<data::ScheduleRecord> task(db);
    task.clear();
    task.set(data::ScheduleRecord::KeyDateEnabled);
    // Enabled tasks come first in this order; a read error counts as a task, so
    // the user is warned rather than not.
    const int err = task.next();
    if (err == data::kOk)
        return task.rec.disabled == 0;
    return err != data::kRecordNotAvailable;
}

}  // namespace hrln::scheduler
