#pragma once

#include "common/batch_job.h"
#include "platform/prompter.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hrln::data {

class Database;

// Runs a batch job on a thread of its own, over a connection of its own to the
// same database file, so that none of its long steps (a whole file parsed, a
// line of megabytes, the final store of every record in one transaction) nor
// the locks they wait for stop the caller's thread, whose timer drives the
// scheduler. Each step() hands the thread one batch and waits for it only
// briefly, so the work never runs more than a batch ahead of its window and
// Cancel stops it after the batch in progress. What the job tells the user
// is kept and told from the caller's thread when the job ends. Records the
// work keeps aside (StagedRecords) live on its connection, which the thread
// alone uses from the work's begin() to its end().
class WorkerJob : public BatchJob {
public:
    ~WorkerJob() override;
    WorkerJob(const WorkerJob&) = delete;
    WorkerJob& operator=(const WorkerJob&) = delete;

    std::string description() const override { return description_; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override { return percent_.load(); }
    bool cancelLater() override;
    Outcome outcome() const override;
    void end(bool cancelled) override;

    // How long step() waits for the batch it handed over: short enough that
    // the caller's timers keep their time, long enough not to spin.
    static constexpr std::chrono::milliseconds kWait{10};

protected:
    // `what` names the job in the message of a connection that cannot be
    // opened ("The database could not be opened for the import"), shown
    // under `caption`, as is an end of the program the work asks for.
    WorkerJob(Database& db, platform::Prompter& prompter, std::string what = "the import",
              std::string caption = "Import");

    // The job to run, made over connection() and messages(); once, in the
    // constructor of the class that wraps it. Its results may be read once
    // the run has ended.
    void setWork(std::unique_ptr<BatchJob> work);
    // The file the job reads: one that is missing or no regular file is
    // refused by begin() at once, on the caller's thread, before the work starts.
    void setInputFile(std::string path) { inputFile_ = std::move(path); }
    // Refuses the input file before the work starts: the user is told `text`
    // at once; a work that keeps its failure notes it too.
    virtual void refuseInput(const std::string& text);
    // Checks the work needs on the caller's connection, on the caller's
    // thread, before the work starts (and after the input file's): false, with
    // the reason told through messages(), refuses the job at once.
    virtual bool checkBeforeStart() { return true; }
    // Tells the user, from the caller's thread, what the work kept to tell.
    void showMessages();
    Database& connection() { return *own_; }
    platform::Prompter& messages() { return kept_; }

private:
    // Answers as a message box's default would and keeps the boxes.
    class KeptMessages : public platform::Prompter {
    public:
        explicit KeptMessages(std::string boxCaption) : caption(std::move(boxCaption)) {}
        platform::MessageButton ask(const platform::MessageBox& box) override;
        void endProgram(const std::string& message) override;
        std::string caption;
        std::vector<platform::MessageBox> boxes;
    };

    void work();
    void join();

    platform::Prompter& prompter_;
    std::unique_ptr<Database> own_;
    std::string what_;
    KeptMessages kept_;
    std::unique_ptr<BatchJob> work_;
    std::string description_;
    std::string inputFile_;
    std::thread thread_;
    std::atomic<int> percent_{0};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int granted_ = 0;  // records of the batch handed over and not yet done
    bool cancel_ = false;
    bool finished_ = false;
    Outcome outcome_ = Outcome::Completed;
};

}  // namespace hrln::data
