#include "exchange_fixture.h"

#include "data/table.h"
#include "exchange/calendar_export.h"
#include "exchange/calendar_import.h"
#include "exchange/calendar_rule.h"
#include "exchange/ical_handle.h"
#include "recurrence/recurrence.h"
#include "recurrence/schedule_rule.h"
#include "support/fake_clock.h"

#include <libical/ical.h>

#include <fstream>
#include <map>
#include <set>
#include <memory>
#include <sstream>

namespace hrln::test {
namespace {

using exchange::ExchangeTable;

const platform::DateTime kStamp{MakeDate(12, 9, 2026), MakeTime(5, 0)};

struct Moment {
    Date date;
    Time time;
    bool operator==(const Moment&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Moment& m)
{
    return os << FormatD17(m.date) << ' ' << (m.time ? FormatT7(m.time) : std::string("(no time)"));
}

data::ScheduleRecord Task(std::string_view description, std::string_view type, Date date, Time time)
{
    data::ScheduleRecord t;
    t.taskType = "Display Message";
    t.category = "Work";
    t.description = description;
    t.scheduleType = type;
    t.date = date;
    t.time = time;
    t.every = 1;
    return t;
}

// One task of every kind of rule, those iCalendar cannot say among them.
std::vector<data::ScheduleRecord> EveryRule()
{
    const Date d = MakeDate(12, 10, 2026);  // a Thursday
    const Time t = MakeTime(9, 30);
    std::vector<data::ScheduleRecord> out;
    out.push_back(Task("once", "Once", d, t));
    auto weekdays = Task("mon wed fri", "Day of Week", d, t);  // starts on a day not flagged
    weekdays.monday = weekdays.wednesday = weekdays.friday = 1;
    out.push_back(weekdays);
    auto nth = Task("2nd and last tue, sat", "Day of Month", d, t);
    nth.tuesday = nth.saturday = 1;
    nth.every2nd = nth.everyLast = 1;
    out.push_back(nth);
    auto first = Task("1st monday", "Day of Month", MakeDate(12, 7, 2026), t);
    first.monday = 1;
    first.every1st = 1;
    out.push_back(first);
    out.push_back(Task("monthly 10th", "Monthly", d, t));
    out.push_back(Task("monthly 31st", "Monthly", MakeDate(1, 31, 2027), t));
    out.push_back(Task("yearly", "Yearly", d, MakeTime(0, 0)));
    out.push_back(Task("yearly leap day", "Yearly", MakeDate(2, 29, 2028), t));
    const std::vector<std::pair<const char*, long>> units = {
        {"minute(s)", 90}, {"Hour(s)", 30}, {"day(s)", 3}, {"week(s)", 2}, {"month(s)", 5}, {"year(s)", 2}};
    for (const auto& [unit, every] : units) {
        auto c = Task(std::string("every ") + std::to_string(every) + " " + unit, "Custom", d, t);
        c.every = static_cast<data::Long>(every);
        c.everyType = unit;
        out.push_back(c);
    }
    auto drift = Task("every 2 months from 30th", "Custom", MakeDate(11, 30, 2026), t);
    drift.every = 2;
    drift.everyType = "month(s)";
    out.push_back(drift);
    return out;
}

// The task's next `n` occurrences as the scheduler steps it, its own first.
// The first `n` occurrences the scheduler performs, fewer when the rule
// ends at the last day the program keeps.
std::vector<Moment> OurOccurrences(data::ScheduleRecord task, int n)
{
    FakePrompter quiet;
    std::vector<Moment> out{{task.date, task.time}};
    while (static_cast<int>(out.size()) < n) {
        recurrence::NextOccurrence(task, task.date, task.time, quiet);
        if (task.completed != 0)
            break;
        out.push_back({task.date, task.time});
    }
    return out;
}

Moment FromIcal(const icaltimetype& t)
{
    return {MakeDate(t.month, t.day, t.year), t.is_date ? 0 : MakeTime(t.hour, t.minute, t.second)};
}

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// The first `n` occurrences libical finds for an event up to the last day
// the program keeps: its start, which iCalendar always counts, then its RRULE
// or its RDATEs.
std::vector<Moment> IcalOccurrences(icalcomponent* event, int n)
{
    const icaltimetype start = icalcomponent_get_dtstart(event);
    std::vector<Moment> out{FromIcal(start)};
    if (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY)) {
        icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(p), start);
        for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t) && static_cast<int>(out.size()) < n &&
                                                           FromIcal(t).date <= kLastDate;
             t = icalrecur_iterator_next(it))
            if (icaltime_compare(t, start) > 0)
                out.push_back(FromIcal(t));
        icalrecur_iterator_free(it);
    }
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY))
        out.push_back(FromIcal(icalproperty_get_rdate(p).time));
    return out;
}

std::vector<data::Value> WithoutId(const data::ScheduleRecord& t)
{
    std::vector<data::Value> v = data::RecordValues(t);
    v.erase(v.begin() + 1);  // the import numbers tasks anew
    return v;
}

class CalendarTest : public ExchangeTest {
protected:
    std::vector<data::ScheduleRecord> storeAll(std::vector<data::ScheduleRecord> tasks)
    {
        for (std::size_t i = 0; i < tasks.size(); ++i) {
            tasks[i].id = static_cast<data::Long>(i + 1);
            store(from, tasks[i]);
        }
        return tasks;
    }

