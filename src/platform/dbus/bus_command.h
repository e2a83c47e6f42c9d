#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace hrln::platform::dbus {

// An argument as written: "text", 42 (32 bits when it fits, else 64) or true/false.
using BusArgument = std::variant<std::string, std::int32_t, std::int64_t, bool>;

// A method call written as interface.Method(arguments).
struct BusCommand {
    std::string interface;
    std::string method;
    std::vector<BusArgument> arguments;
};

// Reads `interface.Method` optionally followed by arguments in parentheses,
// separated by commas: double-quoted strings (\" and \\ escape a quote and a
// backslash), whole numbers, true or false. Nothing, when the text is anything
// else.
std::optional<BusCommand> ParseBusCommand(std::string_view text);

// The bus's own naming rules, checked before anything is sent.
bool IsValidBusName(std::string_view name);
bool IsValidObjectPath(std::string_view path);

}  // namespace hrln::platform::dbus
