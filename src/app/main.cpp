// Start-up: the data folder becomes the current folder, the database is opened
// (or created), the settings are read and the start is logged. The main frame
// and its timer are not part of this build yet; the program reports what it
// found and ends.
#include "app/console_prompter.h"
#include "data/database.h"
#include "data/event_log.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/table.h"
#include "data/table_open.h"
#include "platform/posix/data_folder.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/user_session.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kApplicationTitle = "Horalyn 97";

}  // namespace

int main(int argc, char** argv)
{
    using namespace hrln;
    if (argc > 1 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        std::printf("horalyn %s\nData folder: %s\n", HRLN_VERSION, platform::posix::DataFolderPath().c_str());
        return EXIT_SUCCESS;
    }

    std::string error;
    if (!platform::posix::EnterDataFolder(error)) {
        std::fprintf(stderr, "horalyn: cannot use the data folder %s\n", error.c_str());
        return EXIT_FAILURE;
    }

    app::ConsolePrompter prompter;
    platform::posix::SystemClock clock;
    platform::posix::UserSession session;

    data::Database db(data::kMainDatabaseFile, data::MainLayout());
    if (!data::CheckOpen(db, data::ScheduleRecord::schema(), true, false, data::AccessMode::ReadWrite, prompter).ok())
        return EXIT_FAILURE;

    data::ProfileFile ini(data::kSettingsFile);
    ini.write(data::kSettingsSection, "Version", std::string("Horalyn ") + HRLN_VERSION);
    const data::Settings settings = data::LoadSettings(ini, &session);
    data::EventLog log(data::kEventLogFile, clock, settings);
    log.logEvent("Started", kApplicationTitle);

    data::Table<data::ScheduleRecord> alias(db);
    alias.clear();
    alias.setFrom(data::ScheduleRecord::KeyDateEnabled);
    std::printf("%s %s\nData folder: %s\n", kApplicationTitle, HRLN_VERSION,
                platform::posix::DataFolderPath().c_str());
    if (!settings.startUpActive)
        std::printf("Scheduler: Inactive\n");
    if (alias.next() == data::kOk && alias.rec.disabled == 0)
        std::printf("Next: %s %s  %s\n", FormatD3(alias.rec.date).c_str(), FormatT3(alias.rec.time).c_str(),
                    alias.rec.description.c_str());
    else
        std::printf("Next: none scheduled\n");
    return EXIT_SUCCESS;
}
