#include "exchange_fixture.h"

#include "exchange/calendar_export.h"
#include "exchange/calendar_import.h"
#include "exchange/vcard_exchange.h"
#include "support/fake_clock.h"

// What users type that the exchange formats would rather change: blanks
// before a title, CR LF line ends in a long text, a to-do item without a
// category. Every such record is written out and read back, and every field
// compared, through each format its table goes through.
namespace hrln::test {
namespace {

using exchange::DefaultLayout;
using exchange::ExchangeTable;

const platform::DateTime kStamp{MakeDate(12, 9, 2026), MakeTime(5, 0)};

// The fields of `b` that differ from `a`, by name with both values; the
// record's number is left out when the import numbers records anew.
template <class R>
std::string Differences(const R& a, const R& b, bool numbered)
{
    std::vector<std::string> names;
    R::fields(a, [&](const char* name, const auto&) { names.emplace_back(name); });
    const std::vector<data::Value> va = data::RecordValues(a), vb = data::RecordValues(b);
    const auto shown = [](const data::Value& v) {
        if (const auto* s = std::get_if<std::string>(&v)) {
            std::string out = "\"";
            for (char c : *s)
                out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
            return out + "\"";
        }
        return std::to_string(std::get<std::int64_t>(v));
    };
    std::string out;
    for (std::size_t i = 0; i < va.size(); ++i)
        if (va[i] != vb[i] && !(numbered && (names[i] == "ID" || names[i] == "ClientID")))
            out += " " + names[i] + ": " + shown(vb[i]) + " instead of " + shown(va[i]) + ";";
    return out;
}

std::vector<data::ScheduleRecord> AwkwardTasks()
{
    data::ScheduleRecord a;
    a.id = 1;
    a.taskType = "Display Message";
    a.category = "Work";
    a.description = "   indented title";
    a.scheduleType = "Monthly";
    a.every = 1;
    a.date = MakeDate(12, 15, 2026);
    a.time = MakeTime(8, 0);
    a.message = "first line\r\nsecond line\r\n\r\nafter a blank line\r\n";
    data::ScheduleRecord b = a;
    b.id = 2;
    b.description = " x";
    b.scheduleType = "Once";
    // Line ends of both kinds in one text stay as they were.
    b.message = "  starts with blanks\nunix line\r\nwindows line\rold mac line";
    // Longer than a calendar's line, with backslashes and characters of two
    // and three bytes where the line is folded.
    b.command = "C:\\Program Files\\" + std::string(50, 'x') + "\\ééé✓✓✓ ✓é\\n";
    b.every = 0;  // unlike the other numbers, a new task's Every is not 0
    b.shiftType = "a\\b";
    data::ScheduleRecord c = a;
    c.id = 3;
    c.description = "plain";
    c.message = "\r\n";
    return {a, b, c};
}

std::vector<data::TodoRecord> AwkwardItems()
{
    data::TodoRecord a;
    a.priority = 4;
    a.toDo = "  indented item";
    a.notes = "one\r\ntwo\r\n";
    data::TodoRecord b;
    b.priority = 7;
    b.category = "Home";
    b.toDo = "Call back";
    b.notes = " a\nb\r\nc";
    return {a, b};
}

std::vector<data::ContactRecord> AwkwardContacts()
{
    data::ContactRecord a;
    a.clientId = 1;
    a.lastName = "  Indented";
    a.firstName = " Ann";
    a.addressLine1 = "  2 Side Street";
    a.contactCategory = "Friends";
    a.notes = "line one\r\nline two\r\n";
    data::ContactRecord b;
    b.clientId = 2;
    b.lastName = "Plain";
    b.notes = " mixed\nends\r\nhere";
    return {a, b};
}

class RoundTripTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        for (const auto& t : AwkwardTasks())
            store(from, t);
        for (const auto& t : AwkwardItems())
            store(from, t);
        for (const auto& c : AwkwardContacts())
            store(from, c);
    }

    template <class R>
    void expectSame(int key, bool numbered, const std::string& how)
    {
        const std::vector<R> a = records<R>(from, key), b = records<R>(into, key);
        ASSERT_EQ(a.size(), b.size()) << how;
        for (std::size_t i = 0; i < a.size(); ++i)
            EXPECT_EQ(Differences(a[i], b[i], numbered), "") << how << ", record " << i;
    }

    void csv(ExchangeTable table)
    {
        const std::string file = dir.file(std::string(exchange::TableTitle(table)) + ".csv");
        exchange::ExportJob out(from, table, DefaultLayout(table), file, prompter);
        ASSERT_EQ(run(out), BatchRun::State::Completed);
        const exchange::ImportSummary summary = import(table, DefaultLayout(table), file, into);
        ASSERT_TRUE(summary.rejected.empty()) << exchange::SummaryText(summary);
    }

