#include "exchange/field_layout.h"
#include "exchange/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace hrln::exchange {
namespace {

bool Offers(ExchangeTable table, std::string_view field)
{
    const auto& fields = AvailableFields(table);
    return std::any_of(fields.begin(), fields.end(), [&](const AvailableField& f) { return f.field == field; });
}

TEST(FieldLayoutTest, OnlyTheScheduleCarriesItsExceptions)
{
    for (const char* field : {"ShiftType", "ExceptWeekends", "ExceptWeekdays", "ExceptHolidays"}) {
        EXPECT_TRUE(Offers(ExchangeTable::Schedule, field)) << field;
        EXPECT_FALSE(Offers(ExchangeTable::Contacts, field)) << field;
        EXPECT_FALSE(Offers(ExchangeTable::Todo, field)) << field;
    }
    // Reserved and never-read fields are no part of a file.
    for (const char* field : {"ExceptOther", "UndefinedOption1", "UndefinedOption2"})
        EXPECT_FALSE(Offers(ExchangeTable::Schedule, field)) << field;
    EXPECT_EQ(KindOf(ExchangeTable::Schedule, "advancewarndate"), FieldKind::Date);
    EXPECT_EQ(KindOf(ExchangeTable::Todo, "CompletionTime"), FieldKind::Time);
    EXPECT_EQ(KindOf(ExchangeTable::Schedule, "SkipNextTime"), FieldKind::Number);  // a flag, written 0 or 1
    EXPECT_EQ(KindOf(ExchangeTable::Contacts, "ClientID"), FieldKind::Number);
    EXPECT_EQ(KindOf(ExchangeTable::Contacts, "Notes"), FieldKind::Text);
    EXPECT_EQ(TableNamed("to do"), ExchangeTable::Todo);
    EXPECT_EQ(TableNamed("scripts"), std::nullopt);
}

TEST(FieldLayoutTest, PicturesReadBackWhatTheyWrite)
{
    const Date day = MakeDate(12, 8, 2026);
    EXPECT_EQ(FormatPicture(day, "d3"), "Dec 8, 2026");
    EXPECT_EQ(FormatPicture(day, "D4"), "December 8, 2026");
    for (const char* picture : {"d3", "D4", "d17"})
        EXPECT_EQ(ParsePicture(FormatPicture(day, picture), picture), day) << picture;
    EXPECT_EQ(ParsePicture("dec 8, 2026", "d3"), day);
    EXPECT_EQ(ParsePicture("Feb 29, 2026", "d3"), std::nullopt);
    EXPECT_EQ(ParsePicture("December 8, 2026", "d3"), std::nullopt);  // d3 takes the short name
    EXPECT_EQ(ParsePicture("2026-12-8", "d17"), std::nullopt);
    EXPECT_EQ(ParsePicture("  ", "d17"), 0);  // an empty value is no date, not a bad one

    EXPECT_EQ(FormatPicture(MakeTime(13, 5, 9, 7), "t7"), "13:05:09.07");
    EXPECT_EQ(FormatPicture(MakeTime(13, 5, 9), "t7"), "13:05:09");
    EXPECT_EQ(ParsePicture("13:05:09.07", "t7"), MakeTime(13, 5, 9, 7));
    EXPECT_EQ(ParsePicture("12:00 AM", "T3"), MakeTime(0, 0));
    EXPECT_EQ(ParsePicture("12:30 pm", "t3"), MakeTime(12, 30));
    EXPECT_EQ(ParsePicture("13:00 PM", "T3"), std::nullopt);
    EXPECT_EQ(ParsePicture("9:60 AM", "T3"), std::nullopt);
    EXPECT_EQ(FormatPicture(0, "T3"), "");
}

TEST(FieldLayoutTest, ALayoutKeptAsTextComesBackAndABadOneIsNamed)
{
    FieldLayout layout;
    layout.header = false;
    layout.fields = {{"Description", "Task, short", "", FieldType::Text},
                     {"Date", "When", "d3", FieldType::Text},
                     {"Every", "N", "", FieldType::Number}};
    const LayoutResult back = ReadLayout(ExchangeTable::Schedule, WriteLayout(layout));
    ASSERT_EQ(back.error, "");
    EXPECT_FALSE(back.layout.header);
    ASSERT_EQ(back.layout.fields.size(), 3u);
    EXPECT_EQ(back.layout.fields[0].name, "Task, short");
    EXPECT_EQ(back.layout.fields[1].picture, "d3");
    EXPECT_EQ(back.layout.fields[2].type, FieldType::Number);

    // A field alone takes its name and the picture and type of its kind.
    const LayoutResult brief = ReadLayout(ExchangeTable::Todo, "CompletionDate\nToDo\n");
    ASSERT_EQ(brief.error, "");
    EXPECT_TRUE(brief.layout.header);
    EXPECT_EQ(brief.layout.fields[0].picture, "d17");
    EXPECT_EQ(brief.layout.fields[1].type, FieldType::Text);

    EXPECT_NE(ReadLayout(ExchangeTable::Todo, "Nonsense\n").error.find("Nonsense"), std::string::npos);
    EXPECT_NE(ReadLayout(ExchangeTable::Todo, "ToDo\ntodo\n").error.find("twice"), std::string::npos);
    EXPECT_NE(ReadLayout(ExchangeTable::Todo, "ToDo,Text,d17\n").error.find("picture"), std::string::npos);
    EXPECT_NE(ReadLayout(ExchangeTable::Todo, "Priority,P,,decimal\n").error.find("line 1"), std::string::npos);
    EXPECT_EQ(CheckLayout(ExchangeTable::Schedule, DefaultLayout(ExchangeTable::Schedule)), "");
}

}  // namespace
}  // namespace hrln::exchange
