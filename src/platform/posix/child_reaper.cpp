#include "platform/posix/child_reaper.h"

#include <algorithm>
#include <cerrno>
#include <sys/wait.h>

namespace hrln::platform::posix {

bool ChildEnded(pid_t pid)
{
    pid_t got = 0;
    do {
        got = waitpid(pid, nullptr, WNOHANG);
    } while (got < 0 && errno == EINTR);
    // Someone else may have reaped it (ECHILD): gone either way.
    return got != 0;
}

void ChildReaper::adopt(pid_t pid)
{
    if (pid > 0)
        children_.push_back(pid);
}

void ChildReaper::reap()
{
    children_.erase(std::remove_if(children_.begin(), children_.end(), ChildEnded), children_.end());
}

}  // namespace hrln::platform::posix
