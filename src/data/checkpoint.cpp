#include "data/checkpoint.h"

#include <sqlite3.h>

#include <chrono>
#include <utility>

namespace hrln::data {

BackgroundCheckpoint::BackgroundCheckpoint(std::string path) : path_(std::move(path)) {}

BackgroundCheckpoint::~BackgroundCheckpoint()
{
    stop();
}

void BackgroundCheckpoint::attach(sqlite3* connection)
{
    // Replaces the automatic checkpoint of the connection.
    sqlite3_wal_hook(connection, &BackgroundCheckpoint::onCommit, this);
    std::lock_guard lock(mutex_);
    if (!worker_.joinable()) {
        stop_ = false;
        worker_ = std::thread([this] { run(); });
    }
}

void BackgroundCheckpoint::stop()
{
    {
        std::lock_guard lock(mutex_);
        if (!worker_.joinable())
            return;
        stop_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

int BackgroundCheckpoint::copies() const
{
    std::lock_guard lock(mutex_);
    return copies_;
}

bool BackgroundCheckpoint::caughtUp() const
{
    std::lock_guard lock(mutex_);
    return !due_ && !running_ && complete_;
}

int BackgroundCheckpoint::onCommit(void* self, sqlite3*, const char*, int pages)
{
    if (pages >= kPages) {
        auto* me = static_cast<BackgroundCheckpoint*>(self);
        {
            std::lock_guard lock(me->mutex_);
            me->due_ = true;
        }
        me->wake_.notify_one();
    }
    return SQLITE_OK;
}

void BackgroundCheckpoint::run()
{
    sqlite3* own = nullptr;
    int lastCopied = -1;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || due_; });
        if (stop_)
            break;
        due_ = false;
        running_ = true;
        lock.unlock();
        if (own == nullptr && sqlite3_open_v2(path_.c_str(), &own, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                              nullptr) != SQLITE_OK) {
            sqlite3_close_v2(own);
            own = nullptr;
        }
        // Passive: whatever a reader still needs stays in the log; a busy
        // result just means another connection is copying. The statement,
        // unlike sqlite3_wal_checkpoint_v2() on a fresh connection, first reads
        // the file and so finds its log.
        int logged = -1;
        int copied = -1;
        sqlite3_stmt* pass = nullptr;
        if (own != nullptr && sqlite3_prepare_v2(own, "PRAGMA wal_checkpoint(PASSIVE)", -1, &pass, nullptr) == SQLITE_OK &&
            sqlite3_step(pass) == SQLITE_ROW && sqlite3_column_int(pass, 0) == 0) {
            logged = sqlite3_column_int(pass, 1);
            copied = sqlite3_column_int(pass, 2);
        }
        sqlite3_finalize(pass);
        const bool ran = logged >= 0;
        const bool complete = ran && copied >= logged;
        // Commits that came while copying are copied at once while that
        // gains ground; a reader that holds the rest waits for the next commit.
        const bool again = ran && !complete && copied > lastCopied;
        lastCopied = complete ? -1 : copied;
        if (again)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        lock.lock();
        running_ = false;
        complete_ = complete;
        if (complete)
            ++copies_;
        if (again)
            due_ = true;
    }
    lock.unlock();
    sqlite3_close_v2(own);
}

}  // namespace hrln::data
