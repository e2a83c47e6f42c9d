#pragma once

#include "common/date_time.h"

#include <libical/ical.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

// Owners for libical's objects, and the moments of both sides.
namespace hrln::exchange::ical {

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct StringFree {
    void operator()(char* s) const { std::free(s); }
};
using String = std::unique_ptr<char, StringFree>;

// The component's text, lines ended by CR LF.
inline std::string Text(icalcomponent* c)
{
    const String s(icalcomponent_as_ical_string_r(c));
    return s ? std::string(s.get()) : std::string();
}

// A task's date and time as a floating local time; a date alone when the
// time is 0. Hundredths of a second are not kept.
inline icaltimetype FromMoment(Date date, Time time)
{
    const YearMonthDay ymd = SplitDate(date);
    icaltimetype t = icaltime_null_time();
    t.year = ymd.year;
    t.month = ymd.month;
    t.day = ymd.day;
    if (time == 0) {
        t.is_date = 1;
        return t;
    }
    const TimeOfDay tod = SplitTime(time);
    t.hour = tod.hours;
    t.minute = tod.minutes;
    t.second = tod.seconds;
    return t;
}

struct Moment {
    Date date = 0;
    Time time = 0;
};

// The date and time as written, whatever zone they name; nothing for a time
// that is none or lies outside the program's calendar.
inline std::optional<Moment> ToMoment(const icaltimetype& t)
{
    if (icaltime_is_null_time(t) || !IsValidDate(t.year, t.month, t.day) || t.year < kFirstYear || t.year > kLastYear)
        return std::nullopt;
    Moment m{MakeDate(t.month, t.day, t.year), 0};
    if (!t.is_date) {
        if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 60)
            return std::nullopt;
        m.time = MakeTime(t.hour, t.minute, t.second > 59 ? 59 : t.second);
    }
    return m;
}

// Names of the properties that carry a record's own fields.
inline std::string ExtraName(std::string_view field)
{
    std::string name = "X-HRLN-";
    for (char c : field)
        name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return name;
}

}  // namespace hrln::exchange::ical
