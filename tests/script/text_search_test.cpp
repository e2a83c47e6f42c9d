#include "script/text_search.h"

#include <gtest/gtest.h>

#include <sstream>

namespace hrln::test {
namespace {

using script::TextPosition;
using script::TextSearch;

std::vector<std::string> Lines(const std::string& bytes, std::size_t width = 255)
{
    std::istringstream in(bytes);
    return script::ReadViewedLines(in, width);
}

TEST(TextSearchTest, LinesEndAnyWayAndLongOrBrokenOnesAreKeptWhole)
{
    EXPECT_EQ(Lines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(Lines("abcdefg\n", 3), (std::vector<std::string>{"abc", "def", "g"}));
    const auto broken = Lines("x\xff" "y\n");
    ASSERT_EQ(broken.size(), 1U);
    EXPECT_EQ(broken[0].front(), 'x');
    EXPECT_EQ(broken[0].back(), 'y');  // the bad byte replaced, the rest kept
    EXPECT_TRUE(Lines("").empty());
}

TEST(TextSearchTest, ReadingInBatchesGivesTheSameLinesWithTheBytesReadAsProgress)
{
    std::string bytes;
    for (int i = 0; i < 10; ++i)
        bytes += "line " + std::to_string(i) + "\r\n";
    std::istringstream in(bytes);
    script::ReadViewedLinesJob job(in, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(job.description(), "Reading File");
    EXPECT_EQ(job.percent(), 0);
    ASSERT_TRUE(job.step(4));
    EXPECT_EQ(job.percent(), 4 * 8 * 100 / static_cast<int>(bytes.size()));  // four lines of eight bytes
    while (job.step(4)) {
    }
    EXPECT_EQ(job.percent(), 100);
    EXPECT_EQ(job.takeLines(), Lines(bytes));
}

TEST(TextSearchTest, FindGoesEitherWayWithWordAndCaseRules)
{
    const std::vector<std::string> lines{"[Alt] Alt key", "[AltB] alt B", "Tab [Tab]"};
    TextSearch search{"alt", false, false, true};
    EXPECT_EQ(script::FindText(lines, search, {}), (TextPosition{0, 1}));
    EXPECT_EQ(script::FindText(lines, search, {0, 1}), (TextPosition{0, 6}));
    EXPECT_EQ(script::FindText(lines, search, {0, 6}), (TextPosition{1, 1}));

    search.matchCase = true;
    EXPECT_EQ(script::FindText(lines, search, {}), (TextPosition{1, 7}));
    search.matchCase = false;
    search.wholeWord = true;
    EXPECT_EQ(script::FindText(lines, search, {0, 6}), (TextPosition{1, 7}));  // not inside "AltB"
    EXPECT_EQ(script::FindText(lines, search, {1, 7}), std::nullopt);           // the end: the caller asks to wrap

    search = {"tab", false, false, false};
    const TextPosition end = script::EndOfLines(lines);
    EXPECT_EQ(script::FindText(lines, search, end), (TextPosition{2, 5}));
    EXPECT_EQ(script::FindText(lines, search, {2, 5}), (TextPosition{2, 0}));
    EXPECT_EQ(script::FindText(lines, search, {2, 0}), std::nullopt);
    EXPECT_EQ(script::FindText(lines, {"", false, false, true}, {}), std::nullopt);
}

}  // namespace
}  // namespace hrln::test