    bool exportTo(const std::string& path, ExchangeTable table = ExchangeTable::Schedule,
                  std::vector<std::string>* notes = nullptr)
    {
        exchange::CalendarExportJob job(from, table, path, kStamp, prompter);
        run(job);
        if (notes)
            *notes = job.notes();
        return job.ok();
    }

    exchange::ImportSummary importFrom(const std::string& path, ExchangeTable table = ExchangeTable::Schedule)
    {
        exchange::CalendarImportJob job(into, table, path, clock, prompter);
        run(job);
        return job.summary();
    }

    // Before the first occurrence of every task and event of these tests.
    FakeClock clock{MakeDate(11, 1, 2026), MakeTime(9, 0)};
};

TEST_F(CalendarTest, EveryRuleComesBackAsTheSameTask)
{
    std::vector<data::ScheduleRecord> tasks = EveryRule();
    // The fields iCalendar has no place for travel too.
    tasks[1].command = "xterm -e \"top; exit\", then \\ more";
    tasks[1].path = "/tmp";
    tasks[1].skipNextTime = 1;
    tasks[1].advanceWarnDate = MakeDate(12, 9, 2026);
    tasks[1].advanceWarnTime = MakeTime(21, 15);
    tasks[1].message = "Line one,\nline; \"two\"\nÜmlaut ✓";
    tasks[1].shiftType = "Night";
    tasks[1].exceptHolidays = 1;
    tasks[2].time = MakeTime(7, 5, 9, 42);  // hundredths survive in the program's own field
    tasks[2].noHistory = tasks[3].completed = 1;
    tasks = storeAll(tasks);

    const std::string file = dir.file("schedule.ics");
    std::vector<std::string> notes;
    ASSERT_TRUE(exportTo(file, ExchangeTable::Schedule, &notes));
    const exchange::ImportSummary summary = importFrom(file);
    EXPECT_EQ(summary.added, static_cast<int>(tasks.size())) << exchange::SummaryText(summary);
    EXPECT_TRUE(summary.rejected.empty()) << exchange::SummaryText(summary);

    const auto back = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(back.size(), tasks.size());
    for (std::size_t i = 0; i < tasks.size(); ++i)
        EXPECT_EQ(WithoutId(back[i]), WithoutId(tasks[i])) << tasks[i].description.str();

    // The three rules iCalendar cannot say are named, and only they.
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_NE(notes[0].find("monthly 31st"), std::string::npos);
    EXPECT_NE(notes[1].find("leap day"), std::string::npos);
    EXPECT_NE(notes[2].find("from 30th"), std::string::npos);
}

TEST_F(CalendarTest, LibicalFindsTheSameFiftyOccurrencesAsTheScheduler)
{
    const std::vector<data::ScheduleRecord> tasks = storeAll(EveryRule());
    const std::string file = dir.file("schedule.ics");
    ASSERT_TRUE(exportTo(file));
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.find("\n"), text.find("\r\n") + 1) << "lines end in CR LF";
    const Component root(icalparser_parse_string(text.c_str()));
    ASSERT_TRUE(root);
    std::size_t i = 0;
    for (icalcomponent* e = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT), ++i) {
        ASSERT_LT(i, tasks.size());
        const int n = tasks[i].scheduleType == "Once" ? 1 : 50;
        EXPECT_EQ(IcalOccurrences(e, n), OurOccurrences(tasks[i], n)) << tasks[i].description.str();
    }
    EXPECT_EQ(i, tasks.size());
}

// libical holds an interval in 16 bits: a larger one must be said in a larger
// unit when that is exact, else as the occurrences themselves.
TEST(CalendarRule, LargeIntervalsAreSaidInALargerUnitOrNotAsARule)
{
    struct Case {
        long every;
        const char* unit;
        const char* rrule;  // empty: no rule iCalendar can hold
    };
    const std::vector<Case> cases = {
        {32767, "minute(s)", "FREQ=MINUTELY;INTERVAL=32767"},
        {43200, "minute(s)", "FREQ=DAILY;INTERVAL=30"},
        {32820, "minute(s)", "FREQ=HOURLY;INTERVAL=547"},
        {32768, "minute(s)", ""},
        {999999, "minute(s)", ""},
        {40320, "hour(s)", "FREQ=WEEKLY;INTERVAL=240"},
        {40800, "hour(s)", "FREQ=DAILY;INTERVAL=1700"},
        {32768 * 168L, "hour(s)", ""},
        {40000, "hour(s)", ""},
        {35000, "day(s)", "FREQ=WEEKLY;INTERVAL=5000"},
        {40001, "day(s)", ""},
        {40000, "week(s)", ""},
        {32767 * 12L, "month(s)", "FREQ=YEARLY;INTERVAL=32767"},
        {40000, "month(s)", ""},
        {40000, "year(s)", ""},
    };
    for (const Case& c : cases) {
        data::ScheduleRecord task = Task("big", "Custom", MakeDate(12, 10, 2026), MakeTime(9, 30));
        task.every = static_cast<data::Long>(c.every);
        task.everyType = c.unit;
        const exchange::RuleText rule = exchange::RecurrenceRuleFor(task);
        EXPECT_EQ(rule.rrule, c.rrule) << c.every << " " << c.unit;
        EXPECT_EQ(rule.inexact.empty(), *c.rrule != '\0') << c.every << " " << c.unit << ": " << rule.inexact;
        if (!rule.rrule.empty()) {
            // libical reads it back to the same text: nothing was cut.
            const icalrecurrencetype r = icalrecurrencetype_from_string(rule.rrule.c_str());
            const exchange::ical::String back(icalrecurrencetype_as_string_r(const_cast<icalrecurrencetype*>(&r)));
            ASSERT_TRUE(back);
            EXPECT_EQ(std::string(back.get()), rule.rrule);
        }
    }
}

