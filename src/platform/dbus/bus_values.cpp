#include "platform/dbus/bus_values.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace hrln::platform::dbus {

namespace {

constexpr std::string_view kBasicTypes = "ybnqiuxtdsog";

bool IsBasic(std::string_view type)
{
    return type.size() == 1 && kBasicTypes.find(type.front()) != std::string_view::npos;
}

// The length of the complete type at the start of `s`, 0 when there is none.
std::size_t CompleteTypeLength(std::string_view s, int depth = 0)
{
    if (s.empty() || depth > 32)
        return 0;
    const char c = s.front();
    if (kBasicTypes.find(c) != std::string_view::npos || c == 'v' || c == 'h')
        return 1;
    if (c == 'a') {
        if (s.size() > 1 && s[1] == '{') {
            // A dictionary entry: a basic key and one complete value type.
            if (s.size() < 5 || !IsBasic(s.substr(2, 1)))
                return 0;
            const std::size_t value = CompleteTypeLength(s.substr(3), depth + 1);
            if (value == 0 || s.size() <= 3 + value || s[3 + value] != '}')
                return 0;
            return value + 4;
        }
        const std::size_t element = CompleteTypeLength(s.substr(1), depth + 1);
        return element == 0 ? 0 : element + 1;
    }
    if (c == '(') {
        std::size_t i = 1;
        while (i < s.size() && s[i] != ')') {
            const std::size_t n = CompleteTypeLength(s.substr(i), depth + 1);
            if (n == 0)
                return 0;
            i += n;
        }
        return i < s.size() && i > 1 ? i + 1 : 0;
    }
    return 0;
}

std::string Shown(const BusArgument& arg)
{
    switch (arg.form) {
    case BusArgument::Form::Quoted:
        return "\"" + arg.text + "\"";
    case BusArgument::Form::List:
        return "a list";
    case BusArgument::Form::Dict:
        return "{}";
    case BusArgument::Form::Word:
        break;
    }
    return "\"" + arg.text + "\"";
}

template <class T>
bool ReadNumber(const std::string& text, T& value)
{
    std::string_view s = text;
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool IsWholeNumber(const std::string& text)
{
    std::int64_t i = 0;
    std::uint64_t u = 0;
    return ReadNumber(text, i) || ReadNumber(text, u);
}

class Converter {
public:
    std::string problem;

    std::optional<BusValue> convert(const BusArgument& arg, const std::string& wanted)
    {
        // A prefix wins over what the method says.
        const std::string type = arg.type.empty() ? wanted : arg.type;
        if (type.empty())
            return convert(arg, SuggestedType(arg));
        if (type == "v")
            return variant(arg);
        if (type.front() == 'a' && type.size() > 1 && type[1] == '{')
            return dictionary(arg, type);
        if (type.front() == 'a')
            return array(arg, type);
        if (!IsBasic(type))
            return fail("values of type " + type + " cannot be written");
        if (arg.form == BusArgument::Form::List || arg.form == BusArgument::Form::Dict)
            return fail(Shown(arg) + " is not a valid " + TypeWord(type));
        return basic(arg.text, type, arg);
    }

private:
    std::optional<BusValue> fail(std::string text)
    {
        if (problem.empty())
            problem = std::move(text);
        return std::nullopt;
    }

    // What an untyped argument is taken for when the method does not say.
    static std::string SuggestedType(const BusArgument& arg)
    {
        switch (arg.form) {
        case BusArgument::Form::Quoted:
            return "s";
        case BusArgument::Form::Dict:
            return "a{sv}";
        case BusArgument::Form::List: {
            std::string element;
            for (const BusArgument& e : arg.elements) {
                const std::string t = e.type.empty() ? SuggestedType(e) : e.type;
                if (!element.empty() && t != element)
                    return "av";  // mixed elements: each one says its own type
                element = t;
            }
            return "a" + (element.empty() ? std::string("s") : element);
        }
        case BusArgument::Form::Word:
            break;
        }
        if (arg.text == "true" || arg.text == "false")
            return "b";
        std::int64_t i = 0;
        if (ReadNumber(arg.text, i)) {
            const bool fits = i >= std::numeric_limits<std::int32_t>::min() && i <= std::numeric_limits<std::int32_t>::max();
            return fits ? "i" : "x";
        }
        std::uint64_t u = 0;
        if (ReadNumber(arg.text, u))
            return "t";
        double d = 0;
        if (ReadNumber(arg.text, d))
            return "d";
        return "s";
    }

    std::optional<BusValue> variant(const BusArgument& arg)
    {
        const BusArgument& inner = arg.type == "v" ? arg.elements.front() : arg;
        std::optional<BusValue> value = inner.type.empty() ? convert(inner, SuggestedType(inner)) : convert(inner, "");
        if (!value)
            return std::nullopt;
        BusValue v{"v", std::vector<BusValue>{}};
        std::get<std::vector<BusValue>>(v.data).push_back(std::move(*value));
        return v;
    }

    std::optional<BusValue> array(const BusArgument& arg, const std::string& type)
    {
        if (arg.form != BusArgument::Form::List)
            return fail(Shown(arg) + " is not a list");
        const std::string element = type.substr(1);
        if (!IsBasic(element) && element != "v")
            return fail("arrays of " + element + " cannot be written");
        BusValue v{type, std::vector<BusValue>{}};
        for (const BusArgument& e : arg.elements) {
            std::optional<BusValue> value = convert(e, element);
            if (!value)
                return std::nullopt;
            if (value->signature != element)
                return fail("an element of type " + value->signature + " does not belong in " + type);
            std::get<std::vector<BusValue>>(v.data).push_back(std::move(*value));
        }
        return v;
    }

    std::optional<BusValue> dictionary(const BusArgument& arg, const std::string& type)
    {
        if (arg.form != BusArgument::Form::Dict)
            return fail(Shown(arg) + " is not a dictionary: only {} can be written");
        return BusValue{type, std::vector<BusValue>{}};
    }

    std::optional<BusValue> basic(const std::string& text, const std::string& type, const BusArgument& arg)
    {
        const char t = type.front();
        const auto whole = [&](auto minimum, auto maximum) -> std::optional<BusValue> {
            using T = decltype(minimum);
            T value{};
            if (!ReadNumber(text, value) || value < minimum || value > maximum)
                return fail(Shown(arg) + " is not a valid " + TypeWord(type));
            if constexpr (std::is_signed_v<T>)
                return BusValue{type, static_cast<std::int64_t>(value)};
            else
                return BusValue{type, static_cast<std::uint64_t>(value)};
        };
        switch (t) {
        case 'y':
            return whole(std::uint64_t{0}, std::uint64_t{255});
        case 'n':
            return whole(std::int64_t{std::numeric_limits<std::int16_t>::min()},
                         std::int64_t{std::numeric_limits<std::int16_t>::max()});
        case 'q':
            return whole(std::uint64_t{0}, std::uint64_t{std::numeric_limits<std::uint16_t>::max()});
        case 'i':
            return whole(std::int64_t{std::numeric_limits<std::int32_t>::min()},
                         std::int64_t{std::numeric_limits<std::int32_t>::max()});
        case 'u':
            return whole(std::uint64_t{0}, std::uint64_t{std::numeric_limits<std::uint32_t>::max()});
        case 'x':
            return whole(std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max());
        case 't':
            return whole(std::uint64_t{0}, std::numeric_limits<std::uint64_t>::max());
        case 'd': {
            double value = 0;
            if (!ReadNumber(text, value) || !std::isfinite(value))
                return fail(Shown(arg) + " is not a valid double");
            return BusValue{type, value};
        }
        case 'b':
            if (text != "true" && text != "false")
                return fail(Shown(arg) + " is not true or false");
            return BusValue{type, text == "true"};
        case 'o':
            if (!IsValidObjectPath(text))
                return fail(Shown(arg) + " is not an object path");
            return BusValue{type, text};
        case 'g':
            if (!SplitSignature(text))
                return fail(Shown(arg) + " is not a signature");
            return BusValue{type, text};
        default:  // 's'
            // Text is text; a bare number stays what it was written as only
            // when nothing says otherwise, so a string wants it quoted.
            if (arg.form == BusArgument::Form::Word && arg.type.empty() && IsWholeNumber(text))
                return fail(Shown(arg) + " is a number where text is wanted: put it in quotes");
            return BusValue{type, text};
        }
    }
};

}  // namespace

std::optional<std::vector<std::string>> SplitSignature(std::string_view signature)
{
    std::vector<std::string> types;
    while (!signature.empty()) {
        const std::size_t n = CompleteTypeLength(signature);
        if (n == 0)
            return std::nullopt;
        types.emplace_back(signature.substr(0, n));
        signature.remove_prefix(n);
    }
    return types;
}

std::string TypeWord(std::string_view type)
{
    static constexpr std::pair<char, std::string_view> kWords[] = {
        {'y', "byte"},   {'b', "boolean"}, {'n', "int16"},  {'q', "uint16"},  {'i', "int32"},     {'u', "uint32"},
        {'x', "int64"},  {'t', "uint64"},  {'d', "double"}, {'s', "string"},  {'o', "objpath"},   {'g', "signature"},
    };
    if (type.size() == 1)
        for (const auto& [c, word] : kWords)
            if (c == type.front())
                return std::string(word);
    return std::string(type);
}

BusConversion ConvertArguments(const std::vector<BusArgument>& arguments, const std::optional<std::string>& signature)
{
    BusConversion result;
    std::vector<std::string> wanted(arguments.size());
    if (signature) {
        const std::optional<std::vector<std::string>> types = SplitSignature(*signature);
        if (!types) {
            result.problem = "the service describes the method with a signature that cannot be read";
            return result;
        }
        if (types->size() != arguments.size()) {
            result.problem = "the method takes " + std::to_string(types->size()) +
                             (types->size() == 1 ? " argument, not " : " arguments, not ") +
                             std::to_string(arguments.size());
            return result;
        }
        wanted = *types;
    }
    Converter converter;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::optional<BusValue> value = converter.convert(arguments[i], wanted[i]);
        if (!value) {
            result.problem = "argument " + std::to_string(i + 1) + ": " + converter.problem;
            result.values.clear();
            return result;
        }
        result.values.push_back(std::move(*value));
    }
    return result;
}

}  // namespace hrln::platform::dbus
