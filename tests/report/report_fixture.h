#pragma once

// A report rendered to a PDF file in a fresh store and read back page by page,
// with the checks every report's pages share.
#include "pdf_text.h"
#include "report/page_layout.h"
#include "store_fixture.h"

#include <QString>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace hrln::test {

inline const report::Heading kHeading{"Alice Example", "December 9, 2026 4:40 AM"};

inline std::string Trimmed(const std::string& s)
{
    const auto b = s.find_first_not_of(' ');
    const auto e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// A page's lines after its column headers (the line holding `lastHeader`) and
// before its page number.
inline std::vector<std::string> BodyLines(const std::vector<std::string>& page, const std::string& lastHeader)
{
    std::vector<std::string> out;
    bool body = false;
    for (std::size_t i = 0; i + 1 < page.size(); ++i) {
        if (body)
            out.push_back(page[i]);
        else if (const auto w = Words(page[i]); std::find(w.begin(), w.end(), lastHeader) != w.end())
            body = true;
    }
    return out;
}

// One row as the pages show it: the key its line matched, the group header
// above it, its page (0-based) and the whole line.
struct PrintedRow {
    std::string key;
    std::string group;
    std::size_t page = 0;
    std::string line;
};

// The rows of a report's pages in the order printed: a body line matching
// `row` is a row, keyed by its first submatch; a body line that is exactly one
// of `groups` is that group's header. In a grouped report a page that starts
// inside a group repeats its header with " (continued)", and only then.
inline std::vector<PrintedRow> ReadRows(const std::vector<std::vector<std::string>>& pages,
                                        const std::string& lastHeader, const std::regex& row,
                                        const std::set<std::string>& groups = {})
{
    const std::string continued = " (continued)";
    std::vector<PrintedRow> out;
    std::string group;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const std::string previous = out.empty() ? std::string() : out.back().group;
        bool headed = false;
        for (const std::string& line : BodyLines(pages[p], lastHeader)) {
            std::string t = Trimmed(line);
            const bool isContinued = t.ends_with(continued);
            if (isContinued)
                t.resize(t.size() - continued.size());
            if (groups.contains(t)) {
                const bool shouldContinue = !headed && p > 0 && t == previous;
                EXPECT_EQ(isContinued, shouldContinue) << "page " << p + 1 << ": " << line;
                group = t;
                headed = true;
                continue;
            }
            EXPECT_FALSE(isContinued) << "page " << p + 1 << ": not a group: " << line;
            std::smatch m;
            if (std::regex_search(line, m, row)) {
                EXPECT_TRUE(headed || groups.empty())
                    << "page " << p + 1 << " starts inside a group without its header: " << line;
                out.push_back({m[1], group, p, line});
            }
        }
    }
    return out;
}

inline std::vector<std::string> RowKeys(const std::vector<PrintedRow>& rows)
{
    std::vector<std::string> out;
    for (const PrintedRow& r : rows)
        out.push_back(r.key);
    return out;
}

class ReportTest : public StoreTest {
protected:
    std::vector<std::vector<std::string>> render(report::Source& source)
    {
        const std::string pdf = dir.file("report.pdf");
        EXPECT_TRUE(report::WriteReportPdf(source, kHeading, QString::fromStdString(pdf)));
        return PdfPages(pdf);
    }

    // Every page names the report, the user and the date printed, carries the
    // column headers and says "Page N of M" with the right numbers.
    void expectFrame(const std::vector<std::vector<std::string>>& pages, const std::string& name,
                     const std::vector<std::string>& headers)
    {
        ASSERT_FALSE(pages.empty());
        const std::string count = std::to_string(pages.size());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const auto& lines = pages[p];
            std::string all;
            for (const auto& l : lines)
                all += l + "\n";
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(Trimmed(lines.front()), name) << "page " << p + 1;
            EXPECT_NE(all.find("For Alice Example"), std::string::npos) << "page " << p + 1;
            EXPECT_NE(all.find("Printed December 9, 2026 4:40 AM"), std::string::npos) << "page " << p + 1;
            EXPECT_EQ(Trimmed(lines.back()), "Page " + std::to_string(p + 1) + " of " + count);
            const bool headed = std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
                const auto w = Words(l);
                return std::all_of(headers.begin(), headers.end(),
                                   [&](const std::string& h) { return std::find(w.begin(), w.end(), h) != w.end(); });
            });
            EXPECT_TRUE(headed) << "column headers missing on page " << p + 1 << ":\n" << all;
        }
    }
};

}  // namespace hrln::test