TEST_F(CalendarTest, LargeIntervalsGiveTheScheduledOccurrencesAndNoBrokenRule)
{
    const Date d = MakeDate(12, 10, 2026);
    std::vector<data::ScheduleRecord> tasks;
    for (const auto& [every, unit] : std::vector<std::pair<long, const char*>>{
             {43200, "minute(s)"}, {999999, "minute(s)"}, {40000, "hour(s)"}, {48000, "hour(s)"},
             {35000, "day(s)"}, {40001, "day(s)"}, {36000, "month(s)"}, {40000, "year(s)"}}) {
        data::ScheduleRecord t = Task(std::to_string(every) + " " + unit, "Custom", d, MakeTime(9, 30));
        t.every = static_cast<data::Long>(every);
        t.everyType = unit;
        tasks.push_back(t);
    }
    tasks = storeAll(tasks);
    const std::string file = dir.file("large.ics");
    exchange::CalendarExportJob job(from, ExchangeTable::Schedule, file, kStamp, prompter);
    run(job);
    ASSERT_TRUE(job.ok());
    EXPECT_EQ(job.written(), static_cast<int>(tasks.size()));
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    EXPECT_NE(text.find("RRULE:FREQ=DAILY;INTERVAL=30\r\n"), std::string::npos);
    EXPECT_NE(text.find("RRULE:FREQ=DAILY;INTERVAL=2000\r\n"), std::string::npos);
    EXPECT_NE(text.find("RRULE:FREQ=WEEKLY;INTERVAL=5000\r\n"), std::string::npos);
    EXPECT_NE(text.find("RRULE:FREQ=YEARLY;INTERVAL=3000\r\n"), std::string::npos);

    const Component root(icalparser_parse_string(text.c_str()));
    ASSERT_TRUE(root);
    std::size_t i = 0;
    for (icalcomponent* e = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT), ++i) {
        ASSERT_LT(i, tasks.size());
        EXPECT_EQ(IcalOccurrences(e, 50), OurOccurrences(tasks[i], 50)) << tasks[i].description.str();
    }
    EXPECT_EQ(i, tasks.size());
    // The rules written as dates are named with why, and only they.
    const std::vector<std::string>& notes = job.notes();
    ASSERT_EQ(notes.size(), 4u) << CalendarExportSummary(job);
    const std::vector<std::string> named = {"999999 minute(s)", "40000 hour(s)", "40001 day(s)", "40000 year(s)"};
    for (std::size_t n = 0; n < notes.size(); ++n) {
        EXPECT_NE(notes[n].find(named[n]), std::string::npos) << notes[n];
        EXPECT_NE(notes[n].find("32767"), std::string::npos) << notes[n];
    }
    // The program's own fields bring each task back as it was, rule and all.
    const exchange::ImportSummary summary = importFrom(file);
    EXPECT_EQ(summary.added, static_cast<int>(tasks.size())) << exchange::SummaryText(summary);
    const auto back = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(back.size(), tasks.size());
    for (std::size_t t = 0; t < tasks.size(); ++t)
        EXPECT_EQ(WithoutId(back[t]), WithoutId(tasks[t])) << tasks[t].description.str();
}

