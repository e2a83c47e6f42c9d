#include "data/housekeeping.h"
#include "data/settings.h"
#include "data/window_position.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hrln::test {
namespace {

using namespace data;

class FixedSession : public platform::Session {
public:
    explicit FixedSession(std::optional<std::string> name) : name_(std::move(name)) {}
    std::optional<std::string> networkUserName() const override { return name_; }

private:
    std::optional<std::string> name_;
};

class SettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    ProfileFile ini{dir.file(kSettingsFile)};
    ProfileFile positions{dir.file(kPositionsFile)};
};

TEST_F(SettingsTest, AFreshInstallationHasTheDefaults)
{
    const Settings s = LoadSettings(ini, nullptr);
    EXPECT_TRUE(s.startUpActive);
    EXPECT_TRUE(s.startUpSchedule);
    EXPECT_FALSE(s.startUpToDo);
    EXPECT_FALSE(s.logEvents);
    EXPECT_EQ(s.historyExpires, 0);
    EXPECT_EQ(s.scriptingDelay, 50);
    EXPECT_EQ(s.burstSize, 7);
    EXPECT_EQ(s.repeatAlarmInterval, 0);
    EXPECT_EQ(s.currentUser, "");
    EXPECT_FALSE(std::filesystem::exists(ini.path()));
}

TEST_F(SettingsTest, InvertedFlagsAndLimitsApplyOnReading)
{
    struct Case {
        const char* stored;
        bool active;
    };
    for (const Case c : {Case{"1", false}, Case{"0", true}, Case{"2", true}, Case{"yes", true}, Case{" 1 ", false}}) {
        ini.write("Settings", "StartUpActive", c.stored);
        EXPECT_EQ(LoadSettings(ini, nullptr).startUpActive, c.active) << c.stored;
    }
    ini.write("Settings", "StartUpSchedule", "1");
    ini.write("Settings", "ScriptingDelay", "10");
    ini.write("Settings", "BurstSize", "0");
    ini.write("Settings", "HistoryExpires", "-4");
    ini.write("Settings", "LogEvents", "on");  // not a number: off
    Settings s = LoadSettings(ini, nullptr);
    EXPECT_FALSE(s.startUpSchedule);
    EXPECT_EQ(s.scriptingDelay, 50);
    EXPECT_EQ(s.burstSize, 7);
    EXPECT_EQ(s.historyExpires, 0);
    EXPECT_FALSE(s.logEvents);

    ini.write("Settings", "ScriptingDelay", "75");
    ini.write("Settings", "BurstSize", "9999");
    s = LoadSettings(ini, nullptr);
    EXPECT_EQ(s.scriptingDelay, 75);
    EXPECT_EQ(s.burstSize, 255);
}

TEST_F(SettingsTest, SavingWritesEveryOptionInOrderAndRaisesShortAlarmRepeats)
{
    Settings s;
    s.repeatAlarmInterval = 3;
    s.startUpActive = false;
    s.scriptingDelay = 20;
    s.userId = "a user name that is longer than thirty characters";
    SaveSettings(ini, s);
    EXPECT_EQ(ini.read("Settings", "RepeatAlarmInterval"), "5");
    EXPECT_EQ(ini.read("Settings", "StartUpActive"), "1");
    EXPECT_EQ(ini.read("Settings", "StartUpSchedule"), "0");
    EXPECT_EQ(ini.read("Settings", "UserID"), "a user name that is longer tha");
    EXPECT_EQ(s.scriptingDelay, 50);  // read back with its limit

    const std::string file = ReadFile(ini.path());
    const std::vector<std::string> order = {"HistoryExpires", "RemoveUncompleted", "StartUpSchedule", "StartUpToDo",
                                            "StartUpClipboardSaver", "StartUpContacts", "StartUpActive",
                                            "StartUpMinimized", "FullSchedule", "HideToolbar", "NoTray",
                                            "MaximizeOnRun", "UseExternalMessage", "MultiUser", "UserID",
                                            "LogEvents", "MonitorClipboard", "UseModalMessage",
                                            "MaxClipboardEntries", "RepeatAlarmInterval", "ScriptingDelay",
                                            "BurstSize", "KeepRunningInTray"};
    std::size_t at = 0;
    for (const std::string& key : order) {
        const std::size_t found = file.find("\n" + key + "=");
        ASSERT_NE(found, std::string::npos) << key;
        EXPECT_GT(found, at) << key;
        at = found;
    }

    s.repeatAlarmInterval = 0;
    SaveSettings(ini, s);
    EXPECT_EQ(ini.read("Settings", "RepeatAlarmInterval"), "0");
    const Settings back = LoadSettings(ini, nullptr);
    EXPECT_FALSE(back.startUpActive);
    EXPECT_FALSE(back.keepRunningInTray);  // off unless chosen

    s.keepRunningInTray = true;
    SaveSettings(ini, s);
    EXPECT_EQ(ini.read("Settings", "KeepRunningInTray"), "1");
    EXPECT_TRUE(LoadSettings(ini, nullptr).keepRunningInTray);
}

