#include "cli/task_database.h"

#include "data/table_open.h"
#include "platform/posix/data_folder.h"

#include <filesystem>

namespace hrln::cli {

TaskDatabase::TaskDatabase(const CommandContext& context)
    : context_(context), prompter_(context.err), db_(data::kMainDatabaseFile, data::MainLayout())
{
}

TaskDatabase::~TaskDatabase()
{
    if (open_)
        data::CloseTable(db_, data::ScheduleRecord::schema());
    // The last connection to close folds the write-ahead log back into the file.
    db_.close();
}

int TaskDatabase::open(IfMissing missing)
{
    std::string folderError;
    if (!platform::posix::EnterDataFolder(folderError)) {
        context_.fail("cannot use the data folder " + folderError);
        return data::kFileSystem;
    }
    const data::OpenResult opened =
        data::CheckOpen(db_, data::ScheduleRecord::schema(), missing == IfMissing::Create,
                        missing == IfMissing::Absent, data::AccessMode::ReadWrite, prompter_);
    if (opened.ok()) {
        open_ = true;
        return data::kOk;
    }
    if (opened.error == data::kNoFile && missing == IfMissing::Absent)
        return data::kNoFile;
    // The program's message has been shown; the command's own line says which
    // file, as the data folder comes from the environment.
    const std::string where = std::filesystem::absolute(db_.path()).string();
    if (opened.error == data::kOk) {
        context_.fail("cannot open " + where);
        return data::kFileSystem;  // told to end without an error code
    }
    context_.fail("cannot open " + where + ": " + data::ErrorDescription(db_, opened.error));
    return opened.error;
}

int TaskDatabase::fail(std::string_view what, int code) const
{
    return context_.fail(std::string(what) + ": " + data::ErrorDescription(db_, code));
}

}  // namespace hrln::cli
