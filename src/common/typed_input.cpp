#include "common/typed_input.h"

#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>
#include <vector>

namespace hrln {
namespace {

// An empty name is the user's own locale, as ICU takes it from the environment.
icu::Locale LocaleOf(std::string_view name)
{
    return name.empty() ? icu::Locale::getDefault() : icu::Locale(std::string(name).c_str());
}

std::string Lower(std::string_view text, const icu::Locale& locale)
{
    icu::UnicodeString u =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    u.toLower(locale);
    std::string out;
    u.toUTF8String(out);
    return out;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int Whole(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

enum class Half { None, Am, Pm };

// Takes a 12-hour marker off the front or the back of `s`: the locale's own
// words first, then the English ones every keyboard can type.
Half TakeMarker(std::string& s, const icu::Locale& locale)
{
    std::vector<std::pair<std::string, Half>> markers;
    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(locale, status);
    if (U_SUCCESS(status)) {
        int32_t count = 0;
        const icu::UnicodeString* words = symbols.getAmPmStrings(count);
        for (int32_t i = 0; i < count && i < 2; ++i) {
            std::string word;
            icu::UnicodeString(words[i]).toLower(locale).toUTF8String(word);
            if (!word.empty())
                markers.emplace_back(word, i == 0 ? Half::Am : Half::Pm);
        }
    }
    // Longest first, so "a.m." is not read as "a" with ".m." left over.
    for (const char* word : {"a.m.", "p.m.", "a.m", "p.m", "am", "pm", "a", "p"})
        markers.emplace_back(word, word[0] == 'a' ? Half::Am : Half::Pm);
    for (const auto& [word, half] : markers) {
        if (s.size() > word.size() && s.ends_with(word)) {
            s.resize(s.size() - word.size());
            s = std::string(Trim(s));
            return half;
        }
        if (s.size() > word.size() && s.starts_with(word) && !IsDigit(word.back())) {
            s.erase(0, word.size());
            s = std::string(Trim(s));
            return half;
        }
    }
    return Half::None;
}

// The parts of a typed time: hours, then two-digit minutes, seconds and
// hundredths, split at ':' '.' or 'h', or run together as 930 or 160542.
std::optional<std::array<int, 4>> TimeParts(std::string_view s)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && IsDigit(s[i]))
            continue;
        if (i < s.size() && s[i] != ':' && s[i] != '.' && s[i] != 'h')
            return std::nullopt;
        parts.push_back(s.substr(start, i - start));
        start = i + 1;
    }
    if (parts.size() == 1) {
        const std::string_view run = parts[0];
        // 9, 09, 930, 0930, 93000, 093000: the hour takes what is left of the pairs.
        if (run.empty() || run.size() > 6)
            return std::nullopt;
        const std::size_t hourDigits = run.size() <= 2 ? run.size() : 2 - run.size() % 2;
        parts = {run.substr(0, hourDigits)};
        for (std::size_t i = hourDigits; i < run.size(); i += 2)
            parts.push_back(run.substr(i, 2));
    }
    if (parts.size() > 4 || parts[0].empty() || parts[0].size() > 2)
        return std::nullopt;
    std::array<int, 4> out{Whole(parts[0]), 0, 0, 0};
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].size() != 2)
            return std::nullopt;
        out[i] = Whole(parts[i]);
    }
    return out;
}

// Where year, month and day stand in the locale's short date: 0, 1, 2 each.
struct DateOrder {
    int year = 0;
    int month = 1;
    int day = 2;
};

DateOrder OrderOf(const std::string& pattern)
{
    DateOrder order{-1, -1, -1};
    int next = 0;
    bool quoted = false;
    for (char c : pattern) {
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        int* field = c == 'y' || c == 'Y' || c == 'u' ? &order.year
                     : c == 'M' || c == 'L'             ? &order.month
                     : c == 'd'                         ? &order.day
                                                        : nullptr;
        if (field != nullptr && *field < 0)
            *field = next++;
    }
    if (next != 3)
        return {};  // a pattern without all three reads as year, month, day
    return order;
}

}  // namespace

