// The profile file: over any existing file, a value written under a section
// and key reads back (line breaks as blanks, surrounding blanks trimmed, as a
// value on one line must be), and every other key reads as it did before.
// Section and key names are the program's own words, so they are drawn from
// the letters a name may hold; values and the file are anything.
#include "common/text.h"
#include "data/profile_file.h"
#include "fuzz_check.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr std::string_view kNameLetters = "ABCXYZabcxyz019 _-.";

std::string Name(hrln::fuzz::Reader& input)
{
    std::string name;
    for (const char c : input.text(6))
        name += kNameLetters[static_cast<unsigned char>(c) % kNameLetters.size()];
    return name;
}

std::string Expected(std::string_view value)
{
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return hrln::text::SanitizeUtf8(hrln::text::Trim(out));
}

const std::string& FilePath()
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("hrln-fuzz-" + std::to_string(getpid()) + ".ini")).string();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    hrln::fuzz::Reader input(data, size);
    const std::string section = Name(input), key = Name(input);
    const std::string otherSection = Name(input), otherKey = Name(input);
    const std::string value(input.text(60));
    const std::string_view contents = input.rest();
    {
        std::ofstream out(FilePath(), std::ios::binary | std::ios::trunc);
        out << contents;
    }
    hrln::data::ProfileFile file(FilePath());
    const std::string otherBefore = file.read(otherSection, otherKey);
    FUZZ_CHECK(hrln::text::IsValidUtf8(otherBefore), otherBefore);

    FUZZ_CHECK(file.write(section, key, value), "the write failed");
    const std::string read = file.read(section, key);
    FUZZ_CHECK(read == Expected(value), "[" + section + "] " + key + "=" + value + " read back as " + read);

    const bool same = hrln::text::EqualNoCase(hrln::text::Trim(section), hrln::text::Trim(otherSection)) &&
                      hrln::text::EqualNoCase(hrln::text::Trim(key), hrln::text::Trim(otherKey));
    if (!same)
        FUZZ_CHECK(file.read(otherSection, otherKey) == otherBefore,
                   "[" + otherSection + "] " + otherKey + " was " + otherBefore + ", now " +
                       file.read(otherSection, otherKey));

    // Written again, the file keeps its one line for the key.
    FUZZ_CHECK(file.write(section, key, "second"), "the second write failed");
    FUZZ_CHECK(file.read(section, key) == "second", file.read(section, key));
    FUZZ_CHECK(file.write(section, key, value), "the third write failed");
    FUZZ_CHECK(file.read(section, key) == read, file.read(section, key));
    std::filesystem::remove(FilePath());
    return 0;
}
