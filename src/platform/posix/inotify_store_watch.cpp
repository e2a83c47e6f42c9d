#include "platform/posix/inotify_store_watch.h"

#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace hrln::platform::posix {
namespace {

// File systems of this machine's own disks and memory, where every write
// passes through this kernel and so reaches inotify.
bool LocalFileSystem(const std::string& folder)
{
    struct statfs fs{};
    if (::statfs(folder.c_str(), &fs) != 0)
        return false;
    constexpr std::array<unsigned long, 11> kLocal = {
        0xEF53,      // ext2, ext3, ext4
        0x58465342,  // XFS
        0x9123683E,  // Btrfs
        0x01021994,  // tmpfs
        0x794C7630,  // overlayfs
        0xF2F52010,  // F2FS
        0x2FC12FC1,  // ZFS
        0x3153464A,  // JFS
        0x52654973,  // ReiserFS
        0x4D44,      // FAT
        0x5346544E,  // NTFS (ntfs3)
    };
    for (const unsigned long type : kLocal)
        if (static_cast<unsigned long>(fs.f_type) == type)
            return true;
    return false;
}

}  // namespace

InotifyStoreWatch::InotifyStoreWatch(const std::string& databasePath)
{
    const std::filesystem::path path = std::filesystem::absolute(databasePath);
    name_ = path.filename().string();
    const std::string folder = path.parent_path().string();
    if (name_.empty() || !LocalFileSystem(folder))
        return;
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return;
    if (::inotify_add_watch(fd_, folder.c_str(),
                            IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_DELETE_SELF | IN_MOVE_SELF) < 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

InotifyStoreWatch::~InotifyStoreWatch()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool InotifyStoreWatch::changedSinceAsked()
{
    if (fd_ < 0)
        return true;
    bool changed = first_;
    bool gone = false;
    first_ = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if ((event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0)
                gone = true;  // the folder went: nothing more would be told
            if ((event->mask & IN_Q_OVERFLOW) != 0)
                changed = true;
            else if (event->len > 0 && std::strncmp(event->name, name_.c_str(), name_.size()) == 0)
                changed = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (gone) {
        ::close(fd_);
        fd_ = -1;
        return true;
    }
    return changed;
}

}  // namespace hrln::platform::posix
