// The calendar import off the caller's thread: what it refuses before or while
// reading, and that its reading and final store leave the caller ticking.
#include "exchange_fixture.h"

#include "exchange/calendar_import.h"
#include "exchange/calendar_reader.h"
#include "exchange/record_adder.h"
#include "recurrence/recurrence.h"
#include "recurrence/schedule_rule.h"
#include "support/fake_clock.h"

#include <limits>
#include <thread>

namespace hrln::test {
namespace {

using exchange::ExchangeTable;

std::string Event(int i, const std::string& extra = {})
{
    return "BEGIN:VEVENT\r\nUID:" + std::to_string(i) + "\r\nDTSTART:20261201T100000\r\nSUMMARY:Event " +
           std::to_string(i) + "\r\n" + extra + "END:VEVENT\r\n";
}

std::string Calendar(int events)
{
    std::string out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n";
    for (int i = 0; i < events; ++i)
        out += Event(i);
    return out + "END:VCALENDAR\r\n";
}

class CalendarImportTest : public ExchangeTest {
protected:
    // Runs the import to its end; the one message it gave, empty for none.
    std::string refusal(const std::string& name, const std::string& bytes)
    {
        const std::string file = dir.file(name);
        WriteFile(file, bytes);
        prompter.shown.clear();
        exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, clock, prompter);
        EXPECT_EQ(run(job), BatchRun::State::Refused) << name;
        EXPECT_TRUE(job.refused()) << name;
        EXPECT_EQ(job.summary().added, 0) << name;
        if (prompter.shown.size() != 1)
            return "(" + std::to_string(prompter.shown.size()) + " messages)";
        return prompter.shown.front().text;
    }

    std::vector<data::ScheduleRecord> tasks() { return records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID); }

    // Before every event of these files.
    const FakeClock clock{MakeDate(11, 1, 2026), MakeTime(9, 0)};
};

TEST_F(CalendarImportTest, AFileThatBeginsNoCalendarIsRefusedByItsFirstLineAlone)
{
    // What follows the first line would stop a reading: it is never read.
    const std::string absurd(6 << 20, 'x');
    const std::string card = refusal("card.ics", "BEGIN:VCARD\r\nNOTE:" + absurd + "\r\nEND:VCARD\r\n");
    EXPECT_NE(card.find("is no iCalendar file: it begins with \"BEGIN:VCARD\""), std::string::npos) << card;
    const std::string text = refusal("notes.ics", "\r\n\r\nShopping list\r\n" + absurd);
    EXPECT_NE(text.find("it begins with \"Shopping list\""), std::string::npos) << text;
    EXPECT_NE(refusal("empty.ics", "\r\n \r\n").find("it is empty"), std::string::npos);
    // A byte order mark before the first line is no part of it.
    const std::string file = dir.file("marked.ics");
    WriteFile(file, "\xEF\xBB\xBF" + Calendar(2));
    exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, clock, prompter);
    EXPECT_EQ(run(job), BatchRun::State::Completed);
    EXPECT_EQ(job.summary().added, 2) << exchange::SummaryText(job.summary());
}

TEST_F(CalendarImportTest, AnAbsurdLineIsRefusedByItsNumberAndALongOneIsRead)
{
    constexpr std::size_t kLimit = exchange::CalendarReader::kMaxLineBytes;
    const std::string head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + Event(1);
    // One line past the limit, as the 8 MB one-line files are.
    std::string said = refusal("long.ics", head + "BEGIN:VEVENT\r\nDESCRIPTION:" + std::string(kLimit, 'x') + "\r\n");
    EXPECT_NE(said.find("Line 9 of "), std::string::npos) << said;
    EXPECT_NE(said.find("is longer than 4 MB"), std::string::npos) << said;
    // Folded into short lines it is still one line, named where it begins.
    std::string folded = head + "BEGIN:VEVENT\r\nDESCRIPTION:start\r\n";
    for (std::size_t n = 0; n <= kLimit / 74; ++n)
        folded += " " + std::string(72, 'y') + "\r\n";
    said = refusal("folded.ics", folded + "END:VEVENT\r\nEND:VCALENDAR\r\n");
    EXPECT_NE(said.find("Line 9 of "), std::string::npos) << said;
    EXPECT_TRUE(tasks().empty());

    // Under the limit a line of megabytes is read as any other, its text cut
    // to its field.
    const std::string file = dir.file("fits.ics");
    WriteFile(file, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + Event(7, "DESCRIPTION:" + std::string(3 << 20, 'z') + "\r\n") +
                        Event(8) + "END:VCALENDAR\r\n");
    exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, clock, prompter);
    EXPECT_EQ(run(job, 1), BatchRun::State::Completed);
    EXPECT_EQ(job.summary().added, 2) << exchange::SummaryText(job.summary());
    const auto back = tasks();
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].message.view(), std::string(decltype(back[0].message)::kWidth, 'z'));
}

