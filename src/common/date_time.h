#pragma once

#include "common/translate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hrln {

// A day number: 28 December 1800 is 0, 1 January 1801 is 4. 0 means "no date".
using Date = std::int32_t;
// Hundredths of a second since midnight, plus one: 1 is 00:00:00.00 and
// kTimeMax is 23:59:59.99. 0 means "no time".
using Time = std::int32_t;

inline constexpr Time kTicksPerDay = 8'640'000;
inline constexpr Time kTimeMax = kTicksPerDay;
inline constexpr Time kTicksPerHour = 360'000;
inline constexpr Time kTicksPerMinute = 6'000;

// The days the program keeps, both ends included: every date it stores, takes
// or shows lies between them, and a rule ends where its next occurrence
// would fall after the last.
inline constexpr int kFirstYear = 1801;
inline constexpr int kLastYear = 2099;
inline constexpr Date kFirstDate = 4;        // 1 January 1801
inline constexpr Date kLastDate = 109'211;   // 31 December 2099

struct YearMonthDay {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct TimeOfDay {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int hundredths = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int month, int year);

// Builds a date, carrying overflow forward: day 31 of month 2 is in March,
// month 13 is January of the next year. Day 0 is the last day of the month before.
Date MakeDate(int month, int day, int year);
YearMonthDay SplitDate(Date date);
// 0 = Sunday ... 6 = Saturday (day 4 was a Thursday).
int Weekday(Date date);
Date FirstOfMonth(Date date);
Date LastOfMonth(Date date);

// Plain validation for user input: true when the triple names a real day.
bool IsValidDate(int year, int month, int day);

Time MakeTime(int hours, int minutes, int seconds = 0, int hundredths = 0);
TimeOfDay SplitTime(Time time);

// -1, 0 or 1. A time past the end of the day counts as the next day (once per side).
int CompareDateTime(Date dateA, Time timeA, Date dateB, Time timeB);
// Carries whole days out of a time past the end of the day into the date.
void NormalizeDateTime(Date& date, Time& time);

// Display pictures. A zero date or time shows as an empty text. Names come
// from the program's language unless given; files take the English ones.
std::string FormatD3(Date date);   // "Dec 8, 2026"
std::string FormatD3(Date date, const DateNames& names);
std::string FormatD4(Date date);   // "December 8, 2026"
std::string FormatD4(Date date, const DateNames& names);
std::string FormatD17(Date date);  // short date, "2026-12-08"
std::string FormatT3(Time time);   // "1:05 PM"
std::string FormatT3(Time time, const DateNames& names);
std::string FormatT7(Time time);   // "13:05:09"
// The inverses: YYYY-MM-DD naming a real day from kFirstDate to kLastDate, and
// HH:MM, HH:MM:SS or HH:MM:SS.hh (the hour may have one digit).
std::optional<Date> ParseD17(std::string_view s);
std::optional<Time> ParseT7(std::string_view s);
// "January 1, 1801 and December 31, 2099": the days kept, as messages name them.
std::string KeptDatesText();

}  // namespace hrln
