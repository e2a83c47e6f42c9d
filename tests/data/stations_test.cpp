#include "data/stations.h"
#include "store_fixture.h"
#include "support/fake_station_probe.h"

#include <sqlite3.h>

namespace hrln::test {
namespace {

using namespace data;

// A station on another host: only its heartbeat tells whether it runs, and
// it can tell no station of the first host but by its heartbeat.
class RemoteProbe : public FakeStationProbe {
public:
    RemoteProbe() : FakeStationProbe(5) {}
    platform::StationIdentity self() const override { return {"elsewhere", "boot", 5, 1}; }
    platform::Liveness probe(const platform::StationIdentity&) const override { return platform::Liveness::Unknown; }
};

// The heartbeat station `station` last wrote.
std::int64_t Heartbeat(Database& db, std::int64_t station)
{
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db.handle(), "SELECT heartbeat FROM \"_Station\" WHERE id = ?", -1, &stmt, nullptr);
    sqlite3_bind_int64(stmt, 1, station);
    const std::int64_t beat = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    return beat;
}

TEST_F(StoreTest, AStationSeenOnlyByItsHeartbeatBindsForItsLease)
{
    FakeStationProbe local(1);
    RemoteProbe remote;
    Stations here(db, local);
    Stations there(db, remote);
    ASSERT_NE(here.keepAlive(1'000), 0);
    ASSERT_NE(there.keepAlive(1'000), 0);
    EXPECT_NE(here.id(), there.id());

    EXPECT_FALSE(here.binds(here.id(), 1'000));  // a station never binds itself
    EXPECT_FALSE(here.binds(0, 1'000));
    EXPECT_FALSE(here.binds(there.id() + 100, 1'000));  // a station the file does not know
    EXPECT_TRUE(here.binds(there.id(), 1'000 + kLeaseSeconds));
    EXPECT_FALSE(here.binds(there.id(), 1'001 + kLeaseSeconds));

    // Its heartbeat renews the lease, though not more often than it must.
    there.keepAlive(1'000 + kHeartbeatSeconds - 1);
    EXPECT_FALSE(here.binds(there.id(), 1'001 + kLeaseSeconds));
    there.keepAlive(1'000 + kHeartbeatSeconds);
    EXPECT_TRUE(here.binds(there.id(), 1'001 + kLeaseSeconds));

    // A station on this host is probed instead: alive binds however old its
    // heartbeat, dead means free at once.
    FakeStationProbe localView(2, &local.dead);
    Stations neighbour(db, localView);
    ASSERT_NE(neighbour.keepAlive(1'000), 0);
    EXPECT_TRUE(neighbour.binds(here.id(), 1'000 + 10 * kLeaseSeconds));
    local.dead.insert(1);
    EXPECT_FALSE(neighbour.binds(here.id(), 1'000));
}

// A program waiting alone, or beside programs of its own host (each probes
// the others), writes nothing; one of another host sharing the file makes
// both beat, and a station that was quiet before still binds meanwhile.
TEST_F(StoreTest, OnlyAStationOfAnotherHostMakesTheOthersBeat)
{
    FakeStationProbe local(1);
    FakeStationProbe neighbourProbe(2, &local.dead);
    Stations here(db, local);
    Stations neighbour(db, neighbourProbe);
    ASSERT_NE(here.keepAlive(1'000), 0);
    ASSERT_NE(neighbour.keepAlive(1'000), 0);
    // A station of an earlier boot, long ended: it wants no heartbeat either.
    class EarlierBoot : public FakeStationProbe {
    public:
        EarlierBoot() : FakeStationProbe(3) {}
        platform::StationIdentity self() const override { return {"host", "earlier", 3, 1}; }
    } earlierProbe;
    Stations earlier(db, earlierProbe);
    ASSERT_NE(earlier.keepAlive(100), 0);
    for (std::int64_t now = 1'000; now <= 1'000 + 10 * kLeaseSeconds; now += 1) {
        here.keepAlive(now);
        neighbour.keepAlive(now);
    }
    EXPECT_EQ(Heartbeat(db, here.id()), 1'000);
    EXPECT_EQ(Heartbeat(db, neighbour.id()), 1'000);

    // Another host's program comes while this one waits quietly: it counts
    // this one as running for a lease from its own entry...
    const std::int64_t entry = 1'000 + 10 * kLeaseSeconds + 1;
    RemoteProbe remote;
    Stations there(db, remote);
    ASSERT_NE(there.keepAlive(entry), 0);
    EXPECT_TRUE(there.binds(here.id(), entry + kLeaseSeconds));
    // (which it cannot tell from one long ended: that one binds as long)
    EXPECT_TRUE(there.binds(earlier.id(), entry + kLeaseSeconds));
    EXPECT_FALSE(there.binds(earlier.id(), entry + kLeaseSeconds + 1));
    // ...in which time this one sees it and beats, and so does it.
    here.keepAlive(entry + kHeartbeatSeconds);
    EXPECT_EQ(Heartbeat(db, here.id()), entry + kHeartbeatSeconds);
    there.keepAlive(entry + kHeartbeatSeconds);
    EXPECT_EQ(Heartbeat(db, there.id()), entry + kHeartbeatSeconds);
    EXPECT_TRUE(there.binds(here.id(), entry + kHeartbeatSeconds + kLeaseSeconds));

    // Once it has ended (no heartbeat for a lease), the quiet returns.
    const std::int64_t gone = entry + kHeartbeatSeconds + kLeaseSeconds + 1;
    here.keepAlive(gone);
    EXPECT_EQ(Heartbeat(db, here.id()), entry + kHeartbeatSeconds);
}

TEST_F(StoreTest, TheJournalHoldsOnlyWhatCommitted)
{
    FakeStationProbe local(1);
    Stations stations(db, local);
    ASSERT_NE(stations.keepAlive(1'000), 0);
    ASSERT_EQ(db.begin(), kOk);
    ASSERT_EQ(stations.record(stations.nextSerial(), 4, 1'000), kOk);
    ASSERT_EQ(db.rollback(), kOk);
    EXPECT_FALSE(stations.recorded(stations.id(), 1));
    ASSERT_EQ(db.begin(), kOk);
    const std::int64_t serial = stations.nextSerial();
    EXPECT_NE(serial, 1);  // a serial is never given out twice
    ASSERT_EQ(stations.record(serial, 4, 1'000), kOk);
    ASSERT_EQ(db.commit(), kOk);
    EXPECT_TRUE(stations.recorded(stations.id(), serial));
}

}  // namespace
}  // namespace hrln::test
