#include "data/housekeeping.h"

#include "data/schedule_store.h"
#include "data/table_open.h"

#include <array>
#include <limits>

namespace hrln::data {
namespace {

using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr const char* kHousekeeping = "Housekeeping";

bool Confirm(platform::Prompter& prompter, const std::string& question)
{
    return prompter.ask({question, kHousekeeping, MessageIcon::Exclamation, MessageButtons::YesNo,
                         MessageButton::No}) == MessageButton::Yes;
}

void Tell(platform::Prompter& prompter, const std::string& text)
{
    prompter.ask({text, kHousekeeping});
}

void ReportHistoryError(platform::Prompter& prompter, Database& db, int err)
{
    prompter.ask({ErrorDescription(db, err) + " error while removing history", "Cannot Remove History"});
}

// Positions `tasks` at the first KeyDateEnabled entry with this Disabled value:
// dates and times may be negative (before 1801), so the walk starts below them.
void SetFromDisabled(Table<ScheduleRecord>& tasks, Byte disabled)
{
    tasks.clear();
    tasks.rec.disabled = disabled;
    tasks.rec.date = std::numeric_limits<Date>::min();
    tasks.rec.time = std::numeric_limits<Time>::min();
    tasks.setFrom(ScheduleRecord::KeyDateEnabled);
}

// Walks the disabled end of KeyDateEnabled and deletes what `remove` picks.
template <class Pick>
void RemoveDisabled(Database& db, platform::Prompter& prompter, Pick remove)
{
    Table<ScheduleRecord> tasks(db);
    SetFromDisabled(tasks, 1);
    while (tasks.next() == kOk) {
        if (!remove(tasks.rec))
            continue;
        if (const int err = DeleteTask(tasks); err != kOk)
            ReportHistoryError(prompter, db, err);
    }
    if (tasks.error() != kRecordNotAvailable)
        ReportHistoryError(prompter, db, tasks.error());
}

}  // namespace

int RemoveExpiredHistory(HistorySweep& sweep, Date today, Date& lastHousekeepingDay)
{
    const int expires = sweep.settings.historyExpires;
    if (expires <= 0 || lastHousekeepingDay == today)
        return 0;
    lastHousekeepingDay = today;

    Table<ScheduleRecord>& alias = sweep.alias;
    Database& db = alias.database();
    int removed = 0;
    SetFromDisabled(alias, 1);
    for (;;) {
        const int err = alias.next();
        if (err == kRecordNotAvailable)
            break;
        if (err != kOk) {
            ReportHistoryError(sweep.prompter, db, err);
            break;
        }
        // The key is in date order within one Disabled value: once a record is
        // young enough to stay, so is the rest of that value; any other nonzero
        // value is disabled too, so the walk goes on with the next.
        if (static_cast<long long>(alias.rec.date) + expires > today) {
            if (alias.rec.disabled == std::numeric_limits<Byte>::max())
                break;
            SetFromDisabled(alias, static_cast<Byte>(alias.rec.disabled + 1));
            continue;
        }
        if (alias.rec.completed != 0 || sweep.settings.removeUncompleted) {
            if (const int del = DeleteTask(alias); del != kOk)
                ReportHistoryError(sweep.prompter, db, del);
            else
                ++removed;
        }
    }
    sweep.log.logEvent("History", "Checked for tasks needing removal");
    if (sweep.notifyScheduleBrowsers)
        sweep.notifyScheduleBrowsers();
    return removed;
}

bool RemoveDisabledTasks(Database& db, platform::Prompter& prompter)
{
    if (!Confirm(prompter, "Remove disabled tasks?"))
        return false;
    RemoveDisabled(db, prompter, [](const ScheduleRecord&) { return true; });
    Tell(prompter, "Disabled tasks removed.");
    return true;
}

bool RemoveCompletedTasks(Database& db, platform::Prompter& prompter)
{
    if (!Confirm(prompter, "Remove completed tasks?"))
        return false;
    RemoveDisabled(db, prompter, [](const ScheduleRecord& r) { return r.completed != 0; });
    Tell(prompter, "Completed tasks removed.");
    return true;
}

bool ClearTodoList(Database& db, platform::Prompter& prompter)
{
    if (!Confirm(prompter, "Clear To Do list?"))
        return false;
    Table<TodoRecord> items(db);
    items.set(TodoRecord::KeyToDo);
    while (items.next() == kOk) {
        if (const int err = items.remove(); err != kOk)
            prompter.ask({ErrorDescription(db, err) + " error while removing To Do entry", "Cannot Remove To Do List"});
    }
    if (items.error() != kRecordNotAvailable)
        prompter.ask({ErrorDescription(db, items.error()) + " error while removing To Do entry",
                      "Cannot Remove To Do List"});
    Tell(prompter, "To Do list removed.");
    return true;
}

bool ResetWindowSettings(ProfileFile& positions, platform::Prompter& prompter)
{
    if (!Confirm(prompter, "Reset saved window settings?"))
        return false;
    static constexpr std::array kSections = {
        "BrowseSchedule", "Main",           "About",           "Calendar",        "ViewToDo",        "UpdateTodo",
        "Setup",          "AddProgramWizard", "AddMessageWizard", "BrowseTodo",    "UpdateSchedule",  "UpdateScripting",
        "ViewScriptKeys", "AddScripting",   "ShowMessage",     "SystemInfo",      "AddTaskWizard",   "SpecialEventWizard"};
    static constexpr std::array kKeys = {"Maximize", "XPosit", "YPosit", "Width",
                                         "Height",   "?Browse:1", "?Browse:2", "WindowScaled"};
    for (const char* section : kSections)
        for (const char* key : kKeys)
            positions.write(section, key, "");
    return true;
}

bool RemoveActiveScripts(platform::Prompter& prompter, const std::function<void()>& clearPendingScripts)
{
    if (!Confirm(prompter, "Remove active scripts?"))
        return false;
    if (clearPendingScripts)
        clearPendingScripts();
    Tell(prompter, "All active scripts have been removed");
    return true;
}

}  // namespace hrln::data