TEST_F(CalendarImportTest, AnAbsurdComponentOrOneCutShortIsRefusedByItsLine)
{
    // Lines each under the limit of a line, together over that of a component.
    constexpr std::size_t kLine = exchange::CalendarReader::kMaxLineBytes - 1024;
    std::string huge = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + Event(1) + "BEGIN:VEVENT\r\nUID:2\r\n";
    for (std::size_t n = 0; n <= exchange::CalendarReader::kMaxComponentBytes / kLine; ++n)
        huge += "X-NOTE-" + std::to_string(n) + ":" + std::string(kLine, 'n') + "\r\n";
    std::string said = refusal("huge.ics", huge + "END:VEVENT\r\nEND:VCALENDAR\r\n");
    EXPECT_NE(said.find("The VEVENT beginning at line 8 of "), std::string::npos) << said;
    EXPECT_NE(said.find("is longer than 16 MB"), std::string::npos) << said;

    said = refusal("cut.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + Event(1) + Event(2) +
                                  "BEGIN:VEVENT\r\nUID:3\r\nDTSTART:20261201T1000");
    EXPECT_NE(said.find("is cut short: the VEVENT beginning at line 13 has no END"), std::string::npos) << said;
    said = refusal("open.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + Event(1));
    EXPECT_NE(said.find("its calendar has no END:VCALENDAR"), std::string::npos) << said;
    EXPECT_TRUE(tasks().empty());
}

TEST_F(CalendarImportTest, TheCallerTicksOnWhileTheImportWaitsAndItsStoreIsAllOrNothing)
{
    const std::string file = dir.file("many.ics");
    WriteFile(file, Calendar(40));
    // Another station holds the file's write lock: the import reads the file
    // and then waits for the lock on its own thread, the caller ticking on.
    data::Database other(into.path(), data::MainLayout());
    ASSERT_EQ(other.open(), data::kOk);
    ASSERT_EQ(other.begin(), data::kOk);
    exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, clock, prompter);
    BatchRun r(job, 5);
    ASSERT_TRUE(r.start());
    int ticks = 0;
    while (r.running() && r.percent() < 50 && ticks < 100'000) {
        r.tick();
        ++ticks;
    }
    EXPECT_EQ(r.percent(), 50) << "the file was read while the database was locked";
    for (int i = 0; i < 10; ++i) {
        r.tick();
        ASSERT_TRUE(r.running());
    }
    EXPECT_EQ(r.percent(), 50);
    ASSERT_EQ(other.commit(), data::kOk);
    while (r.running())
        r.tick();
    EXPECT_EQ(r.state(), BatchRun::State::Completed);
    EXPECT_EQ(job.summary().added, 40) << exchange::SummaryText(job.summary());
    EXPECT_EQ(tasks().size(), 40u);

    // A store that cannot number every record read adds none of them.
    data::ScheduleRecord last;
    last.id = std::numeric_limits<data::Long>::max() - 1;
    last.description = "Highest";
    store(into, last);
    exchange::CalendarImportJob full(into, ExchangeTable::Schedule, file, clock, prompter);
    EXPECT_EQ(run(full), BatchRun::State::Completed);
    EXPECT_EQ(full.summary().added, 0);
    EXPECT_EQ(full.summary().failure, exchange::StoreFailureText(data::kNoNumberLeft, into));
    EXPECT_EQ(tasks().size(), 41u);
}

