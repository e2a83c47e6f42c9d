#include "data/window_position.h"

#include "common/text.h"

namespace hrln::data {

WindowPlacement RestoreWindowPosition(const ProfileFile& positions, const std::string& section,
                                      const WindowPlacement& designed)
{
    // Only a blank (or missing) position means "never saved": a window kept
    // at the screen's left edge has a real 0.
    if (text::Trim(positions.read(section, "XPosit")).empty())
        return designed;
    WindowPlacement placement = designed;
    if (!designed.maximized) {
        // A place no screen can have (a hand-edited or damaged file) is not
        // used, so the window opens where it was designed and that is saved back.
        const long long x = positions.readNumber(section, "XPosit");
        const long long y = positions.readNumber(section, "YPosit");
        const auto fits = [](long long v) { return v >= -kLargestScreenCoordinate && v <= kLargestScreenCoordinate; };
        if (fits(x) && fits(y)) {
            placement.x = static_cast<int>(x);
            placement.y = static_cast<int>(y);
        }
        if (designed.resizable) {
            const long long width = positions.readNumber(section, "Width");
            const long long height = positions.readNumber(section, "Height");
            if (width > 0 && width <= kLargestScreenCoordinate)
                placement.width = static_cast<int>(width);
            if (height > 0 && height <= kLargestScreenCoordinate)
                placement.height = static_cast<int>(height);
        }
    }
    if (text::EqualNoCase(positions.read(section, "Maximize"), "Yes"))
        placement.maximized = true;
    return placement;
}

void SaveWindowPosition(ProfileFile& positions, const std::string& section, const WindowPlacement& current)
{
    if (current.minimized)
        return;
    positions.write(section, "Maximize", current.maximized ? "Yes" : "No");
    positions.write(section, "XPosit", current.x);
    positions.write(section, "YPosit", current.y);
    positions.write(section, "Width", current.width);
    positions.write(section, "Height", current.height);
}

}  // namespace hrln::data
