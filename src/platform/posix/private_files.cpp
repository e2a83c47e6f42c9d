#include "platform/posix/private_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace hrln::platform::posix {
namespace {

constexpr mode_t kUnset = static_cast<mode_t>(-1);
std::atomic<mode_t> userMask{kUnset};

}  // namespace

void KeepNewFilesPrivate()
{
    const mode_t before = ::umask(077);
    mode_t expected = kUnset;
    userMask.compare_exchange_strong(expected, before);
}

std::optional<mode_t> UserFileMask()
{
    const mode_t saved = userMask.load();
    if (saved == kUnset)
        return std::nullopt;
    return saved;
}

bool MakePrivate(const std::string& path, std::string& error)
{
    // Not through a link: a link planted in our folder must not lead the
    // change to a file of somebody else's choosing.
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return true;
        error = path + ": " + std::strerror(errno);
        return false;
    }
    if (st.st_uid != ::geteuid() || !(S_ISDIR(st.st_mode) || S_ISREG(st.st_mode)))
        return true;
    const mode_t wanted = S_ISDIR(st.st_mode) ? S_IRWXU : (st.st_mode & S_IRWXU);
    if ((st.st_mode & 07777) == wanted)
        return true;
    if (::chmod(path.c_str(), wanted) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace hrln::platform::posix
