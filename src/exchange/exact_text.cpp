#include "exchange/exact_text.h"

#include "common/text.h"

namespace hrln::exchange::exact {
namespace {

constexpr char kMark = '=';
constexpr char kHex[] = "0123456789ABCDEF";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string PropertyName(std::string_view field)
{
    std::string name = "X-HRLN-TEXT-";
    for (char c : field)
        name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return name;
}

std::string Portable(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    return begin == std::string_view::npos ? std::string() : LineBreaksAsLf(text.substr(begin));
}

std::string LineBreaksAsLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

bool Needed(std::string_view text, bool blankMatters)
{
    if (text.empty())
        return blankMatters;
    return text.find('\r') != std::string_view::npos || text.front() == ' ' || text.front() == '\t';
}

std::string Encode(std::string_view text)
{
    // Blanks stay readable except before the text, where a reader drops them.
    std::string out(1, kMark);
    bool leading = true;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        leading = leading && (c == ' ' || c == '\t');
        if (c == '%' || byte < 0x20 || byte == 0x7F || (leading && c == ' ')) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Decode(std::string_view value)
{
    if (value.empty() || value.front() != kMark)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        const int high = i + 2 < value.size() ? HexValue(value[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(value[i + 2]) : -1;
        if (low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (!text::IsValidUtf8(out))
        return std::nullopt;
    return out;
}

std::string Choose(std::string_view standard, const char* value)
{
    if (!value)
        return std::string(standard);
    const std::optional<std::string> exactText = Decode(value);
    if (!exactText || Portable(*exactText) != Portable(standard))
        return std::string(standard);
    return *exactText;
}

}  // namespace hrln::exchange::exact
