#include "scheduler/schedule_search.h"

#include "common/text.h"
#include "data/key_view.h"

#include <algorithm>
#include <limits>

namespace hrln::scheduler {
namespace {

using data::ScheduleRecord;

bool Contains(std::string_view field, const std::string& wanted)
{
    return wanted.empty() || text::ToUpper(field).find(text::ToUpper(text::Trim(wanted))) != std::string::npos;
}

bool Same(std::string_view field, const std::string& wanted)
{
    return wanted.empty() || text::EqualNoCase(field, text::Trim(wanted));
}

data::Byte OrdinalFlag(const ScheduleRecord& task, int ordinal)
{
    switch (ordinal) {
    case 1: return task.every1st;
    case 2: return task.every2nd;
    case 3: return task.every3rd;
    case 4: return task.every4th;
    case 5: return task.everyLast;
    default: return 0;
    }
}

// Puts `tasks` before the first entry of the scan.
void Start(data::Table<ScheduleRecord>& tasks, const SearchScan& scan)
{
    tasks.clear();
    if (scan.prefix.empty()) {
        tasks.set(scan.key);
        return;
    }
    tasks.rec.date = std::numeric_limits<Date>::min();
    tasks.rec.time = std::numeric_limits<Time>::min();
    if (scan.key == ScheduleRecord::KeyDate)
        tasks.rec.date = static_cast<Date>(std::get<std::int64_t>(scan.prefix[0]));
    else
        tasks.rec.taskType = std::get<std::string>(scan.prefix[0]);
    tasks.setFrom(scan.key);
}

// Whether the record just read is still inside the scan's narrowing.
bool InScan(const ScheduleRecord& task, const SearchScan& scan)
{
    if (scan.prefix.empty())
        return true;
    if (scan.key == ScheduleRecord::KeyDate)
        return task.date == std::get<std::int64_t>(scan.prefix[0]);
    return text::EqualNoCase(task.taskType.view(), std::get<std::string>(scan.prefix[0]));
}

}  // namespace

bool ScheduleCriteria::empty() const
{
    for (const std::string* t : {&taskType, &category, &description, &command, &path, &message, &scheduleType,
                                 &everyType})
        if (!text::Trim(*t).empty())
            return false;
    return ordinals.empty() && weekdays.empty() && every == 0 && date == 0 && time == 0 && lastRunDate == 0 &&
           skipNextTime < 0 && advanceWarnDate == 0 && advanceWarnTime == 0;
}

bool Matches(const ScheduleRecord& task, const ScheduleCriteria& c)
{
    if (!Same(task.taskType.view(), c.taskType) || !Same(task.scheduleType.view(), c.scheduleType) ||
        !Same(task.everyType.view(), c.everyType))
        return false;
    if (!Contains(task.category.view(), c.category) || !Contains(task.description.view(), c.description) ||
        !Contains(task.command.view(), c.command) || !Contains(task.path.view(), c.path) ||
        !Contains(task.message.view(), c.message))
        return false;
    if (std::any_of(c.ordinals.begin(), c.ordinals.end(), [&](int o) { return OrdinalFlag(task, o) == 0; }))
        return false;
    if (std::any_of(c.weekdays.begin(), c.weekdays.end(), [&](int d) { return task.weekdayFlag(d) == 0; }))
        return false;
    if (c.every != 0 && task.every != c.every)
        return false;
    if ((c.date != 0 && task.date != c.date) || (c.time != 0 && task.time != c.time) ||
        (c.lastRunDate != 0 && task.lastRunDate != c.lastRunDate))
        return false;
    if (c.skipNextTime >= 0 && (task.skipNextTime != 0) != (c.skipNextTime != 0))
        return false;
    return (c.advanceWarnDate == 0 || task.advanceWarnDate == c.advanceWarnDate) &&
           (c.advanceWarnTime == 0 || task.advanceWarnTime == c.advanceWarnTime);
}

SearchScan ScanFor(const ScheduleCriteria& criteria)
{
    if (criteria.date != 0)
        return {ScheduleRecord::KeyDate, {std::int64_t{criteria.date}}};
    if (const std::string_view type = text::Trim(criteria.taskType); !type.empty())
        return {ScheduleRecord::KeyTaskDate, {std::string(type)}};
    return {};
}

ScheduleSearchJob::ScheduleSearchJob(data::Database& db, data::RecordTags& tags, ScheduleCriteria criteria,
                                     bool clearFirst)
    : db_(db), tags_(tags), criteria_(std::move(criteria)), clearFirst_(clearFirst), scan_(ScanFor(criteria_)),
      tasks_(db)
{
}

bool ScheduleSearchJob::begin()
{
    if (clearFirst_ && (error_ = tags_.clear()) != data::kOk)
        return false;
    data::KeyView view(db_, ScheduleRecord::schema(), scan_.key, scan_.prefix);
    total_ = view.count();
    Start(tasks_, scan_);
    return true;
}

bool ScheduleSearchJob::step(int count)
{
    // The marks of a batch go in one transaction of the tag file.
    data::Database& marks = tags_.file();
    const bool own = !marks.inTransaction() && marks.begin() == data::kOk;
    bool more = true;
    for (int i = 0; i < count; ++i) {
        const int err = tasks_.next();
        if (err != data::kOk || !InScan(tasks_.rec, scan_)) {
            if (err != data::kOk && err != data::kRecordNotAvailable)
                error_ = err;
            more = false;
            break;
        }
        ++done_;
        if (!Matches(tasks_.rec, criteria_))
            continue;
        if (const int marked = tags_.mark(tasks_.rowId()); marked != data::kOk) {
            error_ = marked;
            more = false;
            break;
        }
        if (found_++ == 0)
            first_ = tasks_.rowId();
    }
    if (own && marks.commit() != data::kOk)
        marks.rollback();
    return more;
}

void ScheduleSearchJob::end(bool)
{
    if (tags_.file().inTransaction() && tags_.file().commit() != data::kOk)
        tags_.file().rollback();
}

std::int64_t FindNextMatch(data::Database& db, const ScheduleCriteria& criteria, std::int64_t after)
{
    const SearchScan scan = ScanFor(criteria);
    data::Table<ScheduleRecord> tasks(db);
    if (after == 0 || tasks.reget(scan.key, after) != data::kOk)
        Start(tasks, scan);
    while (tasks.next() == data::kOk && InScan(tasks.rec, scan))
        if (Matches(tasks.rec, criteria))
            return tasks.rowId();
    return 0;
}

}  // namespace hrln::scheduler
