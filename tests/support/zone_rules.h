#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <memory>
#include <string>

namespace hrln::test {

// A time zone's rules from ICU's zone database ("Europe/Berlin"), which comes
// with ICU itself, so a test can pin a zone whatever the machine has.
class ZoneRules {
public:
    // Throws for a name ICU does not know.
    explicit ZoneRules(const std::string& name);
    ~ZoneRules();
    ZoneRules(const ZoneRules&) = delete;
    ZoneRules& operator=(const ZoneRules&) = delete;

    // Seconds east of UTC in force at `utcSeconds` (since 1970-01-01 UTC).
    int offsetAt(std::int64_t utcSeconds) const;
    platform::WallOffsets offsetsAt(Date date, Time time) const;

private:
    struct Zone;  // ICU's zone, kept out of the header
    std::unique_ptr<Zone> zone_;
};

}  // namespace hrln::test
