#pragma once

#include "data/database.h"
#include "data/settings.h"
#include "platform/clipboard.h"
#include "platform/clock.h"

#include <string>
#include <string_view>

namespace hrln::pim {

// The key that refuses a text already saved: its first 40 letters A to Z, in
// upper case, in order. Texts that differ only in case, spacing, punctuation
// or digits share it; a text without such letters has a blank key.
std::string ClipHashKey(std::string_view text);

// Saves each new clipboard text into the Clipboard table, looking every third
// tick, and keeps the table to its limit by dropping the oldest texts.
class ClipboardMonitor {
public:
    static constexpr std::size_t kMaxText = 4096;
    static constexpr int kDefaultLimit = 50;

    ClipboardMonitor(data::Database& db, platform::Clipboard& clipboard, const data::Settings& settings,
                     const platform::Clock& clock);

    // One step, run on every tick of the frame, active or not.
    void step();
    // A window put `text` on the clipboard from the saved texts: it counts as
    // seen, so the next step does not save it again.
    void placed(std::string_view text);

    // The most texts kept; 0 keeps them all. The settings window may change it.
    int limit = kDefaultLimit;

private:
    void trim(const std::string& current);

    data::Database& db_;
    platform::Clipboard& clipboard_;
    const data::Settings& settings_;
    const platform::Clock& clock_;
    int ticks_ = 0;
    std::string lastSeen_;
};

}  // namespace hrln::pim
