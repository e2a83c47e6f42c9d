#include "data/profile_file.h"

#include "common/text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace hrln::data {
namespace {

// The section name when `line` is a header, "[name]".
std::optional<std::string_view> SectionOf(std::string_view line)
{
    line = text::Trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return text::Trim(line.substr(1, line.size() - 2));
}

bool KeyMatches(std::string_view line, std::string_view key, std::string_view* value)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    if (!text::EqualNoCase(text::Trim(line.substr(0, eq)), text::Trim(key)))
        return false;
    if (value != nullptr)
        *value = text::Trim(line.substr(eq + 1));
    return true;
}

bool SameName(std::string_view a, std::string_view b)
{
    return text::EqualNoCase(text::Trim(a), text::Trim(b));
}

// A value stays on its one line.
std::string OneLine(std::string_view value)
{
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return out;
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::vector<std::string> ProfileFile::load() const
{
    std::vector<std::string> lines;
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(std::move(line));
    return lines;
}

std::string ProfileFile::read(std::string_view section, std::string_view key) const
{
    bool inSection = false;
    for (const std::string& raw : load()) {
        std::string_view line = raw;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (const auto name = SectionOf(line)) {
            inSection = SameName(*name, section);
            continue;
        }
        std::string_view value;
        if (inSection && KeyMatches(line, key, &value))
            return text::SanitizeUtf8(value);
    }
    return {};
}

long long ProfileFile::readNumber(std::string_view section, std::string_view key) const
{
    return text::ParseInteger(read(section, key), 0);
}

bool ProfileFile::write(std::string_view section, std::string_view key, long long value)
{
    return write(section, key, std::to_string(value));
}

bool ProfileFile::write(std::string_view section, std::string_view key, std::string_view value)
{
    std::vector<std::string> lines = load();
    const bool crlf = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r';
    const std::string newLine = std::string(text::Trim(key)) + "=" + OneLine(value) + (crlf ? "\r" : "");

    bool inSection = false;
    bool sectionFound = false;
    std::size_t insertAt = lines.size();
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        std::string_view line = lines[i];
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (const auto name = SectionOf(line)) {
            if (inSection)
                break;  // end of our section: add the key at its end
            inSection = SameName(*name, section);
            if (inSection) {
                sectionFound = true;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (KeyMatches(line, key, nullptr)) {
            lines[i] = newLine;
            written = true;
        } else if (!text::Trim(line).empty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionFound) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
        } else {
            if (!lines.empty() && !text::Trim(lines.back()).empty())
                lines.push_back(crlf ? "\r" : "");
            // Appending rather than literal + string: GCC 12 at -O3 reports a
            // false -Wrestrict overlap for the prepend.
            std::string header = "[";
            header += text::Trim(section);
            header += crlf ? "]\r" : "]";
            lines.push_back(std::move(header));
            lines.push_back(newLine);
        }
    }

    // Write beside the file and rename over it, so a failure leaves the old file whole.
    const std::string temp = path_ + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines)
            out << line << '\n';
        out.flush();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path_, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace hrln::data
