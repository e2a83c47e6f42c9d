#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// The comma-delimited text files: one record per line ending in CR LF, text
// fields in double quotes with inner quotes doubled, numbers as bare decimals.
namespace hrln::csv {

class LineWriter {
public:
    // Written quoted, trailing blanks removed, inner quotes doubled.
    LineWriter& text(std::string_view value);
    LineWriter& number(std::int64_t value);
    // The line, ended by CR LF; the writer starts over empty.
    std::string finish();

private:
    void separate();
    std::string line_;
    bool first_ = true;
};

using Fields = std::vector<std::string>;

// Splits one record at `separator`. Quoted fields may hold the separator,
// doubled quotes and line breaks; a quote left open runs to the end of
// `record`. Bytes outside quotes around a quoted field are kept; surrounding
// line ends are not part of a field.
// `quoted`, when given, tells for each field whether it was written in quotes.
Fields ParseRecord(std::string_view record, char separator = ',', std::vector<bool>* quoted = nullptr);

// Reads records from a stream. Line ends may be CR LF, LF or CR alone. A quoted
// field may span lines; a quote still open after kMaxRecordBytes is taken to
// close at the end of its first line, so one stray quote costs one record, not
// the file.
class RecordReader {
public:
    static constexpr std::size_t kMaxRecordBytes = 64 * 1024;

    explicit RecordReader(std::istream& in);
    // Lets the first record choose the separator: a semicolon, as spreadsheets
    // write in many locales, when the line has none of its fields apart by
    // commas but some by semicolons.
    void detectSeparator() { detect_ = true; }
    char separator() const { return separator_; }
    // False at the end of input.
    bool next(Fields& fields);
    // Bytes consumed so far, for progress.
    std::uint64_t bytesRead() const { return bytesRead_; }
    // The record last read: the number of its first line (from 1), its text
    // as read with its line ends, and whether a quote in it was left open.
    std::uint64_t recordLine() const { return recordLine_; }
    const std::string& recordText() const { return recordText_; }
    bool quoteLeftOpen() const { return quoteLeftOpen_; }
    // Whether field `index` of the record last read was written in quotes:
    // "" is a blank text, where a spreadsheet's empty cell says nothing.
    bool quoted(std::size_t index) const { return index < quoted_.size() && quoted_[index]; }

private:
    bool readLine(std::string& line);

    std::istream& in_;
    std::vector<std::string> pushedBack_;
    std::uint64_t bytesRead_ = 0;
    std::uint64_t linesRead_ = 0;
    std::uint64_t recordLine_ = 0;
    std::string recordText_;
    std::vector<bool> quoted_;
    bool quoteLeftOpen_ = false;
    bool detect_ = false;
    char separator_ = ',';
};

// Field `index` as text: valid UTF-8 without NUL bytes, cut to `width`
// characters, trailing blanks removed; blank when the record has fewer fields.
std::string TextField(const Fields& fields, std::size_t index, std::size_t width);
// Field `index` as a whole number; blank, missing or non-numeric gives 0.
std::int64_t NumberField(const Fields& fields, std::size_t index);

}  // namespace hrln::csv
