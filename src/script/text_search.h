#pragma once

#include "common/batch_job.h"
#include "common/translate.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Finding text in the lines of a viewed file.
namespace hrln::script {

// A place in the lines: line number and byte offset, both from 0.
struct TextPosition {
    int line = 0;
    int column = -1;
    friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

struct TextSearch {
    std::string text;
    bool wholeWord = false;
    bool matchCase = false;
    bool down = true;
};

// The lines of a text file ended by CR LF, LF or CR, as valid UTF-8 (bytes
// that are not are replaced); a line longer than `width` characters goes on
// in the next line rather than being cut.
std::vector<std::string> ReadViewedLines(std::istream& in, std::size_t width = 255);

class ScriptLineReader;

// The same reading a batch of lines at a time, for the "Reading File"
// progress window; the percentage counts the bytes read against `size`.
class ReadViewedLinesJob : public BatchJob {
public:
    static constexpr int kBatch = 500;

    ReadViewedLinesJob(std::istream& in, std::int64_t size, std::size_t width = 255);
    ~ReadViewedLinesJob() override;

    std::string description() const override { return HrlnTranslate("TextSearch", "Reading File"); }
    bool step(int count) override;
    int percent() const override { return PercentDone(read_, size_); }
    std::vector<std::string> takeLines() { return std::move(lines_); }

private:
    std::unique_ptr<ScriptLineReader> reader_;
    std::size_t width_;
    std::int64_t size_;
    std::int64_t read_ = 0;
    std::vector<std::string> lines_;
};

// The next match after `from` (down) or before it (up), without wrapping;
// none when the rest of the lines hold none. Start down from {0, -1}, up from
// EndOfLines(). Letter case is compared for ASCII letters.
std::optional<TextPosition> FindText(const std::vector<std::string>& lines, const TextSearch& search,
                                     TextPosition from);
TextPosition EndOfLines(const std::vector<std::string>& lines);

}  // namespace hrln::script
