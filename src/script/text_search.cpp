#include "script/text_search.h"

#include "common/text.h"
#include "script/script_file.h"

#include <cctype>
#include <limits>

namespace hrln::script {
namespace {

bool WordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool SameChar(char a, char b, bool matchCase)
{
    if (matchCase)
        return a == b;
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool MatchesAt(const std::string& line, std::size_t at, const TextSearch& search)
{
    const std::string& t = search.text;
    if (at + t.size() > line.size())
        return false;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (!SameChar(line[at + i], t[i], search.matchCase))
            return false;
    if (!search.wholeWord)
        return true;
    const bool startsWord = at == 0 || !WordChar(line[at - 1]);
    const bool endsWord = at + t.size() == line.size() || !WordChar(line[at + t.size()]);
    return startsWord && endsWord;
}

}  // namespace

std::vector<std::string> ReadViewedLines(std::istream& in, std::size_t width)
{
    ReadViewedLinesJob job(in, 0, width);
    while (job.step(ReadViewedLinesJob::kBatch)) {
    }
    return job.takeLines();
}

ReadViewedLinesJob::ReadViewedLinesJob(std::istream& in, std::int64_t size, std::size_t width)
    : reader_(std::make_unique<ScriptLineReader>(in)), width_(width), size_(size)
{
}

ReadViewedLinesJob::~ReadViewedLinesJob() = default;

bool ReadViewedLinesJob::step(int count)
{
    std::string raw;
    for (int i = 0; i < count; ++i) {
        if (!reader_->next(raw)) {
            read_ = size_;
            return false;
        }
        read_ = static_cast<std::int64_t>(reader_->bytesRead());
        std::string line = text::SanitizeUtf8(raw);
        do {
            const std::string_view piece = text::CutToWidth(line, width_);
            lines_.emplace_back(piece);
            line.erase(0, piece.size());
        } while (!line.empty());
    }
    return true;
}

TextPosition EndOfLines(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return {0, 0};
    return {static_cast<int>(lines.size()) - 1, std::numeric_limits<int>::max()};
}

std::optional<TextPosition> FindText(const std::vector<std::string>& lines, const TextSearch& search,
                                     TextPosition from)
{
    if (search.text.empty() || lines.empty())
        return std::nullopt;
    const int count = static_cast<int>(lines.size());
    if (search.down) {
        for (int l = std::max(from.line, 0); l < count; ++l) {
            const std::string& line = lines[static_cast<std::size_t>(l)];
            const std::size_t start = l == from.line ? static_cast<std::size_t>(from.column + 1) : 0;
            for (std::size_t at = start; at < line.size(); ++at)
                if (MatchesAt(line, at, search))
                    return TextPosition{l, static_cast<int>(at)};
        }
        return std::nullopt;
    }
    for (int l = std::min(from.line, count - 1); l >= 0; --l) {
        const std::string& line = lines[static_cast<std::size_t>(l)];
        // Matches that begin before `from` on its line, any on the lines above.
        const long long limit = l == from.line ? std::min<long long>(from.column, static_cast<long long>(line.size()))
                                               : static_cast<long long>(line.size());
        for (long long at = limit - 1; at >= 0; --at)
            if (MatchesAt(line, static_cast<std::size_t>(at), search))
                return TextPosition{l, static_cast<int>(at)};
    }
    return std::nullopt;
}

}  // namespace hrln::script
