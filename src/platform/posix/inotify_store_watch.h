#pragma once

#include "platform/store_watch.h"

#include <string>

namespace hrln::platform::posix {

// Watches the folder of a database file through inotify for any write,
// creation, removal or rename of the file and of its companions (the log
// and the shared index: every name that begins with the file's). Asking
// reads the waiting notices without blocking: one system call. A file system
// whose writes from other machines inotify cannot see (NFS, SMB, FUSE ...)
// counts as changed every time, as does a queue that overflowed.
class InotifyStoreWatch : public StoreWatch {
public:
    explicit InotifyStoreWatch(const std::string& databasePath);
    ~InotifyStoreWatch() override;
    InotifyStoreWatch(const InotifyStoreWatch&) = delete;
    InotifyStoreWatch& operator=(const InotifyStoreWatch&) = delete;

    bool changedSinceAsked() override;
    // Whether every write to the files can be seen here.
    bool sees() const { return fd_ >= 0; }

private:
    std::string name_;  // the database file's name, which its companions begin with
    int fd_ = -1;
    bool first_ = true;
};

}  // namespace hrln::platform::posix
