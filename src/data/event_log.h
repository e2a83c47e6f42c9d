#pragma once

#include "data/settings.h"
#include "platform/clock.h"

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace hrln::data {

inline constexpr const char* kEventLogFile = "HRLNEvnt.LOG";

// The event log: one fixed-width line per event (date 10, time 10, label 30,
// data 50 characters), written only while the LogEvents option is on. The file
// stays open between events and is closed after every 101st line.
class EventLog {
public:
    static constexpr int kLinesPerOpen = 101;

    EventLog(std::string path, const platform::Clock& clock, const Settings& settings);
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Safe to call from any thread.
    void logEvent(std::string_view label, std::string_view data);

    // Told of every event, whether or not the log is on: the program reports
    // them on standard error when asked to be verbose. Set before other
    // threads log; it is called on the logging thread.
    using Observer = std::function<void(std::string_view label, std::string_view data)>;
    void setObserver(Observer observer) { observer_ = std::move(observer); }

    // Lines written since the file was last opened; 0 while it is closed.
    int openCount() const;
    bool isOpen() const;

    // The fixed-width line for one event, without its line end.
    static std::string FormatLine(Date date, Time time, std::string_view label, std::string_view data);

private:
    std::string path_;
    const platform::Clock& clock_;
    const Settings& settings_;
    mutable std::mutex mutex_;
    Observer observer_;
    std::FILE* file_ = nullptr;
    int count_ = 0;
};

}  // namespace hrln::data
