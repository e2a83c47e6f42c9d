#include "cli/cli.h"

#include "cli/add_command.h"
#include "cli/agenda_command.h"
#include "cli/backup_command.h"
#include "cli/command.h"
#include "cli/exchange_commands.h"
#include "cli/next_command.h"
#include "cli/report_command.h"
#include "cli/task_commands.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/user_session.h"

#include <array>
#include <ostream>

namespace hrln::cli {
namespace {

constexpr const char* kUsage =
    "Usage: horalyn-cli COMMAND [OPTIONS]\n"
    "       horalyn-cli --help | --version\n"
    "\n"
    "Commands:\n"
    "  next       list the coming occurrences of a repetition rule\n"
    "  add        add a task to the schedule and print its ID\n"
    "  list       list the tasks (or, with --history, the history entries)\n"
    "  agenda     list what the scheduler will perform over the coming days\n"
    "  show ID    print every field of one task\n"
    "  delete ID  delete one task with its script and contact links\n"
    "  export     write the schedule, contacts or to-do list to a comma-delimited file\n"
    "  import     add the records of a comma-delimited file to one of them\n"
    "  report     print a report as PDF, plain text or comma-delimited text\n"
    "  backup FILE  copy the whole database, scripts and links included\n"
    "\n"
    "The schedule is the one in the program's data folder, $XDG_DATA_HOME/horalyn\n"
    "(by default ~/.local/share/horalyn).\n"
    "Run 'horalyn-cli COMMAND --help' for the options of a command.\n"
    "\n"
    "Exit status: 0 done, 1 no task with the ID given (import: lines skipped),\n"
    "2 bad arguments or an unusable database.\n";

struct Command {
    std::string_view name;
    std::span<const std::string_view> valued;
    std::span<const std::string_view> flags;
    const char* const& help;
    int (*run)(const Arguments&, const CommandContext&);
};

const std::array<Command, 10> kCommands = {{
    {"next", kNextOptions, {}, kNextHelp, RunNext},
    {"add", kAddOptions, kAddFlags, kAddHelp, RunAdd},
    {"list", {}, kListFlags, kListHelp, RunList},
    {"agenda", kAgendaOptions, {}, kAgendaHelp, RunAgenda},
    {"show", {}, {}, kShowHelp, RunShow},
    {"delete", {}, {}, kDeleteHelp, RunDelete},
    {"export", kExchangeOptions, kExchangeFlags, kExportHelp, RunExport},
    {"import", kExchangeOptions, kExchangeFlags, kImportHelp, RunImport},
    {"report", kReportOptions, kReportFlags, kReportHelp, RunReport},
    {"backup", {}, {}, kBackupHelp, RunBackup},
}};

}  // namespace

int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
           const platform::Clock& clock, const platform::Session* session, const PdfRenderer* pdf)
{
    if (args.empty()) {
        err << "horalyn-cli: no command given; try 'horalyn-cli --help'\n";
        return kFailed;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kUsage;
        return kDone;
    }
    if (args[0] == "--version" || args[0] == "-V") {
        out << "horalyn-cli " HRLN_VERSION "\n";
        return kDone;
    }
    for (const Command& command : kCommands) {
        if (args[0] != command.name)
            continue;
        const CommandContext context{command.name, out, err, clock, session, pdf};
        auto scanned = ScanArguments(args.subspan(1), command.valued, command.flags);
        if (auto* reason = std::get_if<std::string>(&scanned))
            return context.fail(*reason);
        if (std::holds_alternative<HelpRequested>(scanned)) {
            out << command.help;
            return kDone;
        }
        return command.run(std::get<Arguments>(scanned), context);
    }
    err << "horalyn-cli: unknown command '" << args[0] << "'; try 'horalyn-cli --help'\n";
    return kFailed;
}

int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    return RunCli(args, out, err, nullptr);
}

int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err, const PdfRenderer* pdf)
{
    const platform::posix::SystemClock clock;
    const platform::posix::UserSession session;
    return RunCli(args, out, err, clock, &session, pdf);
}

}  // namespace hrln::cli
