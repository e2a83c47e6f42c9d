// vCard line folding over any bytes: it ends, no physical line is longer than
// 75 octets, unfolding gives the logical line back, and a valid character is
// never split across two lines.
#include "common/text.h"
#include "exchange/vcard_format.h"
#include "fuzz_check.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    hrln::fuzz::Reader input(data, size);
    std::string name(input.text(40));
    std::string value(input.rest());
    // Line breaks are escaped before a value is written; a name never has them.
    for (std::string* s : {&name, &value})
        for (char& c : *s)
            if (c == '\r' || c == '\n')
                c = ' ';

    hrln::exchange::vcard::CardWriter writer;
    writer.line(name, value);
    const std::string out = writer.take();
    const std::string logical = name + ":" + value;

    std::string unfolded;
    std::size_t start = 0;
    bool first = true;
    while (start < out.size()) {
        const std::size_t end = out.find("\r\n", start);
        FUZZ_CHECK(end != std::string::npos, "every line ends in CR LF");
        std::string_view line(out.data() + start, end - start);
        FUZZ_CHECK(line.size() <= 75, std::to_string(line.size()) + " octets on one line");
        if (!first) {
            FUZZ_CHECK(line.starts_with(' '), "a continuation begins with a blank");
            line.remove_prefix(1);
        }
        if (hrln::text::IsValidUtf8(logical))
            FUZZ_CHECK(hrln::text::IsValidUtf8(line), "a character was split");
        unfolded += line;
        first = false;
        start = end + 2;
    }
    FUZZ_CHECK(unfolded == logical, "unfolded: " + unfolded);
    return 0;
}
