#include "common/csv.h"

#include "common/text.h"

namespace hrln::csv {
namespace {

// True when a quoted field is still open at the end of `record`: every quote
// switches in or out of quotes (a doubled quote switches twice).
bool QuoteOpenAtEnd(std::string_view record)
{
    std::size_t quotes = 0;
    for (const char c : record)
        quotes += c == '"' ? 1 : 0;
    return quotes % 2 == 1;
}

}  // namespace

void LineWriter::separate()
{
    if (!first_)
        line_ += ',';
    first_ = false;
}

LineWriter& LineWriter::text(std::string_view value)
{
    separate();
    line_ += '"';
    for (const char c : text::Clip(value)) {
        if (c == '"')
            line_ += '"';
        line_ += c;
    }
    line_ += '"';
    return *this;
}

LineWriter& LineWriter::number(std::int64_t value)
{
    separate();
    line_ += std::to_string(value);
    return *this;
}

std::string LineWriter::finish()
{
    std::string out = std::move(line_);
    out += "\r\n";
    line_.clear();
    first_ = true;
    return out;
}

Fields ParseRecord(std::string_view record, char separator, std::vector<bool>* quoted)
{
    if (quoted)
        quoted->clear();
    while (!record.empty() && (record.back() == '\n' || record.back() == '\r'))
        record.remove_suffix(1);
    Fields fields;
    std::string field;
    bool inQuotes = false;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const char c = record[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < record.size() && record[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"') {
            inQuotes = true;
            if (quoted) {
                quoted->resize(fields.size() + 1, false);
                quoted->back() = true;
            }
        } else if (c == separator) {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(std::move(field));
    if (quoted)
        quoted->resize(fields.size(), false);
    return fields;
}

RecordReader::RecordReader(std::istream& in) : in_(in) {}

bool RecordReader::readLine(std::string& line)
{
    ++linesRead_;
    if (!pushedBack_.empty()) {
        line = std::move(pushedBack_.back());
        pushedBack_.pop_back();
        return true;
    }
    // Lines keep their ends, so a line break inside a quoted field survives as
    // it was. A CR alone ends a line too: a file with nothing else would
    // otherwise be one line, read as a header that names nothing.
    line.clear();
    std::streambuf* in = in_.rdbuf();
    for (int c = in->sbumpc();; c = in->sbumpc()) {
        if (c == std::char_traits<char>::eof()) {
            in_.setstate(std::ios::eofbit);
            if (line.empty()) {
                --linesRead_;
                return false;
            }
            break;
        }
        line += static_cast<char>(c);
        if (c == '\n')
            break;
        if (c == '\r') {
            if (in->sgetc() == '\n')
                line += static_cast<char>(in->sbumpc());
            break;
        }
    }
    bytesRead_ += line.size();
    return true;
}

bool RecordReader::next(Fields& fields)
{
    std::string first;
    if (!readLine(first))
        return false;
    recordLine_ = linesRead_;
    quoteLeftOpen_ = false;
    std::string record = first;
    std::vector<std::string> taken;
    while (QuoteOpenAtEnd(record)) {
        std::string more;
        if (record.size() > kMaxRecordBytes || !readLine(more)) {
            // Give back what was joined and take the first line alone.
            linesRead_ -= taken.size();
            for (auto it = taken.rbegin(); it != taken.rend(); ++it)
                pushedBack_.push_back(std::move(*it));
            record = std::move(first);
            quoteLeftOpen_ = true;
            break;
        }
        record += more;
        taken.push_back(std::move(more));
    }
    fields = ParseRecord(record, separator_, &quoted_);
    if (detect_) {
        detect_ = false;
        if (fields.size() == 1) {
            std::vector<bool> quoted;
            if (Fields split = ParseRecord(record, ';', &quoted); split.size() > 1) {
                separator_ = ';';
                fields = std::move(split);
                quoted_ = std::move(quoted);
            }
        }
    }
    recordText_ = std::move(record);
    return true;
}

std::string TextField(const Fields& fields, std::size_t index, std::size_t width)
{
    if (index >= fields.size())
        return {};
    const std::string clean = text::SanitizeUtf8(fields[index]);
    return std::string(text::Clip(text::CutToWidth(clean, width)));
}

std::int64_t NumberField(const Fields& fields, std::size_t index)
{
    if (index >= fields.size())
        return 0;
    return text::ParseInteger(fields[index], 0);
}

}  // namespace hrln::csv
