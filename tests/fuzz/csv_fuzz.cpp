// The comma-delimited codec: what a record reads as is written back and read
// again unchanged (trailing blanks aside, which writing removes), alone and as
// one of several lines of a file; a field taken as text or number stays in
// its bounds.
#include "common/csv.h"
#include "common/text.h"
#include "fuzz_check.h"

#include <sstream>

namespace {

using hrln::csv::Fields;

std::string Encode(const Fields& fields)
{
    hrln::csv::LineWriter writer;
    for (const std::string& f : fields)
        writer.text(f);
    return writer.finish();
}

Fields Clipped(const Fields& fields)
{
    Fields out;
    for (const std::string& f : fields)
        out.emplace_back(hrln::text::Clip(f));
    return out;
}

std::string Shown(const Fields& fields)
{
    std::string out;
    for (const std::string& f : fields)
        out += "[" + f + "]";
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    hrln::fuzz::Reader input(data, size);
    const std::string_view first = input.text(200);
    const std::string_view second = input.rest();

    const Fields fields = hrln::csv::ParseRecord(first);
    FUZZ_CHECK(!fields.empty(), "a record has at least one field");
    const std::string line = Encode(fields);
    FUZZ_CHECK(line.ends_with("\r\n"), line);
    const Fields again = hrln::csv::ParseRecord(line);
    FUZZ_CHECK(again == Clipped(fields), Shown(fields) + " came back as " + Shown(again));
    FUZZ_CHECK(Encode(again) == line, line);

    // Several records in a file, line breaks inside fields included.
    const Fields other = hrln::csv::ParseRecord(second);
    std::istringstream file(line + Encode(other) + line);
    hrln::csv::RecordReader reader(file);
    for (const Fields& expected : {Clipped(fields), Clipped(other), Clipped(fields)}) {
        Fields read;
        FUZZ_CHECK(reader.next(read), "a record is missing from the file");
        FUZZ_CHECK(read == expected, Shown(expected) + " read as " + Shown(read));
    }
    Fields none;
    FUZZ_CHECK(!reader.next(none), "a record past the end: " + Shown(none));

    for (std::size_t i = 0; i <= fields.size(); ++i) {
        const std::size_t width = i * 7 % 41;
        const std::string text = hrln::csv::TextField(fields, i, width);
        FUZZ_CHECK(hrln::text::IsValidUtf8(text) && text.find('\0') == std::string::npos, text);
        FUZZ_CHECK(hrln::text::CharCount(text) <= width, text);
        FUZZ_CHECK(!text.ends_with(' '), text);
        hrln::csv::NumberField(fields, i);
    }

    // A number written is the number read.
    hrln::fuzz::Reader numbers(data, size);
    const std::int64_t value = numbers.number(8);
    const std::string written = hrln::csv::LineWriter().number(value).text(first).finish();
    FUZZ_CHECK(hrln::csv::NumberField(hrln::csv::ParseRecord(written), 0) == value, written);
    return 0;
}
