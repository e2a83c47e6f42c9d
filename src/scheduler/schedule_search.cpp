#include "scheduler/schedule_search.h"

#include "common/text.h"
#include "data/key_view.h"

#include <algorithm>
#include <limits>

namespace hrln::scheduler {
namespace {

using data::ScheduleRecord;

// `wanted` is trimmed and in upper case already: only the field is folded, per record.
bool Contains(std::string_view field, const std::string& wanted)
{
    if (wanted.empty())
        return true;
    const bool ascii = std::all_of(field.begin(), field.end(), [](char c) { return (c & 0x80) == 0; });
    if (!ascii)
        return text::ToUpper(field).find(wanted) != std::string::npos;
    // Most fields are plain ASCII: compared in place, without folding a copy.
    const auto same = [](char f, char w) { return (f >= 'a' && f <= 'z' ? f - 0x20 : f) == w; };
    return std::search(field.begin(), field.end(), wanted.begin(), wanted.end(), same) != field.end();
}

bool Same(std::string_view field, const std::string& wanted)
{
    return wanted.empty() || text::EqualNoCase(field, wanted);
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

ScheduleMatcher::ScheduleMatcher(const ScheduleCriteria& criteria) : c_(criteria)
{
    for (std::string* t : {&c_.taskType, &c_.scheduleType, &c_.everyType})
        *t = std::string(text::Trim(*t));
    for (std::string* t : {&c_.category, &c_.description, &c_.command, &c_.path, &c_.message})
        *t = text::ToUpper(text::Trim(*t));
}

std::vector<std::string_view> ScheduleMatcher::fields() const
{
    std::vector<std::string_view> out;
    const auto text = [&](const std::string& wanted, std::string_view field) {
        if (!wanted.empty())
            out.push_back(field);
    };
    text(c_.taskType, "TaskType");
    text(c_.category, "Category");
    text(c_.description, "Description");
    text(c_.command, "Command");
    text(c_.path, "Path");
    text(c_.message, "Message");
    text(c_.scheduleType, "ScheduleType");
    text(c_.everyType, "EveryType");
    constexpr std::string_view kOrdinals[] = {"Every1st", "Every2nd", "Every3rd", "Every4th", "EveryLast"};
    for (const int o : c_.ordinals)
        if (o >= 1 && o <= 5)
            out.push_back(kOrdinals[o - 1]);
    constexpr std::string_view kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
    for (const int d : c_.weekdays)
        if (d >= 0 && d <= 6)
            out.push_back(kWeekdays[d]);
    const auto number = [&](bool asked, std::string_view field) {
        if (asked)
            out.push_back(field);
    };
    number(c_.every != 0, "Every");
    number(c_.date != 0, "Date");
    number(c_.time != 0, "Time");
    number(c_.lastRunDate != 0, "LastRunDate");
    number(c_.skipNextTime >= 0, "SkipNextTime");
    number(c_.advanceWarnDate != 0, "AdvanceWarnDate");
    number(c_.advanceWarnTime != 0, "AdvanceWarnTime");
    return out;
}

bool ScheduleMatcher::operator()(const ScheduleRecord& task) const
{
    const ScheduleCriteria& c = c_;
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

bool Matches(const ScheduleRecord& task, const ScheduleCriteria& criteria)
{
    return ScheduleMatcher(criteria)(task);
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
    : db_(db), tags_(tags), criteria_(criteria), matches_(criteria), clearFirst_(clearFirst)
{
    // One statement walks the tasks and reads just the fields asked about: a
    // record buffer would seek the key and read every field for each task.
    // Marks have no order, so without a date the walk follows the file.
    data::FieldMatch onTheDay;
    if (criteria.date != 0)
        onTheDay.equal.emplace_back("Date", criteria.date);
    date_ = criteria.date;
    tasks_ = std::make_unique<data::RecordStream<ScheduleRecord>>(
        db_, date_ != 0 ? ScheduleRecord::KeyDate : data::RecordStreamBase::kFileOrder, matches_.fields(),
        std::move(onTheDay));
}

ScheduleSearchJob::~ScheduleSearchJob() = default;

bool ScheduleSearchJob::begin()
{
    if (clearFirst_ && (error_ = tags_.clear()) != data::kOk)
        return false;
    if (date_ != 0) {
        data::KeyView day(db_, ScheduleRecord::schema(), ScheduleRecord::KeyDate, {std::int64_t{date_}});
        total_ = day.count();
    } else {
        total_ = data::Table<ScheduleRecord>(db_).count();
    }
    return true;
}

bool ScheduleSearchJob::step(int count)
{
    // The marks of a batch go in one transaction of the tag file.
    data::Database& marks = tags_.file();
    const bool own = !marks.inTransaction() && marks.begin() == data::kOk;
    bool more = true;
    for (int i = 0; i < count; ++i) {
        const int err = tasks_->next();
        if (err != data::kOk) {
            if (err != data::kRecordNotAvailable)
                error_ = err;
            more = false;
            break;
        }
        ++done_;
        if (!matches_(tasks_->rec))
            continue;
        if (const int marked = tags_.mark(tasks_->rowId()); marked != data::kOk) {
            error_ = marked;
            more = false;
            break;
        }
        ++found_;
    }
    if (own && marks.commit() != data::kOk)
        marks.rollback();
    return more;
}

void ScheduleSearchJob::end(bool)
{
    if (tags_.file().inTransaction() && tags_.file().commit() != data::kOk)
        tags_.file().rollback();
    // The walk above follows the file; "&Find Next" follows the key, so the
    // first match is taken in the key's order, or matches before it are never reached.
    if (found_ > 0)
        first_ = FindNextMatch(db_, criteria_, 0);
}

std::int64_t FindNextMatch(data::Database& db, const ScheduleCriteria& criteria, std::int64_t after)
{
    const SearchScan scan = ScanFor(criteria);
    const ScheduleMatcher matches(criteria);
    data::Table<ScheduleRecord> tasks(db);
    if (after == 0 || tasks.reget(scan.key, after) != data::kOk)
        Start(tasks, scan);
    while (tasks.next() == data::kOk && InScan(tasks.rec, scan))
        if (matches(tasks.rec))
            return tasks.rowId();
    return 0;
}

}  // namespace hrln::scheduler
