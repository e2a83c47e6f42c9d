#pragma once

#include "cli/command.h"
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
// --days and --ordinals only where the rule reads them (a "Once" task given
// weekdays would silently ignore them), and a custom repetition's unit; a
// reason when the rule does not fit them.
std::optional<std::string> CheckRuleOptions(const data::ScheduleRecord& task, const Arguments& given);

}  // namespace hrln::cli
