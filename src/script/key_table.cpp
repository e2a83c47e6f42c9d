#include "script/key_table.h"

#include "common/text.h"

#include <string>
#include <unordered_map>

namespace hrln::script {

namespace {

using platform::KeyCode;

struct Base {
    std::string name;
    KeyCode code;
};

// The keys that take a modifier prefix, by the names they have after one.
std::vector<Base> ModifiableBases()
{
    std::vector<Base> bases;
    for (char c = '0'; c <= '9'; ++c)
        bases.push_back({std::string(1, c), static_cast<KeyCode>(c)});
    for (char c = 'A'; c <= 'Z'; ++c)
        bases.push_back({std::string(1, c), static_cast<KeyCode>(c)});
    for (int i = 0; i <= 9; ++i)
        bases.push_back({"PAD" + std::to_string(i), static_cast<KeyCode>(0x60 + i)});
    for (int i = 1; i <= 12; ++i)
        bases.push_back({"F" + std::to_string(i), static_cast<KeyCode>(0x6F + i)});
    const Base named[] = {
        {"AST", 0x6A},   {"PLUS", 0x6B},  {"MINUS", 0x6D}, {"DECIMAL", 0x6E}, {"SLASH", 0x6F},
        {"BS", 0x08},    {"TAB", 0x09},   {"ENTER", 0x0D}, {"PAUSE", 0x13},   {"ESC", 0x1B},
        {"SPACE", 0x20}, {"PGUP", 0x21},  {"PGDN", 0x22},  {"END", 0x23},     {"HOME", 0x24},
        {"LEFT", 0x25},  {"UP", 0x26},    {"RIGHT", 0x27}, {"DOWN", 0x28},    {"PRINT", 0x2C},
        {"INSERT", 0x2D}, {"DELETE", 0x2E}, {"MOUSELEFT", 0x01}, {"MOUSERIGHT", 0x02},
        {"MOUSECENTER", 0x03}, {"MOUSELEFT2", 0x05}, {"MOUSERIGHT2", 0x06}, {"MOUSECENTER2", 0x07},
    };
    bases.insert(bases.end(), std::begin(named), std::end(named));
    return bases;
}

std::vector<KeyName> BuildNames()
{
    std::vector<KeyName> names;
    const auto plain = [&](std::string name, KeyCode code) {
        names.push_back({std::move(name), code, KeyGroup::Plain});
    };
    for (char c = 'A'; c <= 'Z'; ++c)
        plain(std::string(1, c) + "KEY", static_cast<KeyCode>(c));
    for (int i = 1; i <= 12; ++i) {
        plain("F" + std::to_string(i) + "KEY", static_cast<KeyCode>(0x6F + i));
        plain("F" + std::to_string(i), static_cast<KeyCode>(0x6F + i));
    }
    const Base named[] = {
        {"ASTKEY", 0x6A},   {"PLUSKEY", 0x6B},     {"MINUSKEY", 0x6D},  {"DECIMALKEY", 0x6E},
        {"SLASHKEY", 0x6F}, {"BSKEY", 0x08},       {"TABKEY", 0x09},    {"TAB", 0x09},
        {"ENTERKEY", 0x0D}, {"ENTER", 0x0D},       {"PAUSEKEY", 0x13},  {"CAPSLOCKKEY", 0x14},
        {"ESCKEY", 0x1B},   {"ESC", 0x1B},         {"SPACEKEY", 0x20},  {"SPACE", 0x20},
        {"PGUPKEY", 0x21},  {"PGDNKEY", 0x22},     {"ENDKEY", 0x23},    {"HOMEKEY", 0x24},
        {"LEFTKEY", 0x25},  {"LEFT", 0x25},        {"UPKEY", 0x26},     {"UP", 0x26},
        {"RIGHTKEY", 0x27}, {"RIGHT", 0x27},       {"DOWNKEY", 0x28},   {"DOWN", 0x28},
        {"PRINTKEY", 0x2C}, {"INSERTKEY", 0x2D},   {"DELETEKEY", 0x2E}, {"MOUSELEFT", 0x01},
        {"MOUSERIGHT", 0x02}, {"MOUSECENTER", 0x03}, {"MOUSELEFT2", 0x05}, {"MOUSERIGHT2", 0x06},
        {"MOUSECENTER2", 0x07},
    };
    for (const Base& b : named)
        plain(b.name, b.code);

    for (int i = 0; i <= 9; ++i)
        names.push_back({"KEY" + std::to_string(i), static_cast<KeyCode>(0x30 + i), KeyGroup::Digit});
    for (int i = 0; i <= 9; ++i)
        names.push_back({"KEYPAD" + std::to_string(i), static_cast<KeyCode>(0x60 + i), KeyGroup::Digit});

    const std::vector<Base> bases = ModifiableBases();
    for (const KeyPrefix& p : KeyPrefixes())
        for (const Base& b : bases)
            names.push_back({p.prefix + b.name, static_cast<KeyCode>(b.code | p.bits), p.group});
    return names;
}

}  // namespace

const std::vector<KeyPrefix>& KeyPrefixes()
{
    static const std::vector<KeyPrefix> prefixes = {
        {"SHIFT", 0x100, KeyGroup::Shift},         {"CTRL", 0x200, KeyGroup::Ctrl},
        {"ALT", 0x400, KeyGroup::Alt},             {"CTRLSHIFT", 0x300, KeyGroup::CtrlShift},
        {"ALTSHIFT", 0x500, KeyGroup::AltShift},   {"CTRLALT", 0x600, KeyGroup::CtrlAlt},
    };
    return prefixes;
}

const std::vector<KeyName>& KeyNames()
{
    static const std::vector<KeyName> names = BuildNames();
    return names;
}

KeyLookup LookUpKeyName(std::string_view name)
{
    // Every name carries its group's prefix ("KEY", "CTRL", "ALT", "SHIFT" or
    // none) and no name is in two groups, so one map answers for all tables.
    static const std::unordered_map<std::string, KeyCode> byName = [] {
        std::unordered_map<std::string, KeyCode> m;
        for (const KeyName& k : KeyNames())
            m.emplace(k.name, k.code);
        return m;
    }();
    const std::string upper = text::ToUpper(text::Clip(name));
    if (upper == "PAUSE")
        return {KeyLookup::Kind::Nothing, 0};
    const auto it = byName.find(upper);
    if (it == byName.end())
        return {};
    return {KeyLookup::Kind::Key, it->second};
}

}  // namespace hrln::script
