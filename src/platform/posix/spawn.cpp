#include "platform/posix/spawn.h"

#include "platform/posix/private_files.h"

#include <cerrno>
#include <csignal>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>

extern char** environ;

namespace hrln::platform::posix {

namespace {

constexpr int kHighNice = -10;
constexpr int kGateFd = 3;
constexpr int kIdleNice = 19;

// posix_spawn's file actions and attributes, destroyed with the object.
class SpawnSetup {
public:
    explicit SpawnSetup(const SpawnRequest& request)
    {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attr_);
        if (!request.folder.empty())
            posix_spawn_file_actions_addchdir_np(&actions_, request.folder.c_str());
        if (request.gate != nullptr) {
            posix_spawn_file_actions_adddup2(&actions_, request.gate->fd, kGateFd);
            posix_spawn_file_actions_addclosefrom_np(&actions_, kGateFd + 1);
        } else {
            posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
        }

        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attr_, &none);
        sigset_t all;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        posix_spawnattr_setsigdefault(&attr_, &all);
        const short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID;
        posix_spawnattr_setflags(&attr_, flags);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attr_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    int run(const SpawnRequest& request, pid_t& pid) const
    {
        std::vector<char*> argv;
        if (request.gate != nullptr) {
            argv.push_back(const_cast<char*>(request.gate->program.c_str()));
            for (const std::string& a : request.gate->arguments)
                argv.push_back(const_cast<char*>(a.c_str()));
        }
        for (const std::string& a : request.arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const char* program = argv.front();
        if (request.gate != nullptr)
            return posix_spawn(&pid, program, &actions_, &attr_, argv.data(), environ);
        return request.searchPath ? posix_spawnp(&pid, program, &actions_, &attr_, argv.data(), environ)
                                  : posix_spawn(&pid, program, &actions_, &attr_, argv.data(), environ);
    }

private:
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attr_{};
};

// posix_spawn takes only the real-time policies, so the idle class is set
// from here, the moment the program has started.
void LowerPriority(pid_t pid)
{
    sched_param param{};
    if (sched_setscheduler(pid, SCHED_IDLE, &param) != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(pid), kIdleNice);
}

// As high as the user may raise it, up to the high class: without the right
// to raise priorities the program keeps ours. Whether it was raised.
bool RaisePriority(pid_t pid)
{
    errno = 0;
    const int ours = getpriority(PRIO_PROCESS, 0);
    if (errno != 0)
        return false;
    for (int nice = kHighNice; nice < ours; ++nice)
        if (setpriority(PRIO_PROCESS, static_cast<id_t>(pid), nice) == 0)
            return true;
    return false;
}

}  // namespace

SpawnResult Spawn(const SpawnRequest& request)
{
    SpawnResult result;
    if (request.arguments.empty() || request.arguments.front().empty()) {
        result.error = ENOENT;
        return result;
    }
    {
        // The program gets the user's own mask, not the one that keeps our files private.
        const std::optional<mode_t> userMask = UserFileMask();
        const mode_t ours = userMask ? ::umask(*userMask) : 0;
        result.error = SpawnSetup(request).run(request, result.pid);
        if (userMask)
            ::umask(ours);
    }
    if (result.error != 0) {
        result.pid = -1;
        return result;
    }
    if (request.priority == ProcessPriority::High)
        result.priorityRefused = !RaisePriority(result.pid);
    else if (request.priority == ProcessPriority::Idle)
        LowerPriority(result.pid);
    return result;
}

}  // namespace hrln::platform::posix
