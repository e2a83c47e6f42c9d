#include "exchange/calendar_import.h"

#include "common/input_file.h"
#include "common/text.h"
#include "data/database.h"
#include "data/records.h"
#include "exchange/calendar_reader.h"
#include "exchange/calendar_rule.h"
#include "exchange/calendar_series.h"
#include "exchange/calendar_times.h"
#include "exchange/ical_handle.h"
#include "exchange/record_adder.h"
#include "exchange/record_values.h"
#include "platform/prompter.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace hrln::exchange {
namespace {

// Files larger than this are refused rather than read whole.
constexpr std::uintmax_t kMaxCalendarBytes = 256u << 20;
// Content lines read per record of a batch: an event of a dozen lines or so,
// so that a batch reads about as long as it checks.
constexpr int kLinesPerRecord = 16;

// The X-HRLN- properties of a component as values of the record's fields; the
// reason one cannot be a value of its field.
template <class R>
std::string ReadExtras(icalcomponent* c, std::vector<std::pair<int, data::Value>>& values)
{
    static const std::vector<detail::FieldLimits> limits = detail::LimitsOf<R>();
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        const R blank{};
        R::fields(blank, [&](const char* name, const auto&) { out.push_back(ical::ExtraName(name)); });
        return out;
    }();
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        const char* xname = icalproperty_get_x_name(p);
        const char* raw = icalproperty_get_x(p);
        if (!xname || !raw)
            continue;
        const auto at = std::find(names.begin(), names.end(), std::string_view(xname));
        if (at == names.end())
            continue;
        const int number = static_cast<int>(at - names.begin());
        const detail::FieldLimits& limit = limits[static_cast<std::size_t>(number)];
        const std::string_view value(raw);
        if (!text::IsValidUtf8(value))
            return std::string(xname) + " is not UTF-8";
        if (!limit.number) {
            values.emplace_back(number, std::string(text::Clip(text::CutToWidth(value, limit.width))));
            continue;
        }
        std::int64_t n = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc() || end != value.data() + value.size() || n < limit.min || n > limit.max)
            return std::string(xname) + " \"" + std::string(text::CutToWidth(value, 20)) + "\" is no value of the field";
        values.emplace_back(number, n);
    }
    return {};
}

bool IsOwn(icalcomponent* c, const char* marker)
{
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY))
        if (const char* name = icalproperty_get_x_name(p); name && std::string_view(name) == marker)
            return true;
    return false;
}

// A text property into a field; false when it is not UTF-8.
template <class Field>
bool TakeText(icalcomponent* c, icalproperty_kind kind, Field& field, bool firstOfList = false)
{
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    if (!p)
        return true;
    const char* raw = icalproperty_get_value_as_string(p);
    if (kind == ICAL_SUMMARY_PROPERTY || kind == ICAL_DESCRIPTION_PROPERTY || kind == ICAL_CATEGORIES_PROPERTY) {
        icalvalue* v = icalproperty_get_value(p);
        raw = v ? icalvalue_get_text(v) : nullptr;
    }
    if (!raw)
        return true;
    std::string_view value(raw);
    if (!text::IsValidUtf8(value))
        return false;
    if (firstOfList)
        value = text::Trim(value.substr(0, value.find(',')));
    field = value;
    return true;
}

std::string ErrorOf(icalcomponent* c)
{
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY)) {
        const char* text = icalproperty_get_xlicerror(p);
        return std::string("the calendar text is damaged: ") + (text ? text : "unreadable property");
    }
    return {};
}

std::string KindName(icalcomponent* c)
{
    const char* name = icalcomponent_kind_to_string(icalcomponent_isa(c));
    return name ? name : "component";
}

std::string ItemName(icalcomponent* c, std::size_t number)
{
    std::string out = KindName(c) + " " + std::to_string(number);
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_SUMMARY_PROPERTY))
        if (const char* s = icalproperty_get_summary(p))
            out += " (\"" + std::string(text::CutToWidth(text::SanitizeUtf8(s), 40)) + "\")";
    return out;
}

