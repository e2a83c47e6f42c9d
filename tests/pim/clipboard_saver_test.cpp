#include "pim/clipboard_monitor.h"
#include "pim/clipboard_saver.h"

#include "common/text.h"
#include "data/records.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"

namespace hrln::test {
namespace {

using namespace data;

TEST(ClipListTextTest, OneRowWhateverTheText)
{
    EXPECT_EQ(pim::ClipListText("one\r\ntwo\nthree\rfour"), "one\u21B5two\u21B5three\u21B5four");
    EXPECT_EQ(pim::ClipListText("a\tb\x01" "c\x7f"), "a b c ");
    // Direction overrides go, so the row and those after it keep their direction.
    EXPECT_EQ(pim::ClipListText("\u202Eevil\u202C \u2067x\u2069"), "evil x");
    // Right-to-left letters themselves stay.
    EXPECT_EQ(pim::ClipListText("\u05E9\u05DC\u05D5\u05DD"), "\u05E9\u05DC\u05D5\u05DD");
    // Invalid bytes and NULs become valid text; at most 255 characters, never a split character.
    const std::string binary("\xff\xfe\x00\x80zz", 6);
    EXPECT_TRUE(text::IsValidUtf8(pim::ClipListText(binary)));
    EXPECT_EQ(text::CharCount(pim::ClipListText(std::string(4096, 'x'))), pim::kClipListWidth);
    const std::string wide = pim::ClipListText(std::string(300 * 2, '\0') + std::string(300, 'a'));
    EXPECT_LE(text::CharCount(wide), pim::kClipListWidth);
    std::string accents;
    for (int i = 0; i < 300; ++i)
        accents += "\u00E9";
    const std::string cut = pim::ClipListText(accents);
    EXPECT_TRUE(text::IsValidUtf8(cut));
    EXPECT_EQ(text::CharCount(cut), pim::kClipListWidth);
}

class ClipboardSaverTest : public StoreTest {
protected:
    // Puts `text` on the clipboard and steps until the monitor has looked once.
    void copy(const std::string& text)
    {
        clipboard.content = text;
        for (int i = 0; i < 4; ++i) {
            clock.advance(125);
            monitor.step();
        }
    }
    int saved() { return Table<ClipboardRecord>(db).count(); }

    FakeClipboard clipboard;
    FakeClock clock;
    Settings settings;
    FakePrompter prompter;
    pim::ClipboardMonitor monitor{db, clipboard, settings, clock};
};

TEST_F(ClipboardSaverTest, ATextPutBackIsNotSavedAgainEvenWithoutLetters)
{
    settings.monitorClipboard = true;
    copy("0800 123 456");
    copy("Hello World");
    ASSERT_EQ(saved(), 2);
    // Put back from the list: the monitor knows it, so the phone number (blank key) is not doubled.
    clipboard.content = "0800 123 456";
    monitor.placed("0800 123 456");
    copy("0800 123 456");
    EXPECT_EQ(saved(), 2);
    // Copied by the user again after another text, it is saved as before.
    copy("something else");
    copy("0800 123 456");
    EXPECT_EQ(saved(), 4);
}

TEST_F(ClipboardSaverTest, ClearAllAsksFirstAndDeletesEveryText)
{
    settings.monitorClipboard = true;
    copy("first text");
    copy("12345");
    copy("second text");
    ASSERT_EQ(saved(), 3);

    prompter.answer(platform::MessageButton::No);
    EXPECT_EQ(pim::ClearClipboardSaver(db, prompter), -1);
    EXPECT_EQ(saved(), 3);
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown.back().caption, "Clear All");
    EXPECT_EQ(prompter.shown.back().defaultButton, platform::MessageButton::No);

    prompter.answer(platform::MessageButton::Yes);
    EXPECT_EQ(pim::ClearClipboardSaver(db, prompter), 3);
    EXPECT_EQ(saved(), 0);
    // Nothing to clear: no question.
    EXPECT_EQ(pim::ClearClipboardSaver(db, prompter), 0);
    EXPECT_EQ(prompter.shown.size(), 2U);
}

}  // namespace
}  // namespace hrln::test
