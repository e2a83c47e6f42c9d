#include "script/send_keys.h"
#include "support/fake_clock.h"
#include "support/fake_event_pump.h"
#include "support/fake_journal.h"
#include "support/fake_keyboard.h"
#include "support/fake_script_view.h"

#include <gtest/gtest.h>

namespace hrln::script {
namespace {

using Lines = std::vector<std::string>;

class SendKeysTest : public ::testing::Test {
protected:
    SendResult send(std::string_view keys, int delay = 50, int burst = 7)
    {
        return SendKeystrokes(keys, {keyboard, pump, tray, delay, burst, [this] { return stop; }});
    }

    test::FakeClock clock;
    test::Journal journal{&clock};
    test::FakeKeyboard keyboard{&journal};
    test::FakeEventPump pump{clock, &journal};
    test::FakeTrayIcon tray{&journal};
    bool stop = false;
};

TEST_F(SendKeysTest, EachChunkWaitsItsPauseFirst)
{
    EXPECT_EQ(send("0123456789[ENTER]", 80), SendResult::Sent);
    EXPECT_EQ(journal.texts(),
              (Lines{"pause 80", "type 0123456", "pause 80", "type 789", "pause 80", "key D"}));
    // A delay below the minimum is raised to it.
    journal.entries.clear();
    send("[AltF4]", 10);
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "key 473"}));
}

TEST_F(SendKeysTest, PauseAndBlanksCostWhatTheyShould)
{
    send("[PAUSE]");
    EXPECT_EQ(journal.texts(), (Lines{"pause 50"}));
    journal.entries.clear();
    send("        ");
    EXPECT_TRUE(journal.texts().empty());
    send("[TAB");
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "pause 50", "type TAB"}));
}

TEST_F(SendKeysTest, PausesAcrossMidnightToo)
{
    clock.set(MakeDate(3, 1, 2027), kTimeMax - 10);
    send("ab[ENTER]");
    EXPECT_EQ(pump.pauses, 2);
    EXPECT_EQ(clock.current.date, MakeDate(3, 2, 2027));
}

TEST_F(SendKeysTest, TrayCyclesItsIconsAndHandsTheOldOneBack)
{
    tray.shown = true;
    tray.icon = "trayc_ico";  // the script animation's frame when typing began
    send("abcdefghij[TAB][ESC][UP]", 50, 3);
    Lines icons;
    for (const std::string& line : journal.texts())
        if (line.rfind("icon ", 0) == 0 || line.rfind("tip ", 0) == 0)
            icons.push_back(line);
    EXPECT_EQ(icons, (Lines{"icon tray_ico", "tip \"Send Keys\" in progress", "icon traybr_ico", "icon trayc_ico",
                            "icon traydr_ico", "icon tray_ico", "icon traybr_ico", "icon trayc_ico",
                            "icon trayc_ico"}));
    EXPECT_EQ(tray.icon, "trayc_ico");
}

TEST_F(SendKeysTest, NoTrayNoAnimation)
{
    send("abc[ENTER]");
    for (const std::string& line : journal.texts())
        EXPECT_NE(line.rfind("icon", 0), 0u) << line;
}

TEST_F(SendKeysTest, StopsBetweenChunksWhenAskedAndOnFailure)
{
    pump.during = [&] { stop = pump.pauses == 2; };
    EXPECT_EQ(send("abcdefghij[ENTER]"), SendResult::Stopped);
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "type abcdefg", "pause 50"}));

    journal.entries.clear();
    pump.during = nullptr;
    stop = false;
    keyboard.failing = true;
    EXPECT_EQ(send("abcdefghij[ENTER]"), SendResult::Failed);
    EXPECT_EQ(journal.texts(), (Lines{"pause 50", "type abcdefg"}));
}

TEST(SendKeyByName, SendsTheKeyOrTypesTheNameAsWritten)
{
    test::Journal journal;
    test::FakeKeyboard keyboard{&journal};
    SendKeyByName("ctrlShiftEsc", keyboard);
    SendKeyByName("ShiftCtrlEsc", keyboard);
    SendKeyByName("Pause", keyboard);
    EXPECT_EQ(journal.texts(), (Lines{"key 31B", "type ShiftCtrlEsc"}));
}

}  // namespace
}  // namespace hrln::script
