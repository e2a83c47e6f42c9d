#include "platform/posix/posix_processes.h"

#include "platform/posix/argument_split.h"
#include "platform/posix/spawn.h"
#include "platform/posix/start_target.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

// Keeps a descriptor clear of the gate's own number in the child.
constexpr int kLowestKeptFd = 10;

}  // namespace

PosixProcesses::PosixProcesses(std::string gateProgram) : gateProgram_(std::move(gateProgram)) {}

PosixProcesses::~PosixProcesses()
{
    // Held programs of an occurrence never recorded must not run: say so
    // rather than leave them to ask.
    if (holding_)
        release(false);
}

void PosixProcesses::hold(const std::string& databasePath, std::int64_t station, std::int64_t serial)
{
    if (holding_)
        release(false);
    holding_ = !gateProgram_.empty();
    std::error_code ec;
    const std::filesystem::path database = std::filesystem::absolute(databasePath, ec);
    gateArguments_ = {ec ? databasePath : database.string(), std::to_string(station), std::to_string(serial)};
}

void PosixProcesses::release(bool run)
{
    const char word = run ? 'g' : 'x';
    for (const int fd : heldFds_) {
        ssize_t written = 0;
        do {
            written = write(fd, &word, 1);
        } while (written < 0 && errno == EINTR);
        close(fd);
    }
    heldFds_.clear();
    holding_ = false;
}

SpawnResult PosixProcesses::spawn(SpawnRequest& request)
{
    if (!holding_)
        return Spawn(request);
    int ends[2] = {-1, -1};
    if (pipe2(ends, O_CLOEXEC) != 0)
        return {-1, errno};
    const int readEnd = fcntl(ends[0], F_DUPFD_CLOEXEC, kLowestKeptFd);
    close(ends[0]);
    if (readEnd < 0) {
        close(ends[1]);
        return {-1, EMFILE};
    }
    SpawnGate gate{gateProgram_, gateArguments_, readEnd};
    gate.arguments.push_back(request.searchPath ? "path" : "file");
    request.gate = &gate;
    const SpawnResult result = Spawn(request);
    request.gate = nullptr;
    close(readEnd);
    if (result.error != 0)
        close(ends[1]);
    else
        heldFds_.push_back(ends[1]);
    return result;
}

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
    const SpawnResult spawned = spawn(request);
    if (spawned.error != 0)
        return StartCodeOf(spawned.error);
    reaper_.adopt(spawned.pid);
    if (whenChildStarts_)
        whenChildStarts_();
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
    const SpawnResult spawned = spawn(request);
    if (spawned.error != 0)
        return {false, spawned.error};
    reaper_.adopt(last_);
    last_ = spawned.pid;
    if (whenChildStarts_)
        whenChildStarts_();
    return {true, 0, spawned.pid, spawned.priorityRefused};
}

void PosixProcesses::reapEnded()
{
    reaper_.reap();
    if (last_ > 0 && ChildEnded(last_))
        last_ = -1;
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
