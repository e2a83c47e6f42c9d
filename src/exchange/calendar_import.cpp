#include "exchange/calendar_import.h"

#include "common/input_file.h"
#include "common/text.h"
#include "data/database.h"
#include "data/records.h"
#include "exchange/calendar_reader.h"
#include "exchange/calendar_rule.h"
#include "exchange/ical_handle.h"
#include "exchange/record_adder.h"
#include "exchange/record_values.h"
#include "platform/prompter.h"

#include <charconv>
#include <filesystem>
#include <fstream>
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

// A DATE-TIME, read as local wall-clock time whatever zone it names.
std::optional<ical::Moment> MomentOf(icalcomponent* c, icalproperty_kind kind, bool& zoned)
{
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    if (!p)
        return std::nullopt;
    const icaltimetype t = kind == ICAL_DUE_PROPERTY ? icalproperty_get_due(p) : icalproperty_get_dtstart(p);
    zoned = zoned || icaltime_is_utc(t) || icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
    return ical::ToMoment(t);
}

icaltimetype AsDateTime(icaltimetype t)
{
    if (t.is_date) {
        t.is_date = 0;
        t.hour = t.minute = t.second = 0;
    }
    return t;
}

std::string TaskFromEvent(icalcomponent* c, data::ScheduleRecord& task, bool& zoned, bool& allDay)
{
    if (!TakeText(c, ICAL_SUMMARY_PROPERTY, task.description) || !TakeText(c, ICAL_DESCRIPTION_PROPERTY, task.message) ||
        !TakeText(c, ICAL_CATEGORIES_PROPERTY, task.category, true))
        return "a text is not UTF-8";
    const bool own = IsOwn(c, "X-HRLN-SCHEDULETYPE");
    icalproperty* startProperty = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    const std::optional<ical::Moment> start = MomentOf(c, ICAL_DTSTART_PROPERTY, zoned);
    if (startProperty && !start)
        return "its start (DTSTART) is no date the program knows";
    if (!start && !own)
        return "it has no start (DTSTART)";
    if (start) {
        task.date = start->date;
        // A task is performed at a time of day: a day-long event at its start.
        task.time = start->time != 0 ? start->time : MakeTime(0, 0);
        allDay = start->time == 0;
    }
    if (!own && start) {
        const int rules = icalcomponent_count_properties(c, ICAL_RRULE_PROPERTY);
        if (rules > 1)
            return "it has " + std::to_string(rules) + " rules (RRULE); a task has one";
        if (icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY))
            return "its extra dates (RDATE) cannot be kept by a task";
        if (icalproperty* r = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype recur = icalproperty_get_rrule(r);
            const ical::String rule(icalrecurrencetype_as_string_r(&recur));
            if (!rule)
                return "its rule (RRULE) cannot be read";
            if (std::string why = RuleFromRecurrence(rule.get(), task.date, task); !why.empty())
                return why;
        }
        const icaltimetype first = icalproperty_get_dtstart(startProperty);
        for (icalproperty* x = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); x;
             x = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
            if (icaltime_compare(AsDateTime(icalproperty_get_exdate(x)), AsDateTime(first)) != 0)
                return "it leaves out dates (EXDATE) other than its first, which a task cannot";
            task.skipNextTime = 1;
        }
    }
    if (icalcomponent* alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); alarm && start) {
        if (icalproperty* p = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY)) {
            const icaltriggertype trigger = icalproperty_get_trigger(p);
            const icaltimetype when =
                icaltime_is_null_time(trigger.time)
                    ? icaltime_add(AsDateTime(icalproperty_get_dtstart(startProperty)), trigger.duration)
                    : trigger.time;
            const std::optional<ical::Moment> warn = ical::ToMoment(AsDateTime(when));
            if (!warn)
                return "its alarm (VALARM) is at no time the program knows";
            task.advanceWarnDate = warn->date;
            task.advanceWarnTime = warn->time;
        }
    }
    std::vector<std::pair<int, data::Value>> extras;
    if (std::string why = ReadExtras<data::ScheduleRecord>(c, extras); !why.empty())
        return why;
    detail::SetValues(task, extras);
    return {};
}

std::string ItemFromTodo(icalcomponent* c, data::TodoRecord& item, bool& zoned)
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
    if (icalcomponent_get_first_property(c, ICAL_DUE_PROPERTY)) {
        const std::optional<ical::Moment> due = MomentOf(c, ICAL_DUE_PROPERTY, zoned);
        if (!due)
            return "its due date (DUE) is no date the program knows";
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
    CalendarImportWork(data::Database& db, ExchangeTable table, std::string path, platform::Prompter& prompter)
        : ImportWork(db, std::move(path), prompter), table_(table)
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
    // Reads on; false once the file is read, true with the items to check then.
    bool readOn(int count);

    ExchangeTable table_;
    std::unique_ptr<Source> source_;
    std::unique_ptr<CalendarReader> reader_;
    bool read_ = false;  // the whole file, its items collected
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

    ical::Component root;
    std::vector<icalcomponent*> items;  // owned by root
    std::size_t next = 0;
    std::ofstream rejected;
    int zoned = 0;    // records whose times named a zone
    int allDays = 0;  // events without a time of day
};

}  // namespace detail