// A calendar shows what will happen: disabled tasks and history entries
// would otherwise come out as active series with reminders.
TEST_F(CalendarTest, OnlyEnabledTasksGoUnlessHistoryIsAskedForThenAsPastSingleEvents)
{
    const Date d = MakeDate(12, 10, 2026);
    auto daily = Task("daily", "Day of Week", d, MakeTime(9, 0));
    daily.advanceWarnDate = d;
    daily.advanceWarnTime = MakeTime(8, 45);
    auto disabled = daily;
    disabled.description = "switched off";
    disabled.disabled = 1;
    auto performed = daily;  // as the scheduler copies a task into its history
    performed.description = "performed";
    performed.date = MakeDate(12, 8, 2026);
    performed.disabled = performed.completed = 1;
    performed.skipNextTime = 0;
    auto passedOver = performed;
    passedOver.description = "passed over";
    passedOver.date = MakeDate(12, 9, 2026);
    passedOver.skipNextTime = 1;
    storeAll({daily, disabled, performed, passedOver});

    const std::string plain = dir.file("plain.ics");
    {
        exchange::CalendarExportJob job(from, ExchangeTable::Schedule, plain, kStamp, prompter);
        run(job);
        ASSERT_TRUE(job.ok());
        EXPECT_EQ(job.written(), 1);
        EXPECT_EQ(job.percent(), 100);
        EXPECT_EQ(CalendarExportSummary(job),
                  "1 record written. Not written: 1 disabled task and 2 history entries.");
    }
    const Component onlyTasks(icalparser_parse_string(ReadFile(plain).c_str()));
    ASSERT_TRUE(onlyTasks);
    ASSERT_EQ(icalcomponent_count_components(onlyTasks.get(), ICAL_VEVENT_COMPONENT), 1);
    EXPECT_STREQ(icalcomponent_get_summary(icalcomponent_get_first_component(onlyTasks.get(), ICAL_VEVENT_COMPONENT)),
                 "daily");

    const std::string withHistory = dir.file("history.ics");
    exchange::CalendarExportJob job(from, ExchangeTable::Schedule, withHistory, kStamp, prompter, {.history = true});
    run(job);
    ASSERT_TRUE(job.ok());
    EXPECT_EQ(job.written(), 3);
    EXPECT_EQ(CalendarExportSummary(job), "3 records written. Not written: 1 disabled task.");
    const Component root(icalparser_parse_string(ReadFile(withHistory).c_str()));
    ASSERT_TRUE(root);
    std::vector<std::string> seen;
    for (icalcomponent* e = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT)) {
        const std::string name = icalcomponent_get_summary(e);
        seen.push_back(name);
        if (name == "daily")
            continue;
        // A single past event: one occurrence, no reminder, nothing skipped.
        EXPECT_EQ(IcalOccurrences(e, 50).size(), 1u) << name;
        EXPECT_EQ(icalcomponent_count_components(e, ICAL_VALARM_COMPONENT), 0) << name;
        EXPECT_EQ(icalcomponent_count_properties(e, ICAL_EXDATE_PROPERTY), 0) << name;
        const Moment at = FromIcal(icalcomponent_get_dtstart(e));
        EXPECT_EQ(at, (Moment{name == "performed" ? performed.date : passedOver.date, MakeTime(9, 0)}));
        if (name == "passed over")
            EXPECT_EQ(icalcomponent_get_status(e), ICAL_STATUS_CANCELLED);
        else
            EXPECT_EQ(icalcomponent_count_properties(e, ICAL_STATUS_PROPERTY), 0) << name;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"daily", "performed", "passed over"}));
}

// Another calendar knows an event again by its UID: a record keeps one for
// life, and no other record anywhere shows the same.
TEST_F(CalendarTest, EveryRecordKeepsItsOwnUidAcrossExportsAndFiles)
{
    const auto uids = [this](data::Database& db, ExchangeTable table) {
        const std::string file = dir.file("uids.ics");
        exchange::CalendarExportJob job(db, table, file, kStamp, prompter);
        run(job);
        EXPECT_TRUE(job.ok());
        std::map<std::string, std::string> bySummary;
        const Component root(icalparser_parse_string(ReadFile(file).c_str()));
        const icalcomponent_kind kind = table == ExchangeTable::Todo ? ICAL_VTODO_COMPONENT : ICAL_VEVENT_COMPONENT;
        for (icalcomponent* c = icalcomponent_get_first_component(root.get(), kind); c;
             c = icalcomponent_get_next_component(root.get(), kind)) {
            const std::string uid = icalcomponent_get_uid(c);
            EXPECT_TRUE(uid.ends_with("@horalyn")) << uid;
            bySummary[icalcomponent_get_summary(c)] = uid;
        }
        return bySummary;
    };
    const auto todo = [this](data::Database& db, const char* text) {
        data::TodoRecord item;
        item.toDo = text;
        store(db, item);
    };
    // Items added before others in the list leave the others' UIDs as they were.
    todo(from, "b");
    todo(from, "d");
    const auto before = uids(from, ExchangeTable::Todo);
    todo(from, "a");
    todo(from, "c");
    const auto after = uids(from, ExchangeTable::Todo);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after.at("b"), before.at("b"));
    EXPECT_EQ(after.at("d"), before.at("d"));
    std::set<std::string> distinct;
    for (const auto& [text, uid] : after)
        distinct.insert(uid);
    EXPECT_EQ(distinct.size(), 4u);

    // A deleted task's number used again is another task, with another UID.
    storeAll({Task("one", "Once", MakeDate(1, 4, 2027), MakeTime(8, 0)),
              Task("two", "Once", MakeDate(1, 5, 2027), MakeTime(8, 0))});
    const auto first = uids(from, ExchangeTable::Schedule);
    {
        data::Table<data::ScheduleRecord> t(from);
        t.rec.id = 2;
        ASSERT_EQ(t.get(data::ScheduleRecord::KeyID), data::kOk);
        ASSERT_EQ(t.remove(), data::kOk);
    }
    data::ScheduleRecord replacement = Task("new two", "Once", MakeDate(1, 6, 2027), MakeTime(8, 0));
    replacement.id = 2;
    store(from, replacement);
    const auto second = uids(from, ExchangeTable::Schedule);
    EXPECT_EQ(second.at("one"), first.at("one"));
    EXPECT_NE(second.at("new two"), first.at("two"));

    // Another file's task 1 is not this file's.
    data::ScheduleRecord elsewhere = Task("one", "Once", MakeDate(1, 4, 2027), MakeTime(8, 0));
    elsewhere.id = 1;
    store(into, elsewhere);
    EXPECT_NE(uids(into, ExchangeTable::Schedule).at("one"), first.at("one"));
}

