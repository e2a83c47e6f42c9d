#pragma once

#include "cli/command.h"
#include "cli/stream_prompter.h"
#include "data/database.h"
#include "data/records.h"

#include <string_view>

namespace hrln::cli {

// The program's database for one command: found in the data folder (which
// becomes the current folder, as for the program itself), opened with the
// standard messages, and closed when the command is over. Record buffers over
// it must be gone before it is.
class TaskDatabase {
public:
    explicit TaskDatabase(const CommandContext& context);
    ~TaskDatabase();
    TaskDatabase(const TaskDatabase&) = delete;
    TaskDatabase& operator=(const TaskDatabase&) = delete;

    enum class IfMissing {
        Create,  // make an empty one
        Absent,  // give kNoFile and say nothing: the caller tells what is not there
        Fail,    // report it as the program does
    };
    // kOk; kNoFile without a word for a missing file with IfMissing::Absent;
    // any other code has been reported.
    int open(IfMissing missing);
    data::Database& db() { return db_; }

    // Reports a failed database operation as the command's one line and gives kFailed.
    int fail(std::string_view what, int code) const;

private:
    const CommandContext& context_;
    StreamPrompter prompter_;
    data::Database db_;
    bool open_ = false;
};

}  // namespace hrln::cli