std::optional<Time> ParseTypedTime(std::string_view text, std::string_view locale)
{
    const icu::Locale where = LocaleOf(locale);
    std::string s(Trim(text));
    s = Lower(s, where);
    const Half half = TakeMarker(s, where);
    // "9 h 30" and "9h30", as French writes times.
    if (const std::size_t h = s.find('h'); h != std::string::npos) {
        std::size_t from = h;
        std::size_t to = h + 1;
        while (from > 0 && s[from - 1] == ' ')
            --from;
        while (to < s.size() && s[to] == ' ')
            ++to;
        if (from > 0 && IsDigit(s[from - 1]) && to < s.size() && IsDigit(s[to]))
            s.replace(from, to - from, ":");
    }
    const auto parts = TimeParts(s);
    if (!parts)
        return std::nullopt;
    auto [hours, minutes, seconds, hundredths] = *parts;
    if (half != Half::None) {
        if (hours < 1 || hours > 12)
            return std::nullopt;
        hours = hours % 12 + (half == Half::Pm ? 12 : 0);
    }
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return MakeTime(hours, minutes, seconds, hundredths);
}

std::optional<Date> ParseTypedDate(std::string_view text, std::string_view locale, Date today)
{
    const std::string_view s = Trim(text);
    std::vector<std::string_view> groups;
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t start = i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        if (i == start)
            return std::nullopt;
        groups.push_back(s.substr(start, i - start));
        // One separator between the numbers, maybe with blanks ("1. 3. 2027");
        // one may end the date ("1.3.").
        std::size_t separators = 0;
        while (i < s.size() && !IsDigit(s[i])) {
            const char c = s[i];
            if (c != '/' && c != '.' && c != '-' && c != ' ')
                return std::nullopt;
            separators += c == ' ' ? 0 : 1;
            ++i;
        }
        if (separators > 1)
            return std::nullopt;
    }
    if (groups.size() < 2 || groups.size() > 3)
        return std::nullopt;
    for (std::string_view g : groups)
        if (g.size() > 4)
            return std::nullopt;

    int year = 0, month = 0, day = 0;
    const auto number = [](std::string_view g, std::size_t maxDigits) {
        return g.size() <= maxDigits ? Whole(g) : -1;
    };
    if (groups.size() == 3 && groups[0].size() == 4) {
        year = Whole(groups[0]);
        month = number(groups[1], 2);
        day = number(groups[2], 2);
    } else {
        DateOrder order = OrderOf(ShortDatePattern(locale));
        if (groups.size() == 2) {
            if (today == 0)
                return std::nullopt;
            year = SplitDate(today).year;
            // Day and month in the order the locale writes them.
            const bool monthFirst = order.month < order.day;
            month = number(groups[monthFirst ? 0 : 1], 2);
            day = number(groups[monthFirst ? 1 : 0], 2);
        } else {
            const std::string_view y = groups[static_cast<std::size_t>(order.year)];
            if (y.size() == 4)
                year = Whole(y);
            else if (y.size() == 2)
                year = 2000 + Whole(y);
            else
                return std::nullopt;
            month = number(groups[static_cast<std::size_t>(order.month)], 2);
            day = number(groups[static_cast<std::size_t>(order.day)], 2);
        }
    }
    if (year < kFirstYear || year > kLastYear || !IsValidDate(year, month, day))
        return std::nullopt;
    return MakeDate(month, day, year);
}

std::string ShortDatePattern(std::string_view locale)
{
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateInstance(icu::DateFormat::kShort, LocaleOf(locale)));
    auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
    if (simple == nullptr)
        return "y-MM-dd";
    icu::UnicodeString pattern;
    simple->toPattern(pattern);
    std::string out;
    pattern.toUTF8String(out);
    return out;
}

namespace {

// Writes an ICU date or time pattern: `field` writes each run of a pattern
// letter (the letter, how many, where it starts) into the text, leaving out
// a letter it does not know; quoted text and everything else stands as it is.
template <class Field>
std::string WritePattern(const std::string& pattern, Field field)
{
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (!quoted && i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (quoted)
            out += c;
        else if (!letter)
            out.append(pattern, i, run);
        else
            field(out, c, run, i);
        i += quoted ? 1 : run;
    }
    return out;
}

void Pad(std::string& out, int value, std::size_t width)
{
    const std::string digits = std::to_string(value);
    out += std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
}

// Writes `pattern`'s date fields; `fullYear` writes a two-digit year in full.
std::string DateInPattern(Date date, const std::string& pattern, bool fullYear)
{
    const YearMonthDay ymd = SplitDate(date);
    return WritePattern(pattern, [&](std::string& out, char c, std::size_t run, std::size_t) {
        if (c == 'y' || c == 'u')
            run == 2 && !fullYear ? Pad(out, ymd.year % 100, 2) : Pad(out, ymd.year, 4);
        else if (c == 'M' || c == 'L')
            Pad(out, ymd.month, run >= 2 ? 2 : 1);
        else if (c == 'd')
            Pad(out, ymd.day, run >= 2 ? 2 : 1);
    });
}

std::string TimePattern(const icu::Locale& locale)
{
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get());
    if (simple == nullptr)
        return "HH:mm";
    icu::UnicodeString pattern;
    simple->toPattern(pattern);
    std::string out;
    pattern.toUTF8String(out);
    return out;
}

}  // namespace

