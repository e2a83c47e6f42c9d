#include "scheduler/quick_reminder.h"

#include "common/translate.h"
#include "common/typed_input.h"
#include "data/schedule_store.h"
#include "data/table.h"
#include "scheduler/add_wizards.h"

#include <array>
#include <cctype>
#include <vector>

namespace hrln::scheduler {
namespace {

using platform::DateTime;

std::string LowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The German words for the phrase's own ("um 9 Uhr", "morgen", "in einer
// Stunde"), read as their English ones. "am" stays: in English it is half a
// time ("9 am"); only a phrase's first word reads it as "on".
std::string English(const std::string& word)
{
    static const std::array<std::pair<const char*, const char*>, 21> kWords{{
        {"um", "at"},        {"heute", "today"},   {"morgen", "tomorrow"}, {"und", "and"},
        {"ein", "a"},        {"eine", "a"},        {"einer", "a"},         {"einem", "a"},
        {"sek", "s"},        {"sekunde", "s"},     {"sekunden", "s"},      {"minute", "min"},
        {"minuten", "min"},  {"std", "h"},         {"stunde", "h"},        {"stunden", "h"},
        {"tag", "d"},        {"tage", "d"},        {"tagen", "d"},         {"woche", "w"},
        {"wochen", "w"},
    }};
    for (const auto& [german, english] : kWords)
        if (word == german)
            return english;
    return word;
}

std::vector<std::string> Words(std::string_view s)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
        const std::size_t start = i;
        while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
        if (i > start)
            out.emplace_back(s.substr(start, i - start));
    }
    return out;
}

std::string Join(const std::vector<std::string>& words, std::size_t from, std::size_t to)
{
    std::string out;
    for (std::size_t i = from; i < to; ++i) {
        if (!out.empty())
            out += ' ';
        out += words[i];
    }
    return out;
}

// The length of a unit in hundredths of a second; 0 for a word that is none.
long long UnitTicks(std::string_view unit)
{
    static const std::array<std::pair<std::array<const char*, 5>, long long>, 5> kUnits{{
        {{"s", "sec", "secs", "second", "seconds"}, 100},
        {{"m", "min", "mins", "minute", "minutes"}, kTicksPerMinute},
        {{"h", "hr", "hrs", "hour", "hours"}, kTicksPerHour},
        {{"d", "day", "days", "", ""}, kTicksPerDay},
        {{"w", "wk", "week", "weeks", ""}, 7LL * kTicksPerDay},
    }};
    for (const auto& [names, ticks] : kUnits)
        for (const char* name : names)
            if (*name != '\0' && unit == name)
                return ticks;
    return 0;
}

// "10 minutes", "2h", "1 hour 30 min", "an hour": the whole span in hundredths.
std::optional<long long> Span(const std::vector<std::string>& words)
{
    // Split "10min" and "2h" into number and unit.
    std::vector<std::string> tokens;
    for (const std::string& w : words) {
        std::size_t i = 0;
        while (i < w.size()) {
            const bool digit = std::isdigit(static_cast<unsigned char>(w[i])) != 0;
            const std::size_t start = i;
            while (i < w.size() && (std::isdigit(static_cast<unsigned char>(w[i])) != 0) == digit && w[i] != ',')
                ++i;
            if (i > start)
                tokens.push_back(English(w.substr(start, i - start)));
            if (i < w.size() && w[i] == ',')
                ++i;
        }
    }
    long long total = 0;
    bool any = false;
    for (std::size_t i = 0; i < tokens.size();) {
        if (tokens[i] == "and") {
            ++i;
            continue;
        }
        long long amount = 0;
        if (tokens[i] == "a" || tokens[i] == "an") {
            amount = 1;
        } else {
            if (tokens[i].size() > 6 || !std::isdigit(static_cast<unsigned char>(tokens[i][0])))
                return std::nullopt;
            amount = std::stoll(tokens[i]);
        }
        if (i + 1 >= tokens.size())
            return std::nullopt;
        const long long unit = UnitTicks(tokens[i + 1]);
        if (unit == 0)
            return std::nullopt;
        total += amount * unit;
        any = true;
        i += 2;
    }
    if (!any || total <= 0)
        return std::nullopt;
    return total;
}

std::optional<DateTime> Checked(long long date, long long time)
{
    const long long days = (time - 1) / kTicksPerDay;
    date += days;
    time -= days * kTicksPerDay;
    if (date < kFirstDate || date > kLastDate)
        return std::nullopt;
    return DateTime{static_cast<Date>(date), static_cast<Time>(time)};
}

// "9", "at 9:30", "at 9 pm", "um 9 Uhr": the time after an optional "at".
std::optional<Time> TimeOf(const std::vector<std::string>& words, std::size_t from, std::string_view locale)
{
    if (from < words.size() && words[from] == "at")
        ++from;
    std::size_t to = words.size();
    if (to > from + 1 && words[to - 1] == "uhr")
        --to;
    if (from >= to)
        return std::nullopt;
    const std::optional<Time> t = ParseTypedTime(Join(words, from, to), locale);
    if (!t || *t == 0)
        return std::nullopt;
    return t;
}

}  // namespace