TEST_F(CalendarImportTest, CancelStopsAfterTheBatchInProgressAndKeepsTheEventsBeforeIt)
{
    const std::string file = dir.file("cancel.ics");
    WriteFile(file, Calendar(60));
    exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, clock, prompter);
    BatchRun r(job, 5);
    ASSERT_TRUE(r.start());
    while (r.running() && r.percent() <= 50)
        r.tick();
    ASSERT_TRUE(r.running());
    r.cancel();
    r.cancel();  // a second Cancel while the first is under way changes nothing
    while (r.running())
        r.tick();
    EXPECT_EQ(r.state(), BatchRun::State::Cancelled);
    EXPECT_TRUE(job.summary().cancelled);
    const int added = job.summary().added;
    EXPECT_TRUE(added == 5 || added == 10) << added;
    const auto back = tasks();
    ASSERT_EQ(back.size(), static_cast<std::size_t>(added));
    for (int i = 0; i < added; ++i)
        EXPECT_EQ(back[static_cast<std::size_t>(i)].description.str(), "Event " + std::to_string(i));
}


// Files in the shapes three common calendar programs export, read by a user
// in Berlin on Thursday 10 December 2026 at 08:00.
constexpr const char* kBerlinZone =
    "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nX-LIC-LOCATION:Europe/Berlin\r\n"
    "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nTZNAME:CEST\r\nDTSTART:19700329T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nTZNAME:CET\r\nDTSTART:19701025T030000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
constexpr const char* kNewYorkZone =
    "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\nX-LIC-LOCATION:America/New_York\r\n"
    "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\nDTSTART:19700308T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\nDTSTART:19701101T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
constexpr const char* kWindowsZone =
    "BEGIN:VTIMEZONE\r\nTZID:W. Europe Standard Time\r\n"
    "BEGIN:STANDARD\r\nDTSTART:16010101T030000\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

std::string Vevent(const std::string& uid, const std::string& lines)
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20261201T120000Z\r\n" + lines + "END:VEVENT\r\n";
}

struct Occurrence {
    Date date;
    Time time;
    bool operator==(const Occurrence&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Occurrence& o)
{
    return os << FormatD17(o.date) << ' ' << FormatT7(o.time);
}

// The first `n` occurrences the scheduler performs, passing over the next one
// when the task says so.
std::vector<Occurrence> Performed(data::ScheduleRecord task, int n)
{
    FakePrompter quiet;
    std::vector<Occurrence> out;
    if (task.skipNextTime == 0)
        out.push_back({task.date, task.time});
    while (static_cast<int>(out.size()) < n) {
        recurrence::NextOccurrence(task, task.date, task.time, quiet);
        if (task.completed != 0)
            break;
        out.push_back({task.date, task.time});
    }
    return out;
}

class OtherProgramsTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        clock.pinZone("Europe/Berlin");
        clock.set(MakeDate(12, 10, 2026), MakeTime(8, 0));
    }

    exchange::ImportSummary importCalendar(const std::string& name, const std::string& prodid, const std::string& body,
                                           ExchangeTable table = ExchangeTable::Schedule)
    {
        const std::string file = dir.file(name);
        WriteFile(file, "BEGIN:VCALENDAR\r\nPRODID:" + prodid + "\r\nVERSION:2.0\r\n" + body + "END:VCALENDAR\r\n");
        exchange::CalendarImportJob job(into, table, file, clock, prompter);
        EXPECT_EQ(run(job), BatchRun::State::Completed) << name;
        return job.summary();
    }

    // The task added with this description; a blank one when there is none.
    data::ScheduleRecord task(std::string_view description)
    {
        for (const data::ScheduleRecord& t : records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID))
            if (t.description == description)
                return t;
        ADD_FAILURE() << "no task \"" << description << "\"";
        return {};
    }

    static std::string reasonFor(const exchange::ImportSummary& summary, std::string_view name)
    {
        for (const auto& r : summary.rejected)
            if (r.item.find(name) != std::string::npos)
                return r.reason;
        return "(not refused)";
    }

    static bool noted(const exchange::ImportSummary& summary, std::string_view start)
    {
        return std::any_of(summary.notes.begin(), summary.notes.end(),
                           [&](const std::string& n) { return n.starts_with(start); });
    }

    FakeClock clock;
};