TEST_F(CalendarTest, ACalendarOfAnotherProgramGivesTasksWithTheSameOccurrences)
{
    // Without the program's own X-HRLN- fields only the standard properties
    // speak, as in a file another calendar wrote.
    const std::vector<data::ScheduleRecord> tasks = storeAll(EveryRule());
    const std::string file = dir.file("schedule.ics");
    ASSERT_TRUE(exportTo(file));
    std::istringstream lines(ReadFile(file));
    std::string plain, line;
    while (std::getline(lines, line))
        if (!line.starts_with("X-HRLN-"))
            plain += line + "\n";
    const std::string foreign = dir.file("foreign.ics");
    WriteFile(foreign, plain);

    const exchange::ImportSummary summary = importFrom(foreign);
    // The occurrences written out for rules iCalendar cannot say are no rule.
    ASSERT_EQ(summary.rejected.size(), 3u) << exchange::SummaryText(summary);
    for (const auto& r : summary.rejected)
        EXPECT_NE(r.reason.find("RDATE"), std::string::npos) << r.reason;
    const auto back = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    std::size_t b = 0;
    for (const data::ScheduleRecord& t : tasks) {
        if (!exchange::RecurrenceRuleFor(t).inexact.empty())
            continue;
        ASSERT_LT(b, back.size());
        EXPECT_EQ(back[b].description, t.description);
        EXPECT_EQ(OurOccurrences(back[b], 50), OurOccurrences(t, 50)) << t.description.str();
        ++b;
    }
    EXPECT_EQ(b, back.size());
}

TEST_F(CalendarTest, ForeignEventsTheScheduleCannotKeepAreSaidAndSkipped)
{
    const std::string file = dir.file("other.ics");
    WriteFile(file,
          "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Hand written//EN\r\n"
          "BEGIN:VEVENT\r\nUID:1\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261207T080000\r\nSUMMARY:Standup\\, daily\r\n"
          "RRULE:FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\r\nEXDATE:20261207T080000\r\nCATEGORIES:Office,Team\r\n"
          "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:soon\r\nEND:VALARM\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:2\r\nDTSTAMP:20261201T000000Z\r\nDTSTART;VALUE=DATE:20261224\r\nSUMMARY:Ten times\r\n"
          "RRULE:FREQ=DAILY;COUNT=10\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:3\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261201T100000\r\nSUMMARY:Mixed\r\n"
          "RRULE:FREQ=MONTHLY;BYDAY=1MO,-1FR\r\nEND:VEVENT\r\n"
          "BEGIN:VTODO\r\nUID:4\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:Buy milk\r\nEND:VTODO\r\n"
          "BEGIN:VEVENT\r\nUID:5\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:No start\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:6\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261201T100000Z\r\nSUMMARY:In UTC\r\n"
          "RRULE:FREQ=MONTHLY;INTERVAL=2\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:7\r\nDTSTAMP:20261201T000000Z\r\nDTSTART;VALUE=DATE:20261231\r\nSUMMARY:All day\r\n"
          "RRULE:FREQ=YEARLY\r\nEND:VEVENT\r\n"
          "END:VCALENDAR\r\n");
    const exchange::ImportSummary summary = importFrom(file);
    EXPECT_EQ(summary.added, 3) << exchange::SummaryText(summary);
    ASSERT_EQ(summary.rejected.size(), 4u) << exchange::SummaryText(summary);
    EXPECT_NE(summary.rejected[0].reason.find("COUNT"), std::string::npos);
    EXPECT_NE(summary.rejected[1].reason.find("BYDAY"), std::string::npos);
    EXPECT_NE(summary.rejected[2].reason.find("to-do list"), std::string::npos);
    EXPECT_NE(summary.rejected[3].reason.find("DTSTART"), std::string::npos);
    EXPECT_NE(exchange::SummaryText(summary).find("VEVENT 2 (\"Ten times\")"), std::string::npos);
    ASSERT_EQ(summary.notes.size(), 2u);  // the UTC time taken as written, the day-long event at 00:00
    // The skipped events are kept whole beside the file.
    const Component rejected(icalparser_parse_string(ReadFile(dir.file("other.rejected.ics")).c_str()));
    ASSERT_TRUE(rejected);
    EXPECT_EQ(icalcomponent_count_components(rejected.get(), ICAL_ANY_COMPONENT), 4);

    const auto back = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[2].scheduleType, "Yearly");
    EXPECT_EQ(back[2].time, MakeTime(0, 0));
    const data::ScheduleRecord& standup = back[0];
    EXPECT_EQ(standup.description, "Standup, daily");
    EXPECT_EQ(standup.category, "Office");
    EXPECT_EQ(standup.scheduleType, "Day of Week");
    EXPECT_EQ(recurrence::WeekdayMask(standup), 0b0111110u);
    EXPECT_EQ(standup.skipNextTime, 1);
    EXPECT_EQ(standup.advanceWarnDate, MakeDate(12, 7, 2026));
    EXPECT_EQ(standup.advanceWarnTime, MakeTime(7, 45));
    EXPECT_EQ(back[1].scheduleType, "Custom");
    EXPECT_EQ(back[1].every, 2);
    EXPECT_EQ(recurrence::UnitOf(back[1].everyType.view()), recurrence::Unit::Months);
    // A category the schedule did not know is added, as the form adds it.
    data::Table<data::CategoryRecord> categories(into);
    categories.rec.category = "Office";
    EXPECT_EQ(categories.get(data::CategoryRecord::KeyCategory), data::kOk);
}

