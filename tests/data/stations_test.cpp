#include "data/stations.h"
#include "store_fixture.h"
#include "support/fake_station_probe.h"

namespace hrln::test {
namespace {

using namespace data;

// A station on another host: only its heartbeat tells whether it runs.
class RemoteProbe : public FakeStationProbe {
public:
    RemoteProbe() : FakeStationProbe(5) {}
    platform::StationIdentity self() const override { return {"elsewhere", "boot", 5, 1}; }
};

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

    // A station on this host is probed instead: dead means free at once.
    EXPECT_TRUE(there.binds(here.id(), 1'000 + 10 * kLeaseSeconds));
    local.dead.insert(1);
    FakeStationProbe localView(2, &local.dead);
    Stations neighbour(db, localView);
    ASSERT_NE(neighbour.keepAlive(1'000), 0);
    EXPECT_FALSE(neighbour.binds(here.id(), 1'000));
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
