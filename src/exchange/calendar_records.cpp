#include "exchange/calendar_records.h"

#include "common/text.h"
#include "data/records.h"
#include "exchange/calendar_rule.h"
#include "exchange/calendar_series.h"
#include "exchange/exact_text.h"
#include "exchange/record_values.h"

#include <algorithm>
#include <charconv>

namespace hrln::exchange {
namespace {

// The X-HRLN- properties of a component as values of the record's fields; the
// reason one cannot be a value of its field.
template <class R>
std::string ReadExtras(icalcomponent* c, std::vector<std::pair<int, data::Value>>& values)
{
    static const std::vector<detail::FieldLimits> limits = detail::LimitsOf<R>();
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        const R blank{};
        R::fields(blank, [&](const char* name, const auto&) { out.push_back(ical::ExtraName(name)); });
        return out;
    }();
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        const char* xname = icalproperty_get_x_name(p);
        const char* raw = icalproperty_get_x(p);
        if (!xname || !raw)
            continue;
        const auto at = std::find(names.begin(), names.end(), std::string_view(xname));
        if (at == names.end())
            continue;
        const int number = static_cast<int>(at - names.begin());
        const detail::FieldLimits& limit = limits[static_cast<std::size_t>(number)];
        const std::string_view value(raw);
        if (!text::IsValidUtf8(value))
            return std::string(xname) + " is not UTF-8";
        if (!limit.number) {
            values.emplace_back(number, std::string(text::Clip(text::CutToWidth(value, limit.width))));
            continue;
        }
        std::int64_t n = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc() || end != value.data() + value.size() || n < limit.min || n > limit.max)
            return std::string(xname) + " \"" + std::string(text::CutToWidth(value, 20)) + "\" is no value of the field";
        values.emplace_back(number, n);
    }
    return {};
}

bool IsOwn(icalcomponent* c, const char* marker)
{
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY))
        if (const char* name = icalproperty_get_x_name(p); name && std::string_view(name) == marker)
            return true;
    return false;
}

// The value of the component's X- property `name`, or null.
const char* XValue(icalcomponent* c, const std::string& name)
{
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY))
        if (const char* x = icalproperty_get_x_name(p); x && name == x)
            return icalproperty_get_x(p);
    return nullptr;
}

// A text property into the record's field `name`, whole as this program wrote
// it while the standard property still says it (see exchange/exact_text.h);
// false when it is not UTF-8.
template <class Field>
bool TakeText(icalcomponent* c, icalproperty_kind kind, const char* name, Field& field, bool firstOfList = false)
{
    const char* exactValue = XValue(c, exact::PropertyName(name));
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    const char* raw = nullptr;
    if (p) {
        icalvalue* v = icalproperty_get_value(p);
        raw = v ? icalvalue_get_text(v) : nullptr;
    }
    if (!raw && !exactValue)
        return true;
    std::string_view value(raw ? raw : "");
    if (!text::IsValidUtf8(value))
        return false;
    if (firstOfList)
        value = text::Trim(value.substr(0, value.find(',')));
    field = exact::Choose(value, exactValue);
    return true;
}

// Seconds on the wall clock, for the distance between two local moments.
std::int64_t WallSeconds(const ical::Moment& m)
{
    return std::int64_t{m.date} * 86'400 + (m.time > 0 ? (m.time - 1) / 100 : 0);
}

std::optional<ical::Moment> WallMoment(std::int64_t seconds)
{
    const std::int64_t date = seconds / 86'400;
    const int rest = static_cast<int>(seconds % 86'400);
    if (seconds < 0 || date < 1 || date > kLastDate)
        return std::nullopt;
    return ical::Moment{static_cast<Date>(date), MakeTime(rest / 3600, rest / 60 % 60, rest % 60)};
}

// The moment of the event's first alarm for a task performed at `at`, whose
// event began at `first`: a reminder before the start keeps its distance, one
// at a date and time is read in local time (and keeps its distance from the
// start when the series now starts later). Nothing without an alarm.
std::optional<ical::Moment> AlarmOf(icalcomponent* c, const ical::LocalTimes& times, const ical::Moment& first,
                                    const ical::Moment& at, std::string& why)
{
    icalcomponent* alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT);
    icalproperty* p = alarm ? icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY) : nullptr;
    if (!p)
        return std::nullopt;
    const icaltriggertype trigger = icalproperty_get_trigger(p);
    std::int64_t before = 0;
    if (icaltime_is_null_time(trigger.time)) {
        before = icaldurationtype_as_int(trigger.duration);
    } else {
        const std::optional<ical::Moment> when = times.local(trigger.time);
        if (!when) {
            why = "its alarm (VALARM) is at no time the program knows";
            return std::nullopt;
        }
        before = WallSeconds(*when) - WallSeconds(first);
    }
    const std::optional<ical::Moment> warn = WallMoment(WallSeconds(at) + before);
    if (!warn)
        why = "its alarm (VALARM) is at no time the program knows";
    return warn;
}

