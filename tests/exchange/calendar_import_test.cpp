// The calendar import off the caller's thread: what it refuses before or while
// reading, and that its reading and final store leave the caller ticking.
#include "exchange_fixture.h"

#include "exchange/calendar_import.h"
#include "exchange/calendar_reader.h"
#include "exchange/record_adder.h"

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
        exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, prompter);
        EXPECT_EQ(run(job), BatchRun::State::Refused) << name;
        EXPECT_TRUE(job.refused()) << name;
        EXPECT_EQ(job.summary().added, 0) << name;
        if (prompter.shown.size() != 1)
            return "(" + std::to_string(prompter.shown.size()) + " messages)";
        return prompter.shown.front().text;
    }

    std::vector<data::ScheduleRecord> tasks() { return records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID); }
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
    exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, prompter);
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
    exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, prompter);
    EXPECT_EQ(run(job, 1), BatchRun::State::Completed);
    EXPECT_EQ(job.summary().added, 2) << exchange::SummaryText(job.summary());
    const auto back = tasks();
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].message.view(), std::string(decltype(back[0].message)::kWidth, 'z'));
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
    exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, prompter);
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
    exchange::CalendarImportJob full(into, ExchangeTable::Schedule, file, prompter);
    EXPECT_EQ(run(full), BatchRun::State::Completed);
    EXPECT_EQ(full.summary().added, 0);
    EXPECT_EQ(full.summary().failure, exchange::StoreFailureText(data::kNoNumberLeft, into));
    EXPECT_EQ(tasks().size(), 41u);
}

TEST_F(CalendarImportTest, CancelStopsAfterTheBatchInProgressAndKeepsTheEventsBeforeIt)
{
    const std::string file = dir.file("cancel.ics");
    WriteFile(file, Calendar(60));
    exchange::CalendarImportJob job(into, ExchangeTable::Schedule, file, prompter);
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

}  // namespace
}  // namespace hrln::test
