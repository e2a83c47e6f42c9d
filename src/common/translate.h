#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace hrln {

// The catalogue the program shows its texts from. The core composes some of
// what the user reads (questions, readings of a rule, problems); it has no
// Qt, so the program hands it a lookup at start. Until then, and in every
// test of the core, a text comes back as written: English.
using TextLookup = std::string (*)(const char* context, const char* english);

void SetTextLookup(TextLookup lookup);

// The text shown for `english` in `context`. Called with literals, so the
// catalogue tools find them (the call is an alias of Qt's translate).
std::string HrlnTranslate(const char* context, const char* english);

// A value stored in English because the program acts on it ("Send
// Keystrokes", "Once"), as the user reads it.
std::string ShownStoredValue(const std::string& stored);

// Marks a text the core keeps in English (an object's name is made from it,
// or it is stored) for the windows to translate when they show it, in
// `context`. The catalogue tools read it as Qt's QT_TRANSLATE_NOOP.
#define HRLN_TEXT(context, text) text

// `pattern` with %1 ... %9 replaced by the arguments in turn, so that a
// translation may order them as its language wants. A % not followed by the
// number of an argument stays as written.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> args);

// Names for the fixed date pictures: month and weekday names, full and
// abbreviated, and the two halves of the day. English until the program
// chooses the names of its language; a picture keeps its shape either way.
struct DateNames {
    std::string months[12];
    std::string shortMonths[12];
    std::string weekdays[7];  // Sunday first
    std::string shortWeekdays[7];
    std::string am;
    std::string pm;
};

const DateNames& CurrentDateNames();
const DateNames& EnglishDateNames();
// The names ICU has for `locale` ("de_DE"); false, and nothing changes,
// when it has none.
bool UseDateNamesOf(const std::string& locale);
void UseEnglishDateNames();

}  // namespace hrln