// The task's start as the calendar had it and as it is performed now.
ical::Moment StartOf(const data::ScheduleRecord& task)
{
    return {task.date, task.time};
}

void SetAlarm(data::ScheduleRecord& task, const std::optional<ical::Moment>& warn)
{
    task.advanceWarnDate = warn ? warn->date : 0;
    task.advanceWarnTime = warn ? (warn->time != 0 ? warn->time : MakeTime(0, 0)) : 0;
}

// The rule fields, which the standard properties carry too.
void CopySchedule(const data::ScheduleRecord& from, data::ScheduleRecord& to)
{
    to.date = from.date;
    to.time = from.time;
    to.scheduleType = from.scheduleType;
    for (int d = 0; d < 7; ++d)
        to.weekdayFlag(d) = from.weekdayFlag(d);
    to.every1st = from.every1st;
    to.every2nd = from.every2nd;
    to.every3rd = from.every3rd;
    to.every4th = from.every4th;
    to.everyLast = from.everyLast;
    to.every = from.every;
    to.everyType = from.everyType;
    to.skipNextTime = from.skipNextTime;
    to.completed = from.completed;
    to.advanceWarnDate = from.advanceWarnDate;
    to.advanceWarnTime = from.advanceWarnTime;
}

std::string NormalRule(const icalrecurrencetype& r)
{
    const ical::String text(icalrecurrencetype_as_string_r(const_cast<icalrecurrencetype*>(&r)));
    return text ? text.get() : "";
}

// Whether the standard properties say what this program wrote beside them
// in its own fields: the start, the rule and the skipped occurrence. They
// disagree once another program has edited the event.
bool StandardAgrees(icalcomponent* c, const data::ScheduleRecord& mine, const ical::LocalTimes& times)
{
    icalproperty* startProperty = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    icalproperty* ruleProperty = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
    if (mine.date == 0)
        return !startProperty && !ruleProperty;
    std::string why;
    const std::optional<ical::Moment> start = LocalOf(c, startProperty, times, why);
    const ical::Moment written = ical::ToMoment(ical::FromMoment(mine.date, mine.time)).value_or(ical::Moment{});
    if (!start || !ical::SameMoment(*start, written) || (start->time == 0) != (written.time == 0))
        return false;
    const RuleText ours = RecurrenceRuleFor(mine);
    if (!ruleProperty) {
        if (!ours.rrule.empty())
            return false;
    } else {
        if (ours.rrule.empty() || icalcomponent_count_properties(c, ICAL_RRULE_PROPERTY) != 1)
            return false;
        if (NormalRule(icalproperty_get_rrule(ruleProperty)) !=
            NormalRule(icalrecurrencetype_from_string(ours.rrule.c_str())))
            return false;
    }
    bool skipped = false;
    for (icalproperty* x = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); x;
         x = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
        const std::optional<ical::Moment> m = LocalOf(c, x, times, why);
        if (!m || !ical::SameMoment(*m, *start))
            return false;
        skipped = true;
    }
    return skipped == (mine.skipNextTime != 0);
}

}  // namespace