// Seconds on the wall clock, for the distance between two local moments.
std::int64_t WallSeconds(const ical::Moment& m)
{
    return std::int64_t{m.date} * 86'400 + (m.time > 0 ? (m.time - 1) / 100 : 0);
}

std::optional<ical::Moment> WallMoment(std::int64_t seconds)
{
    const std::int64_t date = seconds / 86'400;
    const int rest = static_cast<int>(seconds % 86'400);
    if (seconds < 0 || date < 1 || date > kLastDate)
        return std::nullopt;
    return ical::Moment{static_cast<Date>(date), MakeTime(rest / 3600, rest / 60 % 60, rest % 60)};
}

// The moment of the event's first alarm for a task performed at `at`, whose
// event began at `first`: a reminder before the start keeps its distance, one
// at a date and time is read in local time (and keeps its distance from the
// start when the series now starts later). Nothing without an alarm.
std::optional<ical::Moment> AlarmOf(icalcomponent* c, const ical::LocalTimes& times, const ical::Moment& first,
                                    const ical::Moment& at, std::string& why)
{
    icalcomponent* alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT);
    icalproperty* p = alarm ? icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY) : nullptr;
    if (!p)
        return std::nullopt;
    const icaltriggertype trigger = icalproperty_get_trigger(p);
    std::int64_t before = 0;
    if (icaltime_is_null_time(trigger.time)) {
        before = icaldurationtype_as_int(trigger.duration);
    } else {
        const std::optional<ical::Moment> when = times.local(trigger.time);
        if (!when) {
            why = "its alarm (VALARM) is at no time the program knows";
            return std::nullopt;
        }
        before = WallSeconds(*when) - WallSeconds(first);
    }
    const std::optional<ical::Moment> warn = WallMoment(WallSeconds(at) + before);
    if (!warn)
        why = "its alarm (VALARM) is at no time the program knows";
    return warn;
}

// The task's start as the calendar had it and as it is performed now.
ical::Moment StartOf(const data::ScheduleRecord& task)
{
    return {task.date, task.time};
}

void SetAlarm(data::ScheduleRecord& task, const std::optional<ical::Moment>& warn)
{
    task.advanceWarnDate = warn ? warn->date : 0;
    task.advanceWarnTime = warn ? (warn->time != 0 ? warn->time : MakeTime(0, 0)) : 0;
}

// The rule fields, which the standard properties carry too.
void CopySchedule(const data::ScheduleRecord& from, data::ScheduleRecord& to)
{
    to.date = from.date;
    to.time = from.time;
    to.scheduleType = from.scheduleType;
    for (int d = 0; d < 7; ++d)
        to.weekdayFlag(d) = from.weekdayFlag(d);
    to.every1st = from.every1st;
    to.every2nd = from.every2nd;
    to.every3rd = from.every3rd;
    to.every4th = from.every4th;
    to.everyLast = from.everyLast;
    to.every = from.every;
    to.everyType = from.everyType;
    to.skipNextTime = from.skipNextTime;
    to.completed = from.completed;
    to.advanceWarnDate = from.advanceWarnDate;
    to.advanceWarnTime = from.advanceWarnTime;
}

std::string NormalRule(const icalrecurrencetype& r)
{
    const ical::String text(icalrecurrencetype_as_string_r(const_cast<icalrecurrencetype*>(&r)));
    return text ? text.get() : "";
}

