#include "common/text.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <charconv>

namespace hrln::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& out)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(pos);
    if (b0 < 0x80) {
        out = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > s.size())
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    out = cp;
    return len;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}


bool IsValidUtf8(std::string_view bytes)
{
    char32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = DecodeUtf8(bytes, i, cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string SanitizeUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    char32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = DecodeUtf8(bytes, i, cp);
        if (n == 0) {
            AppendUtf8(out, kReplacement);
            ++i;
        } else {
            if (cp != 0)
                out.append(bytes.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::size_t CharCount(std::string_view utf8)
{
    std::size_t n = 0;
    for (const char c : utf8)
        n += IsContinuation(c) ? 0 : 1;
    return n;
}

std::string_view CutToWidth(std::string_view utf8, std::size_t width)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!IsContinuation(utf8[i])) {
            if (chars == width)
                return utf8.substr(0, i);
            ++chars;
        }
    }
    return utf8;
}

std::string_view Clip(std::string_view s)
{
    const std::size_t end = s.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}

std::string PadToWidth(std::string_view utf8, std::size_t width)
{
    std::string out(CutToWidth(utf8, width));
    out.append(width - CharCount(out), ' ');
    return out;
}

char32_t ToUpper(char32_t c)
{
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - 0x20 : c;
    if (c > 0x10FFFF)
        return c;
    // Through the simple case folding first, so that the few capitals whose
    // lower case does not map back to them (capital sharp s, the Kelvin,
    // Ohm and Angstrom signs, the theta symbol) still meet their small letter.
    const UChar32 folded = u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT);
    return static_cast<char32_t>(u_toupper(folded));
}

std::string ToUpper(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    char32_t cp = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = DecodeUtf8(utf8, i, cp);
        if (n == 0) {
            out += utf8[i];
            ++i;
            continue;
        }
        AppendUtf8(out, ToUpper(cp));
        i += n;
    }
    return out;
}

int CompareNoCase(std::string_view a, std::string_view b)
{
    a = Clip(a);
    b = Clip(b);
    // Keys are mostly ASCII: compare byte by byte until the first character
    // that needs decoding and folding, which may still meet an ASCII one
    // (the Kelvin sign and k).
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (((x | y) & 0x80) != 0)
            break;
        if (x != y) {
            const char32_t ux = ToUpper(static_cast<char32_t>(x));
            const char32_t uy = ToUpper(static_cast<char32_t>(y));
            if (ux != uy)
                return ux < uy ? -1 : 1;
        }
    }
    std::size_t j = i;
    while (i < a.size() && j < b.size()) {
        char32_t ca = 0;
        char32_t cb = 0;
        std::size_t na = DecodeUtf8(a, i, ca);
        std::size_t nb = DecodeUtf8(b, j, cb);
        // Stray bytes compare by their value, after every valid character.
        if (na == 0) {
            ca = 0x110000 + static_cast<unsigned char>(a[i]);
            na = 1;
        }
        if (nb == 0) {
            cb = 0x110000 + static_cast<unsigned char>(b[j]);
            nb = 1;
        }
        ca = ToUpper(ca);
        cb = ToUpper(cb);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        i += na;
        j += nb;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return CompareNoCase(a, b) == 0;
}

std::string Lower(std::string_view ascii)
{
    std::string out(ascii);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    return out;
}

std::string_view Trim(std::string_view s)
{
    const std::size_t begin = s.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    const std::size_t end = s.find_last_not_of(" \t\r\n");
    return s.substr(begin, end - begin + 1);
}

std::string Ordinal(int n)
{
    const int tens = n % 100;
    const char* suffix = "th";
    if (tens < 11 || tens > 13) {
        switch (n % 10) {
        case 1: suffix = "st"; break;
        case 2: suffix = "nd"; break;
        case 3: suffix = "rd"; break;
        default: break;
        }
    }
    return std::to_string(n) + suffix;
}

long long ParseInteger(std::string_view s, long long fallback)
{
    s = Trim(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    long long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size())
        return fallback;
    return value;
}

}  // namespace hrln::text