    void calendar(ExchangeTable table)
    {
        const std::string file = dir.file(std::string(exchange::TableTitle(table)) + ".ics");
        exchange::CalendarExportJob out(from, table, file, kStamp, prompter);
        run(out);
        ASSERT_TRUE(out.ok());
        exchange::CalendarImportJob in(into, table, file, clock, prompter);
        run(in);
        ASSERT_TRUE(in.summary().rejected.empty()) << exchange::SummaryText(in.summary());
    }

    void vcard(exchange::VCardVersion version)
    {
        const std::string file = dir.file("contacts.vcf");
        exchange::VCardExportJob out(from, file, version, prompter);
        run(out);
        ASSERT_TRUE(out.ok());
        exchange::VCardImportJob in(into, file, prompter);
        run(in);
        ASSERT_TRUE(in.summary().rejected.empty()) << exchange::SummaryText(in.summary());
    }

    FakeClock clock{MakeDate(11, 1, 2026), MakeTime(9, 0)};
};

TEST_F(RoundTripTest, CommaDelimitedFilesKeepBlanksLineEndsAndABlankCategory)
{
    csv(ExchangeTable::Schedule);
    csv(ExchangeTable::Todo);
    csv(ExchangeTable::Contacts);
    expectSame<data::ScheduleRecord>(data::ScheduleRecord::KeyID, false, "schedule");
    expectSame<data::TodoRecord>(data::TodoRecord::KeyToDo, false, "to-do list");
    expectSame<data::ContactRecord>(data::ContactRecord::KeyClientID, false, "contacts");
}

TEST_F(RoundTripTest, CalendarFilesKeepBlanksLineEndsAndABlankCategory)
{
    calendar(ExchangeTable::Schedule);
    calendar(ExchangeTable::Todo);
    expectSame<data::ScheduleRecord>(data::ScheduleRecord::KeyID, true, "schedule");
    expectSame<data::TodoRecord>(data::TodoRecord::KeyToDo, false, "to-do list");
}

TEST_F(RoundTripTest, CardsKeepBlanksAndLineEndsInBothVersions)
{
    for (auto version : {exchange::VCardVersion::V3, exchange::VCardVersion::V4}) {
        vcard(version);
        expectSame<data::ContactRecord>(data::ContactRecord::KeyClientID, true,
                                        version == exchange::VCardVersion::V3 ? "vCard 3.0" : "vCard 4.0");
        into.close();
        std::filesystem::remove(dir.file("into.tps"));
        ASSERT_EQ(into.create(), data::kOk);
    }
}

// A file of another program without categories still files its items under
// "General", as the to-do form does; only a blank the file says stays blank.
TEST_F(RoundTripTest, AnItemWithoutACategoryColumnStillGoesUnderGeneral)
{
    const std::string file = dir.file("plain.csv");
    WriteFile(file, "\"Priority\",\"ToDo\"\r\n3,\"From elsewhere\"\r\n");
    exchange::FieldLayout layout = DefaultLayout(ExchangeTable::Todo);
    const exchange::ImportSummary summary = import(ExchangeTable::Todo, layout, file, into);
    ASSERT_EQ(summary.added, 1) << exchange::SummaryText(summary);
    const auto back = records<data::TodoRecord>(into, data::TodoRecord::KeyToDo);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].category, "General");
    EXPECT_EQ(back[0].toDo, "From elsewhere");
}

// Another program that changes a text changes it in the standard property
// only: its edit is kept and the exact copy beside it, now stale, is not.
TEST_F(RoundTripTest, AnEditByAnotherProgramWinsOverTheExactCopy)
{
    const std::string file = dir.file("edited.ics");
    exchange::CalendarExportJob out(from, ExchangeTable::Schedule, file, kStamp, prompter);
    run(out);
    ASSERT_TRUE(out.ok());
    std::string text = ReadFile(file);
    EXPECT_NE(text.find("X-HRLN-TEXT-DESCRIPTION:=%20%20%20indented title"), std::string::npos) << text;
    const std::size_t at = text.find("SUMMARY:   indented title");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, 26, "SUMMARY:renamed elsewhere");
    WriteFile(file, text);
    exchange::CalendarImportJob in(into, ExchangeTable::Schedule, file, clock, prompter);
    run(in);
    ASSERT_EQ(in.summary().added, 3) << exchange::SummaryText(in.summary());
    const auto back = records<data::ScheduleRecord>(into, data::ScheduleRecord::KeyID);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].description, "renamed elsewhere");
    // The message beside it was not edited and comes back whole.
    EXPECT_EQ(back[0].message, AwkwardTasks()[0].message);
}

}  // namespace
}  // namespace hrln::test
