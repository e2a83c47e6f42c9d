#pragma once

#include "platform/station.h"

#include <set>

namespace hrln::test {

// Stations on one host, whose processes live or die as the test says.
class FakeStationProbe : public platform::StationProbe {
public:
    // `deadOf`: another probe's list of the dead, so stations share one view.
    explicit FakeStationProbe(std::int64_t pid, const std::set<std::int64_t>* deadOf = nullptr)
        : pid_(pid), deadOf_(deadOf != nullptr ? deadOf : &dead)
    {
    }
    platform::StationIdentity self() const override { return {"host", "boot", pid_, 1}; }
    platform::Liveness probe(const platform::StationIdentity& other) const override
    {
        if (other.host != "host")
            return platform::Liveness::Unknown;
        return deadOf_->count(other.pid) != 0 ? platform::Liveness::Dead : platform::Liveness::Alive;
    }
    std::set<std::int64_t> dead;

private:
    std::int64_t pid_;
    const std::set<std::int64_t>* deadOf_;
};

}  // namespace hrln::test
