#pragma once

#include "data/event_log.h"
#include "data/profile_file.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/table.h"
#include "platform/prompter.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace hrln::data {

// Records deleted in one transaction: enough to sweep 100,000 in seconds,
// few enough that one batch blocks the frame for milliseconds only.
inline constexpr int kSweepBatch = 200;

// A walk over the disabled end of KeyDateEnabled (history entries and tasks
// the user disabled, every `Disabled` value and every date) that deletes, with
// their script items and links, the records `remove` picks, one batch per
// step and each batch in a transaction of its own. `young`, when given, says
// that a record and those after it with the same `Disabled` value stay.
class DisabledSweep {
public:
    using Pick = std::function<bool(const ScheduleRecord&)>;
    DisabledSweep(Database& db, platform::Prompter& prompter, Pick remove, Pick young = {});

    // Deletes at most `batch` records; false once the walk is over. A file
    // locked by another writer leaves the batch to the next step.
    bool step(int batch = kSweepBatch);
    int removed() const { return removed_; }

private:
    void restart();
    void report(int err);

    Database& db_;
    platform::Prompter& prompter_;
    Pick remove_;
    Pick young_;
    Table<ScheduleRecord> tasks_;
    bool done_ = false;
    int removed_ = 0;
};

// The daily sweep of history entries (and, with RemoveUncompleted, of tasks
// the user disabled) whose date lies HistoryExpires days or more in the past.
// It runs on a worker of its own with its own connection to the file, batch
// after batch, so the frame never waits for more than one batch's write lock;
// what goes wrong is reported, and the log line written, back on the caller's
// thread when the sweep ends.
class HistorySweep {
public:
    HistorySweep(Database& db, const Settings& settings, EventLog& log, platform::Prompter& prompter,
                 std::function<void()> notifyScheduleBrowsers);
    ~HistorySweep();
    HistorySweep(const HistorySweep&) = delete;
    HistorySweep& operator=(const HistorySweep&) = delete;

    // Called on every active tick: starts the day's sweep when it has not run
    // today (`lastHousekeepingDay` is the frame's memory of the last run),
    // and finishes one that has ended. Never waits for the worker.
    void step(Date today, Date& lastHousekeepingDay);
    bool running() const { return worker_.joinable(); }
    // Waits for a running sweep and finishes it.
    void wait();
    // Records removed by the last sweep that ended.
    int removed() const { return removed_; }

private:
    void finish();

    Database& db_;
    const Settings& settings_;
    EventLog& log_;
    platform::Prompter& prompter_;
    std::function<void()> notify_;
    std::thread worker_;
    std::atomic<bool> ended_{false};
    std::atomic<bool> stop_{false};
    int removed_ = 0;
    std::vector<platform::MessageBox> reports_;  // written by the worker, read after it ended
};

// The whole day's sweep at once, in the caller's thread. Returns the number
// of records removed.
int RemoveExpiredHistory(HistorySweep& sweep, Date today, Date& lastHousekeepingDay);

// The settings window's housekeeping buttons. Each asks first and acts only on
// Yes; each returns whether it acted. Between batches `betweenBatches` lets
// the caller serve its events.
bool RemoveDisabledTasks(Database& db, platform::Prompter& prompter, const std::function<void()>& betweenBatches = {});
bool RemoveCompletedTasks(Database& db, platform::Prompter& prompter,
                          const std::function<void()>& betweenBatches = {});
bool ClearTodoList(Database& db, platform::Prompter& prompter, const std::function<void()>& betweenBatches = {});
bool ResetWindowSettings(ProfileFile& positions, platform::Prompter& prompter);
bool RemoveActiveScripts(platform::Prompter& prompter, const std::function<void()>& clearPendingScripts);

}  // namespace hrln::data
