#pragma once

#include <cstdint>
#include <string>

namespace hrln::platform {

// Who a running program is among the programs that share one database file.
struct StationIdentity {
    std::string host;
    std::string boot;          // this boot of the host: process numbers are reused across boots
    std::int64_t pid = 0;
    std::int64_t started = 0;  // when the process started, so a reused number is not taken for it
};

enum class Liveness { Alive, Dead, Unknown };

class StationProbe {
public:
    virtual ~StationProbe() = default;
    virtual StationIdentity self() const = 0;
    // Whether the program `other` still runs; Unknown when this machine cannot
    // tell (another host), so that only its heartbeat can say.
    virtual Liveness probe(const StationIdentity& other) const = 0;
};

// Holds back the programs started while the occurrence that starts them is
// being recorded, so that a program runs only if its occurrence was recorded:
// release(true) lets the held programs run, release(false) stops them. Should
// this process die first, each held program asks the database itself whether
// occurrence (`station`, `serial`) was recorded, and runs only if it was.
class StartGate {
public:
    virtual ~StartGate() = default;
    virtual void hold(const std::string& databasePath, std::int64_t station, std::int64_t serial) = 0;
    virtual void release(bool run) = 0;
};

}  // namespace hrln::platform
