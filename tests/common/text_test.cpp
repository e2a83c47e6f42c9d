#include "common/fixed_text.h"
#include "common/text.h"

#include <gtest/gtest.h>

namespace hrln {
namespace {

TEST(FixedTextTest, CutsToWidthInCharactersNeverSplittingOne)
{
    FixedText<5> t = "Grüße aus Köln";
    EXPECT_EQ(t.str(), "Grüße");
    EXPECT_EQ(t.str().size(), 7u);  // two 2-byte characters

    FixedText<3> emoji = "a😀bc";
    EXPECT_EQ(emoji.str(), "a😀b");

    EXPECT_EQ(text::CharCount(FixedText<4>("€€€€€").str()), 4u);
}

TEST(FixedTextTest, TrailingBlanksDoNotCountButMemosKeepThem)
{
    FixedText<10> t = "Once   ";
    EXPECT_EQ(t, "Once");
    EXPECT_EQ(t, "Once  ");
    EXPECT_FALSE(t == " Once");
    EXPECT_EQ(t.padded(), "Once      ");

    Memo<10> m = "line  ";
    EXPECT_EQ(m.str(), "line  ");
}

TEST(FixedTextTest, InvalidBytesAndNulsAreMadeSafe)
{
    FixedText<10> t = std::string("a\xff" "b\0c", 5);
    EXPECT_TRUE(text::IsValidUtf8(t.str()));
    EXPECT_EQ(t.str(), "a\xEF\xBF\xBD" "bc");
    // A cut that would land inside a replaced sequence still yields whole characters.
    FixedText<2> cut = "\xC3";
    EXPECT_TRUE(text::IsValidUtf8(cut.str()));
}

TEST(TextTest, CaseFoldingForKeys)
{
    EXPECT_EQ(text::CompareNoCase("Work", "WORK"), 0);
    EXPECT_EQ(text::CompareNoCase("work  ", "WORK"), 0);
    EXPECT_EQ(text::CompareNoCase("straße", "STRAßE"), 0);
    EXPECT_EQ(text::CompareNoCase("Émile", "ÉMILE"), 0);
    EXPECT_EQ(text::CompareNoCase("ärger", "ÄRGER"), 0);
    EXPECT_EQ(text::CompareNoCase("łódź", "ŁÓDŹ"), 0);
    EXPECT_EQ(text::CompareNoCase("привет", "ПРИВЕТ"), 0);
    EXPECT_EQ(text::CompareNoCase("σοφία", "ΣΟΦΊΑ"), 0);
    EXPECT_LT(text::CompareNoCase("apple", "Banana"), 0);
    EXPECT_GT(text::CompareNoCase("b", "A"), 0);
    EXPECT_LT(text::CompareNoCase("ab", "ab c"), 0);
    // A lower-case letter that folds between upper-case ones sorts by its folding.
    EXPECT_LT(text::CompareNoCase("a", "B"), 0);
    EXPECT_LT(text::CompareNoCase("Z", "["), 0);
    EXPECT_LT(text::CompareNoCase("z", "["), 0);
}

TEST(TextTest, ParseIntegerTakesOnlyWholeNumbers)
{
    EXPECT_EQ(text::ParseInteger(" 42 "), 42);
    EXPECT_EQ(text::ParseInteger("-7"), -7);
    EXPECT_EQ(text::ParseInteger("+7"), 7);
    EXPECT_EQ(text::ParseInteger(""), 0);
    EXPECT_EQ(text::ParseInteger("12abc"), 0);
    EXPECT_EQ(text::ParseInteger("1.5"), 0);
    EXPECT_EQ(text::ParseInteger("99999999999999999999999"), 0);
    EXPECT_EQ(text::ParseInteger("x", -1), -1);
}

}  // namespace
}  // namespace hrln
