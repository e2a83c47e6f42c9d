#pragma once

#include "platform/keyboard.h"
#include "support/fake_journal.h"

#include <cstdio>
#include <string>

namespace hrln::test {

// Journals "key 473" (hexadecimal code) and "type <text>"; can be told to fail.
class FakeKeyboard : public platform::Keyboard {
public:
    explicit FakeKeyboard(Journal* journal = nullptr) : journal_(journal) {}

    bool sendKey(platform::KeyCode code) override
    {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(code));
        Note(journal_, std::string("key ") + hex);
        return !failing;
    }
    bool typeText(std::string_view text) override
    {
        Note(journal_, "type " + std::string(text));
        return !failing;
    }

    bool failing = false;

private:
    Journal* journal_;
};

}  // namespace hrln::test
