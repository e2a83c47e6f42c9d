#include "exchange_fixture.h"

#include "exchange/calendar_import.h"
#include "exchange/vcard_exchange.h"
#include "support/fake_clock.h"

#include <algorithm>

// What an import tells of the records it skipped or cut: fields by the labels
// the forms show, ordinals and counts as written English.
namespace hrln::test {
namespace {

using exchange::ExchangeTable;

bool Said(const std::vector<std::string>& notes, const std::string& text)
{
    return std::find(notes.begin(), notes.end(), text) != notes.end();
}

TEST_F(ExchangeTest, RefusedRecordsNameTheFieldAsTheFormLabelsIt)
{
    const std::string file = dir.file("refused.csv");
    exchange::FieldLayout todo;
    todo.fields = {{"ToDo", "ToDo", "", exchange::FieldType::Text},
                   {"Priority", "Priority", "", exchange::FieldType::Number}};
    WriteFile(file, "ToDo,Priority\n\"too low\",0\n");
    exchange::ImportSummary summary = import(ExchangeTable::Todo, todo, file, into);
    ASSERT_EQ(summary.rejected.size(), 1u) << exchange::SummaryText(summary);
    EXPECT_EQ(summary.rejected[0].reason, "Priority must be between 1 and 10.");

    exchange::FieldLayout contacts;
    contacts.fields = {{"LastName", "LastName", "", exchange::FieldType::Text},
                       {"Email", "Email", "", exchange::FieldType::Text}};
    WriteFile(file, "LastName,Email\n\"\",\"nobody@example.org\"\n");
    summary = import(ExchangeTable::Contacts, contacts, file, into);
    ASSERT_EQ(summary.rejected.size(), 1u) << exchange::SummaryText(summary);
    EXPECT_EQ(summary.rejected[0].reason, "Last Name cannot be blank.");
}

TEST_F(ExchangeTest, CountsAndOrdinalsReadAsEnglish)
{
    const std::string cards = dir.file("cards.vcf");
    WriteFile(cards,
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:One;Ann;;;\r\nEMAIL:a@example.org\r\nEMAIL:b@example.org\r\n"
              "URL:https://a.example.org\r\nURL:https://b.example.org\r\nURL:https://c.example.org\r\nEND:VCARD\r\n");
    exchange::VCardImportJob job(into, cards, prompter);
    run(job);
    const exchange::ImportSummary summary = job.summary();
    ASSERT_EQ(summary.added, 1) << exchange::SummaryText(summary);
    EXPECT_TRUE(Said(summary.notes, "A further e-mail address on a card was not kept (once): a contact has room for one"))
        << exchange::SummaryText(summary);
    EXPECT_TRUE(Said(summary.notes, "A further web site on a card was not kept (2 times): a contact has room for one"))
        << exchange::SummaryText(summary);

    const std::string calendar = dir.file("monthly.ics");
    WriteFile(calendar, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Elsewhere//EN\r\n"
                        "BEGIN:VEVENT\r\nUID:m31\r\nDTSTART:20270131T090000\r\nSUMMARY:Rent\r\n"
                        "RRULE:FREQ=MONTHLY\r\nEND:VEVENT\r\n"
                        "BEGIN:VEVENT\r\nUID:m21\r\nDTSTART:20270121T090000\r\nSUMMARY:Fine\r\n"
                        "RRULE:FREQ=MONTHLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    FakeClock clock{MakeDate(11, 1, 2026), MakeTime(9, 0)};
    exchange::CalendarImportJob events(into, ExchangeTable::Schedule, calendar, clock, prompter);
    run(events);
    const exchange::ImportSummary read = events.summary();
    ASSERT_EQ(read.rejected.size(), 1u) << exchange::SummaryText(read);
    EXPECT_NE(read.rejected[0].reason.find("a monthly rule from the 31st skips short months"), std::string::npos)
        << read.rejected[0].reason;
}

}  // namespace
}  // namespace hrln::test
