#include "script/window_match.h"

#include "common/text.h"

namespace hrln::script {

std::vector<OpenWindow> ListOpenWindows(platform::Windows& windows)
{
    std::vector<OpenWindow> list;
    for (platform::TopLevelWindow& w : windows.topLevelWindows()) {
        if (w.title.empty())
            continue;
        const std::string title = text::SanitizeUtf8(w.title);
        list.push_back({std::string(text::CutToWidth(title, kTitleWidth)), w.handle});
    }
    return list;
}

bool TitleMatchesPattern(std::string_view title, std::string_view pattern)
{
    const std::string_view clipped = text::Clip(pattern);
    if (clipped.empty())
        return false;
    const std::string upperPattern = text::ToUpper(clipped);
    const std::string upperTitle = text::ToUpper(title);
    if (upperPattern == text::Clip(upperTitle))
        return true;

    const std::size_t star = upperPattern.find('*');
    if (star == std::string::npos)
        return false;
    if (star == 0) {
        const std::string_view phrase = text::Clip(std::string_view(upperPattern).substr(1));
        return !phrase.empty() && upperTitle.find(phrase) != std::string::npos;
    }
    // The characters before the "*", blanks included, begin the title.
    return upperTitle.compare(0, star, upperPattern, 0, star) == 0;
}

platform::WindowHandle FindWindowByPattern(platform::Windows& windows, std::string_view pattern)
{
    if (!pattern.empty() && pattern.front() == '~')
        pattern.remove_prefix(1);
    if (text::Clip(pattern).empty())
        return 0;
    for (const OpenWindow& w : ListOpenWindows(windows))
        if (TitleMatchesPattern(w.title, pattern))
            return w.handle;
    return 0;
}

void ActivateWindow(platform::Windows& windows, platform::WindowHandle handle)
{
    windows.activate(handle);
    windows.restore(handle);
}

}  // namespace hrln::script
