#include "common/report.h"

#include "common/csv.h"
#include "common/text.h"

#include <algorithm>
#include <ostream>

namespace hrln::report {
namespace {

constexpr std::size_t kDetailIndent = 4;

// A stored text as a terminal shows it and never acts on it: invalid bytes and
// control characters (line breaks aside) become U+FFFD, a tab a blank.
std::string Printable(std::string_view raw)
{
    const std::string valid = text::SanitizeUtf8(raw);
    std::string out;
    for (std::size_t i = 0; i < valid.size();) {
        char32_t c = 0;
        const std::size_t n = std::max<std::size_t>(1, text::DecodeUtf8(valid, i, c));
        i += n;
        if (c == '\t')
            out += ' ';
        else if (c == '\r')
            continue;
        else if ((c < 0x20 && c != '\n') || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
                 (c >= 0x2066 && c <= 0x2069))
            text::AppendUtf8(out, 0xFFFD);
        else
            text::AppendUtf8(out, c);
    }
    return out;
}

// The declared widths scaled to fill `lineWidth`, one blank between columns.
std::vector<std::size_t> FitWidths(const std::vector<Column>& columns, std::size_t lineWidth)
{
    std::vector<std::size_t> out;
    if (columns.empty())
        return out;
    const std::size_t room = lineWidth > columns.size() - 1 ? lineWidth - (columns.size() - 1) : columns.size();
    std::size_t declared = 0;
    for (const Column& c : columns)
        declared += static_cast<std::size_t>(std::max(1, c.width));
    std::size_t used = 0;
    for (const Column& c : columns) {
        const std::size_t w = std::max<std::size_t>(1, room * static_cast<std::size_t>(std::max(1, c.width)) / declared);
        out.push_back(w);
        used += w;
    }
    if (used < room)
        out.back() += room - used;  // what rounding left over
    return out;
}

std::string Aligned(std::string_view text, std::size_t width, Align align)
{
    const std::size_t n = text::CharCount(text);
    if (n >= width)
        return std::string(text);
    const std::string pad(width - n, ' ');
    return align == Align::Right ? pad + std::string(text) : std::string(text) + pad;
}

std::string RightTrimmed(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

void WriteCells(const std::vector<std::string>& cells, const std::vector<Column>& columns,
                const std::vector<std::size_t>& widths, std::ostream& out)
{
    std::vector<std::vector<std::string>> wrapped;
    std::size_t lines = 1;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        wrapped.push_back(WrapText(i < cells.size() ? Printable(cells[i]) : std::string(), widths[i]));
        lines = std::max(lines, wrapped.back().size());
    }
    for (std::size_t line = 0; line < lines; ++line) {
        std::string text;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            if (i > 0)
                text += ' ';
            const std::string& part = line < wrapped[i].size() ? wrapped[i][line] : std::string();
            text += Aligned(part, widths[i], columns[i].align);
        }
        out << RightTrimmed(std::move(text)) << '\n';
    }
}

// Calls `f(row)` for every row of the source that is still there, reading
// batch after batch; gives how many.
template <class F>
std::int64_t ForEachRow(Source& source, F&& f)
{
    std::int64_t read = 0;
    std::int64_t rows = 0;
    for (;;) {
        std::vector<Row> batch;
        const int entries = source.read(read, kRowBatch, batch);
        read += entries;
        for (const Row& row : batch) {
            if (row.gone)
                continue;
            f(row);
            ++rows;
        }
        if (entries < kRowBatch)
            return rows;
    }
}

}  // namespace

bool NewGroup(std::string_view a, std::string_view b)
{
    return !text::EqualNoCase(a, b);
}