std::string FormatShortDate(Date date, std::string_view locale)
{
    return date == 0 ? std::string() : DateInPattern(date, ShortDatePattern(locale), false);
}

bool IsNeutralLocale(std::string_view locale)
{
    const std::string name = locale.empty() ? std::string(icu::Locale::getDefault().getName()) : std::string(locale);
    return name == "C" || name == "POSIX" || name.starts_with("C.") || name == "en_US_POSIX" || name == "c";
}

std::string LocalDate(Date date, std::string_view locale)
{
    if (date == 0)
        return {};
    if (IsNeutralLocale(locale))
        return FormatD17(date);
    return DateInPattern(date, ShortDatePattern(locale), true);
}

std::string LocalTime(Time time, std::string_view locale, bool seconds)
{
    if (time == 0)
        return {};
    const TimeOfDay t = SplitTime(time);
    seconds = seconds || t.seconds != 0;
    if (IsNeutralLocale(locale)) {
        const std::string full = FormatT7(time);  // "13:05:09"
        return seconds ? full : full.substr(0, full.size() - 3);
    }
    const icu::Locale where = LocaleOf(locale);
    const std::string pattern = TimePattern(where);
    std::string marker;
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::DateFormatSymbols symbols(where, status);
        int32_t count = 0;
        const icu::UnicodeString* words = U_SUCCESS(status) ? symbols.getAmPmStrings(count) : nullptr;
        if (words != nullptr && count == 2)
            words[t.hours < 12 ? 0 : 1].toUTF8String(marker);
        else
            marker = t.hours < 12 ? "AM" : "PM";
    }
    std::string out = WritePattern(pattern, [&](std::string& into, char c, std::size_t run, std::size_t at) {
        if (c == 'H')
            Pad(into, t.hours, run);
        else if (c == 'k')
            Pad(into, t.hours == 0 ? 24 : t.hours, run);
        else if (c == 'h')
            Pad(into, t.hours % 12 == 0 ? 12 : t.hours % 12, run);
        else if (c == 'K')
            Pad(into, t.hours % 12, run);
        else if (c == 'm') {
            Pad(into, t.minutes, 2);
            if (seconds && pattern.find('s') == std::string::npos) {
                // The separator the pattern puts before the minutes, again before the seconds.
                const char before = at > 0 ? pattern[at - 1] : ':';
                into += before == ':' || before == '.' ? before : ':';
                Pad(into, t.seconds, 2);
            }
        } else if (c == 's')
            Pad(into, t.seconds, 2);
        else if (c == 'a' || c == 'b' || c == 'B')
            into += marker;
    });
    // Narrow and no-break spaces (ICU puts one before AM) as the plain space a user types.
    for (const std::string_view wide : {std::string_view("\xE2\x80\xAF"), std::string_view("\xC2\xA0")})
        for (std::size_t at = out.find(wide); at != std::string::npos; at = out.find(wide, at))
            out.replace(at, wide.size(), " ");
    return out;
}

std::string TypedTimeHelp(std::string_view typed)
{
    return "\"" + std::string(typed) +
           "\" is not a time of day.  Enter hours and minutes, for example 9, 9:30, 21:30 or 9.30pm "
           "(seconds may follow, as in 17:45:30).";
}

std::string TypedDateHelp(std::string_view typed, std::string_view locale)
{
    const Date example = MakeDate(3, 1, 2027);
    return "\"" + std::string(typed) + "\" is not a date.  Enter it as " + FormatShortDate(example, locale) +
           " or as year-month-day, 2027-03-01 (both the 1st of March 2027), with a year from " +
           std::to_string(kFirstYear) + " to " + std::to_string(kLastYear) + ".";
}

}  // namespace hrln
