#include "platform/dbus/bus_command.h"

#include <charconv>
#include <limits>

namespace hrln::platform::dbus {

namespace {

constexpr std::size_t kMaxNameLength = 255;

bool IsAlpha(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A name element: a letter or underscore, then letters, digits, underscores
// (and, where `dash` allows, hyphens).
bool IsElement(std::string_view e, bool dash, bool digitFirst)
{
    if (e.empty())
        return false;
    for (std::size_t i = 0; i < e.size(); ++i) {
        const char c = e[i];
        const bool ok = IsAlpha(c) || (dash && c == '-') || ((i > 0 || digitFirst) && IsDigit(c));
        if (!ok)
            return false;
    }
    return true;
}

// Dot-separated elements, at least `minimum` of them.
bool IsDotted(std::string_view name, std::size_t minimum, bool dash, bool digitFirst)
{
    if (name.empty() || name.size() > kMaxNameLength)
        return false;
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = name.find('.', start);
        const std::string_view e = name.substr(start, dot == std::string_view::npos ? dot : dot - start);
        if (!IsElement(e, dash, digitFirst))
            return false;
        ++count;
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    return count >= minimum;
}

class Reader {
public:
    explicit Reader(std::string_view text) : s_(text) {}

    void skipBlanks()
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t'))
            ++i_;
    }
    bool atEnd() const { return i_ >= s_.size(); }
    bool take(char c)
    {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    std::string_view member()
    {
        const std::size_t start = i_;
        while (i_ < s_.size() && (IsAlpha(s_[i_]) || IsDigit(s_[i_]) || s_[i_] == '.'))
            ++i_;
        return s_.substr(start, i_ - start);
    }
    std::optional<BusArgument> argument()
    {
        if (take('"'))
            return quoted();
        const std::size_t start = i_;
        while (i_ < s_.size() && (IsAlpha(s_[i_]) || IsDigit(s_[i_]) || s_[i_] == '-' || s_[i_] == '+'))
            ++i_;
        const std::string_view word = s_.substr(start, i_ - start);
        if (word == "true")
            return BusArgument{true};
        if (word == "false")
            return BusArgument{false};
        std::string_view digits = word;
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max())
            return BusArgument{static_cast<std::int32_t>(value)};
        return BusArgument{value};
    }

private:
    std::optional<BusArgument> quoted()
    {
        std::string out;
        while (i_ < s_.size()) {
            const char c = s_[i_++];
            if (c == '"')
                return BusArgument{std::move(out)};
            if (c == '\\' && i_ < s_.size() && (s_[i_] == '"' || s_[i_] == '\\'))
                out += s_[i_++];
            else
                out += c;
        }
        return std::nullopt;  // no closing quote
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

std::optional<BusCommand> ParseBusCommand(std::string_view text)
{
    Reader r(text);
    r.skipBlanks();
    const std::string_view member = r.member();
    const std::size_t dot = member.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    BusCommand command;
    command.interface = std::string(member.substr(0, dot));
    command.method = std::string(member.substr(dot + 1));
    if (!IsDotted(command.interface, 2, false, false) || !IsElement(command.method, false, false))
        return std::nullopt;

    r.skipBlanks();
    if (r.take('(')) {
        r.skipBlanks();
        if (!r.take(')')) {
            while (true) {
                r.skipBlanks();
                std::optional<BusArgument> arg = r.argument();
                if (!arg)
                    return std::nullopt;
                command.arguments.push_back(std::move(*arg));
                r.skipBlanks();
                if (r.take(')'))
                    break;
                if (!r.take(','))
                    return std::nullopt;
            }
        }
        r.skipBlanks();
    }
    if (!r.atEnd())
        return std::nullopt;
    return command;
}

bool IsValidBusName(std::string_view name)
{
    if (!name.empty() && name.front() == ':')  // a connection's unique name
        return IsDotted(name.substr(1), 2, true, true);
    return IsDotted(name, 2, true, false);
}

bool IsValidObjectPath(std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return false;
    if (path == "/")
        return true;
    std::size_t start = 1;
    while (true) {
        const std::size_t slash = path.find('/', start);
        const std::string_view e = path.substr(start, slash == std::string_view::npos ? slash : slash - start);
        if (e.empty())
            return false;
        for (const char c : e)
            if (!IsAlpha(c) && !IsDigit(c))
                return false;
        if (slash == std::string_view::npos)
            return true;
        start = slash + 1;
    }
}

}  // namespace hrln::platform::dbus
