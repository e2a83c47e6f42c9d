#include "exchange/calendar_reader.h"

#include "common/input_file.h"
#include "common/text.h"

#include <algorithm>
#include <cstring>

namespace hrln::exchange {
namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;

bool IsBlank(std::string_view line)
{
    return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

void CalendarReader::ParserFree::operator()(icalparser* p) const
{
    icalparser_free(p);  // with the components it had begun
}

CalendarReader::CalendarReader() : buffer_(kBufferBytes) {}

CalendarReader::~CalendarReader() = default;

bool CalendarReader::stop(std::string why)
{
    if (fault_.empty())
        fault_ = std::move(why);
    stopped_ = true;
    return false;
}

bool CalendarReader::fill()
{
    if (!in_)
        return false;
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    at_ = 0;
    end_ = static_cast<std::size_t>(in_.gcount());
    return end_ > 0;
}

bool CalendarReader::open(const std::string& path)
{
    path_ = path;
    if (const std::string reason = OpenInputFile(path, in_, size_); !reason.empty())
        return stop("Could not open " + path + ": " + reason + ".");
    fill();
    // A byte order mark some programs put first is no part of the first line.
    if (end_ >= 3 && std::string_view(buffer_.data(), 3) == "\xEF\xBB\xBF") {
        at_ = 3;
        bytes_ = 3;
    }
    // The first line that is not blank, as far as the first piece of the file
    // holds it, says whether the file is a calendar at all.
    std::string_view rest(buffer_.data() + at_, end_ - at_);
    std::string_view first;
    while (!rest.empty()) {
        const std::size_t eol = rest.find('\n');
        first = rest.substr(0, eol);
        rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
        if (!IsBlank(first))
            break;
        first = {};
    }
    if (first.empty())
        return stop(path + " is no iCalendar file: it is empty.");
    const std::string upper = text::ToUpper(text::Trim(first.substr(0, 64)));
    if (upper != "BEGIN:VCALENDAR" && upper != "BEGIN:VEVENT" && upper != "BEGIN:VTODO")
        return stop(path + " is no iCalendar file: it begins with \"" +
                    std::string(text::CutToWidth(text::SanitizeUtf8(text::Trim(first.substr(0, 200))), 40)) +
                    "\", not with BEGIN:VCALENDAR.");
    icalerror_set_errors_are_fatal(0);
    parser_.reset(icalparser_new());
    icalparser_set_gen_data(parser_.get(), this);
    return true;
}

char* CalendarReader::nextPiece(char* out, std::size_t size, void* self)
{
    return static_cast<CalendarReader*>(self)->piece(out, size);
}

char* CalendarReader::piece(char* out, std::size_t size)
{
    out[0] = '\0';
    if (stopped_ || size < 2)
        return nullptr;
    std::size_t n = 0;
    while (n + 1 < size) {
        if (at_ == end_ && !fill())
            break;
        if (atLineStart_) {
            // A line that begins with a space or a tab goes on with the one before.
            if (buffer_[at_] != ' ' && buffer_[at_] != '\t') {
                logicalStart_ = line_;
                logicalBytes_ = 0;
                starts_.push_back(line_);
            }
            atLineStart_ = false;
        }
        const char* from = buffer_.data() + at_;
        std::size_t take = std::min(size - 1 - n, end_ - at_);
        const void* eol = std::memchr(from, '\n', take);
        if (eol != nullptr)
            take = static_cast<std::size_t>(static_cast<const char*>(eol) - from) + 1;
        if (std::memchr(from, '\0', take) != nullptr) {
            stop(path_ + " is no iCalendar file: it holds NUL bytes (line " + std::to_string(line_) + ").");
            out[0] = '\0';
            return nullptr;
        }
        logicalBytes_ += take;
        if (logicalBytes_ > kMaxLineBytes) {
            stop("Line " + std::to_string(logicalStart_) + " of " + path_ + " is longer than " +
                 std::to_string(kMaxLineBytes >> 20) + " MB; no calendar holds such a line, so nothing was imported.");
            out[0] = '\0';
            return nullptr;
        }
        std::memcpy(out + n, from, take);
        n += take;
        at_ += take;
        bytes_ += take;
        if (eol != nullptr) {
            ++line_;
            atLineStart_ = true;
            break;
        }
    }
    out[n] = '\0';
    return n > 0 ? out : nullptr;
}

bool CalendarReader::pass(std::string_view line, std::uint64_t start)
{
    // BEGIN and END name their component in any case, perhaps with blanks.
    const std::string head = text::ToUpper(line.substr(0, 64));
    const bool begins = head.starts_with("BEGIN:");
    const bool ends = head.starts_with("END:");
    const std::string name(text::Trim(std::string_view(head).substr(begins ? 6 : ends ? 4 : 0)));
    if (depth_ == 0) {
        // The calendar's own lines (its BEGIN and END, VERSION, PRODID ...)
        // stay here: libical then ends each component it holds on its own.
        if (begins && name == "VCALENDAR") {
            ++calendars_;
            return false;
        }
        if (ends && name == "VCALENDAR") {
            calendars_ = std::max(calendars_ - 1, 0);
            return false;
        }
        if (!begins)
            return false;
        begun_ = name;
        begunLine_ = start;
        componentBytes_ = 0;
    }
    componentBytes_ += line.size() + 2;
    if (componentBytes_ > kMaxComponentBytes)
        return stop("The " + std::string(text::CutToWidth(text::SanitizeUtf8(begun_), 20)) + " beginning at line " +
                    std::to_string(begunLine_) + " of " + path_ + " is longer than " +
                    std::to_string(kMaxComponentBytes >> 20) +
                    " MB; no calendar holds such a component, so nothing was imported.");
    depth_ += begins ? 1 : ends ? -1 : 0;
    return true;
}

bool CalendarReader::read(int lines, std::vector<ical::Component>& out)
{
    if (!parser_)
        return false;
    for (int i = 0; i < lines; ++i) {
        char* line = icalparser_get_line(parser_.get(), &CalendarReader::nextPiece);
        std::uint64_t start = line_;
        if (!primed_) {
            primed_ = true;
        } else if (!starts_.empty()) {
            start = starts_.front();
            starts_.pop_front();
        }
        const bool given = line != nullptr && pass(line, start);
        if (stopped_) {
            icalmemory_free_buffer(line);
            parser_.reset();
            return false;
        }
        if (given) {
            if (icalcomponent* c = icalparser_add_line(parser_.get(), line))
                out.emplace_back(c);
        }
        if (line == nullptr) {
            icalerror_clear_errno();
            parser_.reset();
            if (depth_ > 0)
                return stop(path_ + " is cut short: the " +
                            std::string(text::CutToWidth(text::SanitizeUtf8(begun_), 20)) + " beginning at line " +
                            std::to_string(begunLine_) + " has no END.");
            if (calendars_ > 0)
                return stop(path_ + " is cut short: its calendar has no END:VCALENDAR.");
            return false;
        }
        icalmemory_free_buffer(line);
    }
    return true;
}

}  // namespace hrln::exchange
