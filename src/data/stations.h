#pragma once

#include "data/database.h"
#include "platform/station.h"

#include <cstdint>

namespace hrln::data {

// How often a station renews its heartbeat, and how long a station that
// cannot be probed directly (another host) counts as running without one.
inline constexpr std::int64_t kHeartbeatSeconds = 10;
inline constexpr std::int64_t kLeaseSeconds = 90;

// The programs that share one database file, and the journal of the
// occurrences they recorded. A station's number stands in the claims it puts
// on tasks; a claim binds the others only while its station runs, so a
// station that died leaves nothing blocked. Times are whole seconds.
class Stations {
public:
    Stations(Database& db, const platform::StationProbe& probe) : db_(db), probe_(probe) {}

    // Enters this program (once; again after a failure) and renews its
    // heartbeat every kHeartbeatSeconds while a station that cannot probe
    // this one (another host) shares the file: alone, or among stations of
    // this host, a waiting program writes nothing. Never waits long for a
    // lock: what fails is tried again on the next call. Returns this
    // station's number, 0 while it has none.
    std::int64_t keepAlive(std::int64_t now);
    std::int64_t id() const { return id_; }
    // Whether the last look found a station that knows this one by its
    // heartbeat only (another host); none is assumed before the first look.
    bool heartbeating() const { return heartbeating_; }

    // Whether a claim by station `holder` still binds this station: it is
    // another station, and that station runs (probed, or else by heartbeat).
    // A station whose heartbeat is older than this one's entry may have been
    // running alone without beating: it binds for a lease from the entry, the
    // time it has to notice this station and beat again.
    bool binds(std::int64_t holder, std::int64_t now);

    // A number for this station's next occurrence, never used before by it.
    std::int64_t nextSerial() { return ++serial_; }
    // Notes occurrence `serial` of task `task` as recorded; call it inside the
    // transaction that records the occurrence, so both stand or fall together.
    int record(std::int64_t serial, std::int64_t task, std::int64_t now);
    // Whether occurrence `serial` of station `station` was recorded.
    bool recorded(std::int64_t station, std::int64_t serial);

private:
    int enter(std::int64_t now);
    // Whether another station that may still run can tell this one's life by
    // its heartbeat only.
    bool heartbeatWanted(std::int64_t now);

    Database& db_;
    const platform::StationProbe& probe_;
    std::int64_t id_ = 0;
    std::int64_t serial_ = 0;
    std::int64_t lastLook_ = 0;  // when the others were last looked at (and a wanted beat written)
    std::int64_t entered_ = 0;
    bool heartbeating_ = false;
};

}  // namespace hrln::data
