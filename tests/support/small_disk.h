#pragma once

#include "support/temp_dir.h"

#include <cstddef>
#include <string>

namespace hrln::test {

// A file system of a few pages of its own (tmpfs), mounted for one test and
// unmounted at its end, so a full disk is real and costs nothing. Mounting
// takes root (as in CI); where it is refused, `unavailable()` says why and the
// test reports a skip with that reason.
class SmallDisk {
public:
    explicit SmallDisk(std::size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Empty when mounted; otherwise why not.
    const std::string& unavailable() const { return unavailable_; }
    std::string file(const std::string& name) const { return folder_.file(name); }
    // Fills the disk with a file of its own, leaving `spare` bytes free.
    void fill(std::size_t spare);

private:
    TempDir folder_;
    std::string unavailable_;
    bool mounted_ = false;
};

}  // namespace hrln::test
