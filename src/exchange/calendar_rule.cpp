#include "exchange/calendar_rule.h"

#include "common/text.h"
#include "data/records.h"
#include "recurrence/schedule_rule.h"

#include <libical/ical.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <iterator>
#include <set>
#include <utility>

namespace hrln::exchange {
namespace {

constexpr std::array<const char*, 7> kDays = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
// Every1st .. Every4th, then EveryLast, as BYDAY positions.
constexpr std::array<int, 5> kOrdinals = {1, 2, 3, 4, -1};

std::string DayList(unsigned mask, int ordinal = 0)
{
    std::string out;
    for (int d = 0; d < 7; ++d) {
        if (!(mask & (1u << d)))
            continue;
        if (!out.empty())
            out += ',';
        if (ordinal != 0)
            out += std::to_string(ordinal);
        out += kDays[static_cast<std::size_t>(d)];
    }
    return out;
}

std::array<bool, 5> OrdinalFlags(const data::ScheduleRecord& t)
{
    return {t.every1st != 0, t.every2nd != 0, t.every3rd != 0, t.every4th != 0, t.everyLast != 0};
}

// Days of the month in the flagged weeks, for weeks of any weekday.
std::string WeekBlocks(const std::array<bool, 5>& flags)
{
    std::string out;
    auto add = [&](int day) {
        if (!out.empty())
            out += ',';
        out += std::to_string(day);
    };
    for (int w = 0; w < 4; ++w)
        if (flags[static_cast<std::size_t>(w)])
            for (int d = 1; d <= 7; ++d)
                add(w * 7 + d);
    if (flags[4])
        for (int d = -7; d <= -1; ++d)
            add(d);
    return out;
}

std::string Interval(long every)
{
    return every > 1 ? ";INTERVAL=" + std::to_string(every) : std::string();
}

// libical keeps INTERVAL in 16 bits and writes "ERROR" for more; calendars
// built on it cannot read such a rule back either.
constexpr long kMaxInterval = 32767;

struct Frequency {
    const char* freq;
    long units;  // how many of the task's units one step of `freq` is
};

// The rule in the task's own unit (the first frequency) while iCalendar
// holds its interval, else in the largest unit that says the same steps
// exactly (43,200 minutes as 30 days); empty when none does.
std::string Repeat(long every, std::initializer_list<Frequency> frequencies)
{
    if (every <= kMaxInterval)
        return std::string("FREQ=") + frequencies.begin()->freq + Interval(every);
    for (auto f = std::rbegin(frequencies); f != std::rend(frequencies); ++f)
        if (every % f->units == 0 && every / f->units <= kMaxInterval)
            return std::string("FREQ=") + f->freq + Interval(every / f->units);
    return {};
}

RuleText TooLarge(long every, std::string_view unit)
{
    return {{},
            "every " + std::to_string(every) + " " + std::string(unit) +
                " is more than an iCalendar interval holds (32767) in any unit that divides it"};
}

// Monthly steps keep the day only up to the 28th; from the 29th a short month
// carries the day into the next, which iCalendar would skip instead.
std::string MonthDayProblem(Date date)
{
    if (SplitDate(date).day > 28)
        return "a monthly rule from the " + text::Ordinal(SplitDate(date).day) +
               " moves on after a short month, which iCalendar cannot say";
    return {};
}

std::string LeapDayProblem(Date date)
{
    const YearMonthDay ymd = SplitDate(date);
    if (ymd.month == 2 && ymd.day == 29)
        return "a yearly rule from 29 February moves to 1 March in common years, which iCalendar cannot say";
    return {};
}

RuleText Exact(std::string rrule)
{
    return {std::move(rrule), {}};
}

RuleText Inexact(std::string why)
{
    return {{}, std::move(why)};
}

}  // namespace

RuleText RecurrenceRuleFor(const data::ScheduleRecord& task)
{
    using recurrence::RuleKind;
    using recurrence::Unit;
    const unsigned mask = recurrence::WeekdayMask(task);
    switch (recurrence::KindOf(task)) {
    case RuleKind::Once: return {};
    case RuleKind::DayOfWeek: return Exact(mask == 0 ? "FREQ=DAILY" : "FREQ=WEEKLY;BYDAY=" + DayList(mask));
    case RuleKind::DayOfMonth: {
        const std::array<bool, 5> flags = OrdinalFlags(task);
        if (!recurrence::HasOrdinalFlags(task))
            return Exact(mask == 0 ? "FREQ=DAILY" : "FREQ=WEEKLY;BYDAY=" + DayList(mask));
        if (mask == 0)
            return Exact("FREQ=MONTHLY;BYMONTHDAY=" + WeekBlocks(flags));
        std::string days;
        for (std::size_t i = 0; i < flags.size(); ++i)
            if (flags[i])
                days += (days.empty() ? "" : ",") + DayList(mask, kOrdinals[i]);
        return Exact("FREQ=MONTHLY;BYDAY=" + days);
    }
    case RuleKind::Monthly:
        if (std::string why = MonthDayProblem(task.date); !why.empty())
            return Inexact(why);
        return Exact("FREQ=MONTHLY");
    case RuleKind::Yearly:
        if (std::string why = LeapDayProblem(task.date); !why.empty())
            return Inexact(why);
        return Exact("FREQ=YEARLY");
    case RuleKind::Custom: break;
    }
    const long every = task.every < 1 ? 1 : task.every;
    const bool timed = task.time != 0;
    // Time-of-day steps of a whole number of days or weeks say the same
    // moments in the larger unit: the start's time of day stays.
    std::string rrule;
    switch (recurrence::UnitOf(task.everyType.view())) {
    case Unit::Minutes:
        if (!timed)
            return Inexact("a rule by minutes needs a time of day");
        rrule = Repeat(every, {{"MINUTELY", 1}, {"HOURLY", 60}, {"DAILY", 1440}, {"WEEKLY", 10080}});
        return rrule.empty() ? TooLarge(every, "minutes") : Exact(rrule);
    case Unit::Hours:
        if (!timed)
            return Inexact("a rule by hours needs a time of day");
        rrule = Repeat(every, {{"HOURLY", 1}, {"DAILY", 24}, {"WEEKLY", 168}});
        return rrule.empty() ? TooLarge(every, "hours") : Exact(rrule);
    case Unit::Days:
        rrule = Repeat(every, {{"DAILY", 1}, {"WEEKLY", 7}});
        return rrule.empty() ? TooLarge(every, "days") : Exact(rrule);
    case Unit::Weeks:
        rrule = Repeat(every, {{"WEEKLY", 1}});
        return rrule.empty() ? TooLarge(every, "weeks") : Exact(rrule);
    case Unit::Months:
        if (std::string why = MonthDayProblem(task.date); !why.empty())
            return Inexact(why);
        // From a day up to the 28th, twelve months are a year to the day.
        rrule = Repeat(every, {{"MONTHLY", 1}, {"YEARLY", 12}});
        return rrule.empty() ? TooLarge(every, "months") : Exact(rrule);
    case Unit::Years:
        if (std::string why = LeapDayProblem(task.date); !why.empty())
            return Inexact(why);
        rrule = Repeat(every, {{"YEARLY", 1}});
        return rrule.empty() ? TooLarge(every, "years") : Exact(rrule);
    case Unit::Invalid: break;
    }
    return Inexact("its custom units (\"" + std::string(task.everyType.view()) + "\") are not set up");
}

namespace {

template <std::size_t N>
bool Empty(const short (&list)[N])
{
    return list[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

template <std::size_t N, class F>
void Each(const short (&list)[N], F&& f)
{
    for (std::size_t i = 0; i < N && list[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        f(list[i]);
}

struct Rule {
    std::string scheduleType;
    unsigned mask = 0;
    std::array<bool, 5> ordinals{};
    long every = 1;
    std::string everyType;
};

std::string Custom(Rule& rule, long every, const char* unit)
{
    rule.scheduleType = "Custom";
    rule.every = every;
    rule.everyType = unit;
    return {};
}

// BYDAY as a weekday mask and the positions given; false when the positions
// do not form a cross product of weekdays and weeks (2MO,-1FR) or name a week
// the task has no flag for (5TH, -2SU).
bool ByDayFlags(const icalrecurrencetype& r, Rule& rule, bool& positioned)
{
    std::set<std::pair<int, int>> pairs;
    std::set<int> positions;
    bool bad = false;
    positioned = false;
    Each(r.by_day, [&](short v) {
        const int day = static_cast<int>(icalrecurrencetype_day_day_of_week(v)) - 1;  // 0 = Sunday
        const int pos = icalrecurrencetype_day_position(v);
        if (day < 0 || day > 6)
            bad = true;
        else
            rule.mask |= 1u << day;
        positions.insert(pos);
        pairs.insert({pos, day});
        positioned = positioned || pos != 0;
    });
    if (bad)
        return false;
    if (!positioned)
        return true;
    if (positions.count(0))
        return false;
    for (int pos : positions) {
        const auto at = std::find(kOrdinals.begin(), kOrdinals.end(), pos);
        if (at == kOrdinals.end())
            return false;
        rule.ordinals[static_cast<std::size_t>(at - kOrdinals.begin())] = true;
        for (int d = 0; d < 7; ++d)
            if ((rule.mask & (1u << d)) && !pairs.count({pos, d}))
                return false;
    }
    return true;
}

std::string Translate(const icalrecurrencetype& r, Date start, Rule& rule)
{
    if (r.count != 0 || !icaltime_is_null_time(r.until))
        return "the rule ends (COUNT or UNTIL); a task repeats without end";
    if (!Empty(r.by_second) || !Empty(r.by_minute) || !Empty(r.by_hour) || !Empty(r.by_year_day) ||
        !Empty(r.by_week_no) || !Empty(r.by_set_pos))
        return "the rule picks seconds, minutes, hours, days of the year, weeks or positions, which a task cannot";
    const long every = r.interval < 1 ? 1 : r.interval;
    const YearMonthDay ymd = SplitDate(start);
    // A yearly rule may name its own month and day, as some programs write
    // every yearly rule (BYMONTH=3;BYMONTHDAY=1 from 1 March): it says no more
    // than its start does.
    const bool ownMonth = r.freq == ICAL_YEARLY_RECURRENCE && r.by_month[0] == ymd.month &&
                          r.by_month[1] == ICAL_RECURRENCE_ARRAY_MAX;
    if (!Empty(r.by_month) && !ownMonth)
        return "the rule picks months, which a task cannot";
    const bool ownMonthDay = r.by_month_day[0] == ymd.day && r.by_month_day[1] == ICAL_RECURRENCE_ARRAY_MAX;
    const bool byDay = !Empty(r.by_day);
    const bool byMonthDay = !Empty(r.by_month_day) && !(ownMonth && ownMonthDay);
    bool positioned = false;
    if (byDay && !ByDayFlags(r, rule, positioned))
        return "the rule's weekdays (BYDAY) are no set of weekdays in the same weeks of the month";
    switch (r.freq) {
    case ICAL_MINUTELY_RECURRENCE:
    case ICAL_HOURLY_RECURRENCE:
        if (byDay || byMonthDay)
            return "a rule by minutes or hours cannot be limited to days";
        return Custom(rule, every, r.freq == ICAL_MINUTELY_RECURRENCE ? "minute(s)" : "hour(s)");
    case ICAL_DAILY_RECURRENCE:
    case ICAL_WEEKLY_RECURRENCE:
        if (byMonthDay)
            return "a daily or weekly rule limited to days of the month cannot be a task's rule";
        if (positioned)
            return "a daily or weekly rule cannot pick weeks of the month";
        if (byDay) {
            // One weekday every so many weeks is a repetition by weeks from
            // a start on that weekday.
            if (every != 1 && r.freq == ICAL_WEEKLY_RECURRENCE && rule.mask == (1u << Weekday(start)) &&
                r.by_day[1] == ICAL_RECURRENCE_ARRAY_MAX) {
                rule.mask = 0;
                return Custom(rule, every, "week(s)");
            }
            if (every != 1)
                return "weekdays every " + std::to_string(every) + " weeks cannot be a task's rule";
            rule.scheduleType = "Day of Week";
            return {};
        }
        return Custom(rule, every, r.freq == ICAL_DAILY_RECURRENCE ? "day(s)" : "week(s)");
    case ICAL_MONTHLY_RECURRENCE:
        if (byDay || (byMonthDay && !(r.by_month_day[0] == ymd.day && r.by_month_day[1] == ICAL_RECURRENCE_ARRAY_MAX))) {
            if (every != 1)
                return "weeks of the month every " + std::to_string(every) + " months cannot be a task's rule";
            if (byDay && byMonthDay)
                return "a rule by both weekdays and days of the month cannot be a task's rule";
            if (byDay && !positioned)
                return "a monthly rule on every chosen weekday cannot be a task's rule";
            if (byMonthDay)
                return "a monthly rule on chosen days of the month cannot be a task's rule";
            rule.scheduleType = "Day of Month";
            return {};
        }
        if (ymd.day > 28)
            return "a monthly rule from the " + text::Ordinal(ymd.day) +
                   " skips short months, where a task moves on to the next day";
        if (every == 1) {
            rule.scheduleType = "Monthly";
            return {};
        }
        return Custom(rule, every, "month(s)");
    case ICAL_YEARLY_RECURRENCE:
        if (byDay || byMonthDay)
            return "a yearly rule on chosen days cannot be a task's rule";
        if (ymd.month == 2 && ymd.day == 29)
            return "a yearly rule from 29 February skips common years, where a task moves to 1 March";
        if (every == 1) {
            rule.scheduleType = "Yearly";
            return {};
        }
        return Custom(rule, every, "year(s)");
    default: break;
    }
    return "the rule has no frequency a task knows";
}

}  // namespace

std::string RuleFromRecurrence(std::string_view rrule, Date start, data::ScheduleRecord& task)
{
    icalerror_clear_errno();
    const icalrecurrencetype r = icalrecurrencetype_from_string(std::string(rrule).c_str());
    if (r.freq == ICAL_NO_RECURRENCE || icalerrno != ICAL_NO_ERROR) {
        icalerror_clear_errno();
        return "the rule \"" + std::string(rrule) + "\" cannot be read";
    }
    Rule rule;
    if (std::string why = Translate(r, start, rule); !why.empty())
        return why;
    task.scheduleType = rule.scheduleType;
    for (int d = 0; d < 7; ++d)
        task.weekdayFlag(d) = (rule.mask & (1u << d)) ? 1 : 0;
    task.every1st = rule.ordinals[0];
    task.every2nd = rule.ordinals[1];
    task.every3rd = rule.ordinals[2];
    task.every4th = rule.ordinals[3];
    task.everyLast = rule.ordinals[4];
    task.every = static_cast<data::Long>(rule.every);
    task.everyType = rule.everyType;
    return {};
}

}  // namespace hrln::exchange
