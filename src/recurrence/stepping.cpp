#include "recurrence/stepping.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace hrln::recurrence {
namespace {

constexpr std::int64_t kDateMin = std::numeric_limits<Date>::min();
constexpr std::int64_t kDateMax = std::numeric_limits<Date>::max();
// Well beyond the years Date can reach, so MakeDate still saturates.
constexpr std::int64_t kYearLimit = 10'000'000;

Date ClampDate(std::int64_t day)
{
    return static_cast<Date>(std::clamp(day, kDateMin, kDateMax));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if (a % b != 0 && (a < 0) != (b < 0))
        --q;
    return q;
}

// For b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b)
{
    return -FloorDiv(-a, b);
}

bool IsLeap(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Months counted as year * 12 + (month - 1).
std::int64_t MonthIndex(const YearMonthDay& ymd)
{
    return static_cast<std::int64_t>(ymd.year) * 12 + (ymd.month - 1);
}

std::int64_t YearOf(std::int64_t monthIndex)
{
    return FloorDiv(monthIndex, 12);
}

int MonthOf(std::int64_t monthIndex)
{
    return static_cast<int>(monthIndex - YearOf(monthIndex) * 12) + 1;
}

// The date built from (month, day, year) for the month at `monthIndex`.
Date BuildDate(std::int64_t monthIndex, int day)
{
    const std::int64_t year = std::clamp(YearOf(monthIndex), -kYearLimit, kYearLimit);
    return MakeDate(MonthOf(monthIndex), day, static_cast<int>(year));
}

bool TooShort(std::int64_t monthIndex, int day)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int month = MonthOf(monthIndex);
    const int length = month == 2 && IsLeap(YearOf(monthIndex)) ? 29 : kDays[month - 1];
    return day > length;
}

// The first step k in [1, limit) whose month is too short for `day`, so that
// the date carries into the next month and the day changes for good; 0 when
// there is none.
std::int64_t FirstCarry(std::int64_t start, int day, std::int64_t months, std::int64_t limit)
{
    if (day <= 28)
        return 0;
    // The month of the year repeats every `period` steps; the 30th and 31st
    // depend on nothing else.
    const std::int64_t period = 12 / std::gcd(months % 12, std::int64_t{12});
    std::int64_t february = 0;
    for (std::int64_t k = 1; k <= period && k < limit; ++k) {
        if (TooShort(start + k * months, day))
            return k;
        if (MonthOf(start + k * months) == 2)
            february = k;
    }
    if (day != 29 || february == 0)
        return 0;
    // The 29th only fails in February of a common year. The Februaries
    // visited lie `period` steps apart, and leap years repeat every 400 years.
    for (int round = 1; round <= 400; ++round) {
        const std::int64_t k = february + round * period;
        if (k >= limit)
            return 0;
        if (!IsLeap(YearOf(start + k * months)))
            return k;
    }
    return 0;
}

}  // namespace

Date StepMonthsPast(Date date, Date after, std::int64_t months)
{
    // Runs at most twice: after a carry the day is at most the 3rd, which
    // every month has.
    while (date <= after) {
        const YearMonthDay ymd = SplitDate(date);
        const std::int64_t start = MonthIndex(ymd);
        // The first month in which this day lies after `after`: one before
        // the month of `after` at the earliest (the 31st of a short month
        // carries over), one after it at the latest.
        std::int64_t target = MonthIndex(SplitDate(after)) - 1;
        for (int i = 0; i < 2 && BuildDate(target, ymd.day) <= after; ++i)
            ++target;
        const std::int64_t steps = std::max<std::int64_t>(1, CeilDiv(target - start, months));
        const std::int64_t carry = FirstCarry(start, ymd.day, months, steps);
        if (carry == 0)
            return BuildDate(start + steps * months, ymd.day);
        date = BuildDate(start + carry * months, ymd.day);
    }
    return date;
}

Date FirstCarriedDate(Date date, std::int64_t months, Date last)
{
    const YearMonthDay ymd = SplitDate(date);
    const std::int64_t start = MonthIndex(ymd);
    const std::int64_t limit = (MonthIndex(SplitDate(last)) - start) / months + 2;
    const std::int64_t carry = FirstCarry(start, ymd.day, months, limit);
    if (carry == 0)
        return 0;
    const Date carried = BuildDate(start + carry * months, ymd.day);
    return carried <= last ? carried : 0;
}

Date StepDaysPast(Date date, Date after, std::int64_t days)
{
    if (date > after)
        return date;
    const std::int64_t steps = FloorDiv(std::int64_t{after} - date, days) + 1;
    return ClampDate(date + steps * days);
}

Date NextFlaggedDay(unsigned mask, Date after)
{
    std::int64_t day = std::int64_t{after} + 1;
    if (mask != 0)
        while ((mask & (1u << Weekday(ClampDate(day)))) == 0 && day < kDateMax)
            ++day;
    return ClampDate(day);
}

Moment StepTicksUntil(Moment from, Moment after, std::int64_t every, int unitsPerDay, Time ticksPerUnit)
{
    // Each step moves the running count of hundredths, date * day + time,
    // by the same amount; carrying days out of the time leaves the count
    // alone. So the moment after k steps follows from k directly, and the
    // first k that reaches `after` is found by bisection.
    const std::int64_t kDay = kTicksPerDay;
    const std::int64_t stepDays = every <= unitsPerDay ? 0 : every / unitsPerDay;
    const std::int64_t stepTicks = (every <= unitsPerDay ? every : every % unitsPerDay) * ticksPerUnit;
    const std::int64_t stepCount = every * ticksPerUnit;
    const std::int64_t start = std::int64_t{from.date} * kDay + from.time - 1;

    // The comparison reads a time past the end of the day as the next day, once.
    std::int64_t afterDate = after.date;
    std::int64_t afterTime = after.time;
    if (afterTime > kDay) {
        afterTime -= kDay;
        ++afterDate;
    }

    // A time of 0 or less (no time) grows by stepTicks without carrying until
    // it reaches the day; from then on the moment is the plain split of the
    // count.
    constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
    const std::int64_t intoDay =
        from.time >= 1 ? 0 : (stepTicks > 0 ? CeilDiv(1 - std::int64_t{from.time}, stepTicks) : kNever);

    struct Wide {
        std::int64_t date;
        std::int64_t time;
    };
    auto at = [&](std::int64_t k) {
        if (k < intoDay)
            return Wide{from.date + k * stepDays, from.time + k * stepTicks};
        const std::int64_t count = start + k * stepCount;
        const std::int64_t date = FloorDiv(count, kDay);
        return Wide{date, count - date * kDay + 1};
    };
    auto reached = [&](std::int64_t k) {
        const Wide m = at(k);
        return m.date > afterDate || (m.date == afterDate && m.time >= afterTime);
    };

    // A step count that surely lies two days beyond `after`.
    std::int64_t high = intoDay == kNever ? CeilDiv(afterDate + 1 - from.date, stepDays)
                                          : std::max(intoDay, CeilDiv((afterDate + 2) * kDay - start, stepCount));
    high = std::max<std::int64_t>(high, 1);
    std::int64_t low = 1;
    while (low < high) {
        const std::int64_t mid = low + (high - low) / 2;
        if (reached(mid))
            high = mid;
        else
            low = mid + 1;
    }
    const Wide m = at(low);
    if (m.date > kDateMax)
        return {static_cast<Date>(kDateMax), kTicksPerDay};
    if (m.date < kDateMin)
        return {static_cast<Date>(kDateMin), 1};
    return {static_cast<Date>(m.date), static_cast<Time>(m.time)};
}

}  // namespace hrln::recurrence
