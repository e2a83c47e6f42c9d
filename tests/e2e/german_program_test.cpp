// The real program started in German: the frame's menus answer their German
// mnemonics, and the windows they open carry German titles.
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hrln::test {
namespace {

class GermanProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"}) {
            const char* was = std::getenv(name);
            saved_.emplace_back(name, was != nullptr ? std::optional<std::string>(was) : std::nullopt);
        }
        setenv("LANG", "de_DE.UTF-8", 1);
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        unsetenv("LC_MESSAGES");
        unsetenv("LANGUAGE");
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(GermanProgramTest, MenusAndWindowsOpenedByKeysAreGerman)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::string file;
    StartProgram(desktop, file);
    if (HasFatalFailure())
        return;

    // Anzeigen, Assistenten, Nachricht hinzufügen: English has none of these letters there.
    // The title is matched in ASCII: xdotool's pattern reads bytes, not characters.
    const std::string wizard = "Assistent: Nachricht hinzuf.*";
    Keys("alt+a");
    Keys("a");
    Keys("n");
    ASSERT_TRUE(WaitUntil([&] { return Shown(wizard); })) << VisibleTitles();
    EXPECT_FALSE(Shown("Add Message Wizard"));
    Keys("Escape");
    ASSERT_TRUE(WaitUntil([&] { return !Shown(wizard); })) << VisibleTitles();

    // Datei, Einstellungen.
    ActivateFrame();
    Keys("alt+d");
    Keys("e");
    ASSERT_TRUE(WaitUntil([] { return Shown("Einstellungen"); })) << VisibleTitles();
    Keys("Escape");
    ASSERT_TRUE(WaitUntil([] { return !Shown("Einstellungen"); })) << VisibleTitles();

    // Anzeigen, Schnellerinnerung through the Assistenten menu.
    ActivateFrame();
    Keys("alt+a");
    Keys("a");
    Keys("s");
    ASSERT_TRUE(WaitUntil([] { return Shown("Schnellerinnerung"); })) << VisibleTitles();
    Keys("Escape");
    EXPECT_TRUE(WaitUntil([] { return !Shown("Schnellerinnerung"); })) << VisibleTitles();
}

}  // namespace
}  // namespace hrln::test
