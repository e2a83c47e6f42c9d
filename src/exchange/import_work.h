#pragma once

#include "common/batch_job.h"
#include "data/worker_job.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hrln::data {
class Database;
}
namespace hrln::platform {
class Prompter;
}

namespace hrln::exchange {

struct RejectedLine {
    std::uint64_t line = 0;  // where the record began, from 1
    std::string reason;
    std::string item;        // the record named otherwise ("Event 3 (\"Dentist\")"); empty: by its line
};

struct ImportSummary {
    int added = 0;
    int updated = 0;  // records written over by the items they were made of, read again
    std::vector<RejectedLine> rejected;
    std::string rejectedPath;  // where the skipped lines went; empty when none were
    bool cancelled = false;
    std::string failure;       // why the job stopped early; empty when it did not
    std::vector<std::string> notes;  // what the records added could not keep
};

namespace detail {

// What every import is on its worker's thread: the file it reads, the summary
// it keeps, and a refusal that stops it with the user told why.
class ImportWork : public BatchJob {
public:
    Outcome outcome() const override { return refused_ ? Outcome::Refused : Outcome::Completed; }

    const ImportSummary& summary() const { return summary_; }
    bool refused() const { return refused_; }
    // Notes `text` as the failure that stops the import, and says it.
    bool refuse(const std::string& text);

protected:
    ImportWork(data::Database& db, std::string path, platform::Prompter& prompter)
        : db_(db), path_(std::move(path)), prompter_(prompter)
    {
    }
    // Lets go of what was being read, when the import is refused.
    virtual void dropInput() = 0;

    data::Database& db_;
    std::string path_;
    platform::Prompter& prompter_;
    std::uint64_t size_ = 0;
    ImportSummary summary_;
    bool refused_ = false;
};

}  // namespace detail

// An import that runs its work on a thread of its own (see data::WorkerJob),
// the file it reads checked before the thread starts.
class ImportOnThread : public data::WorkerJob {
public:
    // Once the job has ended.
    const ImportSummary& summary() const { return work_->summary(); }
    // Whether the job refused to start, after telling the user why.
    bool refused() const { return work_->refused(); }

protected:
    ImportOnThread(data::Database& db, platform::Prompter& prompter, const std::string& path)
        : WorkerJob(db, prompter)
    {
        setInputFile(path);
    }
    void setImport(std::unique_ptr<detail::ImportWork> work)
    {
        work_ = work.get();
        setWork(std::move(work));
    }

private:
    void refuseInput(const std::string& text) override { work_->refuse(text); }

    detail::ImportWork* work_ = nullptr;  // owned by WorkerJob
};

}  // namespace hrln::exchange