TEST_F(OtherProgramsTest, AThunderbirdCalendarComesInOnTheLocalClockFromNowOn)
{
    const std::string body =
        std::string(kBerlinZone) +
        Vevent("tb-1", "SUMMARY:Team sync\r\nDTSTART;TZID=Europe/Berlin:20260301T100000\r\n"
                       "DTEND;TZID=Europe/Berlin:20260301T110000\r\nRRULE:FREQ=WEEKLY;BYDAY=SU\r\n"
                       "X-MOZ-GENERATION:3\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;VALUE=DURATION:-PT15M\r\n"
                       "DESCRIPTION:Default Mozilla Description\r\nEND:VALARM\r\n") +
        Vevent("tb-2", "SUMMARY:Dentist\r\nDTSTART:20261215T090000Z\r\nDTEND:20261215T100000Z\r\n"
                       "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;VALUE=DATE-TIME:20261215T083000Z\r\n"
                       "DESCRIPTION:Dentist\r\nEND:VALARM\r\n") +
        Vevent("tb-3", "SUMMARY:Christmas Eve\r\nDTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\n") +
        Vevent("tb-4", "SUMMARY:Evening course\r\nDTSTART;TZID=Europe/Berlin:20260302T180000\r\n"
                       "RRULE:FREQ=WEEKLY;COUNT=5\r\n") +
        Vevent("tb-5", "SUMMARY:Sprint\r\nDTSTART;TZID=Europe/Berlin:20261201T100000\r\n"
                       "RRULE:FREQ=DAILY;UNTIL=20261210T090000Z\r\n") +
        Vevent("tb-6", "SUMMARY:Summer party\r\nDTSTART;TZID=Europe/Berlin:20270701T180000\r\n") +
        Vevent("tb-7", "SUMMARY:On Mars\r\nDTSTART;TZID=Mars/Olympus_Mons:20261220T100000\r\n");
    const exchange::ImportSummary summary =
        importCalendar("thunderbird.ics", "-//Mozilla.org/NONSGML Mozilla Calendar V1.1//EN", body);
    EXPECT_EQ(summary.added, 5) << exchange::SummaryText(summary);

    // Weekly since March: from the next Sunday on, its reminder with it.
    const data::ScheduleRecord sync = task("Team sync");
    EXPECT_EQ(sync.scheduleType, "Day of Week");
    EXPECT_EQ(recurrence::WeekdayMask(sync), 1u);
    EXPECT_EQ((Occurrence{sync.date, sync.time}), (Occurrence{MakeDate(12, 13, 2026), MakeTime(10, 0)}));
    EXPECT_EQ((Occurrence{sync.advanceWarnDate, sync.advanceWarnTime}),
              (Occurrence{MakeDate(12, 13, 2026), MakeTime(9, 45)}));
    EXPECT_EQ(sync.skipNextTime, 0);
    EXPECT_TRUE(noted(summary, "2 of the tasks added repeat since before now")) << exchange::SummaryText(summary);

    // 09:00 UTC is 10:00 in Berlin in winter, and the reminder at its own
    // time in UTC moves alike.
    const data::ScheduleRecord dentist = task("Dentist");
    EXPECT_EQ(dentist.scheduleType, "Once");
    EXPECT_EQ((Occurrence{dentist.date, dentist.time}), (Occurrence{MakeDate(12, 15, 2026), MakeTime(10, 0)}));
    EXPECT_EQ((Occurrence{dentist.advanceWarnDate, dentist.advanceWarnTime}),
              (Occurrence{MakeDate(12, 15, 2026), MakeTime(9, 30)}));

    // A day-long event stays on its day; one in summer keeps its summer time.
    EXPECT_EQ((Occurrence{task("Christmas Eve").date, task("Christmas Eve").time}),
              (Occurrence{MakeDate(12, 24, 2026), MakeTime(0, 0)}));
    EXPECT_EQ((Occurrence{task("Summer party").date, task("Summer party").time}),
              (Occurrence{MakeDate(7, 1, 2027), MakeTime(18, 0)}));

    // A series with one occurrence left is that occurrence; one that has
    // ended is said and skipped, as is a time in a zone nobody knows.
    const data::ScheduleRecord sprint = task("Sprint");
    EXPECT_EQ(sprint.scheduleType, "Once");
    EXPECT_EQ((Occurrence{sprint.date, sprint.time}), (Occurrence{MakeDate(12, 10, 2026), MakeTime(10, 0)}));
    ASSERT_EQ(summary.rejected.size(), 2u) << exchange::SummaryText(summary);
    EXPECT_NE(reasonFor(summary, "Evening course").find("last occurrence, on 2026-03-30, has passed"),
              std::string::npos)
        << reasonFor(summary, "Evening course");
    EXPECT_NE(reasonFor(summary, "On Mars").find("Mars/Olympus_Mons"), std::string::npos);
    EXPECT_TRUE(noted(summary, "4 of the records added had times in UTC or a named time zone"))
        << exchange::SummaryText(summary);
}

