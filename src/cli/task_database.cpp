#include "cli/task_database.h"

#include "data/table_open.h"
#include "platform/posix/data_folder.h"

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

int TaskDatabase::open(bool create)
{
    std::string folderError;
    if (!platform::posix::EnterDataFolder(folderError)) {
        context_.fail("cannot use the data folder " + folderError);
        return data::kFileSystem;
    }
    const data::OpenResult opened = data::CheckOpen(db_, data::ScheduleRecord::schema(), create, !create,
                                                    data::AccessMode::ReadWrite, prompter_);
    if (opened.ok()) {
        open_ = true;
        return data::kOk;
    }
    if (opened.error == data::kOk)
        return data::kFileSystem;  // told to end without an error code: the message has been shown
    return opened.error;
}

int TaskDatabase::fail(std::string_view what, int code) const
{
    return context_.fail(std::string(what) + ": " + data::ErrorDescription(db_, code));
}

}  // namespace hrln::cli