std::optional<DateTime> ParseWhenPhrase(std::string_view phrase, DateTime now, std::string_view locale)
{
    std::vector<std::string> words = Words(LowerAscii(phrase));
    if (words.empty())
        return std::nullopt;
    for (std::string& w : words)
        w = English(w);
    if (words[0] == "am")
        words[0] = "on";
    const std::string& first = words[0];
    if (first == "in") {
        const auto span = Span({words.begin() + 1, words.end()});
        if (!span)
            return std::nullopt;
        return Checked(now.date, now.time + *span);
    }
    if (first == "tomorrow" || first == "today") {
        const Date day = now.date + (first == "tomorrow" ? 1 : 0);
        if (words.size() == 1)
            return first == "tomorrow" ? Checked(day, now.time) : std::nullopt;
        const auto t = TimeOf(words, 1, locale);
        return t ? Checked(day, *t) : std::nullopt;
    }
    // A date first ("on 3/1/27 at 9"), then its time.
    const std::size_t dateAt = first == "on" ? 1 : 0;
    if (dateAt < words.size()) {
        if (const auto day = ParseTypedDate(words[dateAt], locale, now.date); day && words.size() > dateAt + 1) {
            const auto t = TimeOf(words, dateAt + 1, locale);
            return t ? Checked(*day, *t) : std::nullopt;
        }
    }
    if (first == "on")
        return std::nullopt;
    // A time alone: its next coming, today or else tomorrow.
    const auto t = TimeOf(words, 0, locale);
    if (!t)
        return std::nullopt;
    const bool passed = CompareDateTime(now.date, *t, now.date, now.time) <= 0;
    return Checked(now.date + (passed ? 1 : 0), *t);
}

std::optional<QuickReminder> ParseQuickReminder(std::string_view line, DateTime now, std::string_view locale)
{
    const std::vector<std::string> words = Words(line);
    const auto anchored = [&words](std::size_t i) {
        const std::string w = English(LowerAscii(words[i]));
        return w == "in" || w == "at" || w == "on" || w == "am" || w == "today" || w == "tomorrow";
    };
    const auto reminder = [&](std::size_t textFrom, std::size_t textTo, DateTime at) {
        std::string text = Join(words, textFrom, textTo);
        return QuickReminder{text.empty() ? std::string("Reminder") : text, at};
    };
    // The phrase at the end, as long as it reads: "Meet in the hall in 10 min".
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i != 0 && !anchored(i))
            continue;
        if (i == 0 && !anchored(0) && words.size() > 1)
            continue;  // a line without a keyword is a phrase only when it is one word ("9pm")
        if (const auto at = ParseWhenPhrase(Join(words, i, words.size()), now, locale))
            return reminder(0, i, *at);
    }
    // Or at the start: "tomorrow 9:00 dentist".
    if (!words.empty() && anchored(0)) {
        for (std::size_t j = words.size() - 1; j >= 1; --j)
            if (const auto at = ParseWhenPhrase(Join(words, 0, j), now, locale))
                return reminder(j, words.size(), *at);
    }
    return std::nullopt;
}

std::string DescribeReminder(const QuickReminder& reminder)
{
    return FillIn(HrlnTranslate("QuickReminder", "\"%1\" on %2, %3 at %4"),
                  {reminder.text, CurrentDateNames().weekdays[Weekday(reminder.at.date)], FormatD4(reminder.at.date),
                   FormatT3(reminder.at.time)});
}

std::string QuickReminderHelp()
{
    return HrlnTranslate("QuickReminder", "Say when at the end: in 10 minutes, in 2 h, at 14:30, tomorrow 9:00.");
}

data::ScheduleRecord QuickReminderTask(const QuickReminder& reminder)
{
    data::ScheduleRecord task;
    task.taskType = "Display Message";
    task.scheduleType = "Once";
    task.category = "General";
    task.description = reminder.text;
    task.message = reminder.text;
    task.date = reminder.at.date;
    task.time = reminder.at.time;
    task.every = 1;
    task.warn = 1;
    return task;
}

int AddQuickReminder(data::Database& db, data::ScheduleRecord& task, const std::function<bool()>& askRetry)
{
    if (const int err = db.begin(); err != data::kOk)
        return err;
    int err = EnsureGeneralCategory(db);
    data::Table<data::ScheduleRecord> schedule(db);
    if (err == data::kOk) {
        schedule.rec = task;
        err = data::AddTaskWithNewId(schedule, askRetry);
    }
    if (err == data::kOk)
        err = db.commit();
    if (err != data::kOk) {
        if (db.inTransaction())
            db.rollback();
        return err;
    }
    task = schedule.rec;
    return data::kOk;
}

}  // namespace hrln::scheduler
