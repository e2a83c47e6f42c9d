#include "common/date_time.h"
#include "common/translate.h"

#include <gtest/gtest.h>

#include <string>

namespace hrln {
namespace {

TEST(FillInTest, PlacesArgumentsWhereThePatternSaysInAnyOrder)
{
    EXPECT_EQ(FillIn("%1 on %2", {"Tea", "Monday"}), "Tea on Monday");
    EXPECT_EQ(FillIn("am %2: %1", {"Tea", "Montag"}), "am Montag: Tea");
    // An argument's own % signs are not read again.
    EXPECT_EQ(FillIn("%1 and %2", {"100%2", "x"}), "100%2 and x");
    // A % without an argument of that number stays as written.
    EXPECT_EQ(FillIn("50% of %3, %", {"a"}), "50% of %3, %");
    EXPECT_EQ(FillIn("%1%1", {"ab"}), "abab");
}

std::string Shouting(const char* context, const char* english)
{
    return std::string(context) + ":" + english + "!";
}

TEST(TranslateTest, TextsStayEnglishUntilTheProgramGivesALookup)
{
    EXPECT_EQ(HrlnTranslate("Ctx", "Hello"), "Hello");
    SetTextLookup(&Shouting);
    EXPECT_EQ(HrlnTranslate("Ctx", "Hello"), "Ctx:Hello!");
    SetTextLookup(nullptr);
    EXPECT_EQ(HrlnTranslate("Ctx", "Hello"), "Hello");
}

// The pictures keep their shape; only the names follow the language. Files
// ask for the English names whatever the program shows.
TEST(DateNamesTest, PicturesTakeTheNamesOfTheChosenLanguage)
{
    const Date d = MakeDate(10, 8, 2026);
    const Time afternoon = MakeTime(13, 5);
    ASSERT_EQ(FormatD3(d), "Oct 8, 2026");
    ASSERT_EQ(FormatD4(d), "October 8, 2026");
    ASSERT_EQ(FormatT3(afternoon), "1:05 PM");

    ASSERT_TRUE(UseDateNamesOf("de_DE"));
    EXPECT_EQ(FormatD4(d), "Oktober 8, 2026");
    // ICU's "Okt." loses its stop: the picture puts its own punctuation.
    EXPECT_EQ(FormatD3(d), "Okt 8, 2026");
    EXPECT_EQ(CurrentDateNames().weekdays[0], "Sonntag");
    EXPECT_EQ(CurrentDateNames().weekdays[Weekday(d)], "Donnerstag");
    EXPECT_EQ(CurrentDateNames().months[2], "März");
    EXPECT_EQ(FormatD3(d, EnglishDateNames()), "Oct 8, 2026");
    EXPECT_EQ(FormatT3(afternoon, EnglishDateNames()), "1:05 PM");
    EXPECT_EQ(FormatT3(MakeTime(0, 30)).substr(0, 5), "12:30");

    UseEnglishDateNames();
    EXPECT_EQ(FormatD4(d), "October 8, 2026");
    EXPECT_EQ(CurrentDateNames().shortWeekdays[6], "Sat");

    // A language ICU does not know leaves the names as they were.
    EXPECT_FALSE(UseDateNamesOf("qq_QQ"));
    EXPECT_EQ(FormatD4(d), "October 8, 2026");
}

}  // namespace
}  // namespace hrln
