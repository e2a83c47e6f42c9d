#include "data/worker_job.h"

#include "common/input_file.h"
#include "data/database.h"

namespace hrln::data {

platform::MessageButton WorkerJob::KeptMessages::ask(const platform::MessageBox& box)
{
    boxes.push_back(box);
    return box.defaultButton;
}

void WorkerJob::KeptMessages::endProgram(const std::string& message)
{
    boxes.push_back({message, caption, platform::MessageIcon::Stop});
}

WorkerJob::WorkerJob(Database& db, platform::Prompter& prompter, std::string what, std::string caption)
    : prompter_(prompter),
      own_(std::make_unique<Database>(db.path(), db.layout())),
      what_(std::move(what)),
      kept_(std::move(caption))
{
    own_->setLockWait(db.lockWait());
}

WorkerJob::~WorkerJob()
{
    {
        std::lock_guard lock(mutex_);
        cancel_ = true;
    }
    changed_.notify_all();
    join();
    // The work's records and statements go before the connection they live on.
    work_.reset();
    own_.reset();
}

void WorkerJob::setWork(std::unique_ptr<BatchJob> work)
{
    work_ = std::move(work);
    description_ = work_->description();
}

bool WorkerJob::begin()
{
    if (thread_.joinable() || finished_)
        return true;
    if (!inputFile_.empty()) {
        if (const std::string problem = InputFileProblem(inputFile_); !problem.empty()) {
            refuseInput("Could not open " + inputFile_ + ": " + problem + ".");
            showMessages();
            return false;
        }
    }
    if (!checkBeforeStart()) {
        showMessages();
        return false;
    }
    thread_ = std::thread([this] { work(); });
    return true;
}

void WorkerJob::work()
{
    Outcome outcome = Outcome::Completed;
    if (const int err = own_->open(); err != kOk) {
        kept_.ask({"The database could not be opened for " + what_ + " (error " + std::to_string(err) + ").",
                   kept_.caption, platform::MessageIcon::Exclamation});
        outcome = Outcome::Refused;
    } else if (!work_->begin()) {
        outcome = Outcome::Refused;
    } else {
        bool cancelled = false;
        for (;;) {
            int count = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return granted_ > 0 || cancel_; });
                if (cancel_) {
                    cancelled = true;
                    break;
                }
                count = granted_;
            }
            const bool more = work_->step(count);
            percent_.store(work_->percent());
            {
                std::lock_guard lock(mutex_);
                granted_ = 0;
            }
            changed_.notify_all();
            if (!more)
                break;
        }
        outcome = cancelled ? Outcome::Cancelled : work_->outcome();
        // The final store, and whatever else ends the work, runs here too.
        work_->end(cancelled);
    }
    own_->close();
    // Told under the lock: once it is released, the thread touches nothing of
    // this object, which the caller may then destroy.
    std::lock_guard lock(mutex_);
    outcome_ = outcome;
    finished_ = true;
    changed_.notify_all();
}

bool WorkerJob::step(int count)
{
    std::unique_lock lock(mutex_);
    if (finished_)
        return false;
    if (granted_ == 0 && !cancel_) {
        granted_ = count > 0 ? count : 1;
        changed_.notify_all();
    }
    changed_.wait_for(lock, kWait, [this] { return finished_ || granted_ == 0; });
    return !finished_;
}

bool WorkerJob::cancelLater()
{
    {
        std::lock_guard lock(mutex_);
        cancel_ = true;
    }
    changed_.notify_all();
    return true;
}

BatchJob::Outcome WorkerJob::outcome() const
{
    std::lock_guard lock(mutex_);
    return outcome_;
}

void WorkerJob::join()
{
    if (!thread_.joinable())
        return;
    bool finished = false;
    {
        std::lock_guard lock(mutex_);
        finished = finished_;
    }
    // A thread that has finished its work still gives its memory back to the
    // system as it ends, a tenth of a second after a large import: the
    // caller, the frame's thread, does not wait for that.
    if (finished)
        thread_.detach();
    else
        thread_.join();
}

void WorkerJob::end(bool /*cancelled*/)
{
    join();
    showMessages();
}

void WorkerJob::refuseInput(const std::string& text)
{
    kept_.ask({text, kept_.caption, platform::MessageIcon::Exclamation});
}

void WorkerJob::showMessages()
{
    std::vector<platform::MessageBox> boxes;
    boxes.swap(kept_.boxes);
    for (const platform::MessageBox& box : boxes)
        prompter_.ask(box);
}

}  // namespace hrln::data
