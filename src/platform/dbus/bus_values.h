#pragma once

#include "platform/dbus/bus_command.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace hrln::platform::dbus {

// A value with its bus type, ready to be marshalled.
struct BusValue {
    std::string signature;  // one complete type
    // Signed whole numbers as int64, unsigned ones (and bytes) as uint64,
    // strings, object paths and signatures as text; arrays hold their
    // elements, a variant its one value, a dictionary its "{kv}" entries.
    std::variant<bool, std::int64_t, std::uint64_t, double, std::string, std::vector<BusValue>> data;
};

struct BusConversion {
    std::vector<BusValue> values;
    std::string problem;  // empty when every argument could be converted
};

// Gives each argument its type: the prefix's when it has one, else the
// method's (`signature`, its in-arguments, when known), else the one its
// writing suggests (32-bit whole numbers when they fit, doubles, strings,
// booleans). A value that does not fit its type is a problem, never sent as
// something else.
BusConversion ConvertArguments(const std::vector<BusArgument>& arguments, const std::optional<std::string>& signature);

// The complete types of a signature ("sa{sv}i" gives s, a{sv}, i); nothing
// when it is not a valid signature.
std::optional<std::vector<std::string>> SplitSignature(std::string_view signature);

// The prefix word of a basic type ("int64" for "x").
std::string TypeWord(std::string_view type);

}  // namespace hrln::platform::dbus
