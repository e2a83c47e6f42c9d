#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// The content lines of vCard 2.1, 3.0 (RFC 2426) and 4.0 (RFC 6350):
// folding, escaping, names with their parameters, and the quoted-printable
// values and character sets that 2.1 writers (phones, mail programs) use.
// libical reads and writes calendars only, so cards are read and written here.
namespace hrln::exchange::vcard {

struct Property {
    std::string name;                 // upper case, without its group: "TEL"
    std::vector<std::string> types;   // TYPE values and bare parameters, lower case: "work", "voice"
    std::vector<std::string> params;  // the other parameters as written, upper-case names: "LANGUAGE=EN"
    // As written, still escaped; quoted-printable already decoded and a
    // character set other than UTF-8 converted to it.
    std::string value;
    bool binary = false;      // base64 data (ENCODING=b, BASE64): a photo, a sound, a key
    std::string unreadable;   // the encoding or character set that could not be read ("CHARSET=KOI8-R")
};

struct Card {
    std::uint64_t line = 0;  // where BEGIN:VCARD stood, from 1
    std::vector<Property> properties;
    std::string text;   // the card's lines as read, for the rejected file
    std::string error;  // why the card cannot be read; empty when it can

    const Property* first(std::string_view name) const;
};

// Reads the cards of a stream one at a time. Text outside cards is passed
// over; a card without its END:VCARD, a line that is no property, and bytes
// that are no UTF-8 give a card with its error set.
class CardReader {
public:
    explicit CardReader(std::istream& in) : in_(in) {}
    // False at the end of the input.
    bool next(Card& card);
    std::uint64_t bytesRead() const { return bytes_; }
    // Whether any BEGIN:VCARD was seen.
    bool sawCard() const { return sawCard_; }

private:
    bool logicalLine(std::string& line, std::uint64_t& number);

    std::istream& in_;
    std::string pending_;
    bool hasPending_ = false;
    std::uint64_t lineNumber_ = 0;
    std::uint64_t pendingNumber_ = 0;
    std::uint64_t bytes_ = 0;
    bool sawCard_ = false;
};

// The text of an escaped value: \n and \N a line break, \, \; \\ themselves.
std::string Unescape(std::string_view value);
// A value split at its unescaped semicolons, each part unescaped (N, ADR).
std::vector<std::string> Components(std::string_view value);
std::string Escape(std::string_view text);

// Writes one card's lines, folded at 75 octets without splitting a character.
class CardWriter {
public:
    void line(std::string_view nameAndParams, std::string_view escapedValue);
    std::string take();

private:
    std::string out_;
};

}  // namespace hrln::exchange::vcard