// The event of the calendar with this summary.
icalcomponent* EventNamed(icalcomponent* root, std::string_view summary)
{
    for (icalcomponent* e = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT))
        if (const char* s = icalcomponent_get_summary(e); s && summary == s)
            return e;
    return nullptr;
}

TEST_F(CalendarTest, EditsMadeByAnotherProgramWinOverTheProgramsOwnFields)
{
    clock.pinZone("Europe/Berlin");
    auto weekdays = Task("backup", "Day of Week", MakeDate(12, 7, 2026), MakeTime(9, 0));  // a Monday
    weekdays.monday = weekdays.wednesday = weekdays.friday = 1;
    weekdays.taskType = "Run Program";
    weekdays.command = "backup.sh --all";
    weekdays.advanceWarnDate = MakeDate(12, 7, 2026);
    weekdays.advanceWarnTime = MakeTime(8, 30);
    auto reminded = Task("reminded", "Once", MakeDate(12, 20, 2026), MakeTime(14, 0, 0, 42));
    reminded.advanceWarnDate = MakeDate(12, 20, 2026);
    reminded.advanceWarnTime = MakeTime(13, 0);
    auto skipping = Task("skipping", "Day of Week", MakeDate(12, 8, 2026), MakeTime(7, 0));
    skipping.tuesday = 1;
    skipping.skipNextTime = 1;
    auto moved = Task("in utc", "Day of Week", MakeDate(12, 10, 2026), MakeTime(9, 0, 0, 7));
    moved.thursday = 1;
    moved.path = "/srv";
    auto untouched = Task("untouched", "Monthly", MakeDate(12, 12, 2026), MakeTime(6, 15, 0, 99));
    const std::vector<data::ScheduleRecord> tasks = storeAll({weekdays, reminded, skipping, moved, untouched});
    const std::string file = dir.file("edited.ics");
    ASSERT_TRUE(exportTo(file));

    // Another program edits the file, keeping the fields it does not know.
    const Component root(icalparser_parse_string(ReadFile(file).c_str()));
    ASSERT_TRUE(root);
    icalcomponent* backup = EventNamed(root.get(), "backup");
    icalcomponent* remind = EventNamed(root.get(), "reminded");
    icalcomponent* skip = EventNamed(root.get(), "skipping");
    icalcomponent* utc = EventNamed(root.get(), "in utc");
    ASSERT_TRUE(backup && remind && skip && utc);
    icalproperty_set_dtstart(icalcomponent_get_first_property(backup, ICAL_DTSTART_PROPERTY),
                             icaltime_from_string("20261208T100000"));
    icalproperty_set_rrule(icalcomponent_get_first_property(backup, ICAL_RRULE_PROPERTY),
                           icalrecurrencetype_from_string("FREQ=WEEKLY;BYDAY=TU,TH"));
    icaltriggertype quarter{};
    quarter.time = icaltime_null_time();
    quarter.duration = icaldurationtype_from_int(-15 * 60);
    icalcomponent* alarm = icalcomponent_get_first_component(remind, ICAL_VALARM_COMPONENT);
    ASSERT_TRUE(alarm);
    icalproperty_set_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY), quarter);
    icalproperty* exdate = icalcomponent_get_first_property(skip, ICAL_EXDATE_PROPERTY);
    ASSERT_TRUE(exdate);
    icalcomponent_remove_property(skip, exdate);
    icalproperty_free(exdate);
    // The same moment written in UTC is no edit: 09:00 in Berlin in winter.
    icalproperty_set_dtstart(icalcomponent_get_first_property(utc, ICAL_DTSTART_PROPERTY),
                             icaltime_from_string("20261210T080000Z"));
    WriteFile(file, exchange::ical::Text(root.get()));

    const exchange::ImportSummary summary = importFrom(file);
    EXPECT_EQ(summary.added, 5) << exchange::SummaryText(summary);
    const auto back = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(back.size(), 5u);

    // The rule changed to Tuesdays and Thursdays at 10:00 is the rule; the
    // program's own fields the other program kept stay, and the reminder
    // keeps its distance before the new start.
    EXPECT_EQ(back[0].scheduleType, "Day of Week");
    EXPECT_EQ(recurrence::WeekdayMask(back[0]), (1u << 2) | (1u << 4));
    EXPECT_EQ((Moment{back[0].date, back[0].time}), (Moment{MakeDate(12, 8, 2026), MakeTime(10, 0)}));
    EXPECT_EQ((Moment{back[0].advanceWarnDate, back[0].advanceWarnTime}),
              (Moment{MakeDate(12, 8, 2026), MakeTime(9, 30)}));
    EXPECT_EQ(back[0].command, "backup.sh --all");
    EXPECT_EQ(back[0].taskType, "Run Program");
    // A changed reminder is the reminder; the start, unchanged, keeps the
    // hundredths only the program's own field holds.
    EXPECT_EQ((Moment{back[1].date, back[1].time}), (Moment{MakeDate(12, 20, 2026), MakeTime(14, 0, 0, 42)}));
    EXPECT_EQ((Moment{back[1].advanceWarnDate, back[1].advanceWarnTime}),
              (Moment{MakeDate(12, 20, 2026), MakeTime(13, 45)}));
    // The occurrence no longer left out is performed.
    EXPECT_EQ(back[2].skipNextTime, 0);
    EXPECT_EQ((Moment{back[2].date, back[2].time}), (Moment{MakeDate(12, 8, 2026), MakeTime(7, 0)}));
    EXPECT_EQ(WithoutId(back[3]), WithoutId(tasks[3]));
    EXPECT_EQ(WithoutId(back[4]), WithoutId(tasks[4]));
}

