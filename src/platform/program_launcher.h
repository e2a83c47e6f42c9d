#pragma once

#include <string>
#include <vector>

namespace hrln::platform {

// Starts one of our own helper programs with an exact argument list: every
// argument reaches the program as it is, never through a shell.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

}  // namespace hrln::platform