TEST_F(SettingsTest, MultiUserTakesTheLogonNameWhenNoneIsSet)
{
    ini.write("Settings", "MultiUser", "1");
    const FixedSession session("jdoe");
    EXPECT_EQ(LoadSettings(ini, &session).currentUser, "jdoe");
    const FixedSession noName(std::nullopt);
    EXPECT_EQ(LoadSettings(ini, &noName).currentUser, "");
    ini.write("Settings", "UserID", "Reception");
    EXPECT_EQ(LoadSettings(ini, &session).currentUser, "Reception");
}

TEST_F(SettingsTest, ProfileFilesFindKeysWithoutCaseAndKeepTheRestOfTheFile)
{
    const std::string original = "; kept comment\r\n[settings]\r\nlogevents = 1\r\nOdd\xff\xfe line\r\n\r\n[Other]\r\n"
                                 "LogEvents=0\r\nbinary\x01=\x02\r\n";
    WriteFile(ini.path(), original);
    EXPECT_EQ(ini.read("SETTINGS", "LogEvents"), "1");
    EXPECT_EQ(ini.read("Other", "logEVENTS"), "0");
    EXPECT_EQ(ini.read("Missing", "LogEvents"), "");
    EXPECT_EQ(ini.readNumber("Settings", "Odd"), 0);

    ASSERT_TRUE(ini.write("Settings", "HistoryExpires", 30));
    ASSERT_TRUE(ini.write("settings", "LOGEVENTS", 0));
    ASSERT_TRUE(ini.write("New", "Key", "multi\nline"));
    const std::string now = ReadFile(ini.path());
    EXPECT_EQ(now,
              "; kept comment\r\n[settings]\r\nLOGEVENTS=0\r\nOdd\xff\xfe line\r\nHistoryExpires=30\r\n\r\n[Other]\r\n"
              "LogEvents=0\r\nbinary\x01=\x02\r\n\r\n[New]\r\nKey=multi line\r\n");
    EXPECT_EQ(LoadSettings(ini, nullptr).historyExpires, 30);
    EXPECT_FALSE(std::filesystem::exists(ini.path() + ".new"));
}

TEST_F(SettingsTest, WindowPositionsRoundTripAndFallBackToTheDesign)
{
    const WindowPlacement designed{100, 80, 640, 480, false, false, true};
    EXPECT_EQ(RestoreWindowPosition(positions, "Main", designed).x, 100);

    SaveWindowPosition(positions, "Main", {0, 12, 800, 600, false, false, true});
    WindowPlacement p = RestoreWindowPosition(positions, "Main", designed);
    EXPECT_EQ(p.x, 0);  // the left edge is a real place
    EXPECT_EQ(p.y, 12);
    EXPECT_EQ(p.width, 800);
    EXPECT_FALSE(p.maximized);

    SaveWindowPosition(positions, "Main", {5, 6, 1000, 700, true, false, true});
    EXPECT_TRUE(RestoreWindowPosition(positions, "main", designed).maximized);
    SaveWindowPosition(positions, "Main", {9, 9, 10, 10, false, true, true});  // minimised: not saved
    EXPECT_EQ(RestoreWindowPosition(positions, "Main", designed).x, 5);

    // A fixed-size window keeps its designed size; a zero size keeps it too.
    SaveWindowPosition(positions, "About", {30, 40, 0, 999, false, false, true});
    p = RestoreWindowPosition(positions, "About", {1, 2, 300, 200, false, false, false});
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.width, 300);
    EXPECT_EQ(p.height, 200);
    p = RestoreWindowPosition(positions, "About", designed);
    EXPECT_EQ(p.width, 640);
    EXPECT_EQ(p.height, 999);

    // Values no screen can hold fall back to the design, each on its own.
    positions.write("Huge", "XPosit", 4294967496LL);  // wraps to 200 in 32 bits
    positions.write("Huge", "YPosit", 20);
    positions.write("Huge", "Width", 99999999);
    positions.write("Huge", "Height", 500);
    p = RestoreWindowPosition(positions, "Huge", designed);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 80);
    EXPECT_EQ(p.width, 640);
    EXPECT_EQ(p.height, 500);
    positions.write("Huge", "XPosit", -40000);
    positions.write("Huge", "YPosit", 32767);
    p = RestoreWindowPosition(positions, "Huge", designed);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 80);
    positions.write("Huge", "XPosit", -32767);
    EXPECT_EQ(RestoreWindowPosition(positions, "Huge", designed).x, -32767);

    FakePrompter prompter;
    EXPECT_FALSE(ResetWindowSettings(positions, prompter));  // No is the default
    EXPECT_EQ(RestoreWindowPosition(positions, "Main", designed).x, 5);
    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(ResetWindowSettings(positions, prompter));
    EXPECT_EQ(prompter.shown[1].text, "Reset saved window settings?");
    EXPECT_EQ(prompter.shown[1].caption, "Housekeeping");
    p = RestoreWindowPosition(positions, "Main", designed);
    EXPECT_EQ(p.x, 100);
    EXPECT_FALSE(p.maximized);
}

}  // namespace
}  // namespace hrln::test