TEST_F(CalendarTest, AFileThatIsNoCalendarIsRefusedAndAddsNothing)
{
    data::ScheduleRecord here = Task("already here", "Once", MakeDate(1, 5, 2027), MakeTime(8, 0));
    here.id = 1;
    store(into, here);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"garbage", "\x01\xff\xfe not a calendar at all\r\n"},
        {"nul", std::string("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:a\0b\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n", 63)},
        {"truncated", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART:20261201T1000"},
        {"card", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann\r\nEND:VCARD\r\n"},
        {"empty", ""},
    };
    for (const auto& [name, bytes] : files) {
        const std::string file = dir.file(name + ".ics");
        WriteFile(file, bytes);
        exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, clock, prompter);
        EXPECT_EQ(run(job), BatchRun::State::Refused) << name;
        EXPECT_TRUE(job.refused()) << name;
        EXPECT_EQ(job.summary().added, 0) << name;
    }
    EXPECT_EQ(prompter.shown.size(), files.size());
    const auto back = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].description, "already here");
}

TEST_F(CalendarTest, ADamagedEventIsSkippedWholeAndTheRestGoesIn)
{
    const std::string file = dir.file("damaged.ics");
    WriteFile(file,
          "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
          "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:2026-12-01 ten o'clock\r\nSUMMARY:Bad start\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:2\r\nDTSTART:20261201T100000\r\nSUMMARY:Bad rule\r\nRRULE:FREQ=SOMETIMES\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:3\r\nDTSTART:20261201T100000\r\nSUMMARY:\xC3\x28 bad UTF-8\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:4\r\nDTSTART:20261201T100000\r\nSUMMARY:Fine\r\n"
          "X-HRLN-EVERY:99999999999\r\nEND:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:5\r\nDTSTART:20261202T100000\r\nSUMMARY:Good\r\nEND:VEVENT\r\n"
          "END:VCALENDAR\r\n");
    const exchange::ImportSummary summary = importFrom(file);
    EXPECT_EQ(summary.added, 1) << exchange::SummaryText(summary);
    EXPECT_EQ(summary.rejected.size(), 4u) << exchange::SummaryText(summary);
    for (const auto& r : summary.rejected)
        EXPECT_FALSE(r.reason.empty());
    const auto back = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].description, "Good");
    EXPECT_EQ(back[0].scheduleType, "Once");
}

TEST_F(CalendarTest, TheToDoListGoesAndComesBackAsVtodos)
{
    data::TodoRecord a;
    a.done = 1;
    a.priority = 10;  // beyond iCalendar's 9: kept in the program's own field
    a.category = "Home";
    a.toDo = "Call the plumber; ask for \"Bob\"";
    a.completionDate = MakeDate(12, 24, 2026);
    a.completionTime = MakeTime(17, 0);
    a.notes = "two\nlines";
    data::TodoRecord b;
    b.priority = 2;
    b.category = "Work";
    b.toDo = "File the report";
    store(from, a);
    store(from, b);
    const std::string file = dir.file("todo.ics");
    ASSERT_TRUE(exportTo(file, ExchangeTable::Todo));
    EXPECT_NE(ReadFile(file).find("STATUS:COMPLETED"), std::string::npos);
    const exchange::ImportSummary summary = importFrom(file, ExchangeTable::Todo);
    EXPECT_EQ(summary.added, 2) << exchange::SummaryText(summary);
    const auto back = records<data::TodoRecord>(into, data::TodoRecord::KeyToDo);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(data::RecordValues(back[0]), data::RecordValues(a));
    EXPECT_EQ(data::RecordValues(back[1]), data::RecordValues(b));

    // Events do not go into the to-do list, and to-do items not into the schedule.
    const exchange::ImportSummary wrong = importFrom(file, ExchangeTable::Schedule);
    EXPECT_EQ(wrong.added, 0);
    EXPECT_EQ(wrong.rejected.size(), 2u);
}