TEST_F(OtherProgramsTest, AGoogleCalendarKeepsItsSeriesTheirMovedAndCancelledOccurrencesOnce)
{
    const std::string ny = "DTSTART;TZID=America/New_York:";
    const std::string body =
        std::string(kNewYorkZone) +
        Vevent("g-1", "SUMMARY:One on one\r\n" + ny + "20261106T090000\r\nRRULE:FREQ=WEEKLY;WKST=MO;INTERVAL=2;BYDAY=FR\r\n") +
        Vevent("g-2", "SUMMARY:Standup\r\n" + ny + "20261201T090000\r\nRRULE:FREQ=WEEKLY;BYDAY=TU\r\n") +
        Vevent("g-2", "SUMMARY:Standup (moved)\r\nRECURRENCE-ID;TZID=America/New_York:20261215T090000\r\n" + ny +
                          "20261216T110000\r\n") +
        Vevent("g-2", "SUMMARY:Standup (moved before)\r\nRECURRENCE-ID;TZID=America/New_York:20261201T090000\r\n" +
                          ny + "20261202T090000\r\n") +
        Vevent("g-3", "SUMMARY:Yoga\r\nRECURRENCE-ID;TZID=America/New_York:20261215T120000\r\n" + ny +
                          "20261215T120000\r\nSTATUS:CANCELLED\r\n") +
        Vevent("g-3", "SUMMARY:Yoga\r\n" + ny + "20261201T120000\r\nRRULE:FREQ=WEEKLY;BYDAY=TU\r\n") +
        Vevent("g-4", "SUMMARY:Drinks\r\n" + ny + "20261204T200000\r\nRRULE:FREQ=WEEKLY;BYDAY=FR\r\n") +
        Vevent("g-5", "SUMMARY:Review\r\n" + ny + "20261203T090000\r\nRRULE:FREQ=WEEKLY;BYDAY=TH\r\n"
                      "EXDATE;TZID=America/New_York:20270107T090000\r\n") +
        Vevent("g-6", "SUMMARY:Planning\r\n" + ny + "20261203T090000\r\nRRULE:FREQ=WEEKLY;BYDAY=TH\r\n"
                      "EXDATE;TZID=America/New_York:20261210T090000\r\n") +
        Vevent("g-7", "SUMMARY:Birthday\r\nDTSTART;VALUE=DATE:19900301\r\nRRULE:FREQ=YEARLY\r\n");
    const exchange::ImportSummary summary =
        importCalendar("google.ics", "-//Google Inc//Google Calendar 70.9054//EN", body + "X-WR-TIMEZONE:America/New_York\r\n");
    EXPECT_EQ(summary.added, 7) << exchange::SummaryText(summary);

    // Every other Friday at 09:00 in New York: 15:00 in Berlin, two weeks on.
    const data::ScheduleRecord oneOnOne = task("One on one");
    EXPECT_EQ(oneOnOne.scheduleType, "Custom");
    EXPECT_EQ(recurrence::UnitOf(oneOnOne.everyType.view()), recurrence::Unit::Weeks);
    EXPECT_EQ(oneOnOne.every, 2);
    EXPECT_EQ(Performed(oneOnOne, 3),
              (std::vector<Occurrence>{{MakeDate(12, 18, 2026), MakeTime(15, 0)},
                                       {MakeDate(1, 1, 2027), MakeTime(15, 0)},
                                       {MakeDate(1, 15, 2027), MakeTime(15, 0)}}));

    // The moved standup is performed once, on its new day; the series passes
    // over the day it left, as a rescheduled task does.
    const data::ScheduleRecord standup = task("Standup");
    EXPECT_EQ(standup.scheduleType, "Day of Week");
    EXPECT_EQ(standup.skipNextTime, 1);
    EXPECT_EQ(Performed(standup, 2), (std::vector<Occurrence>{{MakeDate(12, 22, 2026), MakeTime(15, 0)},
                                                             {MakeDate(12, 29, 2026), MakeTime(15, 0)}}));
    const data::ScheduleRecord moved = task("Standup (moved)");
    EXPECT_EQ(moved.scheduleType, "Once");
    EXPECT_EQ((Occurrence{moved.date, moved.time}), (Occurrence{MakeDate(12, 16, 2026), MakeTime(17, 0)}));
    // A cancelled one only leaves its day out; one moved before now is gone.
    const data::ScheduleRecord yoga = task("Yoga");
    EXPECT_EQ(yoga.skipNextTime, 1);
    EXPECT_EQ(Performed(yoga, 1), (std::vector<Occurrence>{{MakeDate(12, 22, 2026), MakeTime(18, 0)}}));
    EXPECT_TRUE(noted(summary, "2 moved or cancelled occurrences were passed over")) << exchange::SummaryText(summary);

    // Friday 20:00 in New York is Saturday in Berlin.
    const data::ScheduleRecord drinks = task("Drinks");
    EXPECT_EQ(recurrence::WeekdayMask(drinks), 1u << 6);
    EXPECT_EQ((Occurrence{drinks.date, drinks.time}), (Occurrence{MakeDate(12, 12, 2026), MakeTime(2, 0)}));

    // Its next occurrence left out, a series passes over it; one left out
    // further on cannot be kept by a task, so the series is not performed on
    // that day but said and skipped.
    const data::ScheduleRecord planning = task("Planning");
    EXPECT_EQ(planning.skipNextTime, 1);
    EXPECT_EQ(Performed(planning, 1), (std::vector<Occurrence>{{MakeDate(12, 17, 2026), MakeTime(15, 0)}}));
    ASSERT_EQ(summary.rejected.size(), 1u) << exchange::SummaryText(summary);
    EXPECT_NE(summary.rejected[0].reason.find("2027-01-07"), std::string::npos) << summary.rejected[0].reason;
    EXPECT_NE(summary.rejected[0].item.find("Review"), std::string::npos);

    const data::ScheduleRecord birthday = task("Birthday");
    EXPECT_EQ(birthday.scheduleType, "Yearly");
    EXPECT_EQ((Occurrence{birthday.date, birthday.time}), (Occurrence{MakeDate(3, 1, 2027), MakeTime(0, 0)}));

    // New York changes to summer time two weeks before Berlin: the series
    // at 09:00 there keep 15:00 here and the summary says so.
    EXPECT_TRUE(noted(summary, "5 of the tasks added keep the local time")) << exchange::SummaryText(summary);
}

