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
    while (logicalLine(line, number)) {
        card.text += line + "\r\n";
        const std::string upper = Upper(text::Trim(line));
        if (upper == "END:VCARD")
            return true;
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
        if (!text::IsValidUtf8(line) || line.find('\0') != std::string::npos) {
            card.error = "line " + std::to_string(number) + " is not UTF-8 text";
            continue;
        }
        Property p;
        if (!ParseLine(line, p)) {
            card.error = "line " + std::to_string(number) + " is no property (NAME:value)";
            continue;
        }
        card.properties.push_back(std::move(p));
    }
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
