#pragma once

#include "platform/status_bar.h"
#include "platform/tray_icon.h"
#include "support/fake_journal.h"

#include <map>
#include <string>
#include <vector>

namespace hrln::test {

// Keeps each zone's latest text and the history of every text shown.
class FakeStatusBar : public platform::StatusBar {
public:
    void setZoneText(int zone, std::string_view text) override
    {
        zones[zone] = std::string(text);
        history.emplace_back(text);
    }
    std::map<int, std::string> zones;
    std::vector<std::string> history;
};

// A tray icon that journals "icon <name>" (and "tip <text>" when the tip changes).
class FakeTrayIcon : public platform::TrayIcon {
public:
    explicit FakeTrayIcon(Journal* journal = nullptr) : journal_(journal) {}

    bool isShown() const override { return shown; }
    std::string iconName() const override { return icon; }
    void showIcon(const std::string& name, const std::string& newTip) override
    {
        icon = name;
        Note(journal_, "icon " + name);
        if (!newTip.empty() && newTip != tip) {
            tip = newTip;
            Note(journal_, "tip " + newTip);
        }
    }

    bool shown = false;
    std::string icon = "tray_ico";
    std::string tip;

private:
    Journal* journal_;
};

}  // namespace hrln::test
