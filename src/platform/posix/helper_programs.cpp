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

namespace {

std::string Found(const std::string& programFolder, const std::string& helperFolder, const std::string& name, int mode)
{
    for (const std::string& candidate :
         {programFolder + "/" + name, programFolder + "/" + helperFolder + "/" + name}) {
        if (::access(candidate.c_str(), mode) == 0)
            return candidate;
    }
    return {};
}

}  // namespace

std::string HelperProgram(const std::string& programFolder, const std::string& helperFolder,
                          const std::string& name)
{
    return Found(programFolder, helperFolder, name, X_OK);
}

std::string HelperModule(const std::string& programFolder, const std::string& helperFolder, const std::string& name)
{
    return Found(programFolder, helperFolder, name, R_OK);
}

}  // namespace hrln::platform::posix
