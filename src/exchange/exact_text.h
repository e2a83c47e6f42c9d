#pragma once

#include <optional>
#include <string>
#include <string_view>

// Calendars and cards lose what a user may type: their readers drop blanks
// before a value and keep a line break only as LF. The standard property
// carries the text as every program reads it; beside it, a text that would
// not come back as it was travels whole in the program's own property
// (X-HRLN-TEXT-<FIELD>), which wins on import only while the standard one
// still says the same, so that an edit made by another program is kept.
namespace hrln::exchange::exact {

// The property's name for a field of the record.
std::string PropertyName(std::string_view field);

// The text as the standard property gives it back: its line breaks (CR LF,
// CR or LF) as LF, blanks and tabs before it removed.
std::string Portable(std::string_view text);
// Every line break (CR LF, CR or LF) as LF, which the formats can say.
std::string LineBreaksAsLf(std::string_view text);

// Whether `text` would come back otherwise from the standard property. An
// empty text is said too when `blankMatters`, where the import would put a
// default in place of nothing.
bool Needed(std::string_view text, bool blankMatters = false);

// The value of the property: never empty, one line, only printable bytes.
std::string Encode(std::string_view text);
std::optional<std::string> Decode(std::string_view value);

// The text to keep for a field whose standard property read `standard` (the
// text read, blanks before it kept or not) and whose own property held
// `value`: the exact text while the two agree, else the standard one.
std::string Choose(std::string_view standard, const char* value);

}  // namespace hrln::exchange::exact
