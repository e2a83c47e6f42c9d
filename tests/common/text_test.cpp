#include "common/fixed_text.h"
#include "common/text.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

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

TEST(TextTest, CaseFoldingCoversEveryScriptWhateverTheLocale)
{
    // Romanian, Greek with dialytika, Ukrainian, Vietnamese, Armenian, Georgian, Cherokee.
    for (const auto& [small, capital] : std::vector<std::pair<const char*, const char*>>{
             {"ș", "Ș"}, {"ϊ", "Ϊ"}, {"ґ", "Ґ"}, {"ế", "Ế"}, {"ա", "Ա"}, {"ǆ", "Ǆ"}, {"ა", "Ა"}, {"ꭰ", "Ꭰ"}}) {
        EXPECT_EQ(text::CompareNoCase(small, capital), 0) << small;
        EXPECT_EQ(text::ToUpper(std::string(small)), capital);
    }
    // Capitals that no small letter maps back to still meet their small letter.
    EXPECT_EQ(text::CompareNoCase("GROẞ", "groß"), 0);
    EXPECT_EQ(text::CompareNoCase("\u212A", "k"), 0);  // Kelvin sign
    // One character stays one character: no "SS", no dotted capital I from a Turkish locale.
    EXPECT_NE(text::CompareNoCase("ß", "SS"), 0);
    EXPECT_EQ(text::CompareNoCase("i", "I"), 0);
    EXPECT_NE(text::CompareNoCase("i", "İ"), 0);
    EXPECT_EQ(text::CompareNoCase("ı", "I"), 0);
    EXPECT_EQ(text::CompareNoCase("µ", "Μ"), 0);  // micro sign and Greek capital mu

    // Letters that folded before keep their order: small letters sort among the capitals.
    EXPECT_LT(text::CompareNoCase("Zebra", "ärger"), 0);
    EXPECT_LT(text::CompareNoCase("ärger", "École"), 0);
    EXPECT_LT(text::CompareNoCase("école", "Émile"), 0);
    EXPECT_LT(text::CompareNoCase("þorn", "ÿ"), 0);
    EXPECT_LT(text::CompareNoCase("ÿ", "Ž"), 0);
    EXPECT_LT(text::CompareNoCase("ω", "а"), 0);  // Greek before Cyrillic
    // Bytes that are not UTF-8 still sort after every character and never fold.
    EXPECT_GT(text::CompareNoCase("\xFF", "\U0010FFFF"), 0);
    EXPECT_NE(text::CompareNoCase("\xE1", "\xC1"), 0);
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
