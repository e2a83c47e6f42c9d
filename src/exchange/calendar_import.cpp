#include "exchange/calendar_import.h"

#include "common/input_file.h"
#include "common/text.h"
#include "data/database.h"
#include "data/records.h"
#include "exchange/calendar_reader.h"
#include "exchange/calendar_records.h"
#include "exchange/calendar_series.h"
#include "exchange/calendar_times.h"
#include "exchange/ical_handle.h"
#include "exchange/record_adder.h"
#include "platform/prompter.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace hrln::exchange {
namespace {

// Files larger than this are refused: no calendar program writes one.
constexpr std::uintmax_t kMaxCalendarBytes = 256u << 20;
// Content lines read per record of a batch: an event of a dozen lines or so,
// so that a batch reads about as long as it checks.
constexpr int kLinesPerRecord = 16;

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
    // Records written over, those of an earlier reading of the same events,
    // and events left out for a later one with the same UID.
    virtual int updated() const = 0;
    virtual int repeated() const = 0;
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
        std::string refused = adder_.add(IdentityOf(c));
        allDays += allDay && refused.empty();
        return refused;
    }
    int store() override { return adder_.store(); }
    int stored() const override { return adder_.stored(); }
    int updated() const override { return adder_.updated(); }
    int repeated() const override { return adder_.repeated(); }
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
        std::string refused = adder_.add(IdentityOf(c));
        zoned += zone && refused.empty();
        return refused;
    }
    int store() override { return adder_.store(); }
    int stored() const override { return adder_.stored(); }
    int updated() const override { return adder_.updated(); }
    int repeated() const override { return adder_.repeated(); }
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
    summary_.updated = source_->updated();
    if (const int repeated = source_->repeated(); repeated > 0)
        summary_.notes.push_back(std::to_string(repeated) +
                                 (repeated == 1 ? " item gave" : " items gave") +
                                 " the UID of a later item of the file, which was kept in its place");
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
