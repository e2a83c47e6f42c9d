// The occurrence rules jump straight to their result. Here they are checked
// against the same rules written as plain loops that take one step at a time,
// over many random rules and moments.
#include "common/text.h"
#include "data/records.h"
#include "recurrence/recurrence.h"
#include "support/fake_prompter.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <sstream>
#include <string>

namespace hrln::recurrence {
namespace {

constexpr Time kDay = 8'640'000;

int WeekdayOf(Date d)
{
    return ((d % 7) + 7) % 7;
}

bool Flagged(const data::ScheduleRecord& r, Date d)
{
    const std::array<data::Byte, 7> flags = {r.sunday,   r.monday, r.tuesday, r.wednesday,
                                             r.thursday, r.friday, r.saturday};
    return flags[static_cast<std::size_t>(WeekdayOf(d))] != 0;
}

bool AnyWeekday(const data::ScheduleRecord& r)
{
    return r.sunday || r.monday || r.tuesday || r.wednesday || r.thursday || r.friday || r.saturday;
}

void Normalize(Date& date, Time& time)
{
    while (time > kDay) {
        time -= kDay;
        ++date;
    }
}

bool Before(Date date, Time time, Date afterDate, Time afterTime)
{
    if (time > kDay) {
        time -= kDay;
        ++date;
    }
    if (afterTime > kDay) {
        afterTime -= kDay;
        ++afterDate;
    }
    return date < afterDate || (date == afterDate && time < afterTime);
}

void StepToFlaggedDay(const data::ScheduleRecord& r, Date& date)
{
    ++date;
    if (AnyWeekday(r))
        while (!Flagged(r, date))
            ++date;
}

bool InOrdinalWeek(const data::ScheduleRecord& r, Date date)
{
    const YearMonthDay ymd = SplitDate(date);
    const int lastDay = MakeDate(ymd.month + 1, 1, ymd.year) - 1;
    return (ymd.day >= 1 && ymd.day <= 7 && r.every1st) || (ymd.day >= 8 && ymd.day <= 14 && r.every2nd) ||
           (ymd.day >= 15 && ymd.day <= 21 && r.every3rd) || (ymd.day >= 22 && ymd.day <= 28 && r.every4th) ||
           (r.everyLast && lastDay - date <= 6);
}

void Steps(data::ScheduleRecord& r, Date afterDate, Time afterTime, platform::Prompter& prompter)
{
    const std::string type = r.scheduleType.str();
    if (type == "Once") {
        r.completed = 1;
    } else if (type == "Monthly") {
        while (r.date <= afterDate) {
            const YearMonthDay ymd = SplitDate(r.date);
            int month = ymd.month + 1;
            int year = ymd.year;
            if (month == 13) {
                month = 1;
                ++year;
            }
            r.date = MakeDate(month, ymd.day, year);
        }
    } else if (type == "Yearly") {
        while (r.date <= afterDate) {
            const YearMonthDay ymd = SplitDate(r.date);
            r.date = MakeDate(ymd.month, ymd.day, ymd.year + 1);
        }
    } else if (type == "Day of Week") {
        while (r.date <= afterDate)
            StepToFlaggedDay(r, r.date);
    } else if (type == "Day of Month") {
        for (;;) {
            StepToFlaggedDay(r, r.date);
            if (r.date <= afterDate)
                continue;
            if (!(r.every1st || r.every2nd || r.every3rd || r.every4th || r.everyLast))
                break;
            if (InOrdinalWeek(r, r.date))
                break;
        }
    } else {
        if (r.every < 1)
            r.every = 1;
        const int every = r.every;
        const std::string unit = text::Lower(r.everyType.str().substr(0, 3));
        if (unit == "min" || unit == "hou") {
            const int perDay = unit == "min" ? 1440 : 24;
            const Time tick = unit == "min" ? 6000 : 360000;
            // At least one step: a task performed at its very moment moves on.
            do {
                if (every <= perDay) {
                    r.time += every * tick;
                } else {
                    r.date += every / perDay;
                    r.time += (every % perDay) * tick;
                }
                Normalize(r.date, r.time);
            } while (Before(r.date, r.time, afterDate, afterTime));
        } else if (unit == "day") {
            while (r.date <= afterDate)
                r.date += every;
        } else if (unit == "wee") {
            while (r.date <= afterDate)
                r.date += 7 * every;
        } else if (unit == "mon") {
            while (r.date <= afterDate) {
                const YearMonthDay ymd = SplitDate(r.date);
                r.date = MakeDate(ymd.month + every, ymd.day, ymd.year);
            }
        } else if (unit == "yea") {
            while (r.date <= afterDate) {
                const YearMonthDay ymd = SplitDate(r.date);
                r.date = MakeDate(ymd.month, ymd.day, ymd.year + every);
            }
        } else {
            prompter.ask({"Custom repetition is not set up properly.  Select units.", "Invalid Units"});
            if (r.date <= afterDate)
                r.date = afterDate + 1;
        }
    }
}

// The steps, and the end of every rule past the last day kept.
void Reference(data::ScheduleRecord& r, Date afterDate, Time afterTime, platform::Prompter& prompter)
{
    const data::ScheduleRecord before = r;
    Steps(r, afterDate, afterTime, prompter);
    if (r.date > kLastDate) {
        r.date = before.date;
        r.time = before.time;
        r.completed = 1;
    }
}

class RandomRules {
public:
    explicit RandomRules(unsigned seed) : rng_(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    template <class T, std::size_t N>
    T pick(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(N) - 1))];
    }

