#pragma once

#include "data/database.h"
#include "platform/prompter.h"

#include <string>
#include <string_view>

namespace hrln::pim {

// How a saved text shows in one row of the list: its first 255 characters,
// line breaks as a visible mark, tabs and other control characters as blanks,
// direction overrides dropped, so that no text breaks the row or turns the
// rows after it around.
std::string ClipListText(std::string_view contents);

inline constexpr std::size_t kClipListWidth = 255;
inline constexpr const char* kLineBreakMark = "\u21B5";  // ↵

// "Clear All": asks first, then deletes every saved text in one transaction.
// The number of texts deleted; -1 when the user said No or nothing could be
// deleted (after the message).
int ClearClipboardSaver(data::Database& db, platform::Prompter& prompter);

}  // namespace hrln::pim
