#pragma once

// A desktop of the benchmark's own: an Xvfb display on a free number, openbox
// on it, a private session bus without the machine's services and no tray
// host, as a user's session with the program in it but nothing else.
#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

typedef struct _XDisplay Display;

namespace hrln::bench {

class BenchDesktop {
public:
    BenchDesktop() = default;
    ~BenchDesktop();
    BenchDesktop(const BenchDesktop&) = delete;
    BenchDesktop& operator=(const BenchDesktop&) = delete;

    // Empty on success, otherwise what went wrong. Sets DISPLAY, HOME,
    // XDG_RUNTIME_DIR, XDG_CONFIG_HOME and DBUS_SESSION_BUS_ADDRESS of this
    // process, which the programs started later inherit.
    std::string start();

    // A folder for the benchmark's files, removed at the end.
    const std::string& scratch() const { return scratch_; }

    // Starts `program` with $XDG_DATA_HOME set to `dataHome`; its process id,
    // or -1. Whatever is still running at the end is stopped then.
    pid_t launch(const std::string& program, const std::string& dataHome);
    // Asks a program to end (SIGTERM), kills it after a grace, and reaps it.
    void stop(pid_t pid);

private:
    std::vector<pid_t> started_;
    pid_t xvfb_ = -1;
    std::string scratch_;
};

// Sees windows appear on the display from the moment it is made, without
// polling: it waits on the X connection for the root's CreateNotify and each
// new top-level window's MapNotify, and tells which process (_NET_WM_PID)
// mapped one.
class MapWatch {
public:
    MapWatch();
    ~MapWatch();
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool ok() const { return display_ != nullptr; }
    // When a top-level window of `pid` was first seen mapped; nothing once
    // `deadline` passes first.
    std::optional<std::chrono::steady_clock::time_point> waitMapped(pid_t pid,
                                                                    std::chrono::steady_clock::time_point deadline);

private:
    void take(std::chrono::steady_clock::time_point now);
    void noteIfMapped(unsigned long window, std::chrono::steady_clock::time_point now);

    Display* display_ = nullptr;
    std::vector<std::pair<pid_t, std::chrono::steady_clock::time_point>> mapped_;
};

}  // namespace hrln::bench