TEST_F(OtherProgramsTest, AnOutlookCalendarGivesYearlyAndWeekdayTasks)
{
    const std::string west = "DTSTART;TZID=\"W. Europe Standard Time\":";
    const std::string body =
        std::string(kWindowsZone) +
        Vevent("o-1", "SUMMARY:Tax return\r\n" + west + "20240301T090000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=1\r\n") +
        Vevent("o-2", "SUMMARY:Jour fixe\r\n" + west + "20260105T100000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,WE;WKST=SU\r\n") +
        Vevent("o-3", "SUMMARY:Fortnightly\r\n" + west + "20260105T100000\r\n"
                      "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;WKST=SU\r\n") +
        Vevent("o-4", "SUMMARY:Other month\r\n" + west + "20240301T090000\r\nRRULE:FREQ=YEARLY;BYMONTH=4;BYMONTHDAY=1\r\n") +
        Vevent("o-5", "SUMMARY:Twice a year\r\n" + west + "20240301T090000\r\n"
                      "RRULE:FREQ=YEARLY;BYMONTH=3,9;BYMONTHDAY=1\r\n");
    const exchange::ImportSummary summary =
        importCalendar("outlook.ics", "-//Microsoft Corporation//Outlook 16.0 MIMEDIR//EN", body);
    EXPECT_EQ(summary.added, 3) << exchange::SummaryText(summary);

    const data::ScheduleRecord tax = task("Tax return");
    EXPECT_EQ(tax.scheduleType, "Yearly");
    EXPECT_EQ(Performed(tax, 2), (std::vector<Occurrence>{{MakeDate(3, 1, 2027), MakeTime(9, 0)},
                                                         {MakeDate(3, 1, 2028), MakeTime(9, 0)}}));
    // Its start passed, a yearly rule in another month than the start's is
    // yearly from its next occurrence.
    const data::ScheduleRecord april = task("Other month");
    EXPECT_EQ(april.scheduleType, "Yearly");
    EXPECT_EQ((Occurrence{april.date, april.time}), (Occurrence{MakeDate(4, 1, 2027), MakeTime(9, 0)}));
    const data::ScheduleRecord fixe = task("Jour fixe");
    EXPECT_EQ(fixe.scheduleType, "Day of Week");
    EXPECT_EQ(Performed(fixe, 3), (std::vector<Occurrence>{{MakeDate(12, 14, 2026), MakeTime(10, 0)},
                                                          {MakeDate(12, 16, 2026), MakeTime(10, 0)},
                                                          {MakeDate(12, 21, 2026), MakeTime(10, 0)}}));
    // A zone with the same rules as the user's moves nothing, so nothing drifts.
    EXPECT_EQ(exchange::SummaryText(summary).find("keep the local time"), std::string::npos)
        << exchange::SummaryText(summary);
    // Two weekdays every other week, and two months of the year, are no
    // task's rule.
    ASSERT_EQ(summary.rejected.size(), 2u) << exchange::SummaryText(summary);
    EXPECT_NE(reasonFor(summary, "Fortnightly").find("every 2 weeks"), std::string::npos);
    EXPECT_NE(reasonFor(summary, "Twice a year").find("months"), std::string::npos);
}