// Whether the standard properties say what this program wrote beside them
// in its own fields: the start, the rule and the skipped occurrence. They
// disagree once another program has edited the event.
bool StandardAgrees(icalcomponent* c, const data::ScheduleRecord& mine, const ical::LocalTimes& times)
{
    icalproperty* startProperty = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    icalproperty* ruleProperty = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
    if (mine.date == 0)
        return !startProperty && !ruleProperty;
    std::string why;
    const std::optional<ical::Moment> start = LocalOf(c, startProperty, times, why);
    const ical::Moment written = ical::ToMoment(ical::FromMoment(mine.date, mine.time)).value_or(ical::Moment{});
    if (!start || !ical::SameMoment(*start, written) || (start->time == 0) != (written.time == 0))
        return false;
    const RuleText ours = RecurrenceRuleFor(mine);
    if (!ruleProperty) {
        if (!ours.rrule.empty())
            return false;
    } else {
        if (ours.rrule.empty() || icalcomponent_count_properties(c, ICAL_RRULE_PROPERTY) != 1)
            return false;
        if (NormalRule(icalproperty_get_rrule(ruleProperty)) !=
            NormalRule(icalrecurrencetype_from_string(ours.rrule.c_str())))
            return false;
    }
    bool skipped = false;
    for (icalproperty* x = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); x;
         x = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
        const std::optional<ical::Moment> m = LocalOf(c, x, times, why);
        if (!m || !ical::SameMoment(*m, *start))
            return false;
        skipped = true;
    }
    return skipped == (mine.skipNextTime != 0);
}

struct EventContext {
    const ical::LocalTimes& times;
    const std::vector<icaltimetype>& moved;  // original times of the occurrences moved away
    SeriesCounts& counts;
};

std::string TaskFromEvent(icalcomponent* c, const EventContext& context, data::ScheduleRecord& task, bool& allDay)
{
    if (!TakeText(c, ICAL_SUMMARY_PROPERTY, task.description) || !TakeText(c, ICAL_DESCRIPTION_PROPERTY, task.message) ||
        !TakeText(c, ICAL_CATEGORIES_PROPERTY, task.category, true))
        return "a text is not UTF-8";
    const ical::LocalTimes& times = context.times;
    std::string why;
    icalproperty* startProperty = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    const std::optional<ical::Moment> first = LocalOf(c, startProperty, times, why);
    if (startProperty && !first)
        return why;
    allDay = first && first->time == 0;

    if (IsOwn(c, "X-HRLN-SCHEDULETYPE")) {
        // A file this program wrote gives back its records, unless another
        // program has changed the event since: then the standard start, rule
        // and alarm are what the user last chose.
        data::ScheduleRecord mine = task;
        std::vector<std::pair<int, data::Value>> extras;
        if (why = ReadExtras<data::ScheduleRecord>(c, extras); !why.empty())
            return why;
        detail::SetValues(mine, extras);
        if (StandardAgrees(c, mine, times)) {
            if (mine.date != 0) {
                const std::optional<ical::Moment> warn = AlarmOf(c, times, *first, *first, why);
                if (!why.empty())
                    return why;
                const ical::Moment kept{mine.advanceWarnDate, mine.advanceWarnTime};
                if (!warn ? mine.advanceWarnDate != 0 : !ical::SameMoment(*warn, kept))
                    SetAlarm(mine, warn);
            }
            task = mine;
            return {};
        }
        if (!first)
            return "it has no start (DTSTART)";
        if (why = ScheduleFromEvent(c, times, context.moved, task, context.counts); !why.empty())
            return why;
        SetAlarm(task, AlarmOf(c, times, *first, StartOf(task), why));
        if (!why.empty())
            return why;
        CopySchedule(task, mine);
        task = mine;
        return {};
    }

    if (!first)
        return "it has no start (DTSTART)";
    if (why = ScheduleFromEvent(c, times, context.moved, task, context.counts); !why.empty())
        return why;
    SetAlarm(task, AlarmOf(c, times, *first, StartOf(task), why));
    if (!why.empty())
        return why;
    // Fields of this program's own beside a start and rule of another's: the
    // standard ones say when.
    std::vector<std::pair<int, data::Value>> extras;
    if (why = ReadExtras<data::ScheduleRecord>(c, extras); !why.empty())
        return why;
    data::ScheduleRecord withExtras = task;
    detail::SetValues(withExtras, extras);
    CopySchedule(task, withExtras);
    task = withExtras;
    return {};
}

