#include "exchange/calendar_export.h"

#include "data/record_uid.h"
#include "exchange/calendar_records.h"
#include "data/records.h"
#include "data/table.h"
#include "exchange/calendar_rule.h"
#include "exchange/exact_text.h"
#include "exchange/ical_handle.h"
#include "exchange/part_file.h"
#include "platform/prompter.h"
#include "recurrence/recurrence.h"
#include "recurrence/schedule_rule.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>

namespace hrln::exchange {
namespace {

// NextOccurrence asks nothing of a rule it can step; a rule it cannot step
// is not stepped here.
class SilentPrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox&) override { return platform::MessageButton::Ok; }
    void endProgram(const std::string&) override {}
};

void AddText(icalcomponent* c, icalproperty* p)
{
    icalcomponent_add_property(c, p);
}

// An X- value escaped as libical writes and reads one.
void AppendXValue(std::string& out, std::string_view value)
{
    for (char ch : value) {
        if (ch == '\\')
            out += "\\\\";
        else if (ch == '\n')
            out += "\\n";
        else if (ch != '\r')
            out += ch;
    }
}

// One content line, folded at 75 octets between characters, as RFC 5545 asks.
void AppendFolded(std::string& out, std::string_view line)
{
    constexpr std::size_t kOctets = 75;
    std::size_t width = kOctets;
    while (line.size() > width) {
        std::size_t cut = width;
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a character
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        width = kOctets - 1;  // the blank that continues a line counts
    }
    out.append(line);
    out += "\r\n";
}

// Every field not in `mapped` as an X-HRLN- property, numbers as decimals,
// written as text directly: these are most of an event's lines, and making
// each a libical property first costs more than all the rest of the export.
// The value is escaped as libical writes and reads an X- value. A blank text
// and a zero number are left out: the import starts from blank and zero,
// except for Every, whose default is 1.
template <class R>
void AddExtras(std::string& out, const R& record, const std::set<std::string_view>& mapped)
{
    // Which fields go, and under which names, is the same for every record.
    static const std::vector<std::string> kNames = [] {
        std::vector<std::string> names;
        const R blank{};
        R::fields(blank, [&](const char* name, const auto&) { names.push_back(ical::ExtraName(name) + ":"); });
        return names;
    }();
    std::size_t index = 0;
    R::fields(record, [&](const char* name, const auto& field) {
        const std::string& xname = kNames[index++];
        if (mapped.count(name))
            return;
        std::string line = xname;
        if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(field)>>) {
            if (field == 0 && std::string_view(name) != "Every")
                return;
            line += std::to_string(field);
        } else {
            const std::string_view value = field.view();
            if (value.empty())
                return;  // iCalendar has no empty values; a blank field stays blank
            AppendXValue(line, value);
        }
        AppendFolded(out, line);
    });
}

// A TEXT value as RFC 5545 escapes it; the line breaks come as LF.
void AppendEscaped(std::string& out, std::string_view value)
{
    for (char ch : value) {
        switch (ch) {
        case '\\': out += "\\\\"; break;
        case ';': out += "\\;"; break;
        case ',': out += "\\,"; break;
        case '\n': out += "\\n"; break;
        case '\r': break;
        default: out += ch;
        }
    }
}

// A text as every calendar reads it, and whole beside it when the standard
// property would not give it back (see exchange/exact_text.h).
void AddText(std::string& out, const char* property, const char* field, std::string_view value,
             bool blankMatters = false)
{
    if (!value.empty()) {
        std::string line = property;
        line += ':';
        AppendEscaped(line, exact::LineBreaksAsLf(value));
        AppendFolded(out, line);
    }
    if (exact::Needed(value, blankMatters)) {
        std::string line = exact::PropertyName(field) + ":";
        AppendXValue(line, exact::Encode(value));
        AppendFolded(out, line);
    }
}

// A floating local time, or a date alone when the time is 0, as DTSTART.
std::string StartLine(Date date, Time time)
{
    const icaltimetype t = ical::FromMoment(date, time);
    char text[48];
    if (t.is_date)
        std::snprintf(text, sizeof text, "DTSTART;VALUE=DATE:%04d%02d%02d\r\n", t.year, t.month, t.day);
    else
        std::snprintf(text, sizeof text, "DTSTART:%04d%02d%02dT%02d%02d%02d\r\n", t.year, t.month, t.day, t.hour,
                      t.minute, t.second);
    return text;
}

