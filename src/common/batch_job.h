#pragma once

#include <cstdint>
#include <string>

namespace hrln {

// A job that works through records a batch at a time, so that its progress
// window repaints and its Cancel button answers between batches.
class BatchJob {
public:
    virtual ~BatchJob() = default;
    // The job's line in its progress window, e.g. "Importing Script Items".
    virtual std::string description() const = 0;
    // Prepares the work; false ends the job before anything is done (the job
    // has told the user why).
    virtual bool begin() { return true; }
    // Handles up to `count` records; false once no work is left.
    virtual bool step(int count) = 0;
    // The work done so far, as PercentDone() gives it.
    virtual int percent() const = 0;
    // A running count under the percentage, e.g. "12 Found" (empty: none).
    virtual std::string tally() const { return {}; }
    // After the last batch, or after the batch in which the user cancelled;
    // also after a job that works elsewhere refused once begun.
    virtual void end(bool /*cancelled*/) {}

    // A job whose work runs on a thread of its own cannot stop at once, nor
    // tell at begin() whether it will start: it reports how it ended.
    enum class Outcome { Completed, Cancelled, Refused };
    // Asks the job to stop after its batch in progress. True when it stops
    // later, step() returning false once it has; false when it stops now.
    virtual bool cancelLater() { return false; }
    // How the job ended, once step() returned false.
    virtual Outcome outcome() const { return Outcome::Completed; }
};

// `done` over `total` as a whole percentage that never passes 100 (0 while
// the total is unknown): bytes read over the file size, records handled over
// their count or an estimate.
int PercentDone(std::int64_t done, std::int64_t total);

// Drives a job for its progress window and gives the window's texts.
class BatchRun {
public:
    enum class State { Ready, Running, Completed, Cancelled, Refused };

    BatchRun(BatchJob& job, int batchSize) : job_(job), batchSize_(batchSize > 0 ? batchSize : 1) {}

    // Begins the job; false when it refused to start.
    bool start();
    // Runs one batch while the job is running.
    void tick();
    // Ends the job after the batch in progress; the work done stays. A job
    // that stops later keeps running (cancelling()) until a tick sees it end.
    void cancel();

    State state() const { return state_; }
    bool running() const { return state_ == State::Running; }
    bool cancelling() const { return cancelling_; }
    int percent() const { return percent_; }
    // "0% Completed", "37% Completed", ..., "Process Completed".
    std::string progressText() const;

private:
    void finish(State state);

    BatchJob& job_;
    int batchSize_;
    State state_ = State::Ready;
    int percent_ = 0;
    bool cancelling_ = false;
};

}  // namespace hrln
