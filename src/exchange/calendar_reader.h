#pragma once

#include "exchange/ical_handle.h"

#include <cstdint>
#include <deque>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hrln::exchange {

// Reads an iCalendar file into libical a few content lines at a time, so that
// a reading can be shown and cancelled between them, and hands out each
// component as soon as it ends: the calendar around them is no component of
// its own, so memory holds one event at a time whatever the size of the
// file. Its own reading of the file hands libical each physical line as it
// comes: libical's reading of a whole string looks for the end of the line
// again for every 80 bytes it takes, which costs the square of the line's
// length. A line or a component longer than any calendar needs, a NUL byte
// (libical reads C strings, so it would end the calendar early and silently),
// a first line that begins no calendar and a file that ends inside a
// component stop the reading with the reason.
class CalendarReader {
public:
    // Longest content line, continuation lines included, that a file may hold.
    static constexpr std::size_t kMaxLineBytes = std::size_t{4} << 20;
    // Longest component, its lines and those of the components inside it.
    static constexpr std::size_t kMaxComponentBytes = std::size_t{16} << 20;

    CalendarReader();
    ~CalendarReader();
    CalendarReader(const CalendarReader&) = delete;
    CalendarReader& operator=(const CalendarReader&) = delete;

    // Opens the file and checks that its first line begins a calendar, an
    // event or a to-do; false with fault() when it cannot be read or does not.
    bool open(const std::string& path);
    // Reads up to `lines` more content lines, adding each component that
    // ends at the top of the file (a VEVENT, VTODO, VTIMEZONE ... of a
    // calendar, or one standing alone) to `out`; false once the file is read
    // to its end or a fault() stopped the reading.
    bool read(int lines, std::vector<ical::Component>& out);

    // Why the file is no calendar; empty while none was found.
    const std::string& fault() const { return fault_; }
    std::uint64_t bytesRead() const { return bytes_; }
    // The file's size in bytes, once open.
    std::uint64_t size() const { return size_; }

private:
    // The line generator libical calls, as fgets(): up to `size` - 1 bytes,
    // through the end of the line.
    static char* nextPiece(char* out, std::size_t size, void* self);
    char* piece(char* out, std::size_t size);
    bool fill();
    bool stop(std::string why);
    // Follows the BEGIN and END lines; false for a line libical is not given.
    bool pass(std::string_view line, std::uint64_t start);

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
    // Where the content lines read and not yet taken began: libical reads the
    // start of the next line before it gives one, and gives nothing for its
    // first reading.
    std::deque<std::uint64_t> starts_;
    bool primed_ = false;
    std::size_t logicalBytes_ = 0;
    bool atLineStart_ = true;
    bool stopped_ = false;
    std::string fault_;
    std::unique_ptr<icalparser, ParserFree> parser_;
    int calendars_ = 0;  // BEGIN:VCALENDAR not yet ended
    int depth_ = 0;      // components begun inside the one being read, itself included
    std::string begun_;  // the component being read, and the line it began on
    std::uint64_t begunLine_ = 0;
    std::size_t componentBytes_ = 0;
};

}  // namespace hrln::exchange