// The lines every component begins with, written as text: `fields` are the
// record's names of the summary, notes and category.
void AddCommon(std::string& out, const std::string& uid, const platform::DateTime& stamp, std::string_view summary,
               std::string_view notes, std::string_view category, const std::array<const char*, 3>& fields)
{
    AppendFolded(out, "UID:" + uid);
    const YearMonthDay day = SplitDate(stamp.date);
    const int seconds = stamp.time > 0 ? (stamp.time - 1) / 100 : 0;
    char dtstamp[40];
    std::snprintf(dtstamp, sizeof dtstamp, "DTSTAMP:%04d%02d%02dT%02d%02d%02dZ\r\n", day.year, day.month, day.day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    out += dtstamp;
    // A summary is always there, if empty, as calendars show one.
    if (summary.empty())
        out += "SUMMARY:\r\n";
    AddText(out, "SUMMARY", fields[0], summary);
    AddText(out, "DESCRIPTION", fields[1], notes);
    // A blank category is said, or the import would file the record under a default.
    AddText(out, "CATEGORIES", fields[2], category, true);
}

// The record's own identity, which it keeps for life and no other record
// shares; a file whose identities were lost (made anew by hand) gives the
// record's place instead.
std::string Uid(data::RecordUidReader& uids, const data::TableBase& record, const std::string& place)
{
    const std::string uid = uids.of(record);
    return uid.empty() ? place + "@horalyn" : UidOfIdentity(uid);
}

std::string TaskName(const data::ScheduleRecord& task)
{
    return "Task " + std::to_string(task.id) + " (\"" + std::string(task.description.view()) + "\")";
}

}  // namespace

class CalendarExportJob::Source {
public:
    virtual ~Source() = default;
    virtual int count() = 0;
    // The next record's component, or nothing at the end of the table.
    virtual ical::Component next(std::vector<std::string>& notes) = 0;
    platform::DateTime stamp;
    int read = 0;  // records read, written or left out
    int disabledLeftOut = 0;
    int historyLeftOut = 0;
    // The lines of the component last given that are written as text: the
    // first ones, which go after its BEGIN line, and the program's own
    // fields, before its END line.
    std::string head;
    std::string extras;
};

namespace {

class ScheduleSource : public CalendarExportJob::Source {
public:
    ScheduleSource(data::Database& db, const CalendarExportOptions& options)
        : table_(db), uids_(db), options_(options)
    {
        table_.set(data::ScheduleRecord::KeyID);
    }
    int count() override { return table_.count(); }

    ical::Component next(std::vector<std::string>& notes) override
    {
        for (;;) {
            if (table_.next() != data::kOk)
                return nullptr;
            ++read;
            const data::ScheduleRecord& task = table_.rec;
            if (task.isHistoryEntry()) {
                if (options_.history)
                    return historyEvent(task);
                ++historyLeftOut;
            } else if (task.disabled != 0) {
                ++disabledLeftOut;
            } else {
                return taskEvent(task, notes);
            }
        }
    }

private:
    ical::Component newEvent(const data::ScheduleRecord& task)
    {
        ical::Component c(icalcomponent_new(ICAL_VEVENT_COMPONENT));
        AddCommon(head, Uid(uids_, table_, "task-" + std::to_string(task.id)), stamp, task.description.view(),
                  task.message.view(), task.category.view(), {"Description", "Message", "Category"});
        return c;
    }

    // What happened once stays where it happened: no rule, no reminder.
    ical::Component historyEvent(const data::ScheduleRecord& entry)
    {
        ical::Component c = newEvent(entry);
        if (entry.date != 0)
            head += StartLine(entry.date, entry.time);
        if (entry.skipNextTime != 0)
            AddText(c.get(), icalproperty_new_status(ICAL_STATUS_CANCELLED));
        static const std::set<std::string_view> kMapped = {"ID", "Description", "Category", "Message"};
        AddExtras(extras, entry, kMapped);
        return c;
    }

