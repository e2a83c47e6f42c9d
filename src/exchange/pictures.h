#pragma once

#include "common/date_time.h"

#include <optional>
#include <string>
#include <string_view>

// Dates and times written and read in their display pictures.
namespace hrln::exchange {

// The value in `picture`; a zero date or time gives an empty text.
std::string FormatPicture(std::int64_t value, std::string_view picture);
// The value a text in `picture` stands for: 0 for an empty text, nothing for
// a text that is no date (or time) in that picture.
std::optional<std::int64_t> ParsePicture(std::string_view text, std::string_view picture);

}  // namespace hrln::exchange
