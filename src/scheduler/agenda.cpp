#include "scheduler/agenda.h"

#include "platform/prompter.h"
#include "recurrence/recurrence.h"
#include "recurrence/schedule_rule.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace hrln::scheduler {
namespace {

using data::ScheduleRecord;

constexpr int kBatch = 64;

// The engine asks about custom units it does not know. The agenda only looks
// ahead: the scheduler asks when it performs the task, and moves it to the
// next day as the engine does here.
class SilentPrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox&) override { return platform::MessageButton::Ok; }
    void endProgram(const std::string&) override {}
};

}  // namespace

bool Agenda::Later::operator()(const Pending& a, const Pending& b) const
{
    if (a.date != b.date)
        return a.date > b.date;
    if (a.time != b.time)
        return a.time > b.time;
    // Equal moments: the scheduler takes them in key order, whose last part is the row.
    return a.rowid > b.rowid;
}

Agenda::Agenda(data::Database& db, platform::DateTime from, int days)
    : from_(from),
      lastDay_(from.date + std::clamp(days, 1, kMaxDays) - 1),
      view_(db, ScheduleRecord::schema(), ScheduleRecord::KeyDateEnabled, {std::int64_t{0}}),
      table_(db)
{
}

Agenda::~Agenda() = default;

bool Agenda::readAhead()
{
    while (!streamDone_) {
        if (batchAt_ >= batch_.size()) {
            // The start of the key needs no count: a count of a long key costs what the key holds.
            batch_ = last_.values.empty() ? view_.at(0, kBatch, std::numeric_limits<std::int64_t>::max())
                                          : view_.after(last_, kBatch);
            batchAt_ = 0;
            if (view_.error() != data::kOk && error_ == data::kOk)
                error_ = view_.error();
            if (batch_.empty()) {
                streamDone_ = true;
                return false;
            }
            last_ = batch_.back();
        }
        const std::int64_t rowid = batch_[batchAt_++].rowid;
        // Gone since its batch was read: another program removed or performed it.
        if (table_.reget(ScheduleRecord::KeyDateEnabled, rowid) != data::kOk)
            continue;
        const ScheduleRecord& rec = table_.rec;
        if (rec.disabled != 0)
            continue;
        // The key holds enabled tasks by their next date: none after this one comes sooner.
        if (rec.date > lastDay_) {
            streamDone_ = true;
            return false;
        }
        if (rec.completed != 0)
            continue;
        Pending p;
        p.stored = std::make_shared<const ScheduleRecord>(rec);
        p.date = rec.date;
        p.time = rec.time;
        NormalizeDateTime(p.date, p.time);
        p.rowid = rowid;
        ahead_ = std::move(p);
        haveAhead_ = true;
        return true;
    }
    return false;
}

void Agenda::pull()
{
    for (;;) {
        if (!haveAhead_ && !readAhead())
            return;
        if (!queue_.empty() && Later{}(ahead_, queue_.front()))
            return;
        haveAhead_ = false;
        push(std::move(ahead_));
    }
}

void Agenda::push(Pending p)
{
    if (p.date > lastDay_)
        return;
    queue_.push_back(std::move(p));
    std::push_heap(queue_.begin(), queue_.end(), Later{});
}

// As the scheduler moves a task once it has performed the occurrence: from
// the moment it performs it, the later of the occurrence and the agenda's start.
void Agenda::advance(Pending& p) const
{
    if (!p.moving)
        p.moving = std::make_shared<ScheduleRecord>(*p.stored);
    ScheduleRecord& task = *p.moving;
    Date afterDate = p.date;
    Time afterTime = p.time;
    if (CompareDateTime(from_.date, from_.time, p.date, p.time) > 0) {
        afterDate = from_.date;
        afterTime = from_.date > p.date && task.skipIfMissed != 0 ? 0 : from_.time;
    }
    task.date = p.date;
    task.time = p.time;
    task.completed = 0;
    SilentPrompter silent;
    recurrence::NextOccurrence(task, afterDate, afterTime, silent);
    p.date = task.completed != 0 ? lastDay_ + 1 : task.date;
    p.time = task.time;
    p.first = false;
}

std::vector<AgendaEntry> Agenda::next(int n)
{
    std::vector<AgendaEntry> out;
    while (static_cast<int>(out.size()) < n) {
        pull();
        if (queue_.empty())
            break;
        std::pop_heap(queue_.begin(), queue_.end(), Later{});
        Pending p = std::move(queue_.back());
        queue_.pop_back();

        AgendaEntry entry;
        entry.rowid = p.rowid;
        entry.date = p.date;
        entry.time = p.time;
        entry.task = p.stored;
        entry.skipped = p.first && p.stored->skipNextTime != 0;
        entry.isNext = p.first;
        out.push_back(std::move(entry));

        if (recurrence::KindOf(*p.stored) == recurrence::RuleKind::Once)
            continue;
        advance(p);
        push(std::move(p));
    }
    return out;
}

bool Agenda::atEnd() const
{
    return queue_.empty() && !haveAhead_ && streamDone_;
}

}  // namespace hrln::scheduler
