#include "platform/posix/helper_programs.h"

#include <cstdlib>
#include <unistd.h>

namespace hrln::platform::posix {

void MarkHelpersStartedByUs()
{
    ::setenv(kStartedByVariable, "horalyn", 1);
}

bool StartedByUs()
{
    const char* value = std::getenv(kStartedByVariable);
    return value != nullptr && *value != '\0';
}

std::string HelperProgram(const std::string& programFolder, const std::string& helperFolder,
                          const std::string& name)
{
    for (const std::string& candidate :
         {programFolder + "/" + name, programFolder + "/" + helperFolder + "/" + name}) {
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

}  // namespace hrln::platform::posix