    ical::Component taskEvent(const data::ScheduleRecord& task, std::vector<std::string>& notes)
    {
        ical::Component c = newEvent(task);
        if (task.date != 0) {
            const icaltimetype start = ical::FromMoment(task.date, task.time);
            head += StartLine(task.date, task.time);
            addRule(c.get(), task, notes);
            if (task.skipNextTime)
                AddText(c.get(), icalproperty_new_exdate(start));
            if (task.advanceWarnDate != 0)
                addWarning(c.get(), task, start);
        }
        static const std::set<std::string_view> kMapped = {"ID", "Description", "Category", "Message"};
        AddExtras(extras, task, kMapped);
        return c;
    }

    void addRule(icalcomponent* c, const data::ScheduleRecord& task, std::vector<std::string>& notes)
    {
        const RuleText rule = RecurrenceRuleFor(task);
        if (!rule.rrule.empty()) {
            AppendFolded(head, "RRULE:" + rule.rrule);
            return;
        }
        if (rule.inexact.empty())
            return;
        if (recurrence::UnitOf(task.everyType.view()) == recurrence::Unit::Invalid &&
            recurrence::KindOf(task) == recurrence::RuleKind::Custom) {
            notes.push_back(TaskName(task) + ": " + rule.inexact + "; only its next occurrence is written");
            return;
        }
        // The occurrences the task will have, as the scheduler steps it.
        data::ScheduleRecord step = task;
        SilentPrompter silent;
        for (int i = 1; i < kOccurrencesWritten; ++i) {
            recurrence::NextOccurrence(step, step.date, step.time, silent);
            if (step.completed != 0)
                break;  // the rule has ended: no day after the last one kept
            icaldatetimeperiodtype when{};
            when.time = ical::FromMoment(step.date, step.time);
            when.period = icalperiodtype_null_period();
            AddText(c, icalproperty_new_rdate(when));
        }
        notes.push_back(TaskName(task) + ": " + rule.inexact + "; its next " + std::to_string(kOccurrencesWritten) +
                        " occurrences are written instead");
    }

    static void addWarning(icalcomponent* c, const data::ScheduleRecord& task, const icaltimetype& start)
    {
        icaltimetype warn = ical::FromMoment(task.advanceWarnDate, task.advanceWarnTime == 0 ? 1 : task.advanceWarnTime);
        icaltimetype from = start;
        if (from.is_date) {
            from.is_date = 0;
            from.hour = from.minute = from.second = 0;
        }
        icaltriggertype trigger{};
        trigger.time = icaltime_null_time();
        trigger.duration = icaltime_subtract(warn, from);
        ical::Component alarm(icalcomponent_new(ICAL_VALARM_COMPONENT));
        AddText(alarm.get(), icalproperty_new_action(ICAL_ACTION_DISPLAY));
        AddText(alarm.get(), icalproperty_new_trigger(trigger));
        AddText(alarm.get(), icalproperty_new_description(std::string(task.description.view()).c_str()));
        icalcomponent_add_component(c, alarm.release());
    }

    data::Table<data::ScheduleRecord> table_;
    mutable data::RecordUidReader uids_;
    CalendarExportOptions options_;
};

class TodoSource : public CalendarExportJob::Source {
public:
    explicit TodoSource(data::Database& db) : table_(db), uids_(db) { table_.set(data::TodoRecord::KeyToDo); }
    int count() override { return table_.count(); }

