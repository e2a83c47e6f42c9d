#include "cli/cli.h"

#include "cli/next_command.h"

#include <ostream>

namespace hrln::cli {
namespace {

constexpr const char* kUsage =
    "Usage: horalyn-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  next    list the coming occurrences of a repetition rule\n"
    "\n"
    "Run 'horalyn-cli next --help' for the options of a command.\n";

constexpr int kBadArguments = 2;

}  // namespace

int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << "horalyn-cli: no command given; try 'horalyn-cli --help'\n";
        return kBadArguments;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kUsage;
        return 0;
    }
    if (args[0] != "next") {
        err << "horalyn-cli: unknown command '" << args[0] << "'; try 'horalyn-cli --help'\n";
        return kBadArguments;
    }

    auto parsed = ParseNextArguments(args.subspan(1));
    if (auto* reason = std::get_if<std::string>(&parsed)) {
        err << "horalyn-cli next: " << *reason << '\n';
        return kBadArguments;
    }
    if (std::holds_alternative<HelpRequested>(parsed)) {
        out << kNextHelp;
        return 0;
    }
    PrintOccurrences(std::get<NextRequest>(std::move(parsed)), out, err);
    return 0;
}

}  // namespace hrln::cli
