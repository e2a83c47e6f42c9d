#include "common/report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace hrln::report {
namespace {

using Lines = std::vector<std::string>;

TEST(WrapText, BreaksBetweenWordsInsideLongWordsAndKeepsLineBreaks)
{
    EXPECT_EQ(WrapText("the quick brown fox jumps", 10), (Lines{"the quick", "brown fox", "jumps"}));
    EXPECT_EQ(WrapText("abcdefghijkl xy", 5), (Lines{"abcde", "fghij", "kl xy"}));
    EXPECT_EQ(WrapText("one\n\ntwo  three\r\n", 20), (Lines{"one", "", "two three"}));
    EXPECT_EQ(WrapText("", 5), Lines{});
    EXPECT_EQ(WrapText("   ", 5), Lines{});
    // Widths count characters, and a cut never splits one.
    EXPECT_EQ(WrapText("\xC3\xA9t\xC3\xA9 \xC3\xA0 Z\xC3\xBCrich", 6),
              (Lines{"\xC3\xA9t\xC3\xA9 \xC3\xA0", "Z\xC3\xBCrich"}));
    EXPECT_EQ(WrapText("\xC3\xA9\xC3\xA9\xC3\xA9", 2), (Lines{"\xC3\xA9\xC3\xA9", "\xC3\xA9"}));
}

TEST(WrapText, EveryCharacterOfAThousandCharacterTextIsKept)
{
    std::string text;
    for (int i = 0; text.size() < 1000; ++i)
        text += "word" + std::to_string(i) + (i % 17 == 0 ? std::string(40, 'z') : "") + " ";
    text.resize(1000);
    const Lines lines = WrapText(text, 60);
    EXPECT_GT(lines.size(), 15u);
    std::string again;
    for (const std::string& l : lines) {
        EXPECT_LE(l.size(), 60u);
        again += l;
    }
    std::string compact;
    for (char c : text)
        if (c != ' ')
            compact += c;
    std::string joined;
    for (char c : again)
        if (c != ' ')
            joined += c;
    EXPECT_EQ(joined, compact);
}

class VectorSource : public Source {
public:
    std::vector<Row> all;
    bool grouped = true;
    std::string name() const override { return "Test List"; }
    std::vector<Column> columns() const override { return {{"Name", 10}, {"Count", 5, Align::Right}}; }
    std::string groupTitle() const override { return grouped ? "Kind" : ""; }
    std::string detailTitle() const override { return "Notes"; }
    std::string criteria() const override { return "Only some"; }
    int read(std::int64_t first, int n, std::vector<Row>& out) override
    {
        int read = 0;
        for (auto i = static_cast<std::size_t>(first); i < all.size() && read < n; ++i, ++read)
            out.push_back(all[i]);
        return read;
    }
};

TEST(ReportText, WritesTitleColumnsGroupsAndWrappedDetails)
{
    VectorSource s;
    s.all = {{"Fruit", {"Apple", "3"}, "red and\ngreen"},
             {"Fruit", {"Banana split sundae deluxe", "12"}, ""},
             {"Fruit", {"Gone", "0"}, "", true},
             {"FRUIT", {"Cherry\x1b[2J", "7"}, "tab\there"},
             {"Nut", {"Pecan", "1"}, ""}};
    std::ostringstream out;
    EXPECT_EQ(WriteText(s, {"Ann", "December 9, 2026"}, out, 30), 4);
    EXPECT_EQ(out.str(),
              "Test List\n"
              "For: Ann Printed: December 9, 2026\n"
              "Only some\n"
              "==============================\n"
              "Name                     Count\n"
              "------------------------------\n"
              "Fruit\n"
              "Apple                        3\n"
              "    red and\n"
              "    green\n"
              "Banana split sundae         12\n"
              "deluxe\n"
              "Cherry\xEF\xBF\xBD[2J                   7\n"
              "    tab here\n"
              "\n"
              "Nut\n"
              "Pecan                        1\n"
              "==============================\n"
              "4 rows\n");
}

// More rows than one batch: the writers read on until the source runs out.
TEST(ReportCsv, WritesOneQuotedLinePerRowWithItsGroupAndDetail)
{
    VectorSource s;
    for (int i = 0; i < kRowBatch * 2 + 5; ++i)
        s.all.push_back({"G" + std::to_string(i / 50), {"n" + std::to_string(i), std::to_string(i)}, "say \"hi\""});
    s.all[3].gone = true;
    std::ostringstream out;
    EXPECT_EQ(WriteCsv(s, out), kRowBatch * 2 + 4);
    const std::string text = out.str();
    EXPECT_TRUE(text.starts_with("\"Kind\",\"Name\",\"Count\",\"Notes\"\r\n\"G0\",\"n0\",\"0\",\"say \"\"hi\"\"\"\r\n"));
    EXPECT_EQ(text.find("\"n3\""), std::string::npos);
    EXPECT_NE(text.find("\"G2\",\"n132\",\"132\""), std::string::npos);
    s.grouped = false;
    std::ostringstream plain;
    WriteCsv(s, plain);
    EXPECT_TRUE(plain.str().starts_with("\"Name\",\"Count\",\"Notes\"\r\n"));
}

}  // namespace
}  // namespace hrln::report
