#include "scheduler/quick_reminder.h"

#include "data/settings.h"
#include "store_fixture.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

namespace hrln::platform {
// Compared and printed here only: found beside the type, as gtest looks for them.
bool operator==(const DateTime& a, const DateTime& b)
{
    return a.date == b.date && a.time == b.time;
}

std::ostream& operator<<(std::ostream& out, const DateTime& d)
{
    return out << FormatD17(d.date) << ' ' << FormatT7(d.time) << '.' << SplitTime(d.time).hundredths;
}
}  // namespace hrln::platform

namespace hrln::test {
namespace {

using platform::DateTime;
using scheduler::ParseQuickReminder;
using scheduler::ParseWhenPhrase;

// Thursday 10 December 2026, 14:30:15.50.
class QuickReminderTest : public StoreTest {
protected:
    std::optional<DateTime> when(const char* phrase) { return ParseWhenPhrase(phrase, clock.now(), "en_US"); }
    DateTime at(Date date, Time time) { return {date, time}; }

    FakeClock clock{MakeDate(12, 10, 2026), MakeTime(14, 30, 15, 50)};
    const Date today = MakeDate(12, 10, 2026);
};

TEST_F(QuickReminderTest, PhrasesCountFromTheClock)
{
    struct Row {
        const char* phrase;
        std::optional<DateTime> expected;
    };
    const std::optional<DateTime> no;
    const std::vector<Row> table = {
        {"in 10 minutes", at(today, MakeTime(14, 40, 15, 50))},
        {"in 10 min", at(today, MakeTime(14, 40, 15, 50))},
        {"in 10min", at(today, MakeTime(14, 40, 15, 50))},
        {"In 2 h", at(today, MakeTime(16, 30, 15, 50))},
        {"in 2h", at(today, MakeTime(16, 30, 15, 50))},
        {"in an hour", at(today, MakeTime(15, 30, 15, 50))},
        {"in 1 hour and 30 minutes", at(today, MakeTime(16, 0, 15, 50))},
        {"in 90 s", at(today, MakeTime(14, 31, 45, 50))},
        {"in 10 hours", at(today + 1, MakeTime(0, 30, 15, 50))},  // over midnight
        {"in 3 days", at(today + 3, MakeTime(14, 30, 15, 50))},
        {"in 2 weeks", at(today + 14, MakeTime(14, 30, 15, 50))},
        {"at 14:45", at(today, MakeTime(14, 45))},
        {"at 14:30", at(today + 1, MakeTime(14, 30))},  // passed: the next one
        {"at 9pm", at(today, MakeTime(21, 0))},
        {"9.30pm", at(today, MakeTime(21, 30))},
        {"8", at(today + 1, MakeTime(8, 0))},
        {"tomorrow 9:00", at(today + 1, MakeTime(9, 0))},
        {"tomorrow at 9", at(today + 1, MakeTime(9, 0))},
        {"Tomorrow", at(today + 1, MakeTime(14, 30, 15, 50))},
        {"today 17:00", at(today, MakeTime(17, 0))},
        {"today at 9", at(today, MakeTime(9, 0))},  // as said, though past: the window asks
        {"2027-03-01 9:00", at(MakeDate(3, 1, 2027), MakeTime(9, 0))},
        {"on 3/1/27 at 9am", at(MakeDate(3, 1, 2027), MakeTime(9, 0))},
        // Refused.
        {"in 0 minutes", no},
        {"in ten minutes", no},
        {"in 10", no},
        {"in 10 parsecs", no},
        {"in", no},
        {"today", no},
        {"tomorrow at", no},
        {"at 25:00", no},
        {"on 3/1/27", no},
        {"on Monday at 9", no},
        {"soon", no},
        {"", no},
        {"in 100 weeks", at(today + 700, MakeTime(14, 30, 15, 50))},
        {"in 999999 weeks", no},  // past the last day kept
    };
    for (const Row& row : table)
        EXPECT_EQ(when(row.phrase), row.expected) << '"' << row.phrase << '"';
    // The clock decides: the same phrase an hour later is an hour later.
    clock.set(today, MakeTime(15, 30, 15, 50));
    EXPECT_EQ(when("in 10 minutes"), at(today, MakeTime(15, 40, 15, 50)));
    EXPECT_EQ(when("at 14:45"), at(today + 1, MakeTime(14, 45)));
    // Times as the locale writes its AM and PM.
    EXPECT_EQ(ParseWhenPhrase("tomorrow 21.30", clock.now(), "de_DE"), at(today + 1, MakeTime(21, 30)));
}

// A German user says it in German; "am" is still half of an English time.
TEST_F(QuickReminderTest, GermanPhrasesReadAsTheirEnglishOnes)
{
    const auto german = [this](const char* phrase) { return ParseWhenPhrase(phrase, clock.now(), "de_DE"); };
    EXPECT_EQ(german("in 10 Minuten"), at(today, MakeTime(14, 40, 15, 50)));
    EXPECT_EQ(german("in 10Minuten"), at(today, MakeTime(14, 40, 15, 50)));
    EXPECT_EQ(german("in einer Stunde und 30 Minuten"), at(today, MakeTime(16, 0, 15, 50)));
    EXPECT_EQ(german("in 2 Std"), at(today, MakeTime(16, 30, 15, 50)));
    EXPECT_EQ(german("in 3 Tagen"), at(today + 3, MakeTime(14, 30, 15, 50)));
    EXPECT_EQ(german("um 14:45"), at(today, MakeTime(14, 45)));
    EXPECT_EQ(german("um 9 Uhr"), at(today + 1, MakeTime(9, 0)));
    EXPECT_EQ(german("morgen 9:00"), at(today + 1, MakeTime(9, 0)));
    EXPECT_EQ(german("morgen um 21.30 Uhr"), at(today + 1, MakeTime(21, 30)));
    EXPECT_EQ(german("heute um 17 Uhr"), at(today, MakeTime(17, 0)));
    EXPECT_EQ(german("am 1.3.27 um 9"), at(MakeDate(3, 1, 2027), MakeTime(9, 0)));
    EXPECT_EQ(german("in 10 Parsec"), std::nullopt);
    EXPECT_EQ(german("Uhr"), std::nullopt);

    auto r = ParseQuickReminder("Zahnarzt anrufen morgen um 9 Uhr", clock.now(), "de_DE");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "Zahnarzt anrufen");
    EXPECT_EQ(r->at, at(today + 1, MakeTime(9, 0)));
    r = ParseQuickReminder("am 1.3.27 um 9 Zahnarzt", clock.now(), "de_DE");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "Zahnarzt");
    r = ParseQuickReminder("I am late, call Bob at 9 am", clock.now(), "en_US");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "I am late, call Bob");
    EXPECT_EQ(r->at, at(today + 1, MakeTime(9, 0)));
}

