#include "platform/posix/open_file_locks.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace hrln::platform::posix {
namespace {

using FileId = std::pair<dev_t, ino_t>;

struct SharedFile {
    int lockDescriptor = -1;  // where the locks live; -1 until the first lock
    int users = 0;            // the engine's descriptors open on the file
};

struct Files {
    std::mutex mutex;
    std::map<FileId, SharedFile> byId;
    std::map<int, FileId> byDescriptor;
};

Files& Tracked()
{
    static Files files;
    return files;
}

// Cleared for good when the kernel does not know the call (before Linux 3.15):
// the locks are then the classic ones, as they would be without these calls.
std::atomic<bool> descriptionLocks{true};

int Open(const char* path, int flags, int mode)
{
    const int descriptor = ::open(path, flags, static_cast<mode_t>(mode));
    if (descriptor < 0)
        return descriptor;
    struct stat st {};
    if (::fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode))
        return descriptor;  // folders are opened only to be synced
    Files& files = Tracked();
    std::lock_guard lock(files.mutex);
    const FileId id{st.st_dev, st.st_ino};
    ++files.byId[id].users;
    files.byDescriptor[descriptor] = id;
    return descriptor;
}

int Close(int descriptor)
{
    int spare = -1;
    {
        Files& files = Tracked();
        std::lock_guard lock(files.mutex);
        const auto found = files.byDescriptor.find(descriptor);
        if (found != files.byDescriptor.end()) {
            const auto file = files.byId.find(found->second);
            if (file != files.byId.end() && --file->second.users <= 0) {
                // The engine holds no lock on a file it has no descriptor of.
                spare = file->second.lockDescriptor;
                files.byId.erase(file);
            }
            files.byDescriptor.erase(found);
        }
    }
    if (spare >= 0) {
        const int saved = errno;
        ::close(spare);
        errno = saved;
    }
    return ::close(descriptor);
}

// The description the locks of `descriptor`'s file live on, made on first
// use; -1 for a descriptor the engine did not open through Open.
int LockDescriptor(int descriptor)
{
    Files& files = Tracked();
    std::lock_guard lock(files.mutex);
    const auto found = files.byDescriptor.find(descriptor);
    if (found == files.byDescriptor.end())
        return -1;
    SharedFile& file = files.byId[found->second];
    if (file.lockDescriptor < 0)
        file.lockDescriptor = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    return file.lockDescriptor;
}

int DescriptionCommand(int command)
{
    switch (command) {
    case F_GETLK:
        return F_OFD_GETLK;
    case F_SETLK:
        return F_OFD_SETLK;
    default:
        return F_OFD_SETLKW;
    }
}

int Fcntl(int descriptor, int command, ...)
{
    va_list arguments;
    va_start(arguments, command);
    if (command != F_GETLK && command != F_SETLK && command != F_SETLKW) {
        // The engine passes an int with every other command it uses
        // (F_GETFD, F_SETFD).
        const int value = va_arg(arguments, int);
        va_end(arguments);
        return ::fcntl(descriptor, command, value);
    }
    auto* request = va_arg(arguments, struct flock*);
    va_end(arguments);

    const int target = descriptionLocks ? LockDescriptor(descriptor) : -1;
    if (target >= 0) {
        struct flock own = *request;
        own.l_pid = 0;  // required of description locks
        const int result = ::fcntl(target, DescriptionCommand(command), &own);
        if (result == 0 || errno != EINVAL) {
            if (command == F_GETLK)
                *request = own;
            return result;
        }
        descriptionLocks = false;
    }
    return ::fcntl(descriptor, command, request);
}

}  // namespace

FileLockCalls OpenFileDescriptionLocks()
{
    FileLockCalls calls;
    calls.open = Open;
    calls.close = Close;
    calls.fcntl = Fcntl;
    return calls;
}

}  // namespace hrln::platform::posix
