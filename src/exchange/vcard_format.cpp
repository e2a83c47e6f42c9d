#include "exchange/vcard_format.h"

#include "common/text.h"

namespace hrln::exchange::vcard {
namespace {

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Splits at `sep` outside double quotes.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view s, char sep)
{
    std::vector<std::string_view> out;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"')
            quoted = !quoted;
        else if (s[i] == sep && !quoted) {
            out.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(s.substr(start));
    return out;
}

std::string_view Unquote(std::string_view s)
{
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return s.substr(1, s.size() - 2);
    return s;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Quoted-printable (RFC 2045): =XX a byte; a lone '=' that ends the value a
// soft line break; anything else as written.
std::string DecodeQuotedPrintable(std::string_view in)
{
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '=' && i + 2 < in.size() && HexDigit(in[i + 1]) >= 0 && HexDigit(in[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(in[i + 1]) * 16 + HexDigit(in[i + 2]));
            i += 2;
        } else if (in[i] == '=' && i + 1 == in.size()) {
            break;
        } else {
            out += in[i];
        }
    }
    return out;
}

void AppendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Windows-1252's characters at 0x80..0x9F, where ISO 8859-1 has controls;
// 0 where it has none.
constexpr unsigned kWindows1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Mail programs write western European cards in these; other character sets
// are not read.
bool ToUtf8(std::string_view charset, std::string& value)
{
    if (charset == "UTF-8" || charset == "US-ASCII" || charset == "ASCII")
        return true;
    const bool latin1 = charset == "ISO-8859-1" || charset == "LATIN1";
    const bool windows = charset == "WINDOWS-1252" || charset == "CP1252";
    if (!latin1 && !windows)
        return false;
    std::string out;
    for (const char ch : value) {
        const auto byte = static_cast<unsigned char>(ch);
        unsigned code = byte;
        if (windows && byte >= 0x80 && byte < 0xA0 && kWindows1252[byte - 0x80] != 0)
            code = kWindows1252[byte - 0x80];
        AppendUtf8(out, code);
    }
    value = std::move(out);
    return true;
}

bool IsEncodingWord(std::string_view type)
{
    return type == "quoted-printable" || type == "base64" || type == "b" || type == "8bit" || type == "7bit";
}

// Takes the property's encoding and character set out of its parameters (and
// out of the bare words of 2.1) and decodes its value by them.
void Decode(Property& p)
{
    std::string encoding, charset;
    std::vector<std::string> kept;
    for (std::string& param : p.params) {
        if (param.starts_with("ENCODING="))
            encoding = param.substr(9);
        else if (param.starts_with("CHARSET="))
            charset = param.substr(8);
        else
            kept.push_back(std::move(param));
    }
    p.params = std::move(kept);
    for (auto t = p.types.begin(); t != p.types.end();) {
        if (!IsEncodingWord(*t)) {
            ++t;
            continue;
        }
        encoding = Upper(*t);
        t = p.types.erase(t);
    }
    if (encoding == "B" || encoding == "BASE64") {
        p.binary = true;
        return;
    }
    if (encoding == "QUOTED-PRINTABLE")
        p.value = DecodeQuotedPrintable(p.value);
    else if (!encoding.empty() && encoding != "8BIT" && encoding != "7BIT")
        p.unreadable = "ENCODING=" + encoding;
    if (p.unreadable.empty() && !charset.empty() && !ToUtf8(charset, p.value))
        p.unreadable = "CHARSET=" + charset;
    // A decoded CR LF is one line break, as the program keeps them.
    if (encoding == "QUOTED-PRINTABLE") {
        std::string text;
        for (std::size_t i = 0; i < p.value.size(); ++i) {
            if (p.value[i] == '\r' && i + 1 < p.value.size() && p.value[i + 1] == '\n')
                continue;
            text += p.value[i];
        }
        p.value = std::move(text);
    }
}

// Whether a 2.1 line's value is quoted-printable, so that a final '=' joins
// the next line to it.
bool IsQuotedPrintableLine(std::string_view line)
{
    const std::size_t colon = line.find(':');
    const std::string head = Upper(line.substr(0, colon == std::string_view::npos ? line.size() : colon));
    return head.find("QUOTED-PRINTABLE") != std::string::npos;
}

// "item1.TEL;TYPE=work,voice:+1 555" into its property; false when it is none.
bool ParseLine(std::string_view line, Property& p)
{
    bool quoted = false;
    std::size_t colon = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string_view::npos || colon == 0)
        return false;
    const std::vector<std::string_view> head = SplitOutsideQuotes(line.substr(0, colon), ';');
    std::string_view name = head.front();
    if (const std::size_t dot = name.find('.'); dot != std::string_view::npos)
        name = name.substr(dot + 1);
    if (name.empty())
        return false;
    p = Property{};
    p.name = Upper(name);
    for (std::size_t i = 1; i < head.size(); ++i) {
        const std::string_view param = head[i];
        const std::size_t eq = param.find('=');
        if (eq == std::string_view::npos) {
            p.types.push_back(Lower(param));  // vCard 2.1's bare TYPE values, still met in 3.0 files
            continue;
        }
        const std::string key = Upper(param.substr(0, eq));
        if (key == "TYPE") {
            for (std::string_view v : SplitOutsideQuotes(Unquote(param.substr(eq + 1)), ','))
                p.types.push_back(Lower(Unquote(v)));
        } else {
            p.params.push_back(key + "=" + Upper(Unquote(param.substr(eq + 1))));
        }
    }
    p.value = std::string(line.substr(colon + 1));
    return true;
}

}  // namespace

