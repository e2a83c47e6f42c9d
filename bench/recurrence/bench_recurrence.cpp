// NextOccurrence on tasks whose date lies far behind the moment: the cost must
// not grow with the distance. Goal: under 10 microseconds per call.
#include "data/records.h"
#include "platform/prompter.h"
#include "recurrence/recurrence.h"

#include <benchmark/benchmark.h>

namespace {

using namespace hrln;

class SilentPrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox& box) override { return box.defaultButton; }
    void endProgram(const std::string&) override {}
};

const Date kToday = MakeDate(3, 1, 2027);
const Time kNow = MakeTime(12, 34, 56, 78);

void Measure(benchmark::State& state, data::ScheduleRecord task, Date afterDate, Time afterTime)
{
    SilentPrompter prompter;
    const Date date = task.date;
    const Time time = task.time;
    for (auto _ : state) {
        task.date = date;
        task.time = time;
        hrln::recurrence::NextOccurrence(task, afterDate, afterTime, prompter);
        benchmark::DoNotOptimize(task.date);
        benchmark::DoNotOptimize(task.time);
    }
}

data::ScheduleRecord Task(const char* type, Date date, Time time = MakeTime(9, 0))
{
    data::ScheduleRecord task;
    task.scheduleType = type;
    task.date = date;
    task.time = time;
    return task;
}

void BM_EveryMinuteFrom200YearsBack(benchmark::State& state)
{
    data::ScheduleRecord task = Task("Custom", MakeDate(3, 1, 1827));
    task.every = 1;
    task.everyType = "minute(s)";
    Measure(state, task, kToday, kNow);
}
BENCHMARK(BM_EveryMinuteFrom200YearsBack);

void BM_EveryHourFrom200YearsBack(benchmark::State& state)
{
    data::ScheduleRecord task = Task("Custom", MakeDate(3, 1, 1827));
    task.every = 1;
    task.everyType = "hour(s)";
    Measure(state, task, kToday, kNow);
}
BENCHMARK(BM_EveryHourFrom200YearsBack);

// Day of Month: the search scans day by day from the later of the task's date
// and the moment, so the dearest rules are those with many flagged days that
// fail their week test. Args: weekday mask (bit 0 = Sunday), week flags
// (bit 0 = 1st ... bit 4 = last), day of March 2027 to move past.
void BM_DayOfMonth(benchmark::State& state)
{
    data::ScheduleRecord task = Task("Day of Month", MakeDate(3, 1, 1827));
    const auto weekdays = static_cast<unsigned>(state.range(0));
    const auto weeks = static_cast<unsigned>(state.range(1));
    data::Byte* days[7] = {&task.sunday,   &task.monday, &task.tuesday, &task.wednesday,
                           &task.thursday, &task.friday, &task.saturday};
    for (unsigned w = 0; w < 7; ++w)
        *days[w] = (weekdays >> w) & 1u;
    task.every1st = weeks & 1u;
    task.every2nd = (weeks >> 1) & 1u;
    task.every3rd = (weeks >> 2) & 1u;
    task.every4th = (weeks >> 3) & 1u;
    task.everyLast = (weeks >> 4) & 1u;
    Measure(state, task, MakeDate(3, static_cast<int>(state.range(2)), 2027), kNow);
}
BENCHMARK(BM_DayOfMonth)
    ->ArgNames({"weekdays", "weeks", "after"})
    ->Args({0b0000010, 0b00001, 1})    // 1st Monday, from a 1st Monday
    ->Args({0b0100000, 0b10000, 26})   // last Friday, from a last Friday
    ->Args({0b0000010, 0b01000, 22})   // 4th Monday
    ->Args({0b1111111, 0b00001, 7})    // any day of the 1st week, from its end
    ->Args({0b0000000, 0b00001, 7})    // no weekday flagged: the same days
    ->Args({0b1111111, 0b00100, 21})   // 3rd week only
    ->Args({0b1111111, 0b00000, 7});   // no week flagged

void BM_MonthlyOnThe31stFrom200YearsBack(benchmark::State& state)
{
    Measure(state, Task("Monthly", MakeDate(1, 31, 1827)), kToday, kNow);
}
BENCHMARK(BM_MonthlyOnThe31stFrom200YearsBack);

// A leap day every 4800 months never carries: the longest carry search, run
// out to its bound of 400 Februaries.
void BM_LeapDayEvery400YearsInMonths(benchmark::State& state)
{
    data::ScheduleRecord task = Task("Custom", MakeDate(2, 29, 2000));
    task.every = 4800;
    task.everyType = "month(s)";
    Measure(state, task, MakeDate(1, 1, 2'000'000), kNow);
}
BENCHMARK(BM_LeapDayEvery400YearsInMonths);

void BM_LeapDayEvery4YearsInMonths(benchmark::State& state)
{
    data::ScheduleRecord task = Task("Custom", MakeDate(2, 29, 1904));
    task.every = 48;
    task.everyType = "month(s)";
    Measure(state, task, kToday, kNow);
}
BENCHMARK(BM_LeapDayEvery4YearsInMonths);

void BM_DayOfWeekFrom200YearsBack(benchmark::State& state)
{
    data::ScheduleRecord task = Task("Day of Week", MakeDate(3, 1, 1827));
    task.saturday = 1;
    Measure(state, task, kToday, kNow);
}
BENCHMARK(BM_DayOfWeekFrom200YearsBack);

}  // namespace
