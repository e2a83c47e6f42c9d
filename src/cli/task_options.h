#pragma once

#include "data/records.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The options that describe a task's rule and occurrence, taken alike by
// `next` and `add`.
namespace hrln::cli {

// The rule (--type ... --unit) and the occurrence (--date, --time).
inline constexpr std::array<std::string_view, 7> kTaskOptions = {"--type", "--days", "--ordinals", "--every",
                                                                  "--unit", "--date", "--time"};

// Applies one of kTaskOptions to `task`; a reason on bad input.
std::optional<std::string> ApplyTaskOption(data::ScheduleRecord& task, std::string_view option,
                                           std::string_view value);
// A custom repetition needs a unit it knows; a reason when it lacks one.
std::optional<std::string> CheckCustomUnit(const data::ScheduleRecord& task);

}  // namespace hrln::cli
