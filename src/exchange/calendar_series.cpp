#include "exchange/calendar_series.h"

#include "data/records.h"
#include "exchange/calendar_rule.h"
#include "platform/prompter.h"
#include "recurrence/recurrence.h"
#include "recurrence/schedule_rule.h"

#include <algorithm>

namespace hrln::exchange {
namespace {

// Occurrences compared with the task's own stepping before a rule is kept:
// enough for a year of weekly and a few years of monthly dates.
constexpr std::size_t kChecked = 60;
// Occurrences stepped through from a start long past when the rule cannot be
// started near the present (by minutes or hours, or counted): beyond this
// the series is refused rather than read for minutes on end.
constexpr long kMostStepped = 5'000'000;

// NextOccurrence asks only about units it does not know, which a rule read
// from a calendar never has.
class SilentPrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox&) override { return platform::MessageButton::Ok; }
    void endProgram(const std::string&) override {}
};

struct RecurFree {
    void operator()(icalrecur_iterator* it) const { icalrecur_iterator_free(it); }
};

struct Occurrence {
    icaltimetype zoned;  // as the event's zone has it
    ical::Moment local;
};

// An exclusion that is a date alone leaves out the occurrence on that day.
bool Excludes(const ical::Moment& exclusion, const ical::Moment& m)
{
    return exclusion.time == 0 ? exclusion.date == m.date : ical::SameMoment(exclusion, m);
}

bool Before(const ical::Moment& a, const ical::Moment& b)
{
    return ical::Compare(a, b) < 0;
}

std::string Day(Date date)
{
    return FormatD17(date);
}

// Weekday flags moved `days` on, for a series whose local day is not the day
// of its own zone (20:00 Friday in New York is Saturday in Berlin).
void ShiftWeekdays(data::ScheduleRecord& task, int days)
{
    const unsigned mask = recurrence::WeekdayMask(task);
    for (int d = 0; d < 7; ++d)
        task.weekdayFlag(((d + days) % 7 + 7) % 7) = (mask & (1u << d)) ? 1 : 0;
}

bool ByTheClock(const data::ScheduleRecord& task)
{
    const recurrence::Unit unit = recurrence::UnitOf(task.everyType.view());
    return recurrence::KindOf(task) == recurrence::RuleKind::Custom &&
           (unit == recurrence::Unit::Minutes || unit == recurrence::Unit::Hours);
}

// The occurrences of the series from now on, the first up to `wanted`, and
// the last one before now; `exhausted` when the rule ran out before.
struct Ahead {
    std::vector<Occurrence> list;
    std::optional<ical::Moment> lastPassed;
    bool exhausted = false;
    bool tooMany = false;
};

Ahead Collect(const icalrecurrencetype& recur, const icaltimetype& start, const ical::Moment& first,
              const ical::LocalTimes& times, std::size_t wanted)
{
    Ahead out;
    const ical::Moment now = times.now();
    if (Before(first, now))
        out.lastPassed = first;
    else
        out.list.push_back({start, first});
    std::unique_ptr<icalrecur_iterator, RecurFree> it(icalrecur_iterator_new(recur, start));
    if (!it) {
        out.exhausted = true;
        return out;
    }
    // libical can start a rule of days or longer near the present, keeping
    // its steps from DTSTART; two days early, whatever zone the event names.
    const bool jump = recur.count == 0 && recur.freq != ICAL_MINUTELY_RECURRENCE &&
                      recur.freq != ICAL_HOURLY_RECURRENCE && recur.freq != ICAL_SECONDLY_RECURRENCE;
    if (jump && now.date > 3) {
        icaltimetype from = ical::FromMoment(now.date - 2, start.is_date ? 0 : MakeTime(0, 0));
        from.zone = start.zone;
        if (icaltime_compare(from, start) > 0)
            icalrecur_iterator_set_start(it.get(), from);
    }
    long stepped = 0;
    while (out.list.size() < wanted) {
        const icaltimetype t = icalrecur_iterator_next(it.get());
        if (icaltime_is_null_time(t)) {
            out.exhausted = true;
            break;
        }
        if (++stepped > kMostStepped) {
            out.tooMany = true;
            break;
        }
        if (icaltime_compare(t, start) <= 0)
            continue;  // DTSTART is counted once, above
        const std::optional<ical::Moment> m = times.local(t);
        if (!m) {
            out.exhausted = true;  // beyond the last day the program keeps
            break;
        }
        if (Before(*m, now))
            out.lastPassed = m;
        else
            out.list.push_back({t, *m});
    }
    return out;
}

}  // namespace