std::string ItemFromTodo(icalcomponent* c, const ical::LocalTimes& times, data::TodoRecord& item, bool& zoned)
{
    // As the to-do form begins a new item.
    item.priority = 5;
    item.category = "General";
    if (!TakeText(c, ICAL_SUMMARY_PROPERTY, item.toDo) || !TakeText(c, ICAL_DESCRIPTION_PROPERTY, item.notes) ||
        !TakeText(c, ICAL_CATEGORIES_PROPERTY, item.category, true))
        return "a text is not UTF-8";
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_PRIORITY_PROPERTY))
        if (const int priority = icalproperty_get_priority(p); priority >= 1 && priority <= 9)
            item.priority = static_cast<data::Byte>(priority);
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_DUE_PROPERTY)) {
        std::string why;
        const std::optional<ical::Moment> due = LocalOf(c, p, times, why);
        if (!due)
            return why;
        zoned = ical::LocalTimes::Zoned(icalproperty_get_datetime_with_component(p, c));
        item.completionDate = due->date;
        item.completionTime = due->time;
    }
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_STATUS_PROPERTY))
        item.done = icalproperty_get_status(p) == ICAL_STATUS_COMPLETED ? 1 : 0;
    if (icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY))
        item.done = 1;
    std::vector<std::pair<int, data::Value>> extras;
    if (std::string why = ReadExtras<data::TodoRecord>(c, extras); !why.empty())
        return why;
    detail::SetValues(item, extras);
    return {};
}

}  // namespace

namespace detail {

// The import itself, on the thread of its CalendarImportJob: the file read a
// few lines a batch, then its records checked a batch at a time and kept
// aside, then stored together when it ends.
class CalendarImportWork : public ImportWork {
public:
    CalendarImportWork(data::Database& db, ExchangeTable table, std::string path, const platform::Clock& clock,
                       platform::Prompter& prompter)
        : ImportWork(db, std::move(path), prompter), table_(table), times_(clock)
    {
    }
    ~CalendarImportWork() override;

    std::string description() const override { return "Importing " + std::string(TableTitle(table_)); }
    bool begin() override;
    bool step(int count) override;
    int percent() const override;
    void end(bool cancelled) override;

    class Source;

private:
    void dropInput() override;
    // The first reading of the file: its zones kept, the occurrences moved
    // noted; false once read, true with items to check then.
    bool survey(int count);
    // The second reading: the next component that may be a record, its
    // calendar's zones around it; null at the end of the file.
    icalcomponent* nextItem();

    ExchangeTable table_;
    ical::LocalTimes times_;  // the present read when the job was made
    std::unique_ptr<Source> source_;
    std::unique_ptr<CalendarReader> reader_;
    bool surveyed_ = false;       // the first reading done
    std::size_t itemCount_ = 0;   // components other than zones, found by it
    std::vector<ical::Component> pending_;  // read, not yet checked
    std::size_t pendingAt_ = 0;
    // The moved occurrences found by the first reading: UID and RECURRENCE-ID,
    // its zone resolved once every zone of the file is known.
    std::vector<std::pair<std::string, std::unique_ptr<icalproperty, void (*)(icalproperty*)>>> movedIds_;
};

// The parsed calendar, its records in file order, and the rejected file.
class CalendarImportWork::Source {
public:
    virtual ~Source() = default;
    // The reason the component is refused; empty when it was kept.
    virtual std::string add(icalcomponent* c) = 0;
    // Adds the records kept; see RecordAdder::store().
    virtual int store() = 0;
    virtual int stored() const = 0;
    virtual bool lost() const = 0;

