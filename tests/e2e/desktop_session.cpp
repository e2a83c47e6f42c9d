#include "e2e/desktop_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace hrln::test {

namespace fs = std::filesystem;

namespace {

constexpr auto kStopGrace = std::chrono::seconds(5);

bool OnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        if (access((dirs.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// fork and exec, the child tied to our life; `keepFd` stays open in it.
pid_t Launch(const std::vector<std::string>& arguments, int keepFd = -1, int stdoutFd = -1)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(stdoutFd >= 0 ? stdoutFd : null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            close(fd);
    execvp(argv[0], argv.data());
    _exit(127);
}

bool Ended(pid_t pid, int* status = nullptr)
{
    int s = 0;
    const pid_t got = waitpid(pid, &s, WNOHANG);
    if (got == pid && status != nullptr)
        *status = s;
    return got != 0;
}

void Terminate(pid_t pid)
{
    if (pid <= 0 || Ended(pid))
        return;
    kill(pid, SIGTERM);
    if (!WaitUntil([&] { return Ended(pid); }, kStopGrace)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

// Reads one line from `fd` within `limit`.
std::string ReadLine(int fd, std::chrono::milliseconds limit)
{
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        char buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(n));
    }
    return line.substr(0, line.find('\n'));
}

// Whether the display answers, with `test` holding on it.
bool OnDisplay(const std::function<bool(Display*)>& test)
{
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr)
        return false;
    const bool ok = test(d);
    XCloseDisplay(d);
    return ok;
}

}  // namespace

const char* DesktopSession::kNoXvfb = "Xvfb is not installed (scripts/install-deps installs it): desktop tests skipped";

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

bool DesktopSession::XvfbInstalled()
{
    return OnPath("Xvfb");
}

DesktopSession::DesktopSession() = default;

DesktopSession::~DesktopSession()
{
    for (auto it = started_.rbegin(); it != started_.rend(); ++it)
        Terminate(*it);
    Terminate(xvfb_);
    std::error_code ignored;
    if (!runtime_.empty())
        fs::remove_all(runtime_, ignored);
    if (!scratch_.empty())
        fs::remove_all(scratch_, ignored);
}

std::string DesktopSession::makeFolders()
{
    for (std::string* folder : {&runtime_, &scratch_}) {
        std::string pattern = (fs::temp_directory_path() / "hrln-desktop-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return "cannot make a temporary folder";
        *folder = pattern;
    }
    chmod(runtime_.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    return {};
}

std::string DesktopSession::startDisplay()
{
    if (std::string error = makeFolders(); !error.empty())
        return error;
    // Xvfb picks a free display itself and tells us which through the pipe.
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    xvfb_ = Launch({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                    "-noreset"},
                   fds[1]);
    close(fds[1]);
    const std::string number = ReadLine(fds[0], std::chrono::seconds(30));
    close(fds[0]);
    if (number.empty())
        return "Xvfb did not start";
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    // No desktop of the machine's must leak into ours.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_CURRENT_DESKTOP");
    unsetenv("XAUTHORITY");
    if (!WaitUntil([] { return OnDisplay([](Display*) { return true; }); }))
        return "Xvfb does not answer on " + display_;
    return {};
}

std::string DesktopSession::startWindowManager()
{
    start({"openbox", "--sm-disable"});
    // The manager announces itself before it manages windows: it is ready
    // once it has taken a window of ours in (WM_STATE set on it).
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr)
        return "display gone";
    const Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(d, probe);
    XSync(d, False);
    const Atom wmState = XInternAtom(d, "WM_STATE", False);
    const bool ready = WaitUntil([&] {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        const bool managed = XGetWindowProperty(d, probe, wmState, 0, 2, False, AnyPropertyType, &type, &format,
                                                &count, &after, &data) == Success &&
                             count > 0;
        if (data != nullptr)
            XFree(data);
        return managed;
    });
    XDestroyWindow(d, probe);
    XCloseDisplay(d);
    return ready ? std::string{} : "openbox did not take over the display";
}

std::string DesktopSession::startTrayHost()
{
    tray_ = start({"trayer", "--edge", "top", "--align", "right", "--width", "10", "--height", "24"});
    const bool ready = WaitUntil([] {
        return OnDisplay([](Display* d) {
            return XGetSelectionOwner(d, XInternAtom(d, "_NET_SYSTEM_TRAY_S0", False)) != None;
        });
    });
    return ready ? std::string{} : "trayer did not take the tray selection";
}

void DesktopSession::stopTrayHost()
{
    stop(tray_);
    tray_ = -1;
    WaitUntil([] {
        return OnDisplay([](Display* d) {
            return XGetSelectionOwner(d, XInternAtom(d, "_NET_SYSTEM_TRAY_S0", False)) == None;
        });
    });
}

std::string DesktopSession::startSessionBus(bool machineServices)
{
    std::string config = "--session";
    if (!machineServices) {
        // The session bus's own configuration less its service folders.
        const std::string file = scratch_ + "/session-bus.conf";
        std::FILE* out = std::fopen(file.c_str(), "w");
        if (out == nullptr)
            return "cannot write " + file;
        std::fprintf(out,
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig>\n  <type>session</type>\n  <listen>unix:dir=%s</listen>\n"
                     "  <auth>EXTERNAL</auth>\n  <policy context=\"default\">\n"
                     "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                     "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  </policy>\n</busconfig>\n",
                     runtime_.c_str());
        std::fclose(out);
        config = "--config-file=" + file;
    }
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const pid_t bus = Launch({"dbus-daemon", config, "--nofork", "--nopidfile",
                              "--print-address=" + std::to_string(fds[1])},
                             fds[1]);
    started_.push_back(bus);
    // The child got its own copy of the pipe's end before we close ours.
    close(fds[1]);
    const std::string address = ReadLine(fds[0], std::chrono::seconds(20));
    close(fds[0]);
    if (address.empty())
        return "dbus-daemon did not start";
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    return {};
}

void DesktopSession::withoutSessionBus()
{
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + runtime_ + "/no-session-bus").c_str(), 1);
}

pid_t DesktopSession::start(const std::vector<std::string>& arguments)
{
    const pid_t pid = Launch(arguments);
    if (pid > 0)
        started_.push_back(pid);
    return pid;
}

void DesktopSession::stop(pid_t pid)
{
    Terminate(pid);
    std::erase(started_, pid);
}

int DesktopSession::run(const std::vector<std::string>& arguments, std::chrono::milliseconds limit)
{
    const pid_t pid = Launch(arguments);
    int status = 0;
    if (!WaitUntil([&] { return Ended(pid, &status); }, limit)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string CommandOutput(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

}  // namespace hrln::test