// A calendar that sends its events again, edited, and one that reads ours
// back both find the records by the UIDs the events came with.
TEST_F(CalendarTest, EventsReadAgainWriteOverTheRecordsTheyMadeAndKeepTheirUids)
{
    const auto calendar = [](const std::string& dentistAt, const std::string& dentist) {
        return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Example//Web Calendar//EN\r\n"
               "BEGIN:VEVENT\r\nUID:standup-1@calendar.example\r\nDTSTART:20261211T090000\r\n"
               "RRULE:FREQ=WEEKLY;BYDAY=FR\r\nSUMMARY:Standup\r\nEND:VEVENT\r\n"
               "BEGIN:VEVENT\r\nUID:standup-1@calendar.example\r\nRECURRENCE-ID:20261211T090000\r\n"
               "DTSTART:20261211T110000\r\nSUMMARY:Standup (moved)\r\nEND:VEVENT\r\n"
               "BEGIN:VEVENT\r\nUID:dentist-2@calendar.example\r\nDTSTART:" +
               dentistAt + "\r\nSUMMARY:" + dentist + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    };
    const auto tasks = [this] {
        std::map<std::string, std::pair<data::Long, Moment>> out;  // by description
        for (const data::ScheduleRecord& t : records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID))
            out[std::string(t.description.view())] = {t.id, Moment{t.date, t.time}};
        return out;
    };
    const std::string file = dir.file("web.ics");
    WriteFile(file, calendar("20261215T140000", "Dentist"));
    exchange::ImportSummary summary = importFrom(file);
    ASSERT_EQ(summary.added, 3) << exchange::SummaryText(summary);
    const auto first = tasks();

    // Read again after the other calendar moved the appointment: the same
    // three tasks, the appointment at its new time.
    WriteFile(file, calendar("20261215T150000", "Dentist (Dr. K)"));
    summary = importFrom(file);
    EXPECT_EQ(summary.added, 0);
    EXPECT_EQ(summary.updated, 3);
    EXPECT_EQ(exchange::SummaryText(summary).substr(0, 38), "0 records added, 3 updated, 0 skipped.");
    auto now = tasks();
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(now.at("Dentist (Dr. K)"),
              std::make_pair(first.at("Dentist").first, Moment{MakeDate(12, 15, 2026), MakeTime(15, 0)}));
    EXPECT_EQ(now.at("Standup"), first.at("Standup"));
    EXPECT_EQ(now.at("Standup (moved)"), first.at("Standup (moved)"));

    // Our export gives the other calendar its own UIDs back, the moved
    // occurrence one of its own; read back here, edited, it changes the
    // tasks it came from.
    const std::string ours = dir.file("ours.ics");
    {
        exchange::CalendarExportJob job(into, ExchangeTable::Schedule, ours, kStamp, prompter);
        run(job);
        ASSERT_TRUE(job.ok());
    }
    const Component root(icalparser_parse_string(ReadFile(ours).c_str()));
    ASSERT_TRUE(root);
    std::set<std::string> uids;
    for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT))
        uids.insert(icalcomponent_get_uid(c));
    EXPECT_EQ(uids, (std::set<std::string>{"standup-1@calendar.example",
                                           "standup-1@calendar.example/20261211T090000",
                                           "dentist-2@calendar.example"}));
    icalcomponent* dentist = EventNamed(root.get(), "Dentist (Dr. K)");
    ASSERT_TRUE(dentist);
    icalproperty_set_dtstart(icalcomponent_get_first_property(dentist, ICAL_DTSTART_PROPERTY),
                             icaltime_from_string("20261216T080000"));
    WriteFile(ours, exchange::ical::Text(root.get()));
    summary = importFrom(ours);
    EXPECT_EQ(summary.added, 0) << exchange::SummaryText(summary);
    EXPECT_EQ(summary.updated, 3);
    now = tasks();
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ(now.at("Dentist (Dr. K)"),
              std::make_pair(first.at("Dentist").first, Moment{MakeDate(12, 16, 2026), MakeTime(8, 0)}));

    // The same for to-do items, and a UID given twice in one file means its last item.
    const std::string todo = dir.file("todo.ics");
    const auto todos = [&](const std::string& text) {
        WriteFile(todo, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Example//Tasks//EN\r\n"
                        "BEGIN:VTODO\r\nUID:milk@tasks.example\r\nSUMMARY:Milk\r\nEND:VTODO\r\n"
                        "BEGIN:VTODO\r\nUID:bread@tasks.example\r\nSUMMARY:" + text + "\r\nEND:VTODO\r\n"
                        "BEGIN:VTODO\r\nUID:bread@tasks.example\r\nSUMMARY:" + text + ", wholemeal\r\nEND:VTODO\r\n"
                        "END:VCALENDAR\r\n");
        return importFrom(todo, ExchangeTable::Todo);
    };
    summary = todos("Bread");
    EXPECT_EQ(summary.added, 2) << exchange::SummaryText(summary);
    ASSERT_EQ(summary.notes.size(), 1u);
    EXPECT_EQ(summary.notes[0], "1 item gave the UID of a later item of the file, which was kept in its place");
    summary = todos("Rye bread");
    EXPECT_EQ(summary.added, 0);
    EXPECT_EQ(summary.updated, 2);
    std::set<std::string> items;
    for (const data::TodoRecord& item : records<data::TodoRecord>(into, data::TodoRecord::KeyToDo))
        items.insert(std::string(item.toDo.view()));
    EXPECT_EQ(items, (std::set<std::string>{"Milk", "Rye bread, wholemeal"}));
}

TEST_F(CalendarTest, AFailedExportLeavesTheEarlierFileAsItWas)
{
    storeAll(EveryRule());
    const std::string folder = dir.file("sub");
    std::filesystem::create_directory(folder);
    const std::string file = folder + "/schedule.ics";
    WriteFile(file, "earlier");
    // A folder where the file would be written makes the rename fail.
    std::filesystem::create_directory(file + ".part");
    EXPECT_FALSE(exportTo(file));
    EXPECT_EQ(ReadFile(file), "earlier");
    EXPECT_FALSE(prompter.shown.empty());
}

}  // namespace
}  // namespace hrln::test
