#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct sqlite3;

namespace hrln::data {

// Copies a file's write-ahead log back into the file on a connection and thread
// of its own. Left to SQLite, the commit that passes the log's threshold does
// that copy and its syncs itself, which keeps the frame from its events for a
// hundred milliseconds and more at random; a passive copy here waits for nobody
// and makes nobody wait.
class BackgroundCheckpoint {
public:
    explicit BackgroundCheckpoint(std::string path);
    ~BackgroundCheckpoint();
    BackgroundCheckpoint(const BackgroundCheckpoint&) = delete;
    BackgroundCheckpoint& operator=(const BackgroundCheckpoint&) = delete;

    // Takes over the checkpoints of `connection`, a connection to the same file.
    void attach(sqlite3* connection);
    // Ends the thread and closes its connection, so that the file's last
    // connection, closing, folds the log in and removes it.
    void stop();

    // Log pages after which a commit asks for a copy (SQLite's own default).
    static constexpr int kPages = 1000;

    // Copies that left nothing of the log behind.
    int copies() const;
    // No copy asked for or under way, and the last one left nothing behind.
    bool caughtUp() const;

private:
    static int onCommit(void* self, sqlite3*, const char*, int pages);
    void run();

    std::string path_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool due_ = false;
    bool running_ = false;
    bool complete_ = true;
    bool stop_ = false;
    int copies_ = 0;
    std::thread worker_;
};

}  // namespace hrln::data