TEST_F(QuickReminderTest, ALineSplitsIntoTextAndPhraseWithoutEatingTheText)
{
    const auto line = [this](const char* text) { return ParseQuickReminder(text, clock.now(), "en_US"); };
    auto r = line("Call Bob in 10 minutes");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "Call Bob");
    EXPECT_EQ(r->at, at(today, MakeTime(14, 40, 15, 50)));

    r = line("Meet in the hall in 2 h");  // the first "in" is the text's
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "Meet in the hall");
    EXPECT_EQ(r->at, at(today, MakeTime(16, 30, 15, 50)));

    r = line("Dentist tomorrow at 9:00");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "Dentist");
    EXPECT_EQ(r->at, at(today + 1, MakeTime(9, 0)));

    r = line("tomorrow 9:00 take the bins out");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "take the bins out");
    EXPECT_EQ(r->at, at(today + 1, MakeTime(9, 0)));

    r = line("in 5 min");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "Reminder");

    // A number in the text is never taken for a time.
    EXPECT_FALSE(line("Call 911"));
    EXPECT_FALSE(line("Buy 2 apples"));
    EXPECT_FALSE(line("Call Bob"));
    EXPECT_FALSE(line(""));
    r = line("Call 911 at 4pm");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text, "Call 911");
    EXPECT_EQ(r->at, at(today, MakeTime(16, 0)));

    EXPECT_EQ(scheduler::DescribeReminder(*r), "\"Call 911\" on Thursday, December 10, 2026 at 4:00 PM");
}

TEST_F(QuickReminderTest, AReminderIsAOnceOnlyMessageAddedWithItsCategory)
{
    const auto r = ParseQuickReminder("Stretch your legs in 1 hour", clock.now(), "en_US");
    ASSERT_TRUE(r);
    data::ScheduleRecord task = scheduler::QuickReminderTask(*r);
    ASSERT_EQ(scheduler::AddQuickReminder(db, task, [] { return false; }), data::kOk);
    EXPECT_EQ(task.id, 1);

    data::Table<data::ScheduleRecord> stored(db);
    stored.rec.id = task.id;
    ASSERT_EQ(stored.get(data::ScheduleRecord::KeyID), data::kOk);
    EXPECT_EQ(stored.rec.taskType.str(), "Display Message");
    EXPECT_EQ(stored.rec.scheduleType.str(), "Once");
    EXPECT_EQ(stored.rec.description.str(), "Stretch your legs");
    EXPECT_EQ(stored.rec.message.str(), "Stretch your legs");
    EXPECT_EQ(stored.rec.date, today);
    EXPECT_EQ(stored.rec.time, MakeTime(15, 30, 15, 50));
    EXPECT_EQ(stored.rec.disabled, 0);
    data::Table<data::CategoryRecord> categories(db);
    categories.rec.category = "General";
    EXPECT_EQ(categories.get(data::CategoryRecord::KeyCategory), data::kOk);

    // A text longer than the description keeps it whole in the message.
    const std::string longText(60, 'x');
    const auto longOne = ParseQuickReminder(longText + " in 2 h", clock.now(), "en_US");
    ASSERT_TRUE(longOne);
    data::ScheduleRecord second = scheduler::QuickReminderTask(*longOne);
    ASSERT_EQ(scheduler::AddQuickReminder(db, second, [] { return false; }), data::kOk);
    EXPECT_EQ(second.id, 2);
    EXPECT_EQ(second.message.str(), longText);
    EXPECT_EQ(second.description.str(), longText.substr(0, 40));
}

}  // namespace
}  // namespace hrln::test
