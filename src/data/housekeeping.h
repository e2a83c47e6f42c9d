#pragma once

#include "data/event_log.h"
#include "data/profile_file.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/table.h"
#include "platform/prompter.h"

#include <functional>

namespace hrln::data {

// What the daily sweep of old history entries works with.
struct HistorySweep {
    Table<ScheduleRecord>& alias;  // the scheduler's own buffer
    const Settings& settings;
    EventLog& log;
    platform::Prompter& prompter;
    std::function<void()> notifyScheduleBrowsers;
};

// Removes history entries (and, with RemoveUncompleted, tasks the user
// disabled) whose date lies HistoryExpires days or more in the past. Runs at
// most once per calendar day: `lastHousekeepingDay` is the frame's memory of
// the last run. Returns the number of records removed.
int RemoveExpiredHistory(HistorySweep& sweep, Date today, Date& lastHousekeepingDay);

// The settings window's housekeeping buttons. Each asks first and acts only on
// Yes; each returns whether it acted.
bool RemoveDisabledTasks(Database& db, platform::Prompter& prompter);
bool RemoveCompletedTasks(Database& db, platform::Prompter& prompter);
bool ClearTodoList(Database& db, platform::Prompter& prompter);
bool ResetWindowSettings(ProfileFile& positions, platform::Prompter& prompter);
bool RemoveActiveScripts(platform::Prompter& prompter, const std::function<void()>& clearPendingScripts);

}  // namespace hrln::data
