#pragma once

#include "platform/windows.h"
#include "support/fake_journal.h"

#include <algorithm>
#include <string>
#include <vector>

namespace hrln::test {

// A desktop of windows the test opens and closes; journals "activate H",
// "restore H" and "close H".
class FakeWindows : public platform::Windows {
public:
    explicit FakeWindows(Journal* journal = nullptr) : journal_(journal) {}

    std::vector<platform::TopLevelWindow> topLevelWindows() override
    {
        ++listings;
        return windows;
    }
    void activate(platform::WindowHandle w) override { Note(journal_, "activate " + std::to_string(w)); }
    void restore(platform::WindowHandle w) override { Note(journal_, "restore " + std::to_string(w)); }
    void postCloseRequest(platform::WindowHandle w) override { Note(journal_, "close " + std::to_string(w)); }
    void applyStartMode(std::int64_t process, int showMode) override
    {
        Note(journal_, "mode " + std::to_string(process) + "|" + std::to_string(showMode));
    }
    bool isOwnMainWindow(platform::WindowHandle w) const override { return w != 0 && w == ownMainWindow; }

    // Opens a window in front of the others.
    void open(platform::WindowHandle handle, std::string title)
    {
        windows.insert(windows.begin(), {handle, std::move(title)});
    }
    void close(platform::WindowHandle handle)
    {
        std::erase_if(windows, [&](const platform::TopLevelWindow& w) { return w.handle == handle; });
    }

    std::vector<platform::TopLevelWindow> windows;  // front to back
    platform::WindowHandle ownMainWindow = 0;
    int listings = 0;

private:
    Journal* journal_;
};

}  // namespace hrln::test
