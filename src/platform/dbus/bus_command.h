#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hrln::platform::dbus {

// An argument as written, before the method's signature gives it a type.
struct BusArgument {
    enum class Form {
        Word,    // a bare word: a number, true, false, or (after a prefix or between blanks) any text
        Quoted,  // "text"
        List,    // [a, b] or the elements after an array prefix
        Dict,    // {}: an empty dictionary
    };
    Form form = Form::Word;
    std::string text;                   // a word or the quoted text
    std::string type;                   // the type a prefix gave, as a bus signature ("x", "v", "as"); empty when untyped
    std::vector<BusArgument> elements;  // a list's elements; for a variant prefix, the one argument it wraps
};

// A method call written as interface.Method(arguments) or interface.Method arguments.
struct BusCommand {
    std::string interface;
    std::string method;
    std::vector<BusArgument> arguments;
};

// Reads `interface.Method` optionally followed by arguments in parentheses,
// separated by commas, or after a blank, separated by blanks (as a command
// line gives them). An argument is a double-quoted string (\" and \\ escape a
// quote and a backslash), a number, true or false, a list in brackets, {} for
// an empty dictionary, or any of these after a type prefix: int16: uint16:
// int32: uint32: int64: uint64: double: byte: boolean: string: objpath:
// signature:, variant:<prefix><value>, array:<type>:a,b,c (an array inside
// parentheses that is not the last argument goes in brackets). With
// `interface` given, the command may name only its method. Nothing, when the
// text is anything else.
std::optional<BusCommand> ParseBusCommand(std::string_view text, std::string_view interface = {});

// The bus's own naming rules, checked before anything is sent.
bool IsValidBusName(std::string_view name);
bool IsValidObjectPath(std::string_view path);
bool IsValidInterfaceName(std::string_view name);

}  // namespace hrln::platform::dbus
