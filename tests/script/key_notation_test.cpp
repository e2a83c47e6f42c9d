#include "script/key_list_file.h"
#include "script/key_notation.h"
#include "script/key_table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace hrln::script {
namespace {

using Kind = KeyChunk::Kind;

KeyChunk K(platform::KeyCode code)
{
    return {Kind::Key, code, {}};
}
KeyChunk T(std::string text)
{
    return {Kind::Text, 0, std::move(text)};
}
KeyChunk Pause()
{
    return {};
}

TEST(KeyTable, HasEveryGroupWithItsSize)
{
    std::map<KeyGroup, int> sizes;
    std::set<std::string> names;
    for (const KeyName& k : KeyNames()) {
        ++sizes[k.group];
        EXPECT_TRUE(names.insert(k.name).second) << "listed twice: " << k.name;
    }
    EXPECT_EQ(sizes[KeyGroup::Plain], 87);
    EXPECT_EQ(sizes[KeyGroup::Digit], 20);
    for (KeyGroup g : {KeyGroup::Shift, KeyGroup::Ctrl, KeyGroup::Alt, KeyGroup::CtrlShift, KeyGroup::AltShift,
                       KeyGroup::CtrlAlt})
        EXPECT_EQ(sizes[g], 86);
}

TEST(KeyTable, LooksUpNamesInAnyCaseWithTheirCodes)
{
    const std::pair<const char*, platform::KeyCode> cases[] = {
        {"AltF4", 0x473},     {"altf4", 0x473},   {"ALTF4  ", 0x473}, {"CTRLSHIFTESC", 0x31B},
        {"ShiftPad7", 0x167}, {"ENTER", 0x0D},    {"tabkey", 0x09},   {"KEYPAD9", 0x69},
        {"key0", 0x30},       {"F12", 0x7B},      {"pausekey", 0x13}, {"CTRLALTDELETE", 0x62E},
        {"ALTSHIFTTAB", 0x509}, {"mouseright2", 0x06}, {"CAPSLOCKKEY", 0x14}, {"CTRLA", 0x241},
    };
    for (const auto& [name, code] : cases) {
        const KeyLookup found = LookUpKeyName(name);
        EXPECT_EQ(found.kind, KeyLookup::Kind::Key) << name;
        EXPECT_EQ(found.code, code) << name;
    }
    EXPECT_EQ(LookUpKeyName("pause").kind, KeyLookup::Kind::Nothing);
    // Wrong modifier order, no modified Caps Lock, the "KEY" ending after a
    // prefix, leading blanks: none is a key.
    for (const char* name : {"SHIFTCTRLESC", "ALTCTRLA", "SHIFTCAPSLOCK", "CTRLAKEY", " ENTER", "", "KEY", "F13"})
        EXPECT_EQ(LookUpKeyName(name).kind, KeyLookup::Kind::Unknown) << name;
}

TEST(KeyNotation, TextBeforeABracketGoesInBurstsAndTheRestInOnePiece)
{
    // Eleven characters without a bracket: one chunk, more than the burst size.
    EXPECT_EQ(ParseKeystrokes("Hello World", 7), (std::vector<KeyChunk>{T("Hello World")}));
    // Ten characters before [ENTER]: seven, three, then the key.
    EXPECT_EQ(ParseKeystrokes("0123456789[ENTER]", 7),
              (std::vector<KeyChunk>{T("0123456"), T("789"), K(0x0D)}));
    // Bursts count characters, not bytes.
    EXPECT_EQ(ParseKeystrokes("\xC3\xA4\xC3\xB6\xC3\xBC[TAB]", 2),
              (std::vector<KeyChunk>{T("\xC3\xA4\xC3\xB6"), T("\xC3\xBC"), K(0x09)}));
}

TEST(KeyNotation, OddBracketsAndNamesHaveDefinedResults)
{
    const std::vector<std::pair<std::string, std::vector<KeyChunk>>> cases = {
        {"[SHIFTCTRLESC]", {T("SHIFTCTRLESC")}},    // no such key: typed as written
        {"[Hello]x", {T("Hello"), T("x")}},
        {"[PAUSE][PauseKey]", {Pause(), K(0x13)}},
        {"[TAB", {Pause(), T("TAB")}},               // lost "[" still costs a pause
        {"a]b", {T("a]b")}},                         // lone "]" is typed
        {"[]", {T("")}},
        {"ab  [SPACE]  ", {T("ab  "), K(0x20)}},     // trailing blanks never typed
        {"     ", {}},
        {"[[x]", {T("[x")}},                       // the name runs to the first "]"
    };
    for (const auto& [keys, chunks] : cases)
        EXPECT_EQ(ParseKeystrokes(keys, 7), chunks) << keys;
}

TEST(KeyNotation, AFieldOfBracketsEnds)
{
    EXPECT_EQ(ParseKeystrokes(std::string(80, '['), 7).size(), 80u);
    EXPECT_EQ(ParseKeystrokes(std::string(80, ']'), 7), (std::vector<KeyChunk>{T(std::string(80, ']'))}));
    std::string pairs;
    for (int i = 0; i < 40; ++i)
        pairs += "[]";
    EXPECT_EQ(ParseKeystrokes(pairs, 1).size(), 40u);
}

// The key list users read must name exactly the keys the notation knows.
TEST(KeyListFile, AgreesWithTheKeyTable)
{
    std::istringstream in(test::ReadFile(HRLN_KEYCODES_FILE));
    const std::regex entry(R"(^\s+\[([A-Z0-9]+)\]\s+([0-9A-F]{3}|---)\s)");
    std::map<std::string, std::string> listed;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, entry)) {
            EXPECT_TRUE(listed.emplace(m[1], m[2]).second) << "listed twice: " << m[1];
        }
    }
    for (const KeyName& k : KeyNames()) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%03X", static_cast<unsigned>(k.code));
        const auto it = listed.find(k.name);
        if (it == listed.end()) {
            ADD_FAILURE() << "missing from the list: " << k.name;
            continue;
        }
        EXPECT_EQ(it->second, hex) << k.name;
        listed.erase(it);
    }
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed.begin()->first, "PAUSE");
    EXPECT_EQ(listed.begin()->second, "---");
}

TEST(KeyListFile, IsInstalledOnceAndNeverOverwritten)
{
    test::TempDir dir;
    std::string error;
    ASSERT_TRUE(InstallKeyList(HRLN_KEYCODES_FILE, dir.path(), error)) << error;
    EXPECT_EQ(test::ReadFile(dir.file(kKeyListFile)), test::ReadFile(HRLN_KEYCODES_FILE));
    // The user's alone, whatever bits the shipped file has.
    EXPECT_EQ(std::filesystem::status(dir.file(kKeyListFile)).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    test::WriteFile(dir.file(kKeyListFile), "my own notes\n");
    ASSERT_TRUE(InstallKeyList(HRLN_KEYCODES_FILE, dir.path(), error));
    EXPECT_EQ(test::ReadFile(dir.file(kKeyListFile)), "my own notes\n");
    EXPECT_FALSE(InstallKeyList(dir.file("missing.txt"), dir.path() / "no-such-folder", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace hrln::script
