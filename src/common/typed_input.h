#pragma once

#include "common/date_time.h"

#include <optional>
#include <string>
#include <string_view>

// Times and dates as users type them into a field, read the way they meant
// them. A field shows back what was understood (FormatT7, FormatD17) and
// refuses the rest with the help texts below.
namespace hrln {

// A time of day: "9", "09", "9:30", "21:30", "9.30", "930", "09:00:00",
// "17:45:00.50", "9pm", "9.30pm", "9:30 a.m.", or with the AM/PM words of
// `locale` (an ICU name such as "en_US" or "de_DE"; empty: the user's own). Hours alone or with a
// 12-hour marker run 1 to 12. Nothing else, nor a time that is no time of day.
std::optional<Time> ParseTypedTime(std::string_view text, std::string_view locale);

// A date: ISO year-month-day ("2027-03-01", "2027-3-1"), or the numbers of
// the locale's short date in its order ("3/1/27" in en_US, "01.03.2027" or
// "1.3.27" in de_DE) with any of / . - as separators; a two-digit year is in
// this century. Day and month alone take the year of `today` (refused when
// `today` is 0). Only real days from kFirstDate to kLastDate.
std::optional<Date> ParseTypedDate(std::string_view text, std::string_view locale, Date today = 0);

// The locale's short date pattern ("M/d/yy"), and a date written in it.
std::string ShortDatePattern(std::string_view locale);
std::string FormatShortDate(Date date, std::string_view locale);

// How dates and times show on screen where no fixed picture is asked for:
// the locale's short date with the year in full ("3/1/2027", "01.03.2027")
// and its short time ("9:30 AM", "09:30"), with seconds when asked for or
// when the time has any. The C and POSIX locales, which stand for no
// country, show ISO dates and 24-hour times. Both read back as typed.
bool IsNeutralLocale(std::string_view locale);
std::string LocalDate(Date date, std::string_view locale);
std::string LocalTime(Time time, std::string_view locale, bool seconds = false);

// What a refused entry's message says.
std::string TypedTimeHelp(std::string_view typed);
std::string TypedDateHelp(std::string_view typed, std::string_view locale);

}  // namespace hrln
