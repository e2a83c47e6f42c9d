#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// A report as it declares itself: its columns and its rows, read a few at a
// time in order. The page layout, the plain-text and the comma-delimited
// writers all draw from the same declaration, so the three always agree.
namespace hrln::report {

enum class Align { Left, Right };

struct Column {
    std::string title;
    int width = 10;  // share of the line, in characters
    Align align = Align::Left;
};

// One row. A group's header is printed where the group changes, the titles
// compared without regard to case as the keys compare them (so "Home" and
// "HOME" are one category); the detail is a long text printed under the cells
// across the whole line.
struct Row {
    std::string group;
    std::vector<std::string> cells;
    std::string detail;
    bool gone = false;  // its record was removed while the report was read: nothing is printed
};

// The row `make(*record)` gives, or a gone row when there is no record.
template <class R, class F>
Row RowOf(const R* record, F&& make)
{
    if (record == nullptr) {
        Row gone;
        gone.gone = true;
        return gone;
    }
    return make(*record);
}

// Whether `b` starts a group other than `a`'s.
bool NewGroup(std::string_view a, std::string_view b);

class Source {
public:
    virtual ~Source() = default;
    virtual std::string name() const = 0;  // "Schedule by Date"
    virtual std::vector<Column> columns() const = 0;
    // What the rows are grouped by ("Date", "Category"); empty: no groups.
    virtual std::string groupTitle() const { return {}; }
    // What the detail texts are ("Message", "Notes"); empty: rows have none.
    virtual std::string detailTitle() const { return {}; }
    // The choices that narrowed the rows, in words; empty when none did.
    virtual std::string criteria() const { return {}; }
    // Whether the rows are text laid out by character (a file's lines): printed
    // in a fixed-pitch font with their runs of blanks kept.
    virtual bool fixedPitch() const { return false; }
    // Appends the rows of up to `n` entries from ordinal `first` (0-based) on,
    // one row per entry, and gives how many: fewer than `n` only at the end.
    // Reading on from where the last call ended is the cheap case.
    virtual int read(std::int64_t first, int n, std::vector<Row>& out) = 0;
    // The store's error code of the last read (0: none).
    virtual int error() const { return 0; }
};

// What every page says besides the rows.
struct Heading {
    std::string user;     // whom the report is for
    std::string printed;  // when it was made, as shown
};

// The lines of `utf8` no longer than `width` characters each, broken between
// words where it can and inside a word longer than the line; line breaks in the
// text are kept. An empty text gives no lines.
std::vector<std::string> WrapText(std::string_view utf8, std::size_t width);

// The report as plain text, lines of at most `lineWidth` characters, with
// control characters in the stored texts shown as U+FFFD, never sent. Returns
// the rows written.
std::int64_t WriteText(Source& source, const Heading& heading, std::ostream& out, std::size_t lineWidth = 100);
// The report as comma-delimited text: a header line, then one line per row
// with its group first and its detail last. Returns the rows written.
std::int64_t WriteCsv(Source& source, std::ostream& out);

// Rows read per call by the writers and the page layout.
inline constexpr int kRowBatch = 64;

}  // namespace hrln::report
