#pragma once

#include "exchange/ical_handle.h"

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace hrln::exchange {

// Reads an iCalendar file into libical a few content lines at a time, so that
// a reading can be shown and cancelled between them. Its own reading of the
// file hands libical each physical line as it comes: libical's reading of a
// whole string looks for the end of the line again for every 80 bytes it
// takes, which costs the square of the line's length. A line longer than any
// calendar needs, a NUL byte (libical reads C strings, so it would end the
// calendar early and silently) and a first line that begins no calendar stop
// the reading with the reason.
class CalendarReader {
public:
    // Longest content line, continuation lines included, that a file may hold.
    static constexpr std::size_t kMaxLineBytes = std::size_t{4} << 20;

    CalendarReader();
    ~CalendarReader();
    CalendarReader(const CalendarReader&) = delete;
    CalendarReader& operator=(const CalendarReader&) = delete;

    // Opens the file and checks that its first line begins a calendar, an
    // event or a to-do; false with fault() when it cannot be read or does not.
    bool open(const std::string& path);
    // Reads up to `lines` more content lines; false once the file is read to
    // its end or a fault() stopped the reading.
    bool read(int lines);

    // Why the file is no calendar; empty while none was found.
    const std::string& fault() const { return fault_; }
    std::uint64_t bytesRead() const { return bytes_; }
    // The file's size in bytes, once open.
    std::uint64_t size() const { return size_; }
    // What was read, once read() returned false without a fault: the one
    // component at the top of the file, or an XROOT holding each of them;
    // null when the file held none that ended.
    ical::Component take() { return std::move(root_); }

private:
    // The line generator libical calls, as fgets(): up to `size` - 1 bytes,
    // through the end of the line.
    static char* nextPiece(char* out, std::size_t size, void* self);
    char* piece(char* out, std::size_t size);
    bool fill();
    bool stop(std::string why);

    struct ParserFree {
        void operator()(icalparser* p) const;
    };

    std::string path_;
    std::ifstream in_;
    std::vector<char> buffer_;
    std::size_t at_ = 0, end_ = 0;
    std::uint64_t bytes_ = 0;
    std::uint64_t size_ = 0;
    std::uint64_t line_ = 1;          // the physical line being read
    std::uint64_t logicalStart_ = 1;  // where the content line being read began
    std::size_t logicalBytes_ = 0;
    bool atLineStart_ = true;
    bool stopped_ = false;
    std::string fault_;
    std::unique_ptr<icalparser, ParserFree> parser_;
    ical::Component root_;
};

}  // namespace hrln::exchange