std::string TaskFromEvent(icalcomponent* c, const EventContext& context, data::ScheduleRecord& task, bool& allDay)
{
    if (!TakeText(c, ICAL_SUMMARY_PROPERTY, "Description", task.description) ||
        !TakeText(c, ICAL_DESCRIPTION_PROPERTY, "Message", task.message) ||
        !TakeText(c, ICAL_CATEGORIES_PROPERTY, "Category", task.category, true))
        return "a text is not UTF-8";
    const ical::LocalTimes& times = context.times;
    std::string why;
    icalproperty* startProperty = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    const std::optional<ical::Moment> first = LocalOf(c, startProperty, times, why);
    if (startProperty && !first)
        return why;
    allDay = first && first->time == 0;
    // The start, rule and alarm as the standard properties give them.
    const auto fromStandard = [&]() -> std::string {
        if (!first)
            return "it has no start (DTSTART)";
        std::string reason = ScheduleFromEvent(c, times, context.moved, task, context.counts);
        if (!reason.empty())
            return reason;
        SetAlarm(task, AlarmOf(c, times, *first, StartOf(task), reason));
        return reason;
    };

    if (IsOwn(c, "X-HRLN-SCHEDULETYPE")) {
        // A file this program wrote gives back its records, unless another
        // program has changed the event since: then the standard start, rule
        // and alarm are what the user last chose.
        data::ScheduleRecord mine = task;
        std::vector<std::pair<int, data::Value>> extras;
        if (why = ReadExtras<data::ScheduleRecord>(c, extras); !why.empty())
            return why;
        detail::SetValues(mine, extras);
        if (StandardAgrees(c, mine, times)) {
            if (mine.date != 0) {
                const std::optional<ical::Moment> warn = AlarmOf(c, times, *first, *first, why);
                if (!why.empty())
                    return why;
                const ical::Moment kept{mine.advanceWarnDate, mine.advanceWarnTime};
                if (!warn ? mine.advanceWarnDate != 0 : !ical::SameMoment(*warn, kept))
                    SetAlarm(mine, warn);
            }
            task = mine;
            return {};
        }
        if (why = fromStandard(); !why.empty())
            return why;
        CopySchedule(task, mine);
        task = mine;
        return {};
    }

    if (why = fromStandard(); !why.empty())
        return why;
    // Fields of this program's own beside a start and rule of another's: the
    // standard ones say when.
    std::vector<std::pair<int, data::Value>> extras;
    if (why = ReadExtras<data::ScheduleRecord>(c, extras); !why.empty())
        return why;
    data::ScheduleRecord withExtras = task;
    detail::SetValues(withExtras, extras);
    CopySchedule(task, withExtras);
    task = withExtras;
    return {};
}

std::string ItemFromTodo(icalcomponent* c, const ical::LocalTimes& times, data::TodoRecord& item, bool& zoned)
{
    // As the to-do form begins a new item.
    item.priority = 5;
    item.category = "General";
    if (!TakeText(c, ICAL_SUMMARY_PROPERTY, "ToDo", item.toDo) || !TakeText(c, ICAL_DESCRIPTION_PROPERTY, "Notes", item.notes) ||
        !TakeText(c, ICAL_CATEGORIES_PROPERTY, "Category", item.category, true))
        return "a text is not UTF-8";
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_PRIORITY_PROPERTY))
        if (const int priority = icalproperty_get_priority(p); priority >= 1 && priority <= 9)
            item.priority = static_cast<data::Byte>(priority);
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_DUE_PROPERTY)) {
        std::string why;
        const std::optional<ical::Moment> due = LocalOf(c, p, times, why);
        if (!due)
            return why;
        zoned = ical::LocalTimes::Zoned(icalproperty_get_datetime_with_component(p, c));
        item.completionDate = due->date;
        item.completionTime = due->time;
    }
    if (icalproperty* p = icalcomponent_get_first_property(c, ICAL_STATUS_PROPERTY))
        item.done = icalproperty_get_status(p) == ICAL_STATUS_COMPLETED ? 1 : 0;
    if (icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY))
        item.done = 1;
    std::vector<std::pair<int, data::Value>> extras;
    if (std::string why = ReadExtras<data::TodoRecord>(c, extras); !why.empty())
        return why;
    detail::SetValues(item, extras);
    return {};
}

namespace {

constexpr std::string_view kOurDomain = "@horalyn";

// 128 random bits in hex, as record_uid.cpp gives them.
bool IsOwnIdentity(std::string_view text)
{
    return text.size() == 32 &&
           std::all_of(text.begin(), text.end(), [](char ch) { return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'); });
}

}  // namespace

std::string IdentityOf(icalcomponent* c)
{
    icalproperty* uid = icalcomponent_get_first_property(c, ICAL_UID_PROPERTY);
    const char* given = uid ? icalproperty_get_uid(uid) : nullptr;
    if (given == nullptr || *given == '\0')
        return {};
    std::string identity = text::SanitizeUtf8(given);
    if (identity.size() > kOurDomain.size() && identity.ends_with(kOurDomain) &&
        IsOwnIdentity(std::string_view(identity).substr(0, identity.size() - kOurDomain.size())))
        identity.resize(identity.size() - kOurDomain.size());
    if (icalproperty* id = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
        if (const char* at = icalproperty_get_value_as_string(id))
            identity += "/" + std::string(at);
    return identity;
}

std::string UidOfIdentity(const std::string& identity)
{
    return IsOwnIdentity(identity) ? identity + std::string(kOurDomain) : identity;
}

}  // namespace hrln::exchange
