#include "cli/backup_command.h"

#include "cli/task_database.h"
#include "data/backup.h"

#include <filesystem>
#include <ostream>

namespace hrln::cli {

const char* const kBackupHelp =
    "Usage: horalyn-cli backup FILE\n"
    "\n"
    "Copies the whole database, HRLN.TPS in the data folder, to FILE: every\n"
    "table with its keys, the tasks' scripts, the links between contacts and\n"
    "tasks, and the records' identities. The program may run meanwhile: the copy\n"
    "is the database as one saved change left it. FILE takes its name only when\n"
    "the copy is whole.\n"
    "\n"
    "To restore, close the program, then copy FILE over HRLN.TPS in the data\n"
    "folder and delete HRLN.TPS-wal and HRLN.TPS-shm beside it if they are there.\n";

int RunBackup(const Arguments& given, const CommandContext& context)
{
    if (given.operands.size() != 1 || !given.options.empty())
        return context.fail("give the file to copy the database to, and nothing else");
    // The database is found by entering the data folder: the name given is
    // taken from where the command was started.
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::absolute(std::string(given.operands[0]), ec);
    if (ec)
        return context.fail("cannot use " + std::string(given.operands[0]) + ": " + ec.message());
    TaskDatabase store(context);
    if (store.open(TaskDatabase::IfMissing::Fail) != data::kOk)
        return kFailed;
    if (std::filesystem::equivalent(target, std::filesystem::absolute(store.db().path()), ec))
        return context.fail("the copy cannot replace the database itself");
    std::string why;
    if (data::BackupDatabase(store.db(), target.string(), why) != data::kOk)
        return context.fail("cannot copy the database to " + target.string() + ": " + why);
    context.out << "The database was copied to " << target.string() << '\n';
    return kDone;
}

}  // namespace hrln::cli
