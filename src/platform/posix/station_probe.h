#pragma once

#include "platform/station.h"

namespace hrln::platform::posix {

// Processes on this host, told apart by number, boot and start time (/proc).
class PosixStationProbe : public StationProbe {
public:
    PosixStationProbe();
    StationIdentity self() const override { return self_; }
    Liveness probe(const StationIdentity& other) const override;

private:
    StationIdentity self_;
};

// The start time of process `pid` in clock ticks since boot; 0 when it does not run.
std::int64_t ProcessStartTime(std::int64_t pid);

}  // namespace hrln::platform::posix
