#pragma once

#include "data/records.h"

#include <string>

namespace hrln::scheduler {

// A task's repetition rule as a reader says it: "Every last Friday of the
// month at 9:00 AM", "Once on December 8, 2026 at 1:05 PM", "Every 90
// minutes". Written from the same fields, and read the same way, as the
// scheduler moves the task on.
std::string RuleInWords(const data::ScheduleRecord& task);

}  // namespace hrln::scheduler
