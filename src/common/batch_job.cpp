#include "common/batch_job.h"

#include "common/translate.h"

#include <algorithm>
#include <limits>

namespace hrln {

int PercentDone(std::int64_t done, std::int64_t total)
{
    if (total <= 0 || done <= 0)
        return 0;
    if (done >= total)
        return 100;
    // Whole percent, rounded down; a total too large to multiply is divided instead.
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 100;
    if (total <= kLargest)
        return static_cast<int>(done * 100 / total);
    return static_cast<int>(std::min<std::int64_t>(done / (total / 100), 99));
}

bool BatchRun::start()
{
    if (state_ != State::Ready)
        return state_ == State::Running;
    if (!job_.begin()) {
        state_ = State::Refused;
        return false;
    }
    state_ = State::Running;
    percent_ = 0;
    return true;
}

void BatchRun::tick()
{
    if (state_ != State::Running)
        return;
    const bool more = job_.step(batchSize_);
    percent_ = std::clamp(job_.percent(), percent_, 100);
    if (more)
        return;
    switch (job_.outcome()) {
    case BatchJob::Outcome::Completed: finish(State::Completed); break;
    case BatchJob::Outcome::Cancelled: finish(State::Cancelled); break;
    case BatchJob::Outcome::Refused: finish(State::Refused); break;
    }
}

void BatchRun::cancel()
{
    if (state_ != State::Running || cancelling_)
        return;
    if (job_.cancelLater())
        cancelling_ = true;
    else
        finish(State::Cancelled);
}

void BatchRun::finish(State state)
{
    state_ = state;
    if (state == State::Completed)
        percent_ = 100;
    job_.end(state == State::Cancelled);
}

std::string BatchRun::progressText() const
{
    if (state_ == State::Completed)
        return HrlnTranslate("BatchRun", "Process Completed");
    return FillIn(HrlnTranslate("BatchRun", "%1% Completed"), {std::to_string(percent_)});
}

}  // namespace hrln
