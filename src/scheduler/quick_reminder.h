#pragma once

#include "data/database.h"
#include "data/records.h"
#include "platform/clock.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A reminder set in one line: a text and when, as a user says it.
namespace hrln::scheduler {

// The moment a phrase names, counted from `now`:
//   "in 10 minutes", "in 2 h", "in 1 hour 30 min", "in an hour", "in 3 days";
//   "at 14:30" or "14:30" alone: the next 14:30, tomorrow once it has passed;
//   "today 17:00", "tomorrow 9:00", "tomorrow at 9pm", "tomorrow" (this time);
//   "2027-03-01 9:00", "on 3/1/27 at 9".
// Times and dates as a field takes them (common/typed_input.h, in `locale`).
// None for anything else, an amount of 0, or a moment after kLastDate.
std::optional<platform::DateTime> ParseWhenPhrase(std::string_view phrase, platform::DateTime now,
                                                  std::string_view locale);

struct QuickReminder {
    std::string text;  // "Reminder" when only the moment was given
    platform::DateTime at;
};

// A line such as "Call Bob in 10 minutes" or "tomorrow 9:00 dentist": the
// phrase is taken from its end or its start and begins with "in", "at",
// "on", "today" or "tomorrow" (or is the whole line), so a number inside
// the text ("Call 911") is never read as a time.
std::optional<QuickReminder> ParseQuickReminder(std::string_view line, platform::DateTime now,
                                                std::string_view locale);

// What was understood, for the window to show: "Call Bob" on Thursday,
// December 10, 2026 at 2:40 PM.
std::string DescribeReminder(const QuickReminder& reminder);
// What the window says when no moment is understood.
std::string QuickReminderHelp();

// The once-only message task of a reminder, in category "General".
data::ScheduleRecord QuickReminderTask(const QuickReminder& reminder);
// Adds `task` under a new number, with the category "General" made when
// missing, both or neither; the error code, kOk when added (`task.id` set).
int AddQuickReminder(data::Database& db, data::ScheduleRecord& task, const std::function<bool()>& askRetry);

}  // namespace hrln::scheduler
