#include "resident/bench_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace hrln::bench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kStopGrace = std::chrono::seconds(10);
constexpr auto kStartLimit = std::chrono::seconds(30);

// The child dies with us; only `keepFd` of ours stays open in it. `env`
// replaces the environment when given.
pid_t Spawn(const std::vector<std::string>& arguments, int keepFd = -1, const std::vector<std::string>* env = nullptr)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    if (env != nullptr) {
        for (const std::string& e : *env)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            close(fd);
    if (env != nullptr)
        execve(argv[0], argv.data(), envp.data());
    else
        execvp(argv[0], argv.data());
    _exit(127);
}

bool Ended(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, WNOHANG) != 0;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void Terminate(pid_t pid)
{
    if (pid <= 0 || Ended(pid))
        return;
    kill(pid, SIGTERM);
    if (!WaitFor([&] { return Ended(pid); }, kStopGrace)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

std::string ReadLine(int fd, std::chrono::milliseconds limit)
{
    std::string line;
    const auto deadline = Clock::now() + limit;
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
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

// Windows come and go while we look at them; a window gone is no error here.
int IgnoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

bool WriteText(const std::string& path, const std::string& text)
{
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr)
        return false;
    const bool ok = std::fputs(text.c_str(), out) >= 0;
    return std::fclose(out) == 0 && ok;
}

}  // namespace

BenchDesktop::~BenchDesktop()
{
    for (auto it = started_.rbegin(); it != started_.rend(); ++it)
        Terminate(*it);
    Terminate(xvfb_);
    std::error_code ignored;
    if (!scratch_.empty())
        fs::remove_all(scratch_, ignored);
}

std::string BenchDesktop::start()
{
    std::string pattern = (fs::temp_directory_path() / "hrln-resident-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return "cannot make a temporary folder";
    scratch_ = pattern;
    const std::string runtime = scratch_ + "/run";
    const std::string home = scratch_ + "/home";
    std::error_code error;
    fs::create_directories(runtime, error);
    fs::create_directories(home + "/config", error);
    if (error)
        return "cannot make the session's folders";
    chmod(runtime.c_str(), 0700);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    // Nothing of the machine's own desktop may reach the programs.
    for (const char* name : {"WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "XAUTHORITY", "QT_QPA_PLATFORM",
                             "SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS", "HORALYN_DEBUG"})
        unsetenv(name);

    // Xvfb picks a free display and names it through the pipe.
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                   "-noreset"},
                  fds[1]);
    close(fds[1]);
    const std::string number = ReadLine(fds[0], std::chrono::seconds(30));
    close(fds[0]);
    if (number.empty())
        return "Xvfb did not start (is it installed? scripts/install-deps installs it)";
    setenv("DISPLAY", (":" + number).c_str(), 1);
    Display* d = nullptr;
    if (!WaitFor([&] { return (d = XOpenDisplay(nullptr)) != nullptr; }, kStartLimit))
        return "Xvfb does not answer on :" + number;

    // openbox is ready once it has taken a window in (WM_STATE set on it).
    started_.push_back(Spawn({"openbox", "--sm-disable"}));
    XSetErrorHandler(IgnoreXErrors);
    const Window probe = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(d, probe);
    XSync(d, False);
    const Atom wmState = XInternAtom(d, "WM_STATE", False);
    const bool managed = WaitFor(
        [&] {
            Atom type = None;
            int format = 0;
            unsigned long count = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            const bool has = XGetWindowProperty(d, probe, wmState, 0, 2, False, AnyPropertyType, &type, &format,
                                                &count, &after, &data) == Success &&
                             count > 0;
            if (data != nullptr)
                XFree(data);
            return has;
        },
        kStartLimit);
    XDestroyWindow(d, probe);
    XCloseDisplay(d);
    if (!managed)
        return "openbox did not take over the display (is it installed?)";

    // The session bus's own rules less its service folders: nothing starts on demand.
    const std::string config = scratch_ + "/session-bus.conf";
    if (!WriteText(config, "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                           "<busconfig>\n  <type>session</type>\n  <listen>unix:dir=" +
                               runtime +
                               "</listen>\n  <auth>EXTERNAL</auth>\n  <policy context=\"default\">\n"
                               "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                               "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  </policy>\n"
                               "</busconfig>\n"))
        return "cannot write " + config;
    if (pipe(fds) != 0)
        return "pipe failed";
    started_.push_back(Spawn({"dbus-daemon", "--config-file=" + config, "--nofork", "--nopidfile",
                              "--print-address=" + std::to_string(fds[1])},
                             fds[1]));
    close(fds[1]);
    const std::string address = ReadLine(fds[0], std::chrono::seconds(20));
    close(fds[0]);
    if (address.empty())
        return "dbus-daemon did not start";
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    return {};
}

pid_t BenchDesktop::launch(const std::string& program, const std::string& dataHome)
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, "XDG_DATA_HOME=", 14) != 0)
            env.emplace_back(*e);
    env.push_back("XDG_DATA_HOME=" + dataHome);
    const pid_t pid = Spawn({program}, -1, &env);
    if (pid > 0)
        started_.push_back(pid);
    return pid;
}

void BenchDesktop::stop(pid_t pid)
{
    Terminate(pid);
    std::erase(started_, pid);
}

MapWatch::MapWatch()
{
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr)
        return;
    XSetErrorHandler(IgnoreXErrors);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
}

MapWatch::~MapWatch()
{
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

std::optional<Clock::time_point> MapWatch::waitMapped(pid_t pid, Clock::time_point deadline)
{
    if (display_ == nullptr)
        return std::nullopt;
    for (;;) {
        take(Clock::now());
        // Each process is waited for once: a number used again later is a new program.
        for (auto it = mapped_.begin(); it != mapped_.end(); ++it)
            if (it->first == pid) {
                const auto when = it->second;
                mapped_.erase(it);
                return when;
            }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        // Asleep on the connection until the server has something to say.
        pollfd p{ConnectionNumber(display_), POLLIN, 0};
        poll(&p, 1, static_cast<int>(left.count()));
    }
}

void MapWatch::take(Clock::time_point now)
{
    const Window root = DefaultRootWindow(display_);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == CreateNotify && event.xcreatewindow.parent == root &&
            !event.xcreatewindow.override_redirect) {
            // Its own MapNotify reaches us even once the window manager has
            // put it in a frame; it may already be mapped by the time we ask.
            XSelectInput(display_, event.xcreatewindow.window, StructureNotifyMask);
            noteIfMapped(event.xcreatewindow.window, now);
        } else if (event.type == MapNotify && !event.xmap.override_redirect) {
            noteIfMapped(event.xmap.window, now);
        }
    }
}

void MapWatch::noteIfMapped(unsigned long window, Clock::time_point now)
{
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, window, &attributes) == 0 || attributes.map_state == IsUnmapped)
        return;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    if (XGetWindowProperty(display_, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) != Success)
        return;
    if (data != nullptr && count == 1 && format == 32) {
        const auto pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
        bool known = false;
        for (const auto& seen : mapped_)
            known = known || seen.first == pid;
        if (!known)
            mapped_.emplace_back(pid, now);
    }
    if (data != nullptr)
        XFree(data);
}

}  // namespace hrln::bench