TEST_F(OtherProgramsTest, ZonesAndMovedOccurrencesCountWhereverTheFileHasThem)
{
    // The file is read one component at a time: a zone written after the
    // events that name it, and a moved occurrence before its series, still
    // count.
    const std::string ny = "DTSTART;TZID=America/New_York:";
    const std::string body =
        Vevent("z-1", "SUMMARY:Standup (moved)\r\nRECURRENCE-ID;TZID=America/New_York:20261215T090000\r\n" + ny +
                          "20261215T130000\r\n") +
        Vevent("z-1", "SUMMARY:Standup\r\n" + ny + "20261201T090000\r\nRRULE:FREQ=WEEKLY;BYDAY=TU\r\n") +
        "END:VCALENDAR\r\nBEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + kNewYorkZone;
    const exchange::ImportSummary summary = importCalendar("late-zone.ics", "-//Test//EN", body);
    EXPECT_EQ(summary.added, 2) << exchange::SummaryText(summary);
    const data::ScheduleRecord standup = task("Standup");
    EXPECT_EQ(standup.skipNextTime, 1);
    EXPECT_EQ((Occurrence{standup.date, standup.time}), (Occurrence{MakeDate(12, 15, 2026), MakeTime(15, 0)}));
    const data::ScheduleRecord moved = task("Standup (moved)");
    EXPECT_EQ((Occurrence{moved.date, moved.time}), (Occurrence{MakeDate(12, 15, 2026), MakeTime(19, 0)}));
}