namespace {

using Source = detail::CalendarImportWork::Source;
class ScheduleSink : public Source {
public:
    explicit ScheduleSink(data::Database& db) : adder_(db) {}
    std::string add(icalcomponent* c) override
    {
        if (icalcomponent_isa(c) != ICAL_VEVENT_COMPONENT)
            return "a " + KindName(c) + " is no task" +
                   (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT ? "; import it into the to-do list" : "");
        bool zone = false, allDay = false;
        if (std::string why = TaskFromEvent(c, adder_.fresh(), zone, allDay); !why.empty())
            return why;
        std::string refused = adder_.add();
        zoned += zone && refused.empty();
        allDays += allDay && refused.empty();
        return refused;
    }
    int store() override { return adder_.store(); }
    int stored() const override { return adder_.stored(); }
    bool lost() const override { return adder_.lost(); }

private:
    RecordAdder<data::ScheduleRecord> adder_;
};

class TodoSink : public Source {
public:
    explicit TodoSink(data::Database& db) : adder_(db) {}
    std::string add(icalcomponent* c) override
    {
        if (icalcomponent_isa(c) != ICAL_VTODO_COMPONENT)
            return "a " + KindName(c) + " is no to-do item" +
                   (icalcomponent_isa(c) == ICAL_VEVENT_COMPONENT ? "; import it into the schedule" : "");
        bool zone = false;
        if (std::string why = ItemFromTodo(c, adder_.fresh(), zone); !why.empty())
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
};

// The components that stand for records: those of every calendar in the file.
void CollectItems(icalcomponent* root, std::vector<icalcomponent*>& items)
{
    const icalcomponent_kind kind = icalcomponent_isa(root);
    if (kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT) {
        items.push_back(root);
        return;
    }
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind k = icalcomponent_isa(c);
        if (k == ICAL_VCALENDAR_COMPONENT)
            CollectItems(c, items);
        else if (k != ICAL_VTIMEZONE_COMPONENT)  // zones serve the events; they are no records
            items.push_back(c);
    }
}

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
    case ExchangeTable::Schedule: source_ = std::make_unique<ScheduleSink>(db_); break;
    case ExchangeTable::Todo: source_ = std::make_unique<TodoSink>(db_); break;
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

bool CalendarImportWork::readOn(int count)
{
    if (reader_->read(std::max(count, 1) * kLinesPerRecord))
        return true;
    if (!reader_->fault().empty())
        return refuse(reader_->fault());
    source_->root = reader_->take();
    reader_.reset();
    if (!source_->root)
        return refuse(path_ + " is no iCalendar file (no BEGIN:VCALENDAR ... END:VCALENDAR).");
    const icalcomponent_kind kind = icalcomponent_isa(source_->root.get());
    if (kind != ICAL_VCALENDAR_COMPONENT && kind != ICAL_XROOT_COMPONENT && kind != ICAL_VEVENT_COMPONENT &&
        kind != ICAL_VTODO_COMPONENT)
        return refuse(path_ + " is no iCalendar file (it begins with " + KindName(source_->root.get()) + ").");
    CollectItems(source_->root.get(), source_->items);
    read_ = true;
    return !source_->items.empty();
}

bool CalendarImportWork::step(int count)
{
    if (!source_)
        return false;
    if (!read_)
        return readOn(count);
    if (source_->lost()) {
        summary_.failure = StoreFailureText(data::kFileNotOpen, db_);
        return false;
    }
    if (const int err = db_.begin(); err != data::kOk) {
        summary_.failure = StoreFailureText(err, db_);
        return false;
    }
    Source& s = *source_;
    for (int i = 0; i < count && s.next < s.items.size(); ++i) {
        icalcomponent* c = s.items[s.next++];
        std::string reason = ErrorOf(c);
        if (reason.empty())
            reason = s.add(c);
        if (reason.empty())
            continue;
        summary_.rejected.push_back({s.next, std::move(reason), ItemName(c, s.next)});
        if (!s.rejected.is_open()) {
            summary_.rejectedPath = RejectedPathFor(path_, ".ics");
            s.rejected.open(summary_.rejectedPath, std::ios::binary | std::ios::trunc);
            s.rejected << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Horalyn//Horalyn 0.1//EN\r\n";
        }
        s.rejected << ical::Text(c);
    }
    if (const int err = db_.commit(); err != data::kOk) {
        db_.rollback();
        summary_.failure = StoreFailureText(err, db_);
        return false;
    }
    return s.next < s.items.size();
}

int CalendarImportWork::percent() const
{
    // The reading is the first half, the checking the second.
    if (!read_)
        return reader_ ? PercentDone(static_cast<std::int64_t>(reader_->bytesRead()),
                                     static_cast<std::int64_t>(size_) * 2)
                       : 0;
    return source_ ? 50 + PercentDone(static_cast<std::int64_t>(source_->next),
                                      static_cast<std::int64_t>(source_->items.size()) * 2)
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
    if (source_->zoned > 0)
        summary_.notes.push_back(std::to_string(source_->zoned) +
                                 " of the records added had times in UTC or a named time zone; they were taken "
                                 "as local times, as written");
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
                                     platform::Prompter& prompter)
    : ImportOnThread(db, prompter, path)
{
    setImport(std::make_unique<detail::CalendarImportWork>(connection(), table, std::move(path), messages()));
}

CalendarImportJob::~CalendarImportJob() = default;

}  // namespace hrln::exchange
