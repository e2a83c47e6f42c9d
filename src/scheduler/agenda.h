#pragma once

#include "data/database.h"
#include "data/key_view.h"
#include "data/records.h"
#include "data/table.h"
#include "platform/clock.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace hrln::scheduler {

// One occurrence of a task within an agenda.
struct AgendaEntry {
    std::int64_t rowid = 0;  // the task's row, for the actions on it
    // The task as stored, its own date and time being its next occurrence.
    std::shared_ptr<const data::ScheduleRecord> task;
    Date date = 0;
    Time time = 0;
    // The task's next occurrence, marked to be passed over: listed, so that
    // the agenda says why nothing happens then.
    bool skipped = false;
    // The task's stored occurrence (the one a skip mark or a move of the
    // next occurrence acts on), rather than one the rule gives after it.
    bool isNext = false;
};

// What the scheduler will perform from a moment over the following days, in
// the order it will perform it: every occurrence of every enabled task, each
// task expanded from its next occurrence with the recurrence engine. History
// entries and disabled tasks are not listed.
//
// A task's stored occurrence is listed even when it lies before the moment (it
// is overdue and is performed at once); the ones after it follow as the
// scheduler will move the task, from the later of that occurrence and the
// moment. The agenda ends with the last day: days = 1 is the rest of today.
//
// Tasks are read in their next-occurrence order and only as far as the
// occurrences given need, since no task read later can have an earlier one:
// the first page of a large schedule costs what that page holds. They are
// read in batches, each from where the last one ended, and no statement is
// left open between pages: a list shown for hours holds no snapshot of the
// file (which would keep its log from being copied back).
class Agenda {
public:
    static constexpr int kMaxDays = 366;

    // `days` is held to 1 .. kMaxDays.
    Agenda(data::Database& db, platform::DateTime from, int days);
    ~Agenda();
    Agenda(const Agenda&) = delete;
    Agenda& operator=(const Agenda&) = delete;

    // Up to `n` further occurrences in time order (ties in the order the
    // scheduler takes them); fewer only at the end.
    std::vector<AgendaEntry> next(int n);
    bool atEnd() const;
    // The first error reading the schedule (kOk: none).
    int error() const { return error_; }

    platform::DateTime from() const { return from_; }
    Date lastDay() const { return lastDay_; }

private:
    struct Pending {
        Date date = 0;
        Time time = 0;
        std::int64_t rowid = 0;
        std::shared_ptr<const data::ScheduleRecord> stored;  // as read, shared with the entries
        std::shared_ptr<data::ScheduleRecord> moving;        // the copy the engine moves on
        bool first = true;  // the stored occurrence, not yet moved on
    };
    struct Later {
        bool operator()(const Pending& a, const Pending& b) const;
    };

    // Reads the next task from the key into `ahead_`; false at its end.
    bool readAhead();
    // Moves the tasks whose next occurrence comes no later than the earliest
    // pending one (or any, while none is pending) into the queue.
    void pull();
    void push(Pending p);
    void advance(Pending& p) const;

    platform::DateTime from_;
    Date lastDay_ = 0;
    data::KeyView view_;
    data::Table<data::ScheduleRecord> table_;
    std::vector<data::KeyView::Entry> batch_;  // the tasks' places in the key, read but not yet taken
    std::size_t batchAt_ = 0;
    data::KeyView::Entry last_;  // where the last batch ended
    std::vector<Pending> queue_;  // a heap, earliest on top
    Pending ahead_;
    bool haveAhead_ = false;
    bool streamDone_ = false;
    int error_ = data::kOk;
};

}  // namespace hrln::scheduler
