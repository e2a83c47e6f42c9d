#include "common/batch_job.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace hrln {
namespace {

// Handles `total` numbered records, `count` at a time, and remembers what it saw.
class CountingJob : public BatchJob {
public:
    explicit CountingJob(int total, bool refuse = false) : total_(total), refuse_(refuse) {}
    std::string description() const override { return "Counting Records"; }
    bool begin() override { return !refuse_; }
    bool step(int count) override
    {
        batches.push_back(count);
        done_ = std::min(total_, done_ + count);
        return done_ < total_;
    }
    int percent() const override { return PercentDone(done_, total_); }
    void end(bool cancelled) override { ended = cancelled ? 2 : 1; }

    std::vector<int> batches;
    int ended = 0;
    int done() const { return done_; }

private:
    int total_;
    bool refuse_;
    int done_ = 0;
};

TEST(PercentDoneTest, WholeNumberThatNeverPassesAHundred)
{
    EXPECT_EQ(PercentDone(0, 0), 0);
    EXPECT_EQ(PercentDone(5, 0), 0);  // nothing known yet
    EXPECT_EQ(PercentDone(1, 3), 33);
    EXPECT_EQ(PercentDone(2, 3), 66);
    EXPECT_EQ(PercentDone(999, 1000), 99);
    EXPECT_EQ(PercentDone(1500, 1000), 100);  // an estimate passed
    constexpr auto huge = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(PercentDone(huge / 2, huge), 50);
    EXPECT_EQ(PercentDone(huge - 1, huge), 99);
}

TEST(BatchRunTest, RunsBatchesToCompletionAndTellsTheWindow)
{
    CountingJob job(25);
    BatchRun run(job, 10);
    EXPECT_EQ(run.progressText(), "0% Completed");
    ASSERT_TRUE(run.start());
    run.tick();
    EXPECT_EQ(run.progressText(), "40% Completed");
    run.tick();
    run.tick();
    EXPECT_EQ(run.state(), BatchRun::State::Completed);
    EXPECT_EQ(run.progressText(), "Process Completed");
    EXPECT_EQ(run.percent(), 100);
    run.tick();  // nothing after the end
    EXPECT_EQ(job.batches, (std::vector<int>{10, 10, 10}));
    EXPECT_EQ(job.ended, 1);
}

TEST(BatchRunTest, CancelKeepsTheWorkDoneAndRefusalDoesNothing)
{
    CountingJob job(100);
    BatchRun run(job, 10);
    ASSERT_TRUE(run.start());
    run.tick();
    run.cancel();
    run.tick();
    EXPECT_EQ(run.state(), BatchRun::State::Cancelled);
    EXPECT_EQ(job.done(), 10);
    EXPECT_EQ(job.ended, 2);

    CountingJob refusing(100, true);
    BatchRun refused(refusing, 10);
    EXPECT_FALSE(refused.start());
    refused.tick();
    refused.cancel();
    EXPECT_TRUE(refusing.batches.empty());
    EXPECT_EQ(refusing.ended, 0);  // nothing began, so nothing ends
}

// Stops only when a later step says so, as a job on a thread of its own does,
// and may refuse once begun.
class LaterJob : public CountingJob {
public:
    explicit LaterJob(Outcome outcome) : CountingJob(100), outcome_(outcome) {}
    bool step(int count) override { return !asked_ && outcome_ != Outcome::Refused && CountingJob::step(count); }
    bool cancelLater() override { return asked_ = true; }
    Outcome outcome() const override { return asked_ ? Outcome::Cancelled : outcome_; }

private:
    Outcome outcome_;
    bool asked_ = false;
};

TEST(BatchRunTest, AJobThatStopsLaterRunsOnUntilItSaysHowItEnded)
{
    LaterJob job(BatchJob::Outcome::Completed);
    BatchRun run(job, 10);
    ASSERT_TRUE(run.start());
    run.tick();
    run.cancel();
    EXPECT_TRUE(run.running());
    EXPECT_TRUE(run.cancelling());
    EXPECT_EQ(job.ended, 0);
    run.tick();
    EXPECT_EQ(run.state(), BatchRun::State::Cancelled);
    EXPECT_EQ(job.ended, 2);

    LaterJob refusing(BatchJob::Outcome::Refused);
    BatchRun late(refusing, 10);
    ASSERT_TRUE(late.start());
    late.tick();
    EXPECT_EQ(late.state(), BatchRun::State::Refused);
    EXPECT_EQ(late.progressText(), "0% Completed");
    EXPECT_EQ(refusing.ended, 1);  // it began, so it ends
}

}  // namespace
}  // namespace hrln
