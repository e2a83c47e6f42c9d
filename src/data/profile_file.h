#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hrln::data {

// An INI file: "[Section]" headers and "Key=Value" lines. Sections and keys are
// found without regard to case; a missing file, section or key reads as blank.
// Writing a key rewrites only its own line (or adds one) and keeps the rest of
// the file as it was; the new file replaces the old one whole.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& path() const { return path_; }

    std::string read(std::string_view section, std::string_view key) const;
    // A whole decimal number; blank or anything else reads as 0.
    long long readNumber(std::string_view section, std::string_view key) const;

    bool write(std::string_view section, std::string_view key, std::string_view value);
    bool write(std::string_view section, std::string_view key, long long value);

private:
    std::vector<std::string> load() const;

    std::string path_;
};

}  // namespace hrln::data
