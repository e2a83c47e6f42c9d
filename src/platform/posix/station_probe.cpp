#include "platform/posix/station_probe.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace hrln::platform::posix {

std::int64_t ProcessStartTime(std::int64_t pid)
{
    if (pid <= 0)
        return 0;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line))
        return 0;
    // The command name in parentheses may hold blanks: count fields after its end.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    // Fields from the state (3rd) on; the start time is the 22nd.
    std::string state;
    fields >> state;
    if (state == "Z" || state == "X")
        return 0;  // ended, only not yet reaped
    for (int i = 4; i < 22 && fields >> field; ++i) {
    }
    std::int64_t started = 0;
    fields >> started;
    return started;
}

namespace {

std::string ReadFirstLine(const char* path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

PosixStationProbe::PosixStationProbe()
{
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        self_.host = host;
    self_.boot = ReadFirstLine("/proc/sys/kernel/random/boot_id");
    self_.pid = getpid();
    self_.started = ProcessStartTime(self_.pid);
}

Liveness PosixStationProbe::probe(const StationIdentity& other) const
{
    if (other.host != self_.host || other.boot.empty() || other.boot != self_.boot)
        return Liveness::Unknown;
    return ProcessStartTime(other.pid) == other.started && other.started != 0 ? Liveness::Alive : Liveness::Dead;
}

}  // namespace hrln::platform::posix