    data::ScheduleRecord rule()
    {
        static constexpr std::array<const char*, 9> kTypes = {
            "Once", "Day of Week", "Day of Month", "Monthly", "Yearly", "Custom", "Custom", "", "Weekly"};
        static constexpr std::array<const char*, 18> kUnits = {
            "minute(s)", "MINUTES", "Min", "hour(s)", "Hours", "hou",  "Day(s)", "days", "week(s)",
            "WEEKS",     "month(s)", "Mon", "year(s)", "YEA",  "xyz",  "",       "mi",   "hr"};
        data::ScheduleRecord r;
        r.scheduleType = pick(kTypes);
        auto flag = [&](double p) { return static_cast<data::Byte>(chance(p) ? 1 : 0); };
        const double weekdayP = chance(0.15) ? 0.0 : 0.3;
        r.sunday = flag(weekdayP), r.monday = flag(weekdayP), r.tuesday = flag(weekdayP);
        r.wednesday = flag(weekdayP), r.thursday = flag(weekdayP), r.friday = flag(weekdayP);
        r.saturday = flag(weekdayP);
        const double ordinalP = chance(0.2) ? 0.0 : 0.3;
        r.every1st = flag(ordinalP), r.every2nd = flag(ordinalP), r.every3rd = flag(ordinalP);
        r.every4th = flag(ordinalP), r.everyLast = flag(ordinalP);
        r.everyType = pick(kUnits);
        r.every = every(text::Lower(r.everyType.str().substr(0, 3)));
        r.date = date();
        r.time = time();
        return r;
    }

    int every(const std::string& unit)
    {
        if (chance(0.1))
            return between(-3, 1);
        if (unit == "min")
            return chance(0.5) ? between(1, 120) : pick(std::array<int, 6>{1439, 1440, 1441, 2000, 2880, 4321});
        if (unit == "hou")
            return chance(0.5) ? between(1, 30) : pick(std::array<int, 5>{23, 24, 25, 48, 100});
        if (unit == "mon")
            return chance(0.5) ? between(1, 30) : pick(std::array<int, 8>{6, 12, 18, 24, 36, 48, 96, 4800});
        if (unit == "yea")
            return chance(0.5) ? between(1, 10) : pick(std::array<int, 6>{4, 8, 96, 100, 200, 400});
        return between(1, 400);
    }

