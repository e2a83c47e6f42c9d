#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hrln::platform::posix {

// Splits a parameter text into arguments the way a POSIX shell splits words,
// without running one: blanks separate words; single quotes keep everything
// as written; double quotes keep blanks, and a backslash in them escapes only
// $ ` " \ and a line break; outside quotes a backslash keeps the next
// character. Nothing is expanded (no variables, patterns or "~"). An
// unterminated quote runs to the end of the text.
std::vector<std::string> SplitArguments(std::string_view text);

}  // namespace hrln::platform::posix
