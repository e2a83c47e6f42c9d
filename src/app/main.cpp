// Horalyn: a desktop task scheduler. The data folder becomes the current
// folder, so the database and the INI files live there.
#include "app/application.h"
#include "app/command_line.h"
#include "app/message_log.h"
#include "data/database.h"
#include "platform/posix/data_folder.h"
#include "platform/posix/helper_programs.h"
#include "platform/posix/open_file_locks.h"
#include "platform/posix/private_files.h"
#include "ui/widgets/language.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

int Refuse(const std::string& problem)
{
    std::fprintf(stderr, "horalyn: %s\nTry 'horalyn --help' for more information.\n", problem.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    using hrln::app::ProgramOptions;
    // --help and --version answer without a display; the rest of the line is
    // read once Qt has taken its own options out.
    {
        const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        const ProgramOptions early = hrln::app::ReadProgramOptions(args);
        if (early.action == ProgramOptions::Action::Help) {
            std::fputs(hrln::app::ProgramHelp(hrln::platform::posix::DataFolderPath()).c_str(), stdout);
            return 0;
        }
        if (early.action == ProgramOptions::Action::Version) {
            std::fputs(hrln::app::ProgramVersion().c_str(), stdout);
            return 0;
        }
    }
    // Before anything is written or opened: the database, the INI files, the
    // event log and the exports are the user's alone, and a dialog or library
    // that peeks into the database files must not cancel our locks on them.
    hrln::platform::posix::KeepNewFilesPrivate();
    hrln::data::Database::UseFileCalls(hrln::platform::posix::OpenFileDescriptionLocks());
    // Our helper programs run only when started by us.
    hrln::platform::posix::MarkHelpersStartedByUs();
    hrln::app::InstallMessageLog(hrln::app::DebugFromEnvironment(std::getenv("HORALYN_DEBUG")));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("horalyn"));
    QApplication::setDesktopFileName(QStringLiteral("horalyn"));
    // The user's language, from LANGUAGE, LC_ALL, LC_MESSAGES or LANG.
    hrln::ui::InstallLanguage(QLocale::system(), hrln::app::ShippedFile(QStringLiteral("translations")));

    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ProgramOptions options = hrln::app::ReadProgramOptions(args);
    if (options.action == ProgramOptions::Action::Fail)
        return Refuse(options.problem);
    if (options.verbose)
        hrln::app::InstallMessageLog(true);

    std::string error;
    if (!hrln::platform::posix::EnterDataFolder(error)) {
        qCritical("cannot use the data folder: %s", error.c_str());
        QMessageBox::critical(
            nullptr, QStringLiteral("Horalyn"),
            QCoreApplication::translate("Start", "Horalyn cannot use its data folder:\n%1").arg(QString::fromStdString(error)));
        return 1;
    }
    qDebug("data folder %s", hrln::platform::posix::DataFolderPath().c_str());
    return hrln::app::RunApplication(QString::fromStdString(hrln::platform::posix::DataFolderPath()),
                                     {options.minimized});
}
