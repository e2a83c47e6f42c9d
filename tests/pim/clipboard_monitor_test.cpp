#include "pim/clipboard_monitor.h"

#include "data/records.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/scheduler_doubles.h"

namespace hrln::test {
namespace {

using namespace data;

class ClipboardTest : public StoreTest {
protected:
    // Puts `text` on the clipboard and runs the monitor until it has looked.
    void copy(const std::string& text)
    {
        clipboard.content = text;
        for (int i = 0; i < 3; ++i) {
            clock.advance(125);
            monitor.step();
        }
    }

    std::vector<std::string> saved()
    {
        std::vector<std::string> out;
        Table<ClipboardRecord> t(db);
        t.set(ClipboardRecord::KeyClipDate);
        while (t.next() == kOk)
            out.push_back(t.rec.clipContents.str());
        return out;
    }

    FakeClipboard clipboard;
    FakeClock clock;
    Settings settings;
    pim::ClipboardMonitor monitor{db, clipboard, settings, clock};
};

TEST(ClipHashKeyTest, FirstFortyLettersInUpperCase)
{
    EXPECT_EQ(pim::ClipHashKey("abc, 123"), "ABC");
    EXPECT_EQ(pim::ClipHashKey("Hello World"), pim::ClipHashKey("hello, world!"));
    EXPECT_EQ(pim::ClipHashKey("0800 123 456"), "");
    EXPECT_EQ(pim::ClipHashKey(std::string(50, 'q') + "x"), std::string(40, 'Q'));
    EXPECT_EQ(pim::ClipHashKey("Ünïcödé"), "NCD");
}

TEST_F(ClipboardTest, SavesNewTextsOnceEveryThirdTick)
{
    settings.monitorClipboard = true;
    clipboard.content = "Hello World";
    monitor.step();
    monitor.step();
    monitor.step();
    EXPECT_TRUE(saved().empty());  // looks on every third tick only
    monitor.step();
    EXPECT_EQ(saved(), std::vector<std::string>{"Hello World"});

    copy("hello, world!");  // same letters: refused
    copy(std::string(40, 'a') + " one");
    copy(std::string(40, 'A') + " two");  // same first forty letters
    copy("");
    copy("    ");
    copy("\tindented");
    copy("555-1234");
    copy("Something else");
    copy("555-1234");  // no letters: saved again when it comes back
    EXPECT_EQ(saved(), (std::vector<std::string>{"Hello World", std::string(40, 'a') + " one", "555-1234",
                                                  "Something else", "555-1234"}));
}

TEST_F(ClipboardTest, KeepsTheTableToItsLimitAndEachUserToTheirOwnTexts)
{
    settings.monitorClipboard = true;
    monitor.limit = 3;
    for (const char* text : {"alpha", "bravo", "charlie", "delta"})
        copy(text);
    EXPECT_EQ(saved(), (std::vector<std::string>{"bravo", "charlie", "delta"}));

    settings.currentUser = "other";
    copy("bravo");
    Table<ClipboardRecord> t(db);
    EXPECT_EQ(t.count(), 3);
    t.clear();
    t.rec.user = "other";
    t.rec.clipHashKey = "BRAVO";
    EXPECT_EQ(t.get(ClipboardRecord::KeyClipHash), kOk);

    settings.monitorClipboard = false;
    copy("zulu");
    EXPECT_EQ(t.count(), 3);
}

}  // namespace
}  // namespace hrln::test