const Property* Card::first(std::string_view name) const
{
    for (const Property& p : properties)
        if (p.name == name)
            return &p;
    return nullptr;
}

bool CardReader::logicalLine(std::string& line, std::uint64_t& number)
{
    std::string physical;
    if (!hasPending_) {
        if (!std::getline(in_, physical))
            return false;
        bytes_ += physical.size() + 1;
        ++lineNumber_;
        if (!physical.empty() && physical.back() == '\r')
            physical.pop_back();
        pending_ = std::move(physical);
        pendingNumber_ = lineNumber_;
    }
    hasPending_ = false;
    line = std::move(pending_);
    number = pendingNumber_;
    // A line that begins with a blank or a tab continues the one before.
    while (std::getline(in_, physical)) {
        bytes_ += physical.size() + 1;
        ++lineNumber_;
        if (!physical.empty() && physical.back() == '\r')
            physical.pop_back();
        if (!physical.empty() && (physical[0] == ' ' || physical[0] == '\t')) {
            line.append(physical, 1);
            continue;
        }
        pending_ = std::move(physical);
        pendingNumber_ = lineNumber_;
        hasPending_ = true;
        break;
    }
    return true;
}

bool CardReader::next(Card& card)
{
    std::string line;
    std::uint64_t number = 0;
    for (;;) {
        if (!logicalLine(line, number))
            return false;
        if (Upper(text::Trim(line)) == "BEGIN:VCARD")
            break;
    }
    sawCard_ = true;
    card = Card{};
    card.line = number;
    card.text = line + "\r\n";
    constexpr std::size_t kMaxCardBytes = 1u << 20;
    bool inBinary = false;  // 2.1 base64 data may go on in lines of its own up to a blank one
    bool ended = false;
    while (!ended && logicalLine(line, number)) {
        card.text += line + "\r\n";
        // A soft line break of quoted-printable: the value goes on.
        std::string more;
        std::uint64_t moreNumber = 0;
        while (line.ends_with('=') && IsQuotedPrintableLine(line) && logicalLine(more, moreNumber)) {
            card.text += more + "\r\n";
            line.pop_back();
            if (Upper(text::Trim(more)) == "END:VCARD") {
                ended = true;  // a writer's stray '=' at the card's last value
                break;
            }
            line += more;
        }
        const std::string upper = Upper(text::Trim(line));
        if (upper == "END:VCARD")
            return true;
        if (inBinary && (text::Trim(line).empty() || line.find(':') == std::string::npos)) {
            inBinary = !text::Trim(line).empty();
            continue;
        }
        inBinary = false;
        if (!card.error.empty())
            continue;
        if (upper == "BEGIN:VCARD") {
            card.error = "line " + std::to_string(number) + ": a card begins inside a card";
            continue;
        }
        if (card.text.size() > kMaxCardBytes) {
            card.error = "the card is larger than 1 MB";
            continue;
        }
        if (text::Trim(line).empty())
            continue;
        const std::string notUtf8 = "line " + std::to_string(number) + " is not UTF-8 text";
        if (line.find('\0') != std::string::npos) {
            card.error = notUtf8;
            continue;
        }
        Property p;
        if (!ParseLine(line, p)) {
            card.error = text::IsValidUtf8(line) ? "line " + std::to_string(number) + " is no property (NAME:value)"
                                                 : notUtf8;
            continue;
        }
        // A value in another character set is UTF-8 once decoded; the rest
        // of the line must be UTF-8 as written.
        const std::size_t head = line.size() - p.value.size();
        Decode(p);
        if (!text::IsValidUtf8(std::string_view(line).substr(0, head)) ||
            (p.unreadable.empty() && !p.binary && !text::IsValidUtf8(p.value))) {
            card.error = notUtf8;
            continue;
        }
        inBinary = p.binary;
        card.properties.push_back(std::move(p));
    }
    if (ended)
        return true;
    if (card.error.empty())
        card.error = "the card has no END:VCARD";
    return true;
}

std::string Unescape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char c = value[++i];
        out += (c == 'n' || c == 'N') ? '\n' : c;
    }
    return out;
}

std::vector<std::string> Components(std::string_view value)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\') {
            ++i;
        } else if (value[i] == ';') {
            out.push_back(Unescape(value.substr(start, i - start)));
            start = i + 1;
        }
    }
    out.push_back(Unescape(value.substr(start)));
    return out;
}

std::string Escape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ',' || c == ';') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\\n";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

void CardWriter::line(std::string_view nameAndParams, std::string_view escapedValue)
{
    const std::string whole = std::string(nameAndParams) + ":" + std::string(escapedValue);
    constexpr std::size_t kOctets = 75;
    std::size_t start = 0, limit = kOctets;
    while (whole.size() - start > limit) {
        std::size_t cut = start + limit;
        while (cut > start && (static_cast<unsigned char>(whole[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a character
        if (cut == start)
            cut = start + limit;  // a run of stray continuation bytes is no character to keep whole
        out_.append(whole, start, cut - start);
        out_ += "\r\n ";
        start = cut;
        limit = kOctets - 1;  // the blank that begins a continuation counts
    }
    out_.append(whole, start, std::string::npos);
    out_ += "\r\n";
}

std::string CardWriter::take()
{
    return std::move(out_);
}

}  // namespace hrln::exchange::vcard
