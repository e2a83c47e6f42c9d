#pragma once

#include <sys/types.h>
#include <vector>

namespace hrln::platform::posix {

// Children nobody waits for: each `reap` collects those that have ended, so
// none lingers as a zombie, without ever blocking.
class ChildReaper {
public:
    void adopt(pid_t pid);
    void reap();
    std::size_t pending() const { return children_.size(); }

private:
    std::vector<pid_t> children_;
};

// Whether the child has ended (and is now reaped); never blocks.
bool ChildEnded(pid_t pid);

}  // namespace hrln::platform::posix