std::optional<ical::Moment> LocalOf(icalcomponent* c, icalproperty* p, const ical::LocalTimes& times,
                                    std::string& why)
{
    if (!p)
        return std::nullopt;
    const icaltimetype t = icalproperty_get_datetime_with_component(p, c);
    const char* name = icalproperty_kind_to_string(icalproperty_isa(p));
    if (icalparameter* zone = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
        zone && !icaltime_is_null_time(t) && !t.is_date && t.zone == nullptr) {
        const char* tzid = icalparameter_get_tzid(zone);
        why = std::string("the time zone of its ") + (name ? name : "time") + " (\"" + (tzid ? tzid : "") +
              "\") is neither in the file nor known";
        return std::nullopt;
    }
    std::optional<ical::Moment> m = times.local(t);
    if (!m)
        why = std::string("its ") + (name ? name : "time") + " is no date the program knows";
    return m;
}

std::string ScheduleFromEvent(icalcomponent* c, const ical::LocalTimes& times, const std::vector<icaltimetype>& moved,
                              data::ScheduleRecord& task, SeriesCounts& counts)
{
    icalproperty* startProperty = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    if (!startProperty)
        return "it has no start (DTSTART)";
    std::string why;
    const std::optional<ical::Moment> first = LocalOf(c, startProperty, times, why);
    if (!first)
        return why.empty() ? "its start (DTSTART) is no date the program knows" : why;
    const icaltimetype start = icalproperty_get_datetime_with_component(startProperty, c);
    const bool zoned = ical::LocalTimes::Zoned(start);

    // What the calendar leaves out: its EXDATEs and the occurrences moved away.
    std::vector<ical::Moment> left;
    for (icalproperty* x = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); x;
         x = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
        std::optional<ical::Moment> m = LocalOf(c, x, times, why);
        if (!m)
            return why;
        left.push_back(*m);
    }
    for (const icaltimetype& t : moved)
        if (const std::optional<ical::Moment> m = times.local(t))
            left.push_back(*m);

    auto place = [&](const ical::Moment& m) {
        task.date = m.date;
        // A task is performed at a time of day: a day-long event at its start.
        task.time = m.time != 0 ? m.time : MakeTime(0, 0);
    };

    const int rules = icalcomponent_count_properties(c, ICAL_RRULE_PROPERTY);
    if (rules > 1)
        return "it has " + std::to_string(rules) + " rules (RRULE); a task has one";
    if (icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY))
        return "its extra dates (RDATE) cannot be kept by a task";
    icalproperty* ruleProperty = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
    if (!ruleProperty) {
        place(*first);
        task.scheduleType = "Once";
        task.skipNextTime = std::any_of(left.begin(), left.end(), [&](const auto& m) { return Excludes(m, *first); });
        counts.zoned += zoned;
        return {};
    }

    icalrecurrencetype recur = icalproperty_get_rrule(ruleProperty);
    const bool bounded = recur.count != 0 || !icaltime_is_null_time(recur.until);
    const Ahead ahead = Collect(recur, start, *first, times, kChecked + 1 + left.size());
    if (ahead.tooMany)
        return "it repeats too often since its start to be followed to the present";
    const std::vector<Occurrence>& list = ahead.list;
    if (list.empty())
        return ahead.lastPassed ? "its last occurrence, on " + Day(ahead.lastPassed->date) + ", has passed"
                                : "it has no occurrence the program can keep";

    // The occurrences left out at the head of the series are passed over.
    std::size_t kept = 0;
    while (kept < list.size() && std::any_of(left.begin(), left.end(), [&](const auto& m) {
               return Excludes(m, list[kept].local);
           }))
        ++kept;
    if (kept == list.size())
        return ahead.exhausted ? "every occurrence it has left is left out or moved"
                               : "it leaves out or moves more occurrences than a task can pass over";
    for (const ical::Moment& m : left) {
        const bool later = std::any_of(list.begin() + static_cast<std::ptrdiff_t>(kept) + 1, list.end(),
                                       [&](const Occurrence& o) { return Excludes(m, o.local); }) ||
                           (!ahead.exhausted && Before(list.back().local, m));
        if (later)
            return "it leaves out or moves its occurrence of " + Day(m.date) + ", after its next one on " +
                   Day(list[kept].local.date) + "; a task can pass over only its next occurrence";
    }
    const std::size_t remaining = list.size() - kept;
    if (bounded) {
        if (!ahead.exhausted || remaining > 1)
            return "the rule ends (COUNT or UNTIL)" +
                   (ahead.exhausted ? " after " + std::to_string(remaining) + " more occurrences" : std::string()) +
                   "; a task repeats without end";
        place(list[kept].local);
        task.scheduleType = "Once";
        task.skipNextTime = 0;
        counts.zoned += zoned;
        counts.advanced += Before(*first, times.now()) || kept > 0;
        return {};
    }

    // The task starts at the occurrence it passes over, if any: as a task
    // marked to skip its next occurrence, as the reschedule wizard marks it.
    const std::size_t from = kept > 0 ? kept - 1 : 0;
    const Occurrence& startAt = list[from];
    const std::optional<ical::Moment> ownDay = ical::ToMoment(startAt.zoned);
    if (!ownDay)
        return "its start (DTSTART) is no date the program knows";
    data::ScheduleRecord ruled = task;
    const ical::String text(icalrecurrencetype_as_string_r(&recur));
    if (!text)
        return "its rule (RRULE) cannot be read";
    if (std::string refused = RuleFromRecurrence(text.get(), ownDay->date, ruled); !refused.empty())
        return refused;
    if (const int shift = startAt.local.date - ownDay->date; shift != 0)
        ShiftWeekdays(ruled, shift);
    ruled.date = startAt.local.date;
    ruled.time = startAt.local.time != 0 ? startAt.local.time : MakeTime(0, 0);
    ruled.skipNextTime = kept > 0 ? 1 : 0;

    // The task's own steps must meet the calendar's dates; the time of day
    // may move by the hour where the zones change on different days.
    data::ScheduleRecord step = ruled;
    SilentPrompter silent;
    bool drifts = false;
    for (std::size_t i = from + 1; i < list.size() && i <= from + kChecked; ++i) {
        recurrence::NextOccurrence(step, step.date, step.time, silent);
        const ical::Moment want = list[i].local;
        const ical::Moment got{step.date, step.time};
        const Time wantTime = want.time != 0 ? want.time : MakeTime(0, 0);
        if (step.completed != 0 || got.date != want.date)
            return "a task's rule would fall on " + Day(got.date) + " where the calendar has " + Day(want.date);
        if (ByTheClock(step) && !ical::SameMoment(got, {want.date, wantTime}))
            return "a task's rule would fall on " + Day(got.date) + " at " + FormatT3(got.time) +
                   " where the calendar has " + FormatT3(wantTime);
        drifts = drifts || !ical::SameMoment({0, got.time}, {0, wantTime});
    }
    task = ruled;
    counts.zoned += zoned;
    counts.advanced += Before(*first, times.now());
    counts.drifting += drifts;
    return {};
}

}  // namespace hrln::exchange
