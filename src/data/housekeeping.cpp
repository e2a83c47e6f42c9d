#include "data/housekeeping.h"

#include "common/translate.h"
#include "data/schedule_store.h"
#include "data/table_open.h"

#include <array>
#include <chrono>
#include <limits>

namespace hrln::data {
namespace {

using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageIcon;

std::string HousekeepingCaption()
{
    return HrlnTranslate("Housekeeping", "Housekeeping");
}

bool Confirm(platform::Prompter& prompter, const std::string& question)
{
    return prompter.ask({question, HousekeepingCaption(), MessageIcon::Exclamation, MessageButtons::YesNo,
                         MessageButton::No}) == MessageButton::Yes;
}

void Tell(platform::Prompter& prompter, const std::string& text)
{
    prompter.ask({text, HousekeepingCaption()});
}

void ReportHistoryError(platform::Prompter& prompter, Database& db, int err)
{
    prompter.ask({ErrorDescription(db, err) + " error while removing history", "Cannot Remove History"});
}

// A batch waits this long for another writer before it leaves its work to the next step.
constexpr std::chrono::milliseconds kBatchWait{100};

// Runs `step` until it is done, serving the caller's events between batches.
template <class Step>
void InBatches(Step step, const std::function<void()>& betweenBatches)
{
    while (step()) {
        if (betweenBatches)
            betweenBatches();
    }
}

}  // namespace

DisabledSweep::DisabledSweep(Database& db, platform::Prompter& prompter, Pick remove, Pick young)
    : db_(db), prompter_(prompter), remove_(std::move(remove)), young_(std::move(young)), tasks_(db)
{
    restart();
}

void DisabledSweep::restart()
{
    tasks_.clear();
    tasks_.rec.disabled = 1;
    tasks_.rec.date = std::numeric_limits<Date>::min();
    tasks_.rec.time = std::numeric_limits<Time>::min();
    tasks_.setFrom(ScheduleRecord::KeyDateEnabled);
}

void DisabledSweep::report(int err)
{
    ReportHistoryError(prompter_, db_, err);
}

bool DisabledSweep::step(int batch)
{
    if (done_)
        return false;
    if (db_.begin(kBatchWait) != kOk)
        return true;  // another writer holds the file: the next step tries again
    int handled = 0;
    int removedHere = 0;
    while (handled < batch) {
        const int err = tasks_.next();
        if (err != kOk) {
            if (err != kRecordNotAvailable)
                report(err);
            done_ = true;
            break;
        }
        if (young_ && young_(tasks_.rec)) {
            // The key is in date order within each Disabled value: the rest of
            // this value stays, the next value starts afresh.
            if (tasks_.rec.disabled == std::numeric_limits<Byte>::max()) {
                done_ = true;
                break;
            }
            const Byte next = static_cast<Byte>(tasks_.rec.disabled + 1);
            tasks_.clear();
            tasks_.rec.disabled = next;
            tasks_.rec.date = std::numeric_limits<Date>::min();
            tasks_.rec.time = std::numeric_limits<Time>::min();
            tasks_.setFrom(ScheduleRecord::KeyDateEnabled);
            continue;
        }
        ++handled;
        if (!remove_(tasks_.rec))
            continue;
        if (const int del = DeleteTask(tasks_); del != kOk)
            report(del);
        else
            ++removedHere;
    }
    if (db_.commit() != kOk) {
        // Nothing of this batch stands: walk again from the start.
        db_.rollback();
        done_ = false;
        restart();
        return true;
    }
    removed_ += removedHere;
    return !done_;
}

namespace {

// Keeps what the worker would have told the user, for the user's thread to tell.
class KeptMessages : public platform::Prompter {
public:
    explicit KeptMessages(std::vector<platform::MessageBox>& kept) : kept_(kept) {}
    platform::MessageButton ask(const platform::MessageBox& box) override
    {
        kept_.push_back(box);
        return box.defaultButton;
    }
    void endProgram(const std::string&) override {}

private:
    std::vector<platform::MessageBox>& kept_;
};

// The worker's batches are small, and between them it leaves the file to the
// frame for a moment: the frame's writes wait for one batch at the most,
// a few milliseconds.
constexpr int kWorkerBatch = 10;
constexpr std::chrono::milliseconds kPauseBetweenBatches{2};

}  // namespace

HistorySweep::HistorySweep(Database& db, const Settings& settings, EventLog& log, platform::Prompter& prompter,
                           std::function<void()> notifyScheduleBrowsers)
    : db_(db), settings_(settings), log_(log), prompter_(prompter), notify_(std::move(notifyScheduleBrowsers))
{
}

HistorySweep::~HistorySweep()
{
    if (worker_.joinable()) {
        stop_ = true;
        worker_.join();
    }
}

void HistorySweep::step(Date today, Date& lastHousekeepingDay)
{
    if (worker_.joinable()) {
        if (ended_)
            finish();
        return;
    }
    const int expires = settings_.historyExpires;
    if (expires <= 0 || lastHousekeepingDay == today)
        return;
    lastHousekeepingDay = today;
    const bool uncompleted = settings_.removeUncompleted;
    ended_ = false;
    stop_ = false;
    reports_.clear();
    removed_ = 0;
    worker_ = std::thread([this, path = db_.path(), layout = &db_.layout(), today, expires, uncompleted] {
        Database own(path, *layout);
        KeptMessages kept(reports_);
        if (const int err = own.open(); err != kOk) {
            ReportHistoryError(kept, own, err);
        } else {
            DisabledSweep walk(
                own, kept, [uncompleted](const ScheduleRecord& r) { return r.completed != 0 || uncompleted; },
                [today, expires](const ScheduleRecord& r) {
                    return static_cast<long long>(r.date) + expires > today;
                });
            while (!stop_ && walk.step(kWorkerBatch))
                std::this_thread::sleep_for(kPauseBetweenBatches);
            removed_ = walk.removed();
        }
        ended_ = true;
    });
}

void HistorySweep::wait()
{
    if (worker_.joinable()) {
        worker_.join();
        finish();
    }
}

void HistorySweep::finish()
{
    if (worker_.joinable())
        worker_.join();
    for (const platform::MessageBox& box : reports_)
        prompter_.ask(box);
    reports_.clear();
    log_.logEvent("History", "Checked for tasks needing removal");
    if (notify_)
        notify_();
}

int RemoveExpiredHistory(HistorySweep& sweep, Date today, Date& lastHousekeepingDay)
{
    const Date before = lastHousekeepingDay;
    sweep.step(today, lastHousekeepingDay);
    if (lastHousekeepingDay == before)
        return 0;
    sweep.wait();
    return sweep.removed();
}

bool RemoveDisabledTasks(Database& db, platform::Prompter& prompter, const std::function<void()>& betweenBatches)
{
    if (!Confirm(prompter, HrlnTranslate("Housekeeping", "Remove disabled tasks?")))
        return false;
    DisabledSweep sweep(db, prompter, [](const ScheduleRecord&) { return true; });
    InBatches([&] { return sweep.step(); }, betweenBatches);
    Tell(prompter, HrlnTranslate("Housekeeping", "Disabled tasks removed."));
    return true;
}

bool RemoveCompletedTasks(Database& db, platform::Prompter& prompter, const std::function<void()>& betweenBatches)
{
    if (!Confirm(prompter, HrlnTranslate("Housekeeping", "Remove completed tasks?")))
        return false;
    DisabledSweep sweep(db, prompter, [](const ScheduleRecord& r) { return r.completed != 0; });
    InBatches([&] { return sweep.step(); }, betweenBatches);
    Tell(prompter, HrlnTranslate("Housekeeping", "Completed tasks removed."));
    return true;
}

bool ClearTodoList(Database& db, platform::Prompter& prompter, const std::function<void()>& betweenBatches)
{
    if (!Confirm(prompter, HrlnTranslate("Housekeeping", "Clear To Do list?")))
        return false;
    const auto report = [&](int err) {
        prompter.ask({ErrorDescription(db, err) + " error while removing To Do entry", "Cannot Remove To Do List"});
    };
    Table<TodoRecord> items(db);
    items.set(TodoRecord::KeyToDo);
    InBatches(
        [&] {
            if (db.begin(kBatchWait) != kOk)
                return true;
            int err = kOk;
            for (int n = 0; n < kSweepBatch && (err = items.next()) == kOk; ++n)
                if (const int del = items.remove(); del != kOk)
                    report(del);
            if (db.commit() != kOk) {
                db.rollback();
                items.set(TodoRecord::KeyToDo);
                return true;
            }
            if (err != kOk && err != kRecordNotAvailable)
                report(err);
            return err == kOk;
        },
        betweenBatches);
    Tell(prompter, HrlnTranslate("Housekeeping", "To Do list removed."));
    return true;
}

bool ResetWindowSettings(ProfileFile& positions, platform::Prompter& prompter)
{
    if (!Confirm(prompter, HrlnTranslate("Housekeeping", "Reset saved window settings?")))
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
    if (!Confirm(prompter, HrlnTranslate("Housekeeping", "Remove active scripts?")))
        return false;
    if (clearPendingScripts)
        clearPendingScripts();
    Tell(prompter, HrlnTranslate("Housekeeping", "All active scripts have been removed"));
    return true;
}

}  // namespace hrln::data
