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

Fields ParseRecord(std::string_view record)
{
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
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(std::move(field));
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
    if (!std::getline(in_, line)) {
        --linesRead_;
        return false;
    }
    // Lines keep their ends, so a line break inside a quoted field survives as it was.
    if (!in_.eof())
        line += '\n';
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
    fields = ParseRecord(record);
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