    // The file's time zones (VTIMEZONE), under a calendar of their own; each
    // component is checked inside it, so that its times find their zones.
    ical::Component zones{icalcomponent_new(ICAL_VCALENDAR_COMPONENT)};
    std::size_t next = 0;  // components checked
    std::ofstream rejected;
    // By UID, the original times (RECURRENCE-ID) of the occurrences that
    // components of their own move or cancel.
    std::map<std::string, std::vector<icaltimetype>, std::less<>> moved;
    SeriesCounts counts;
    int zoned = 0;      // to-do items whose times named a zone
    int allDays = 0;    // events without a time of day
    int leftOut = 0;    // moved or cancelled occurrences with nothing left to perform
};

}  // namespace detail

namespace {

using Source = detail::CalendarImportWork::Source;
class ScheduleSink : public Source {
public:
    ScheduleSink(data::Database& db, const ical::LocalTimes& times) : adder_(db), times_(times) {}
    std::string add(icalcomponent* c) override
    {
        if (icalcomponent_isa(c) != ICAL_VEVENT_COMPONENT)
            return "a " + KindName(c) + " is no task" +
                   (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT ? "; import it into the to-do list" : "");
        std::vector<icaltimetype> none;
        const std::vector<icaltimetype>* away = &none;
        if (icalproperty* id = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) {
            // One occurrence of a series, moved or cancelled: its series
            // passes over the original time, and a moved one becomes a task
            // of its own, as the reschedule wizard makes it.
            if (icalparameter* range = icalproperty_get_first_parameter(id, ICAL_RANGE_PARAMETER);
                range && icalparameter_get_range(range) == ICAL_RANGE_THISANDFUTURE)
                return "it changes an occurrence and all after it (RANGE=THISANDFUTURE), which a task cannot";
            if (icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY))
                return "a moved occurrence (RECURRENCE-ID) with a rule of its own cannot be a task";
            icalproperty* status = icalcomponent_get_first_property(c, ICAL_STATUS_PROPERTY);
            if (status && icalproperty_get_status(status) == ICAL_STATUS_CANCELLED) {
                ++leftOut;
                return {};
            }
            std::string why;
            icalproperty* start = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
            if (const std::optional<ical::Moment> at = LocalOf(c, start ? start : id, times_, why);
                at && ical::Compare(*at, times_.now()) < 0) {
                ++leftOut;
                return {};
            }
        } else if (icalproperty* uid = icalcomponent_get_first_property(c, ICAL_UID_PROPERTY)) {
            if (const char* text = icalproperty_get_uid(uid))
                if (const auto at = moved.find(std::string_view(text)); at != moved.end())
                    away = &at->second;
        }
        bool allDay = false;
        if (std::string why = TaskFromEvent(c, {times_, *away, counts}, adder_.fresh(), allDay); !why.empty())
            return why;
        std::string refused = adder_.add();
        allDays += allDay && refused.empty();
        return refused;
    }
    int store() override { return adder_.store(); }
    int stored() const override { return adder_.stored(); }
    bool lost() const override { return adder_.lost(); }

private:
    RecordAdder<data::ScheduleRecord> adder_;
    const ical::LocalTimes& times_;
};

class TodoSink : public Source {
public:
    TodoSink(data::Database& db, const ical::LocalTimes& times) : adder_(db), times_(times) {}
    std::string add(icalcomponent* c) override
    {
        if (icalcomponent_isa(c) != ICAL_VTODO_COMPONENT)
            return "a " + KindName(c) + " is no to-do item" +
                   (icalcomponent_isa(c) == ICAL_VEVENT_COMPONENT ? "; import it into the schedule" : "");
        bool zone = false;
        if (std::string why = ItemFromTodo(c, times_, adder_.fresh(), zone); !why.empty())
            return why;
        std::string refused = adder_.add();
        zoned += zone && refused.empty();
        return refused;
    }
    int store() override { return adder_.store(); }
    int stored() const override { return adder_.stored(); }
    bool lost() const override { return adder_.lost(); }

private:
    RecordAdder<data::TodoRecord> adder_;
    const ical::LocalTimes& times_;
};

}  // namespace

