#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace hrln::test {

// A private X desktop for one test: an Xvfb display of its own (made this
// process's $DISPLAY), a private XDG_RUNTIME_DIR and, on request, a window
// manager, a tray host or a session bus. Everything it starts is stopped when
// it ends, and killed by the kernel should this process die first.
class DesktopSession {
public:
    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    static bool XvfbInstalled();
    // The message a test skips with when Xvfb is missing.
    static const char* kNoXvfb;

    // Each returns an empty text on success, otherwise what went wrong.
    std::string startDisplay();
    std::string startWindowManager();  // openbox, ready once it announces itself
    std::string startTrayHost();       // trayer, ready once it owns the tray selection
    // A private dbus-daemon as $DBUS_SESSION_BUS_ADDRESS. With `machineServices`
    // false it starts none of the services installed on the machine, so a test
    // sees the same bus wherever it runs.
    std::string startSessionBus(bool machineServices = true);
    // $DBUS_SESSION_BUS_ADDRESS names a bus that is not there: no bus at all,
    // and none started on demand (an unset address starts one).
    void withoutSessionBus();
    void stopTrayHost();

    // Starts a program (looked up on PATH), tracked and stopped at the end.
    pid_t start(const std::vector<std::string>& arguments);
    // Stops one program started here and waits for it.
    void stop(pid_t pid);
    // Runs a program to its end; its exit status, or -1.
    static int run(const std::vector<std::string>& arguments, std::chrono::milliseconds limit = std::chrono::seconds(20));

    const std::string& display() const { return display_; }
    const std::string& runtimeFolder() const { return runtime_; }
    // A folder for the test's files, removed at the end.
    const std::string& scratch() const { return scratch_; }

private:
    std::string makeFolders();

    std::string display_;
    std::string runtime_;
    std::string scratch_;
    std::vector<pid_t> started_;
    pid_t xvfb_ = -1;
    pid_t tray_ = -1;
};

// What a shell command prints on its standard output.
std::string CommandOutput(const std::string& command);

// Polls `condition` every few milliseconds until it holds or `limit` passes;
// whether it held. Generous limits: the test machine may be loaded.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(20));

}  // namespace hrln::test