TEST_F(OtherProgramsTest, ARuleThatWouldMissTheCalendarsDatesOnTheLocalClockIsRefused)
{
    // 20:00 in New York is 02:00 the next day in Berlin: the Tuesday after
    // the first Monday is not always the first Tuesday (June 2027 begins on
    // a Tuesday), and the day after the 28th is not always the 29th.
    const std::string ny = "DTSTART;TZID=America/New_York:";
    const std::string body =
        std::string(kNewYorkZone) +
        Vevent("m-1", "SUMMARY:Board\r\n" + ny + "20261207T200000\r\nRRULE:FREQ=MONTHLY;BYDAY=1MO\r\n") +
        Vevent("m-2", "SUMMARY:Month end\r\n" + ny + "20261228T200000\r\nRRULE:FREQ=MONTHLY;BYMONTHDAY=28\r\n") +
        Vevent("m-3", "SUMMARY:Mornings\r\n" + ny + "20261207T090000\r\nRRULE:FREQ=MONTHLY;BYDAY=1MO\r\n");
    const exchange::ImportSummary summary = importCalendar("shifted.ics", "-//Test//EN", body);
    EXPECT_EQ(summary.added, 1) << exchange::SummaryText(summary);
    EXPECT_NE(reasonFor(summary, "Board").find("would fall on 2027-06-01 where the calendar has 2027-06-08"),
              std::string::npos)
        << reasonFor(summary, "Board");
    EXPECT_NE(reasonFor(summary, "Month end").find("where the calendar has"), std::string::npos)
        << reasonFor(summary, "Month end");
    // At 09:00 there the day stays the same here.
    const data::ScheduleRecord mornings = task("Mornings");
    EXPECT_EQ(mornings.scheduleType, "Day of Month");
    EXPECT_EQ(Performed(mornings, 2), (std::vector<Occurrence>{{MakeDate(1, 4, 2027), MakeTime(15, 0)},
                                                              {MakeDate(2, 1, 2027), MakeTime(15, 0)}}));
}

TEST_F(OtherProgramsTest, TimesInUtcLandOnTheLocalClockAcrossItsChanges)
{
    // Berlin springs from 02:00 to 03:00 on 28 March 2027 (01:00 UTC) and
    // falls back from 03:00 to 02:00 on 31 October 2027 (01:00 UTC).
    const std::vector<std::pair<std::string, Occurrence>> cases = {
        {"20270328T005959Z", {MakeDate(3, 28, 2027), MakeTime(1, 59, 59)}},
        {"20270328T010000Z", {MakeDate(3, 28, 2027), MakeTime(3, 0)}},
        {"20271031T003000Z", {MakeDate(10, 31, 2027), MakeTime(2, 30)}},
        {"20271031T013000Z", {MakeDate(10, 31, 2027), MakeTime(2, 30)}},
        {"20271031T023000Z", {MakeDate(10, 31, 2027), MakeTime(3, 30)}},
        {"20261231T230000Z", {MakeDate(1, 1, 2027), MakeTime(0, 0)}},
    };
    std::string body;
    for (std::size_t i = 0; i < cases.size(); ++i)
        body += Vevent("u-" + std::to_string(i), "SUMMARY:" + cases[i].first + "\r\nDTSTART:" + cases[i].first + "\r\n");
    const exchange::ImportSummary summary = importCalendar("utc.ics", "-//Test//EN", body);
    EXPECT_EQ(summary.added, static_cast<int>(cases.size())) << exchange::SummaryText(summary);
    for (const auto& [utc, local] : cases) {
        const data::ScheduleRecord t = task(utc);
        EXPECT_EQ((Occurrence{t.date, t.time}), local) << utc;
    }

    // A to-do item's due time moves alike.
    const exchange::ImportSummary todo = importCalendar(
        "tasks.ics", "-//Mozilla.org/NONSGML Mozilla Calendar V1.1//EN",
        "BEGIN:VTODO\r\nUID:t-1\r\nSUMMARY:Send invoice\r\nDUE:20261215T170000Z\r\nEND:VTODO\r\n",
        ExchangeTable::Todo);
    EXPECT_EQ(todo.added, 1) << exchange::SummaryText(todo);
    const auto items = records<data::TodoRecord>(into, data::TodoRecord::KeyToDo);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ((Occurrence{items[0].completionDate, items[0].completionTime}),
              (Occurrence{MakeDate(12, 15, 2026), MakeTime(18, 0)}));
}

}  // namespace
}  // namespace hrln::test
