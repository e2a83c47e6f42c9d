#pragma once

#include "platform/windows.h"

#include <string>
#include <string_view>
#include <vector>

namespace hrln::script {

inline constexpr std::size_t kTitleWidth = 254;

struct OpenWindow {
    std::string title;  // at most 254 characters, never empty
    platform::WindowHandle handle = 0;
};

// The titled top-level windows, front to back, read afresh.
std::vector<OpenWindow> ListOpenWindows(platform::Windows& windows);

// Whether a title matches a title pattern: the title itself, a prefix ending in
// "*" (text after that "*" is ignored), or "*" followed by a phrase the title
// contains; letter case never counts. A blank pattern, or "*" alone, matches
// nothing. A leading "~" is not dropped here.
bool TitleMatchesPattern(std::string_view title, std::string_view pattern);

// The front-most window matching the pattern (a leading "~" ignored), or 0.
platform::WindowHandle FindWindowByPattern(platform::Windows& windows, std::string_view pattern);

// Brings a window to the front with the focus, restored to its normal size.
void ActivateWindow(platform::Windows& windows, platform::WindowHandle handle);

}  // namespace hrln::script
