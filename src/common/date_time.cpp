#include "common/date_time.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

namespace hrln {
namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar.
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr std::int64_t kDayZero = DaysFromCivil(1801, 1, 1) - 4;
static_assert(kFirstDate == DaysFromCivil(kFirstYear, 1, 1) - kDayZero);
static_assert(kLastDate == DaysFromCivil(kLastYear, 12, 31) - kDayZero);

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

Date ClampToDate(std::int64_t v)
{
    return static_cast<Date>(std::clamp<std::int64_t>(v, std::numeric_limits<Date>::min(),
                                                      std::numeric_limits<Date>::max()));
}

}  // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int month, int year)
{
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

Date MakeDate(int month, int day, int year)
{
    const std::int64_t monthIndex = static_cast<std::int64_t>(month) - 1;
    const std::int64_t y = static_cast<std::int64_t>(year) + FloorDiv(monthIndex, 12);
    const int m = static_cast<int>(monthIndex - FloorDiv(monthIndex, 12) * 12) + 1;
    return ClampToDate(DaysFromCivil(y, m, 1) - kDayZero + (static_cast<std::int64_t>(day) - 1));
}

YearMonthDay SplitDate(Date date)
{
    // Inverse of DaysFromCivil.
    const std::int64_t z = static_cast<std::int64_t>(date) + kDayZero + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), m, d};
}

int Weekday(Date date)
{
    const int r = date % 7;
    return r < 0 ? r + 7 : r;
}

Date FirstOfMonth(Date date)
{
    const YearMonthDay ymd = SplitDate(date);
    return MakeDate(ymd.month, 1, ymd.year);
}

Date LastOfMonth(Date date)
{
    const YearMonthDay ymd = SplitDate(date);
    return MakeDate(ymd.month + 1, 1, ymd.year) - 1;
}

bool IsValidDate(int year, int month, int day)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(month, year);
}

Time MakeTime(int hours, int minutes, int seconds, int hundredths)
{
    return hours * kTicksPerHour + minutes * kTicksPerMinute + seconds * 100 + hundredths + 1;
}

TimeOfDay SplitTime(Time time)
{
    const int v = time > 0 ? (time - 1) % kTicksPerDay : 0;
    return {v / kTicksPerHour, v / kTicksPerMinute % 60, v / 100 % 60, v % 100};
}

int CompareDateTime(Date dateA, Time timeA, Date dateB, Time timeB)
{
    if (timeA > kTimeMax) {
        timeA -= kTicksPerDay;
        ++dateA;
    }
    if (timeB > kTimeMax) {
        timeB -= kTicksPerDay;
        ++dateB;
    }
    if (dateA != dateB)
        return dateA < dateB ? -1 : 1;
    if (timeA != timeB)
        return timeA < timeB ? -1 : 1;
    return 0;
}

void NormalizeDateTime(Date& date, Time& time)
{
    if (time > kTimeMax) {
        const int days = (time - 1) / kTicksPerDay;
        time -= days * kTicksPerDay;
        date += days;
    }
}

std::string FormatD3(Date date)
{
    return FormatD3(date, CurrentDateNames());
}

std::string FormatD3(Date date, const DateNames& names)
{
    if (date == 0)
        return {};
    const YearMonthDay ymd = SplitDate(date);
    char buf[32];
    std::snprintf(buf, sizeof buf, " %d, %04d", ymd.day, ymd.year);
    return names.shortMonths[ymd.month - 1] + buf;
}

std::string FormatD4(Date date)
{
    return FormatD4(date, CurrentDateNames());
}

std::string FormatD4(Date date, const DateNames& names)
{
    if (date == 0)
        return {};
    const YearMonthDay ymd = SplitDate(date);
    return names.months[ymd.month - 1] + ' ' + std::to_string(ymd.day) + ", " + std::to_string(ymd.year);
}

std::string FormatD17(Date date)
{
    if (date == 0)
        return {};
    const YearMonthDay ymd = SplitDate(date);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", ymd.year, ymd.month, ymd.day);
    return buf;
}

std::string FormatT3(Time time)
{
    return FormatT3(time, CurrentDateNames());
}

std::string FormatT3(Time time, const DateNames& names)
{
    if (time == 0)
        return {};
    const TimeOfDay t = SplitTime(time);
    const int hour12 = t.hours % 12 == 0 ? 12 : t.hours % 12;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d ", hour12, t.minutes);
    return buf + (t.hours < 12 ? names.am : names.pm);
}

std::string FormatT7(Time time)
{
    if (time == 0)
        return {};
    const TimeOfDay t = SplitTime(time);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hours, t.minutes, t.seconds);
    return buf;
}

namespace {

bool AllDigits(std::string_view s, std::size_t minLength, std::size_t maxLength)
{
    if (s.size() < minLength || s.size() > maxLength)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The value of a text already known to be all digits (at most a few).
int Whole(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

}  // namespace

std::optional<Date> ParseD17(std::string_view s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return std::nullopt;
    const std::string_view y = s.substr(0, 4), m = s.substr(5, 2), d = s.substr(8, 2);
    if (!AllDigits(y, 4, 4) || !AllDigits(m, 2, 2) || !AllDigits(d, 2, 2))
        return std::nullopt;
    const int year = Whole(y), month = Whole(m), day = Whole(d);
    if (year < kFirstYear || year > kLastYear || !IsValidDate(year, month, day))
        return std::nullopt;
    return MakeDate(month, day, year);
}

std::optional<Time> ParseT7(std::string_view s)
{
    std::array<std::string_view, 4> parts{};
    const std::size_t colon1 = s.find(':');
    if (colon1 == std::string_view::npos)
        return std::nullopt;
    parts[0] = s.substr(0, colon1);
    std::string_view rest = s.substr(colon1 + 1);
    const std::size_t colon2 = rest.find(':');
    parts[1] = rest.substr(0, colon2);
    if (colon2 != std::string_view::npos) {
        rest = rest.substr(colon2 + 1);
        const std::size_t dot = rest.find('.');
        parts[2] = rest.substr(0, dot);
        if (dot != std::string_view::npos) {
            parts[3] = rest.substr(dot + 1);
            if (!AllDigits(parts[3], 2, 2))
                return std::nullopt;
        }
        if (!AllDigits(parts[2], 2, 2))
            return std::nullopt;
    }
    if (!AllDigits(parts[0], 1, 2) || !AllDigits(parts[1], 2, 2))
        return std::nullopt;
    const int hours = Whole(parts[0]);
    const int minutes = Whole(parts[1]);
    const int seconds = parts[2].empty() ? 0 : Whole(parts[2]);
    const int hundredths = parts[3].empty() ? 0 : Whole(parts[3]);
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return MakeTime(hours, minutes, seconds, hundredths);
}

std::string KeptDatesText()
{
    return FillIn(HrlnTranslate("DateTime", "%1 and %2"), {FormatD4(kFirstDate), FormatD4(kLastDate)});
}

}  // namespace hrln
