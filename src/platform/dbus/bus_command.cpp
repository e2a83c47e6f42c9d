#include "platform/dbus/bus_command.h"

#include <charconv>
#include <cstdint>

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

// The prefix words and the bus types they stand for.
struct Prefix {
    std::string_view word;
    std::string_view type;
};
constexpr Prefix kPrefixes[] = {
    {"int16", "n"},  {"uint16", "q"}, {"int32", "i"},   {"uint32", "u"},  {"int64", "x"},     {"uint64", "t"},
    {"double", "d"}, {"byte", "y"},   {"boolean", "b"}, {"string", "s"},  {"objpath", "o"},   {"signature", "g"},
};

std::optional<std::string_view> BasicTypeOf(std::string_view word)
{
    for (const Prefix& p : kPrefixes)
        if (p.word == word)
            return p.type;
    return std::nullopt;
}

// An untyped bare word inside parentheses must read as a value by itself.
bool IsLiteral(std::string_view word)
{
    if (word == "true" || word == "false")
        return true;
    std::string_view digits = word;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    if (digits.empty())
        return false;
    const char* const first = digits.data();
    const char* const last = first + digits.size();
    std::int64_t i = 0;
    if (const auto r = std::from_chars(first, last, i); r.ec == std::errc() && r.ptr == last)
        return true;
    std::uint64_t u = 0;
    if (const auto r = std::from_chars(first, last, u); r.ec == std::errc() && r.ptr == last)
        return true;
    if (digits.find('.') == std::string_view::npos && digits.find_first_of("eE") == std::string_view::npos)
        return false;  // a whole number out of every range
    double d = 0;
    const auto r = std::from_chars(first, last, d, std::chars_format::general);
    return r.ec == std::errc() && r.ptr == last;
}

class Reader {
public:
    explicit Reader(std::string_view text) : s_(text) {}

