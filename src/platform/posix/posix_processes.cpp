#include "platform/posix/posix_processes.h"

#include "platform/posix/argument_split.h"
#include "platform/posix/spawn.h"
#include "platform/posix/start_target.h"

#include <cerrno>
#include <sys/stat.h>

namespace hrln::platform::posix {

namespace {

constexpr int kStartOutOfMemory = 8;
constexpr int kStartBadFormat = 11;

int StartCodeOf(int error)
{
    switch (error) {
    case ENOTDIR:
        return kStartPathNotFound;
    case EACCES:
    case EPERM:
        return kStartAccessDenied;
    case ENOEXEC:
        return kStartBadFormat;
    case ENOMEM:
    case E2BIG:
    case EAGAIN:
        return kStartOutOfMemory;
    default:
        return kStartFileNotFound;
    }
}

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int PosixProcesses::shellOpen(const std::string& file, const std::string& parameters, const std::string& folder,
                              int /*showMode*/)
{
    reaper_.reap();
    if (!folder.empty() && !IsFolder(folder))
        return kStartPathNotFound;
    const StartTarget target = ResolveStartTarget(file, folder);
    SpawnRequest request;
    request.folder = folder;
    switch (target.kind) {
    case StartTarget::Kind::NotFound:
        return kStartFileNotFound;
    case StartTarget::Kind::PathNotFound:
        return kStartPathNotFound;
    case StartTarget::Kind::AccessDenied:
        return kStartAccessDenied;
    case StartTarget::Kind::Program:
        request.arguments = SplitArguments(parameters);
        request.arguments.insert(request.arguments.begin(), target.path);
        break;
    case StartTarget::Kind::Document: {
        // The desktop's association decides; xdg-open itself may wait for the
        // program it opens, so it is not waited for.
        std::string opener = FindOnPath("xdg-open");
        if (opener.empty())
            return kStartNoAssociation;
        request.arguments = {std::move(opener), target.path};
        break;
    }
    }
    const SpawnResult spawned = Spawn(request);
    if (spawned.error != 0)
        return StartCodeOf(spawned.error);
    reaper_.adopt(spawned.pid);
    return kStarted;
}

AdvancedStartResult PosixProcesses::createProcess(const std::string& commandLine, const std::string& folder,
                                                  ProcessPriority priority, int /*showMode*/)
{
    reaper_.reap();
    SpawnRequest request;
    request.arguments = SplitArguments(commandLine);
    request.searchPath = true;
    request.folder = folder;
    request.priority = priority;
    if (request.arguments.empty())
        return {false, ENOENT};
    const SpawnResult spawned = Spawn(request);
    if (spawned.error != 0)
        return {false, spawned.error};
    reaper_.adopt(last_);
    last_ = spawned.pid;
    return {true, 0};
}

bool PosixProcesses::processStillRunning()
{
    reaper_.reap();
    if (last_ <= 0)
        return false;
    if (!ChildEnded(last_))
        return true;
    last_ = -1;
    return false;
}

}  // namespace hrln::platform::posix
