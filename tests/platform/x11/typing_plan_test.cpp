#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "platform/x11/typing_plan.h"
#include "platform/x11/window_properties.h"

namespace hrln::test {
namespace {

using platform::x11::PlanTyping;
using platform::x11::TypingPiece;

std::string Describe(const std::vector<TypingPiece>& plan)
{
    std::string out;
    for (const TypingPiece& p : plan)
        out += (p.isText ? "text:" : "key:") + p.value + "|";
    return out;
}

TEST(TypingPlanTest, AsciiRunsStayTextAndOtherCharactersBecomeUnicodeKeys)
{
    EXPECT_EQ(Describe(PlanTyping("Ab1 ,.;")), "text:Ab1 ,.;|");
    EXPECT_EQ(Describe(PlanTyping("Grüße\n")), "text:Gr|key:U00FC|key:U00DF|text:e\n|");
    EXPECT_EQ(Describe(PlanTyping("€ж😀")), "key:U20AC|key:U0436|key:U1F600|");
    EXPECT_EQ(Describe(PlanTyping("")), "");
}

TEST(TypingPlanTest, InvalidUtf8IsDroppedNotTyped)
{
    EXPECT_EQ(Describe(PlanTyping("a\xFF" "b")), "text:ab|");
    EXPECT_EQ(Describe(PlanTyping("a\xC3")), "text:a|");             // cut short
    EXPECT_EQ(Describe(PlanTyping("\xC0\xAF" "x")), "text:x|");       // overlong "/"
    EXPECT_EQ(Describe(PlanTyping("\xED\xA0\x80" "y")), "text:y|");   // a lone surrogate
}

TEST(TypingPlanTest, Latin1TitlesReadAsUtf8)
{
    EXPECT_EQ(platform::x11::Latin1ToUtf8("Caf\xE9 \xFC" "ber"), "Café über");
    EXPECT_EQ(platform::x11::Latin1ToUtf8("plain"), "plain");
}

}  // namespace
}  // namespace hrln::test
