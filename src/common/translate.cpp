#include "common/translate.h"

#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>

namespace hrln {
namespace {

TextLookup g_lookup = nullptr;

DateNames MakeEnglish()
{
    DateNames n;
    const char* const months[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
    const char* const days[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (int i = 0; i < 12; ++i) {
        n.months[i] = months[i];
        n.shortMonths[i] = std::string(months[i]).substr(0, 3);
    }
    for (int i = 0; i < 7; ++i) {
        n.weekdays[i] = days[i];
        n.shortWeekdays[i] = std::string(days[i]).substr(0, 3);
    }
    n.am = "AM";
    n.pm = "PM";
    return n;
}

const DateNames& English()
{
    static const DateNames names = MakeEnglish();
    return names;
}

DateNames& Current()
{
    static DateNames names = MakeEnglish();
    return names;
}

// ICU's abbreviations may end in a full stop ("Okt."); the pictures put their
// own punctuation, so it goes.
std::string Plain(const icu::UnicodeString& u, bool abbreviated)
{
    std::string s;
    u.toUTF8String(s);
    if (abbreviated && !s.empty() && s.back() == '.')
        s.pop_back();
    return s;
}

}  // namespace

void SetTextLookup(TextLookup lookup)
{
    g_lookup = lookup;
}

std::string HrlnTranslate(const char* context, const char* english)
{
    return g_lookup != nullptr ? g_lookup(context, english) : std::string(english);
}

std::string ShownStoredValue(const std::string& stored)
{
    return g_lookup != nullptr ? g_lookup("StoredValue", stored.c_str()) : stored;
}

std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

const DateNames& CurrentDateNames()
{
    return Current();
}

const DateNames& EnglishDateNames()
{
    return English();
}

bool UseDateNamesOf(const std::string& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale where(locale.c_str());
    icu::DateFormatSymbols symbols(where, status);
    if (U_FAILURE(status))
        return false;
    // A language ICU lacks gets the root's names ("M01"), not its own.
    const icu::Locale actual = symbols.getLocale(ULOC_ACTUAL_LOCALE, status);
    if (U_FAILURE(status) || std::string(actual.getLanguage()).empty() ||
        std::string(actual.getLanguage()) != where.getLanguage())
        return false;
    int32_t count = 0;
    DateNames n;
    const icu::UnicodeString* months = symbols.getMonths(count, icu::DateFormatSymbols::FORMAT,
                                                         icu::DateFormatSymbols::WIDE);
    if (count < 12)
        return false;
    for (int i = 0; i < 12; ++i)
        n.months[i] = Plain(months[i], false);
    // Standalone abbreviations: a picture shows the month by itself ("Okt 3, 2026").
    const icu::UnicodeString* shortMonths =
        symbols.getMonths(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::ABBREVIATED);
    if (count < 12)
        return false;
    for (int i = 0; i < 12; ++i)
        n.shortMonths[i] = Plain(shortMonths[i], true);
    // ICU counts weekdays from 1 = Sunday; index 0 is empty.
    const icu::UnicodeString* days =
        symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
    if (count < 8)
        return false;
    for (int i = 0; i < 7; ++i)
        n.weekdays[i] = Plain(days[i + 1], false);
    const icu::UnicodeString* shortDays =
        symbols.getWeekdays(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::ABBREVIATED);
    if (count < 8)
        return false;
    for (int i = 0; i < 7; ++i)
        n.shortWeekdays[i] = Plain(shortDays[i + 1], true);
    const icu::UnicodeString* halves = symbols.getAmPmStrings(count);
    if (count < 2)
        return false;
    n.am = Plain(halves[0], false);
    n.pm = Plain(halves[1], false);
    Current() = std::move(n);
    return true;
}

void UseEnglishDateNames()
{
    Current() = English();
}

}  // namespace hrln
