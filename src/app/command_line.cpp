#include "app/command_line.h"

namespace hrln::app {

ProgramOptions ReadProgramOptions(std::span<const std::string_view> args)
{
    ProgramOptions options;
    for (const std::string_view arg : args) {
        if (arg == "-h" || arg == "--help") {
            // Asking for help wins over everything else on the line.
            options.action = ProgramOptions::Action::Help;
            return options;
        }
        if (arg == "-V" || arg == "--version") {
            if (options.action != ProgramOptions::Action::Fail)
                options.action = ProgramOptions::Action::Version;
        } else if (arg == "-v" || arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "-m" || arg == "--minimized" || arg == "-t" || arg == "--tray") {
            // Minimised, the frame waits in the notification area (where
            // the desktop has one): a reminder program started at login
            // belongs there, not open in front of the user.
            options.minimized = true;
        } else if (options.action != ProgramOptions::Action::Fail) {
            options.action = ProgramOptions::Action::Fail;
            options.problem = arg.starts_with('-') ? "unknown option '" + std::string(arg) + "'"
                                                   : "unexpected argument '" + std::string(arg) + "'";
        }
    }
    return options;
}

std::string ProgramHelp(std::string_view dataFolder)
{
    return "Usage: horalyn [OPTION]...\n"
           "Desktop task scheduler: shows messages, starts programs and runs scripts on time.\n"
           "\n"
           "Options:\n"
           "  -m, --minimized  start with the main window minimized\n"
           "  -t, --tray       start in the notification area (as --minimized)\n"
           "  -v, --verbose    also write debugging messages to standard error\n"
           "  -h, --help       show this help and exit\n"
           "  -V, --version    show the version and exit\n"
           "\n"
           "Qt's own options, such as -display or -platform, are accepted too.\n"
           "\n"
           "Environment:\n"
           "  HORALYN_DEBUG    when set and not 0, as --verbose\n"
           "  XDG_DATA_HOME    where the data folder lies (default ~/.local/share)\n"
           "\n"
           "Data folder: " +
           std::string(dataFolder) +
           "\n"
           "\n"
           "Exit status: 0 done, 1 the data folder or the database cannot be used,\n"
           "2 bad command line.\n";
}

std::string ProgramVersion()
{
    return "horalyn " HRLN_VERSION "\n";
}

bool DebugFromEnvironment(const char* value)
{
    return value != nullptr && *value != '\0' && std::string_view(value) != "0";
}

}  // namespace hrln::app