    void separateByBlanks() { blanks_ = true; }

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
    bool peek(char c) const { return i_ < s_.size() && s_[i_] == c; }
    std::string_view member()
    {
        const std::size_t start = i_;
        while (i_ < s_.size() && (IsAlpha(s_[i_]) || IsDigit(s_[i_]) || s_[i_] == '.'))
            ++i_;
        return s_.substr(start, i_ - start);
    }
    std::optional<BusArgument> argument()
    {
        if (const std::optional<std::string_view> type = prefix()) {
            if (*type == "v") {
                std::optional<BusArgument> inner = argument();
                if (!inner || inner->type.empty())
                    return std::nullopt;  // a variant says what it holds
                BusArgument arg;
                arg.form = inner->form;
                arg.type = "v";
                arg.elements.push_back(std::move(*inner));
                return arg;
            }
            if (type->front() == 'a')
                return array(std::string(*type));
            std::optional<BusArgument> value = scalar(true);
            if (value)
                value->type = std::string(*type);
            return value;
        }
        if (take('[')) {
            BusArgument list;
            list.form = BusArgument::Form::List;
            if (!elements(list, false, ']'))
                return std::nullopt;
            return list;
        }
        if (take('{')) {
            skipBlanks();
            if (!take('}'))
                return std::nullopt;
            BusArgument dict;
            dict.form = BusArgument::Form::Dict;
            return dict;
        }
        return scalar(false);
    }

private:
    // A known prefix word followed by ':' (and, for array, its element
    // type); gives the type it stands for and moves past it.
    std::optional<std::string_view> prefix()
    {
        const std::size_t start = i_;
        const std::string_view word = name();
        if (!take(':')) {
            i_ = start;
            return std::nullopt;
        }
        if (word == "variant")
            return std::string_view("v");
        if (word == "array") {
            const std::optional<std::string_view> element = BasicTypeOf(name());
            if (element && take(':')) {
                arrayType_ = "a" + std::string(*element);
                return std::string_view(arrayType_);
            }
        } else if (const std::optional<std::string_view> type = BasicTypeOf(word)) {
            return type;
        }
        i_ = start;
        return std::nullopt;
    }
    std::string_view name()
    {
        const std::size_t start = i_;
        while (i_ < s_.size() && (IsAlpha(s_[i_]) || IsDigit(s_[i_])))
            ++i_;
        return s_.substr(start, i_ - start);
    }
    std::optional<BusArgument> array(std::string type)
    {
        BusArgument list;
        list.form = BusArgument::Form::List;
        list.type = std::move(type);
        if (take('[')) {
            if (!elements(list, true, ']'))
                return std::nullopt;
            return list;
        }
        // Unbracketed: comma-separated words up to the end of the argument
        // (a blank, or the closing parenthesis).
        if (atEnd() || peek(' ') || peek('\t') || peek(')'))
            return list;
        while (true) {
            std::optional<BusArgument> e = scalar(true);
            if (!e)
                return std::nullopt;
            list.elements.push_back(std::move(*e));
            if (!take(','))
                return list;
        }
    }
    bool elements(BusArgument& list, bool typed, char close)
    {
        skipBlanks();
        if (take(close))
            return true;
        while (true) {
            skipBlanks();
            std::optional<BusArgument> e = typed ? scalar(true) : argument();
            if (!e)
                return false;
            list.elements.push_back(std::move(*e));
            skipBlanks();
            if (take(close))
                return true;
            if (!take(','))
                return false;
        }
    }
    // A quoted string or a bare word; bare words inside parentheses must be
    // values by themselves unless a prefix says what they are.
    std::optional<BusArgument> scalar(bool prefixed)
    {
        BusArgument arg;
        if (take('"')) {
            arg.form = BusArgument::Form::Quoted;
            if (!quoted(arg.text))
                return std::nullopt;
            return arg;
        }
        const std::size_t start = i_;
        while (i_ < s_.size() && std::string_view(" \t,()[]{}\"").find(s_[i_]) == std::string_view::npos)
            ++i_;
        arg.text = std::string(s_.substr(start, i_ - start));
        if (arg.text.empty() && !prefixed)
            return std::nullopt;
        if (!prefixed && !blanks_ && !IsLiteral(arg.text))
            return std::nullopt;
        return arg;
    }
    bool quoted(std::string& out)
    {
        while (i_ < s_.size()) {
            const char c = s_[i_++];
            if (c == '"')
                return true;
            if (c == '\\' && i_ < s_.size() && (s_[i_] == '"' || s_[i_] == '\\'))
                out += s_[i_++];
            else
                out += c;
        }
        return false;  // no closing quote
    }

    std::string_view s_;
    bool blanks_ = false;
    std::size_t i_ = 0;
    std::string arrayType_;
};

}  // namespace

std::optional<BusCommand> ParseBusCommand(std::string_view text, std::string_view interface)
{
    Reader r(text);
    r.skipBlanks();
    const std::string_view member = r.member();
    const std::size_t dot = member.rfind('.');
    BusCommand command;
    if (dot == std::string_view::npos) {
        if (interface.empty())
            return std::nullopt;
        command.interface = std::string(interface);
        command.method = std::string(member);
    } else {
        command.interface = std::string(member.substr(0, dot));
        command.method = std::string(member.substr(dot + 1));
    }
    if (!IsValidInterfaceName(command.interface) || !IsElement(command.method, false, false))
        return std::nullopt;

    if (!r.atEnd() && !r.peek(' ') && !r.peek('\t') && !r.peek('('))
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
        if (!r.atEnd())
            return std::nullopt;
        return command;
    }
    // The command-line form: arguments after a blank, separated by blanks.
    r.separateByBlanks();
    while (true) {
        r.skipBlanks();
        if (r.atEnd())
            return command;
        std::optional<BusArgument> arg = r.argument();
        if (!arg || !(r.atEnd() || r.peek(' ') || r.peek('\t')))
            return std::nullopt;
        command.arguments.push_back(std::move(*arg));
    }
}

bool IsValidInterfaceName(std::string_view name)
{
    return IsDotted(name, 2, false, false);
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
