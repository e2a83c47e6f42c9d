// The recurrence rules on arbitrary records: the next occurrence never lies
// before the task's own date nor before the moment it is counted from, a
// repetition always moves on (or ends, past the last day kept), and a date
// the rules chose is one they match.
#include "common/date_time.h"
#include "data/records.h"
#include "fuzz_check.h"
#include "recurrence/recurrence.h"
#include "recurrence/schedule_rule.h"
#include "support/fake_prompter.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

using namespace hrln;
using hrln::recurrence::RuleKind;
using hrln::recurrence::Unit;

constexpr std::array<std::string_view, 7> kTypes = {"Once",   "Day of Week", "Day of Month", "Monthly",
                                                    "Yearly", "Custom",      ""};
constexpr std::array<std::string_view, 8> kUnits = {"minute(s)", "hour(s)", "day(s)", "WEEKS",
                                                    "month(s)",  "Years",   "fortnight", ""};

// Mostly dates of the years the program keeps and the year after (where every
// rule ends), now and then any number.
Date AnyDate(hrln::fuzz::Reader& input)
{
    const std::uint8_t how = input.byte();
    const auto n = static_cast<std::int32_t>(input.number(4));
    if (how < 200) {
        const Date first = kFirstDate, last = kLastDate + 366;
        return first + static_cast<Date>(static_cast<std::uint32_t>(n) % static_cast<std::uint32_t>(last - first + 1));
    }
    return n;
}

Time AnyTime(hrln::fuzz::Reader& input)
{
    const auto n = static_cast<std::int32_t>(input.number(4));
    return input.byte() < 230 ? 1 + static_cast<Time>(static_cast<std::uint32_t>(n) % kTicksPerDay) : n;
}

std::string Shown(const hrln::data::ScheduleRecord& t, Date afterDate, Time afterTime)
{
    return "type '" + t.scheduleType.str() + "' every " + std::to_string(t.every) + " '" + t.everyType.str() +
           "' date " + std::to_string(t.date) + " time " + std::to_string(t.time) + " after " +
           std::to_string(afterDate) + " " + std::to_string(afterTime);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace hrln;
    hrln::fuzz::Reader input(data, size);
    hrln::data::ScheduleRecord task;
    const std::uint8_t type = input.byte();
    task.scheduleType = type < 240 ? kTypes[type % kTypes.size()] : input.text(20);
    const std::uint8_t unit = input.byte();
    task.everyType = unit < 240 ? kUnits[unit % kUnits.size()] : input.text(20);
    const std::uint8_t flags = input.byte(), weeks = input.byte();
    for (int d = 0; d < 7; ++d)
        task.weekdayFlag(d) = (flags >> d) & 1;
    task.every1st = weeks & 1;
    task.every2nd = (weeks >> 1) & 1;
    task.every3rd = (weeks >> 2) & 1;
    task.every4th = (weeks >> 3) & 1;
    task.everyLast = (weeks >> 4) & 1;
    const std::uint8_t every = input.byte();
    task.every = every < 250 ? every % 40 - 2 : static_cast<std::int32_t>(input.number(4));
    task.date = AnyDate(input);
    task.time = AnyTime(input);
    const Date afterDate = AnyDate(input);
    const Time afterTime = AnyTime(input);

    const hrln::data::ScheduleRecord before = task;
    hrln::test::FakePrompter prompter;
    hrln::recurrence::NextOccurrence(task, afterDate, afterTime, prompter);
    const std::string shown = Shown(before, afterDate, afterTime) + " -> " + std::to_string(task.date) + " " +
                              std::to_string(task.time);

    const RuleKind kind = hrln::recurrence::KindOf(before);
    const Unit units = hrln::recurrence::UnitOf(before.everyType.view());
    const bool byTicks = kind == RuleKind::Custom && (units == Unit::Minutes || units == Unit::Hours);
    const bool validMoments = before.date > 0 && afterDate > 0 && before.time >= 1 && before.time <= kTicksPerDay &&
                              afterTime >= 1 && afterTime <= kTicksPerDay;

    if (kind == RuleKind::Once) {
        FUZZ_CHECK(task.completed == 1 && task.date == before.date, shown);
        return 0;
    }
    FUZZ_CHECK(prompter.shown.size() == (kind == RuleKind::Custom && units == Unit::Invalid ? 1u : 0u), shown);
    if (task.completed != 0) {
        // The rule ran past the last day kept: it ends where it stood.
        FUZZ_CHECK(task.date == before.date && task.time == before.time, shown);
        return 0;
    }
    FUZZ_CHECK(task.date <= kLastDate, shown);
    if (!validMoments)
        return 0;  // out-of-range values only have to be survived
    FUZZ_CHECK(task.date >= before.date, shown);
    if (byTicks) {
        FUZZ_CHECK(task.time >= 1 && task.time <= kTicksPerDay, shown);
        FUZZ_CHECK(CompareDateTime(task.date, task.time, afterDate, afterTime) >= 0, shown);
        FUZZ_CHECK(CompareDateTime(task.date, task.time, before.date, before.time) > 0, shown);
    } else {
        FUZZ_CHECK(task.time == before.time, shown);
        FUZZ_CHECK(task.date > afterDate, shown);
    }
    // Where the rule chose the day, the day fits the rule (a rule without
    // weekdays, or "Day of Month" without weeks, runs daily or weekly and
    // matches no date by design).
    const bool complete = hrln::recurrence::WeekdayMask(before) != 0 &&
                          (kind != RuleKind::DayOfMonth || hrln::recurrence::HasOrdinalFlags(before));
    if (complete && (kind == RuleKind::DayOfWeek || kind == RuleKind::DayOfMonth) && task.date != before.date)
        FUZZ_CHECK(hrln::recurrence::DateMatchesSchedule(task), shown);
    if (kind == RuleKind::DayOfMonth && complete) {
        // Nor is a fitting day passed over.
        for (Date d = std::max(before.date, afterDate) + 1; d < task.date; ++d)
            FUZZ_CHECK(!hrln::recurrence::DateMatchesSchedule(task, d), shown + ": " + std::to_string(d) + " fits");
    }
    return 0;
}
