#pragma once

#include "data/profile_file.h"

#include <string>

namespace hrln::data {

// A window's place as the window system gives it: the normal (not maximised)
// geometry, and its state.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool minimized = false;
    bool resizable = true;
};

// The largest coordinate or size a screen can give a window (X11 keeps them in
// 16 bits); saved values beyond it are ignored.
inline constexpr long long kLargestScreenCoordinate = 32767;

// Where a window opens: its saved place from `positions`, or `designed` when
// the window has none. Sections are named after the window ("Main", "Setup").
WindowPlacement RestoreWindowPosition(const ProfileFile& positions, const std::string& section,
                                      const WindowPlacement& designed);

// Keeps a closing window's place. A minimised window leaves the saved place as it was.
void SaveWindowPosition(ProfileFile& positions, const std::string& section, const WindowPlacement& current);

}  // namespace hrln::data
