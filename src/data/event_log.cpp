#include "data/event_log.h"

#include "common/text.h"

#include <algorithm>

namespace hrln::data {

EventLog::EventLog(std::string path, const platform::Clock& clock, const Settings& settings)
    : path_(std::move(path)), clock_(clock), settings_(settings)
{
}

EventLog::~EventLog()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

std::string EventLog::FormatLine(Date date, Time time, std::string_view label, std::string_view data)
{
    const auto field = [](std::string_view s, std::size_t width) {
        return text::PadToWidth(text::SanitizeUtf8(s), width);
    };
    // The time stands at the right of its field, so it never runs into the date.
    const std::string clock = FormatT7(time);
    return field(FormatD17(date), 10) + std::string(10 - std::min<std::size_t>(clock.size(), 10), ' ') + clock +
           field(label, 30) + field(data, 50);
}

void EventLog::logEvent(std::string_view label, std::string_view data)
{
    if (observer_)
        observer_(label, data);
    if (!settings_.logEvents)
        return;
    const platform::DateTime now = clock_.now();
    const std::string line = FormatLine(now.date, now.time, label, data) + "\n";

    std::lock_guard lock(mutex_);
    if (count_ == 0 && file_ == nullptr)
        file_ = std::fopen(path_.c_str(), "ab");
    ++count_;
    if (file_ != nullptr) {
        // Failures to write the log are not reported; the program goes on.
        std::fwrite(line.data(), 1, line.size(), file_);
        std::fflush(file_);  // each line reaches the file as it happens
    }
    if (count_ >= kLinesPerOpen) {
        if (file_ != nullptr)
            std::fclose(file_);
        file_ = nullptr;
        count_ = 0;
    }
}

int EventLog::openCount() const
{
    std::lock_guard lock(mutex_);
    return count_;
}

bool EventLog::isOpen() const
{
    std::lock_guard lock(mutex_);
    return file_ != nullptr;
}

}  // namespace hrln::data
