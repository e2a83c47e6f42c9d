#include "platform/posix/argument_split.h"

#include <gtest/gtest.h>

namespace hrln::test {
namespace {

using platform::posix::SplitArguments;
using Words = std::vector<std::string>;

TEST(ArgumentSplitTest, BlanksSeparateWordsAndQuotesKeepThem)
{
    EXPECT_EQ(SplitArguments("  -T  My title\t-e sh "), (Words{"-T", "My", "title", "-e", "sh"}));
    EXPECT_EQ(SplitArguments(R"(one "two three" 'four  five')"), (Words{"one", "two three", "four  five"}));
    EXPECT_EQ(SplitArguments(R"(a"b c"d)"), (Words{"ab cd"}));  // quotes join into the word around them
    EXPECT_EQ(SplitArguments(R"("" '')"), (Words{"", ""}));
    EXPECT_EQ(SplitArguments(""), Words{});
    EXPECT_EQ(SplitArguments("   "), Words{});
}

TEST(ArgumentSplitTest, BackslashesEscapeAsInTheShell)
{
    EXPECT_EQ(SplitArguments(R"(my\ file \"q\")"), (Words{"my file", "\"q\""}));
    EXPECT_EQ(SplitArguments(R"("a\"b" "c\d" 'e\f')"), (Words{"a\"b", "c\\d", "e\\f"}));
    EXPECT_EQ(SplitArguments(R"(end\)"), (Words{"end\\"}));
}

TEST(ArgumentSplitTest, NothingIsExpandedAndUnclosedQuotesRunToTheEnd)
{
    EXPECT_EQ(SplitArguments("$HOME ~ *.txt `id` ;|&"), (Words{"$HOME", "~", "*.txt", "`id`", ";|&"}));
    EXPECT_EQ(SplitArguments(R"(a "b c)"), (Words{"a", "b c"}));
    EXPECT_EQ(SplitArguments("a 'b c"), (Words{"a", "b c"}));
}

}  // namespace
}  // namespace hrln::test