    Date date()
    {
        const int year = between(kFirstYear, kLastYear);
        if (chance(0.2))
            return MakeDate(2, 29, pick(std::array<int, 6>{1804, 1896, 1904, 1996, 2000, 2096}));
        if (chance(0.3))
            return MakeDate(between(1, 12), between(28, 31), year);
        return MakeDate(between(1, 12), between(1, 28), year);
    }

    Time time()
    {
        if (chance(0.1))
            return pick(std::array<Time, 6>{0, 1, kDay, kDay + 1, -kDay / 3, 2 * kDay + 50});
        return between(1, kDay);
    }

    // A moment to move past, close to the task or far beyond it, kept within
    // reach of the plain loops.
    void moment(const data::ScheduleRecord& r, Date& afterDate, Time& afterTime)
    {
        const std::string unit = text::Lower(r.everyType.str().substr(0, 3));
        const double days = std::max(1, r.every);
        int reach = 4000;
        if (r.scheduleType == "Monthly" || r.scheduleType == "Yearly" || unit == "mon" || unit == "yea")
            reach = 73000;
        else if (unit == "min")
            reach = static_cast<int>(std::min(73000.0, 2 + days * 20000 / 1440));
        else if (unit == "hou")
            reach = static_cast<int>(std::min(73000.0, 2 + days * 20000 / 24));
        else if (unit == "day" || unit == "wee")
            reach = static_cast<int>(std::min(73000.0, days * 3000));
        const int gap = chance(0.15) ? 0 : chance(0.3) ? between(-60, 60) : between(-60, reach);
        afterDate = r.date + gap;
        afterTime = chance(0.2) ? r.time : time();
    }

private:
    std::mt19937 rng_;
};

std::string Describe(const data::ScheduleRecord& r, Date afterDate, Time afterTime)
{
    std::ostringstream out;
    out << "type '" << r.scheduleType.str() << "' unit '" << r.everyType.str() << "' every " << r.every
        << " days " << int{r.sunday} << int{r.monday} << int{r.tuesday} << int{r.wednesday} << int{r.thursday}
        << int{r.friday} << int{r.saturday} << " weeks " << int{r.every1st} << int{r.every2nd} << int{r.every3rd}
        << int{r.every4th} << int{r.everyLast} << " from " << r.date << "/" << r.time << " after " << afterDate
        << "/" << afterTime;
    return out.str();
}

TEST(SteppingEquivalenceTest, JumpsLandWhereSingleStepsStop)
{
    RandomRules random(20270129);
    int failures = 0;
    for (int round = 0; round < 25000 && failures < 10; ++round) {
        data::ScheduleRecord jumped = random.rule();
        data::ScheduleRecord stepped = jumped;
        test::FakePrompter jumpPrompter;
        test::FakePrompter stepPrompter;
        Date afterDate = 0;
        Time afterTime = 0;
        random.moment(jumped, afterDate, afterTime);
        // Then a few moves in a row, each from the occurrence just reached.
        for (int move = 0; move < 3 && failures < 10; ++move) {
            const std::string before = Describe(jumped, afterDate, afterTime);
            NextOccurrence(jumped, afterDate, afterTime, jumpPrompter);
            Reference(stepped, afterDate, afterTime, stepPrompter);
            const bool same = jumped.date == stepped.date && jumped.time == stepped.time &&
                              jumped.every == stepped.every && jumped.completed == stepped.completed &&
                              jumpPrompter.shown.size() == stepPrompter.shown.size();
            if (!same) {
                ++failures;
                ADD_FAILURE() << before << ": jumped to " << jumped.date << "/" << jumped.time
                              << ", stepping gives " << stepped.date << "/" << stepped.time;
                break;
            }
            afterDate = jumped.date;
            afterTime = jumped.time;
        }
    }
}

}  // namespace
}  // namespace hrln::recurrence
