// Horalyn: a desktop task scheduler. The data folder becomes the current
// folder, so the database and the INI files live there.
#include "app/application.h"
#include "data/database.h"
#include "platform/posix/open_file_locks.h"
#include "platform/posix/data_folder.h"
#include "platform/posix/private_files.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        std::printf("horalyn %s\nData folder: %s\n", HRLN_VERSION,
                    hrln::platform::posix::DataFolderPath().c_str());
        return 0;
    }
    // Before anything is written or opened: the database, the INI files, the
    // event log and the exports are the user's alone, and a dialog or library
    // that peeks into the database files must not cancel our locks on them.
    hrln::platform::posix::KeepNewFilesPrivate();
    hrln::data::Database::UseFileCalls(hrln::platform::posix::OpenFileDescriptionLocks());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("horalyn"));
    QApplication::setDesktopFileName(QStringLiteral("horalyn"));

    std::string error;
    if (!hrln::platform::posix::EnterDataFolder(error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Horalyn"),
                              QStringLiteral("Horalyn cannot use its data folder:\n%1").arg(QString::fromStdString(error)));
        return 1;
    }
    return hrln::app::RunApplication(QString::fromStdString(hrln::platform::posix::DataFolderPath()));
}