namespace detail {

CalendarImportWork::~CalendarImportWork() = default;

void CalendarImportWork::dropInput()
{
    source_.reset();
    reader_.reset();
}

bool CalendarImportWork::begin()
{
    switch (table_) {
    case ExchangeTable::Schedule: source_ = std::make_unique<ScheduleSink>(db_, times_); break;
    case ExchangeTable::Todo: source_ = std::make_unique<TodoSink>(db_, times_); break;
    case ExchangeTable::Contacts: return refuse("Contacts are imported from vCards, not from a calendar.");
    }
    // Only its first line is read here: a file that is no calendar is not
    // parsed, and anything but a regular file is refused before it is opened.
    reader_ = std::make_unique<CalendarReader>();
    if (!reader_->open(path_))
        return refuse(reader_->fault());
    size_ = reader_->size();
    if (size_ > kMaxCalendarBytes)
        return refuse(path_ + " is too large for a calendar (" + std::to_string(size_ >> 20) + " MB).");
    std::error_code ec;
    std::filesystem::remove(RejectedPathFor(path_, ".ics"), ec);
    return true;
}

bool CalendarImportWork::survey(int count)
{
    std::vector<ical::Component> read;
    const bool more = reader_->read(std::max(count, 1) * kLinesPerRecord, read);
    for (ical::Component& c : read) {
        const icalcomponent_kind kind = icalcomponent_isa(c.get());
        if (kind == ICAL_VTIMEZONE_COMPONENT) {
            icalcomponent_add_component(source_->zones.get(), c.release());
            continue;
        }
        ++itemCount_;
        icalproperty* id = icalcomponent_get_first_property(c.get(), ICAL_RECURRENCEID_PROPERTY);
        icalproperty* uid = icalcomponent_get_first_property(c.get(), ICAL_UID_PROPERTY);
        const char* text = uid ? icalproperty_get_uid(uid) : nullptr;
        if (id && text && kind == ICAL_VEVENT_COMPONENT)
            movedIds_.emplace_back(text, std::unique_ptr<icalproperty, void (*)(icalproperty*)>(
                                             icalproperty_new_clone(id), &icalproperty_free));
    }
    if (more)
        return true;
    if (!reader_->fault().empty())
        return refuse(reader_->fault());
    for (const auto& [uid, id] : movedIds_)
        source_->moved[uid].push_back(icalproperty_get_datetime_with_component(id.get(), source_->zones.get()));
    movedIds_.clear();
    surveyed_ = true;
    // The second reading hands out the records one by one.
    reader_ = std::make_unique<CalendarReader>();
    if (!reader_->open(path_))
        return refuse(reader_->fault());
    return itemCount_ > 0;
}

icalcomponent* CalendarImportWork::nextItem()
{
    for (;;) {
        while (pendingAt_ < pending_.size()) {
            ical::Component& c = pending_[pendingAt_++];
            if (icalcomponent_isa(c.get()) == ICAL_VTIMEZONE_COMPONENT)
                continue;  // kept by the first reading
            icalcomponent_add_component(source_->zones.get(), c.get());
            return c.release();
        }
        pending_.clear();
        pendingAt_ = 0;
        if (!reader_)
            return nullptr;
        if (!reader_->read(kLinesPerRecord * 4, pending_)) {
            if (!reader_->fault().empty() && summary_.failure.empty())
                summary_.failure = reader_->fault();  // the file changed since its first reading
            reader_.reset();
        }
    }
}

bool CalendarImportWork::step(int count)
{
    if (!source_)
        return false;
    if (!surveyed_)
        return survey(count);
    if (source_->lost()) {
        summary_.failure = StoreFailureText(data::kFileNotOpen, db_);
        return false;
    }
    if (const int err = db_.begin(); err != data::kOk) {
        summary_.failure = StoreFailureText(err, db_);
        return false;
    }
    Source& s = *source_;
    bool more = true;
    for (int i = 0; i < count; ++i) {
        icalcomponent* item = nextItem();
        if (!item) {
            more = false;
            break;
        }
        // Checked inside the zones' calendar, then let go of.
        const ical::Component c(item);
        ++s.next;
        std::string reason = ErrorOf(c.get());
        if (reason.empty())
            reason = s.add(c.get());
        if (!reason.empty()) {
            summary_.rejected.push_back({s.next, std::move(reason), ItemName(c.get(), s.next)});
            if (!s.rejected.is_open()) {
                summary_.rejectedPath = RejectedPathFor(path_, ".ics");
                s.rejected.open(summary_.rejectedPath, std::ios::binary | std::ios::trunc);
                s.rejected << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Horalyn//Horalyn 0.1//EN\r\n";
            }
            s.rejected << ical::Text(c.get());
        }
        icalcomponent_remove_component(s.zones.get(), c.get());
    }
    if (const int err = db_.commit(); err != data::kOk) {
        db_.rollback();
        summary_.failure = StoreFailureText(err, db_);
        return false;
    }
    return more && s.next < itemCount_;
}

int CalendarImportWork::percent() const
{
    // The first reading is the first half, the checking the second.
    if (!surveyed_)
        return reader_ ? PercentDone(static_cast<std::int64_t>(reader_->bytesRead()),
                                     static_cast<std::int64_t>(size_) * 2)
                       : 0;
    return source_ ? 50 + PercentDone(static_cast<std::int64_t>(source_->next),
                                      static_cast<std::int64_t>(itemCount_) * 2)
                   : 100;
}

void CalendarImportWork::end(bool cancelled)
{
    summary_.cancelled = cancelled;
    if (!source_)
        return;
    // What was read goes in, also when cancelled or stopped by a failure.
    if (const int err = source_->store(); err != data::kOk && summary_.failure.empty())
        summary_.failure = StoreFailureText(err, db_);
    summary_.added = source_->stored();
    const SeriesCounts& counts = source_->counts;
    if (const int zoned = source_->zoned + counts.zoned; zoned > 0)
        summary_.notes.push_back(std::to_string(zoned) +
                                 " of the records added had times in UTC or a named time zone; they were moved to "
                                 "this computer's time zone");
    if (counts.advanced > 0)
        summary_.notes.push_back(std::to_string(counts.advanced) +
                                 " of the tasks added repeat since before now; each starts at its next occurrence");
    if (counts.drifting > 0)
        summary_.notes.push_back(std::to_string(counts.drifting) +
                                 " of the tasks added keep the local time of their next occurrence, which moves by "
                                 "an hour on some dates where their time zone changes to or from summer time on "
                                 "other days than this computer's");
    if (source_->leftOut > 0)
        summary_.notes.push_back(std::to_string(source_->leftOut) +
                                 " moved or cancelled occurrences were passed over: they have nothing left to "
                                 "perform");
    if (source_->allDays > 0)
        summary_.notes.push_back(std::to_string(source_->allDays) +
                                 " of the tasks added were day-long events; they are performed at 00:00");
    if (source_->rejected.is_open()) {
        source_->rejected << "END:VCALENDAR\r\n";
        source_->rejected.close();
    }
    // The records kept live on the job's connection: they go before it does.
    reader_.reset();
    source_.reset();
}

}  // namespace detail

CalendarImportJob::CalendarImportJob(data::Database& db, ExchangeTable table, std::string path,
                                     const platform::Clock& clock, platform::Prompter& prompter)
    : ImportOnThread(db, prompter, path)
{
    setImport(std::make_unique<detail::CalendarImportWork>(connection(), table, std::move(path), clock, messages()));
}

CalendarImportJob::~CalendarImportJob() = default;

}  // namespace hrln::exchange
