#include "cli/command.h"

#include <algorithm>
#include <optional>
#include <ostream>

namespace hrln::cli {
namespace {

bool Listed(std::span<const std::string_view> names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::string Quoted(std::string_view s)
{
    return "'" + std::string(s) + "'";
}

int CommandContext::fail(std::string_view reason, int status) const
{
    err << "horalyn-cli " << name << ": " << reason << '\n';
    return status;
}

std::variant<Arguments, HelpRequested, std::string> ScanArguments(std::span<const std::string_view> args,
                                                                  std::span<const std::string_view> valued,
                                                                  std::span<const std::string_view> flags)
{
    // Help wins over any mistake beside it.
    for (std::string_view arg : args)
        if (arg == "--help" || arg == "-h")
            return HelpRequested{};

    Arguments scanned;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view option = args[i];
        if (!option.starts_with("-") || option == "-") {
            scanned.operands.push_back(option);
            continue;
        }
        std::optional<std::string_view> value;
        if (const std::size_t eq = option.find('='); option.starts_with("--") && eq != std::string_view::npos) {
            value = option.substr(eq + 1);
            option = option.substr(0, eq);
        }
        if (Listed(flags, option)) {
            if (value)
                return "option " + std::string(option) + " takes no value";
            scanned.options.emplace_back(option, std::string_view());
            continue;
        }
        if (!Listed(valued, option))
            return "unknown option " + Quoted(option) + "; try --help";
        if (!value) {
            if (i + 1 >= args.size())
                return "option " + std::string(option) + " needs a value";
            value = args[++i];
        }
        scanned.options.emplace_back(option, *value);
    }
    return scanned;
}

}  // namespace hrln::cli
