#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hrln::text {

// Valid UTF-8 with NUL bytes dropped and every invalid byte replaced by U+FFFD,
// so that widths can be counted in characters and cuts never split one.
std::string SanitizeUtf8(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Decodes one code point at `pos`; its length in bytes, or 0 when the bytes
// there are not well-formed UTF-8.
std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& out);
void AppendUtf8(std::string& out, char32_t cp);

// Characters (code points) in valid UTF-8.
std::size_t CharCount(std::string_view utf8);
// The longest prefix of at most `width` characters.
std::string_view CutToWidth(std::string_view utf8, std::size_t width);
// Trailing blanks removed: the "clipped" value.
std::string_view Clip(std::string_view s);
// Blank-padded on the right (or cut) to exactly `width` characters.
std::string PadToWidth(std::string_view utf8, std::size_t width);

// Upper case as the keys compare text: the Unicode simple upper-case mapping of
// every letter, the same whatever the locale; a capital that has no small
// letter mapping back to it (capital sharp s, the Kelvin sign) gives the value
// of its small letter.
std::string ToUpper(std::string_view utf8);
char32_t ToUpper(char32_t c);
// Compares clipped texts after folding to upper case: <0, 0 or >0.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualNoCase(std::string_view a, std::string_view b);

std::string Lower(std::string_view ascii);
std::string_view Trim(std::string_view s);
// "1st", "2nd", "3rd", "4th", "11th", "21st", "31st".
std::string Ordinal(int n);

// Whole decimal number with optional sign and surrounding blanks; anything else
// (empty, letters, fractions, overflow) gives `fallback`.
long long ParseInteger(std::string_view s, long long fallback = 0);

}  // namespace hrln::text
