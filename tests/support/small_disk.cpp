#include "support/small_disk.h"

#include <sys/mount.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace hrln::test {

SmallDisk::SmallDisk(std::size_t bytes)
{
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    if (::mount("tmpfs", folder_.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        unavailable_ = std::string("cannot mount a small tmpfs for a full disk (needs root): ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(folder_.path().c_str(), MNT_DETACH);
}

void SmallDisk::fill(std::size_t spare)
{
    struct statvfs fs{};
    if (::statvfs(folder_.path().c_str(), &fs) != 0)
        return;
    const std::size_t free = static_cast<std::size_t>(fs.f_bavail) * fs.f_frsize;
    if (free <= spare)
        return;
    std::ofstream filler(file(".filler"), std::ios::binary);
    const std::vector<char> block(free - spare, 'x');
    filler.write(block.data(), static_cast<std::streamsize>(block.size()));
}

}  // namespace hrln::test
