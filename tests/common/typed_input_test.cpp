#include "common/typed_input.h"

#include <gtest/gtest.h>

#include <vector>

namespace hrln::test {
namespace {

struct TypedTime {
    const char* typed;
    std::optional<Time> us;  // en_US
    std::optional<Time> de;  // de_DE
};

TEST(TypedInputTest, TimesAreReadAsTypedInBothLocales)
{
    const std::optional<Time> no;
    const std::vector<TypedTime> table = {
        {"9", MakeTime(9, 0), MakeTime(9, 0)},
        {"09", MakeTime(9, 0), MakeTime(9, 0)},
        {" 9:30 ", MakeTime(9, 30), MakeTime(9, 30)},
        {"21:30", MakeTime(21, 30), MakeTime(21, 30)},
        {"9.30", MakeTime(9, 30), MakeTime(9, 30)},
        {"9h30", MakeTime(9, 30), MakeTime(9, 30)},
        {"930", MakeTime(9, 30), MakeTime(9, 30)},
        {"0930", MakeTime(9, 30), MakeTime(9, 30)},
        {"160542", MakeTime(16, 5, 42), MakeTime(16, 5, 42)},
        {"09:00:00", MakeTime(9, 0), MakeTime(9, 0)},
        {"17:45:00.50", MakeTime(17, 45, 0, 50), MakeTime(17, 45, 0, 50)},
        {"0:00", MakeTime(0, 0), MakeTime(0, 0)},
        {"23:59:59", MakeTime(23, 59, 59), MakeTime(23, 59, 59)},
        {"9.30pm", MakeTime(21, 30), MakeTime(21, 30)},
        {"9pm", MakeTime(21, 0), MakeTime(21, 0)},
        {"9 PM", MakeTime(21, 0), MakeTime(21, 0)},
        {"9:30 a.m.", MakeTime(9, 30), MakeTime(9, 30)},
        {"12am", MakeTime(0, 0), MakeTime(0, 0)},
        {"12:15pm", MakeTime(12, 15), MakeTime(12, 15)},
        {"12 p", MakeTime(12, 0), MakeTime(12, 0)},
        // Refused: past the day, a 12-hour marker on a 24-hour hour, minutes
        // of one digit, words, empty, stray signs.
        {"24:00", no, no},
        {"9:60", no, no},
        {"13pm", no, no},
        {"0am", no, no},
        {"9:5", no, no},
        {"1234567", no, no},
        {"nine", no, no},
        {"", no, no},
        {"9:30:", no, no},
        {"-9", no, no},
        {"9,30", no, no},
    };
    for (const TypedTime& row : table) {
        EXPECT_EQ(ParseTypedTime(row.typed, "en_US"), row.us) << '"' << row.typed << "\" in en_US";
        EXPECT_EQ(ParseTypedTime(row.typed, "de_DE"), row.de) << '"' << row.typed << "\" in de_DE";
    }
    // The AM/PM words of the locale itself count too.
    EXPECT_EQ(ParseTypedTime("午後9:30", "ja_JP"), MakeTime(21, 30));
    EXPECT_EQ(ParseTypedTime("9:30 午前", "ja_JP"), MakeTime(9, 30));
}

struct TypedDate {
    const char* typed;
    std::optional<Date> us;
    std::optional<Date> de;
};

TEST(TypedInputTest, DatesAreReadInTheLocalesOrderAndAsIsoEverywhere)
{
    const std::optional<Date> no;
    const Date today = MakeDate(12, 10, 2026);
    const Date march1 = MakeDate(3, 1, 2027);
    const Date january3 = MakeDate(1, 3, 2027);
    const std::vector<TypedDate> table = {
        {"2027-03-01", march1, march1},
        {"2027-3-1", march1, march1},
        {"3/1/27", march1, january3},
        {"3/1/2027", march1, january3},
        {"01.03.2027", january3, march1},
        {"1.3.27", january3, march1},
        {"1. 3. 2027", january3, march1},
        {"3/1", MakeDate(3, 1, 2026), MakeDate(1, 3, 2026)},  // the year of today
        {"1.3.", MakeDate(1, 3, 2026), MakeDate(3, 1, 2026)},
        {"2/29/28", MakeDate(2, 29, 2028), no},
        {"29.2.28", no, MakeDate(2, 29, 2028)},
        {"12/31/2099", MakeDate(12, 31, 2099), no},
        // Refused: no such day, outside the years kept, odd years and signs.
        {"2027-02-29", no, no},
        {"2/30/27", no, no},
        {"1800-12-31", no, no},
        {"2100-01-01", no, no},
        {"3/1/127", no, no},
        {"3//1/27", no, no},
        {"3/1/27/5", no, no},
        {"March 1", no, no},
        {"27", no, no},
        {"", no, no},
        {"3:1:27", no, no},
    };
    for (const TypedDate& row : table) {
        EXPECT_EQ(ParseTypedDate(row.typed, "en_US", today), row.us) << '"' << row.typed << "\" in en_US";
        EXPECT_EQ(ParseTypedDate(row.typed, "de_DE", today), row.de) << '"' << row.typed << "\" in de_DE";
    }
    // Without a today to take the year from, day and month alone are refused.
    EXPECT_EQ(ParseTypedDate("3/1", "en_US"), no);
    // Year first where the locale writes it first.
    EXPECT_EQ(ParseTypedDate("27/03/01", "ja_JP", today), march1);
}

TEST(TypedInputTest, TheHelpNamesTheLocalesOwnShortDate)
{
    const Date march1 = MakeDate(3, 1, 2027);
    EXPECT_EQ(FormatShortDate(march1, "en_US"), "3/1/27");
    EXPECT_EQ(FormatShortDate(march1, "de_DE"), "01.03.27");
    // What the help shows as the short date is read back as the same day.
    for (const char* locale : {"en_US", "de_DE", "en_GB", "ja_JP"}) {
        EXPECT_EQ(ParseTypedDate(FormatShortDate(march1, locale), locale), march1) << locale;
        EXPECT_NE(TypedDateHelp("x", locale).find(FormatShortDate(march1, locale)), std::string::npos) << locale;
    }
    EXPECT_EQ(TypedDateHelp("soon", "de_DE").rfind("\"soon\" is not a date.", 0), 0u);
    // Every example the time help gives is one the field takes.
    const std::string help = TypedTimeHelp("x");
    for (const char* example : {"9", "9:30", "21:30", "9.30pm", "17:45:30"}) {
        EXPECT_NE(help.find(example), std::string::npos) << example;
        EXPECT_TRUE(ParseTypedTime(example, "en_US").has_value()) << example;
    }
}

// What lists and fields show where no fixed picture is asked for.
TEST(TypedInputTest, DatesAndTimesShowInTheLocalesOwnFormAndReadBackAsShown)
{
    const Date march1 = MakeDate(3, 1, 2027);
    const Time morning = MakeTime(9, 30);
    const Time evening = MakeTime(21, 30, 5);
    struct Shown {
        const char* locale;
        const char* date;
        const char* morning;
        const char* evening;
    };
    const Shown table[] = {
        {"en_US", "3/1/2027", "9:30 AM", "9:30:05 PM"},
        {"de_DE", "01.03.2027", "09:30", "21:30:05"},
        {"en_GB", "01/03/2027", "09:30", "21:30:05"},
        {"C", "2027-03-01", "09:30", "21:30:05"},
        {"en_US_POSIX", "2027-03-01", "09:30", "21:30:05"},
    };
    for (const Shown& row : table) {
        EXPECT_EQ(LocalDate(march1, row.locale), row.date) << row.locale;
        EXPECT_EQ(LocalTime(morning, row.locale), row.morning) << row.locale;
        EXPECT_EQ(LocalTime(evening, row.locale), row.evening) << row.locale;
        EXPECT_EQ(LocalTime(morning, row.locale, true).size(), std::string(row.morning).size() + 3) << row.locale;
    }
    for (const char* locale : {"en_US", "de_DE", "en_GB", "ja_JP", "ko_KR", "fr_CA", "C"}) {
        EXPECT_EQ(ParseTypedDate(LocalDate(march1, locale), locale), march1) << locale << ' ' << LocalDate(march1, locale);
        for (const Time t : {morning, evening, MakeTime(0, 5), MakeTime(12, 0)})
            EXPECT_EQ(ParseTypedTime(LocalTime(t, locale), locale), t) << locale << ' ' << LocalTime(t, locale);
    }
    EXPECT_EQ(LocalDate(0, "en_US"), "");
    EXPECT_EQ(LocalTime(0, "en_US"), "");
}

}  // namespace
}  // namespace hrln::test
