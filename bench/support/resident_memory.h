#pragma once

#include <fstream>
#include <string>

namespace hrln::bench {

// Resident memory of this process in kilobytes.
inline long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

}  // namespace hrln::bench