    ical::Component next(std::vector<std::string>&) override
    {
        if (table_.next() != data::kOk)
            return nullptr;
        ++read;
        const data::TodoRecord& item = table_.rec;
        ical::Component c(icalcomponent_new(ICAL_VTODO_COMPONENT));
        AddCommon(head, Uid(uids_, table_, "todo-" + std::to_string(table_.rowId())), stamp, item.toDo.view(),
                  item.notes.view(), item.category.view(), {"ToDo", "Notes", "Category"});
        // iCalendar's priorities run 1 (highest) to 9; the list's own 1 to 10
        // travels in its X-HRLN- property.
        if (item.priority >= 1 && item.priority <= 9)
            AddText(c.get(), icalproperty_new_priority(item.priority));
        if (item.completionDate != 0)
            AddText(c.get(), icalproperty_new_due(ical::FromMoment(item.completionDate, item.completionTime)));
        AddText(c.get(), icalproperty_new_status(item.done ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
        static const std::set<std::string_view> kMapped = {"ToDo", "Category", "Notes"};
        AddExtras(extras, item, kMapped);
        return c;
    }

private:
    data::Table<data::TodoRecord> table_;
    data::RecordUidReader uids_;
};

}  // namespace

CalendarExportJob::CalendarExportJob(data::Database& db, ExchangeTable table, std::string path,
                                     platform::DateTime stampUtc, platform::Prompter& prompter,
                                     CalendarExportOptions options)
    : db_(db), table_(table), path_(std::move(path)), stamp_(stampUtc), prompter_(prompter), options_(options)
{
}

CalendarExportJob::~CalendarExportJob() = default;

std::string CalendarExportJob::description() const
{
    return "Exporting " + std::string(TableTitle(table_));
}

bool CalendarExportJob::refuse(const std::string& text)
{
    ok_ = false;
    prompter_.ask({text, "Export", platform::MessageIcon::Exclamation});
    return false;
}

bool CalendarExportJob::begin()
{
    switch (table_) {
    case ExchangeTable::Schedule: source_ = std::make_unique<ScheduleSource>(db_, options_); break;
    case ExchangeTable::Todo: source_ = std::make_unique<TodoSource>(db_); break;
    case ExchangeTable::Contacts: return refuse("Contacts are exported as vCards, not as a calendar.");
    }
    source_->stamp = stamp_;
    file_ = std::make_unique<PartFile>(path_);
    if (const std::string reason = file_->open(); !reason.empty())
        return refuse("Could not create " + path_ + ": " + reason + ".");
    total_ = source_->count();
    file_->write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Horalyn//Horalyn 0.1//EN\r\nCALSCALE:GREGORIAN\r\n");
    return true;
}

bool CalendarExportJob::step(int count)
{
    for (int i = 0; i < count; ++i) {
        source_->head.clear();
        source_->extras.clear();
        const ical::Component c = source_->next(notes_);
        if (!c)
            return false;
        std::string text = ical::Text(c.get());
        text.insert(std::min(text.find("\r\n") + 2, text.size()), source_->head);
        // The component's own END line is its last.
        const std::size_t end = text.rfind("END:", text.size() - 2);
        text.insert(end == std::string::npos ? text.size() : end, source_->extras);
        if (!file_->write(text))
            return false;  // the disk is full: end() says so
        ++written_;
    }
    return true;
}

int CalendarExportJob::percent() const
{
    return source_ ? PercentDone(source_->read, total_) : 0;
}

int CalendarExportJob::disabledLeftOut() const
{
    return source_ ? source_->disabledLeftOut : 0;
}

int CalendarExportJob::historyLeftOut() const
{
    return source_ ? source_->historyLeftOut : 0;
}

void CalendarExportJob::end(bool cancelled)
{
    if (!file_)
        return;
    // A cancelled export keeps what it wrote, as a whole calendar of the
    // records done.
    (void)cancelled;
    file_->write("END:VCALENDAR\r\n");
    if (const std::string reason = file_->commit(); !reason.empty())
        refuse("Could not write " + path_ + ": " + reason + ".");
}

std::string CalendarExportSummary(const CalendarExportJob& job)
{
    std::string out = std::to_string(job.written()) + (job.written() == 1 ? " record" : " records") + " written.";
    auto count = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string left;
    if (job.disabledLeftOut() > 0)
        left = count(job.disabledLeftOut(), "disabled task", "disabled tasks");
    if (job.historyLeftOut() > 0)
        left += (left.empty() ? "" : " and ") + count(job.historyLeftOut(), "history entry", "history entries");
    if (!left.empty())
        out += " Not written: " + left + ".";
    constexpr std::size_t kListed = 10;
    const auto& notes = job.notes();
    for (std::size_t i = 0; i < notes.size() && i < kListed; ++i)
        out += "\n" + notes[i];
    if (notes.size() > kListed)
        out += "\n... and " + std::to_string(notes.size() - kListed) + " more";
    return out;
}

}  // namespace hrln::exchange