std::vector<std::string> WrapText(std::string_view utf8, std::size_t width)
{
    std::vector<std::string> out;
    if (width == 0)
        width = 1;
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos)
            end = utf8.size();
        std::string_view paragraph = utf8.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.remove_suffix(1);
        paragraph = text::Clip(paragraph);

        std::string line;
        std::size_t lineChars = 0;
        std::size_t pos = 0;
        bool any = false;
        while (pos < paragraph.size()) {
            if (paragraph[pos] == ' ') {
                ++pos;
                continue;
            }
            std::size_t wordEnd = paragraph.find(' ', pos);
            if (wordEnd == std::string_view::npos)
                wordEnd = paragraph.size();
            std::string_view word = paragraph.substr(pos, wordEnd - pos);
            pos = wordEnd;
            std::size_t wordChars = text::CharCount(word);
            if (lineChars > 0 && lineChars + 1 + wordChars <= width) {
                line += ' ';
                line += word;
                lineChars += 1 + wordChars;
                continue;
            }
            if (lineChars > 0) {
                out.push_back(std::move(line));
                line.clear();
                lineChars = 0;
            }
            // A word longer than the line is broken where the line ends.
            while (wordChars > width) {
                const std::string_view head = text::CutToWidth(word, width);
                out.emplace_back(head);
                word.remove_prefix(head.size());
                wordChars -= width;
            }
            line = std::string(word);
            lineChars = wordChars;
            any = true;
        }
        if (lineChars > 0 || (!any && end < utf8.size()))
            out.push_back(std::move(line));  // an empty line between paragraphs stays
        start = end + 1;
    }
    while (!out.empty() && out.back().empty())
        out.pop_back();
    return out;
}

std::int64_t WriteText(Source& source, const Heading& heading, std::ostream& out, std::size_t lineWidth)
{
    const std::vector<Column> columns = source.columns();
    const std::vector<std::size_t> widths = FitWidths(columns, lineWidth);
    const std::string rule(lineWidth, '=');

    out << source.name() << '\n';
    std::string user = heading.user.empty() ? std::string() : "For: " + Printable(heading.user);
    const std::string printed = "Printed: " + heading.printed;
    const std::size_t used = text::CharCount(user) + text::CharCount(printed);
    out << user << std::string(used < lineWidth ? lineWidth - used : 1, ' ') << printed << '\n';
    for (const std::string& line : WrapText(Printable(source.criteria()), lineWidth))
        out << line << '\n';
    out << rule << '\n';
    std::vector<std::string> titles;
    for (const Column& c : columns)
        titles.push_back(c.title);
    WriteCells(titles, columns, widths, out);
    out << std::string(lineWidth, '-') << '\n';

    const bool grouped = !source.groupTitle().empty();
    std::string group;
    bool first = true;
    const std::int64_t written = ForEachRow(source, [&](const Row& row) {
        if (grouped && (first || NewGroup(group, row.group))) {
            if (!first)
                out << '\n';
            out << Printable(row.group) << '\n';
            group = row.group;
        }
        first = false;
        WriteCells(row.cells, columns, widths, out);
        for (const std::string& line : WrapText(Printable(row.detail), lineWidth - kDetailIndent))
            out << (line.empty() ? std::string() : std::string(kDetailIndent, ' ') + line) << '\n';
    });
    out << rule << '\n' << written << (written == 1 ? " row" : " rows") << '\n';
    return written;
}

std::int64_t WriteCsv(Source& source, std::ostream& out)
{
    const std::vector<Column> columns = source.columns();
    const bool grouped = !source.groupTitle().empty();
    const bool detailed = !source.detailTitle().empty();
    csv::LineWriter line;
    if (grouped)
        line.text(source.groupTitle());
    for (const Column& c : columns)
        line.text(c.title);
    if (detailed)
        line.text(source.detailTitle());
    out << line.finish();

    return ForEachRow(source, [&](const Row& row) {
        if (grouped)
            line.text(row.group);
        for (std::size_t i = 0; i < columns.size(); ++i)
            line.text(i < row.cells.size() ? row.cells[i] : std::string());
        if (detailed)
            line.text(row.detail);
        out << line.finish();
    });
}

}  // namespace hrln::report
