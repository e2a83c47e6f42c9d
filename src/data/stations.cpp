#include "data/stations.h"

#include <sqlite3.h>

#include <chrono>
#include <mutex>

namespace hrln::data {
namespace {

// Bookkeeping writes wait briefly: the frame's thread must stay responsive,
// and each is tried again on a later tick.
constexpr std::chrono::milliseconds kBriefWait{100};
// Journal entries only matter while a held program may still ask about them.
constexpr std::int64_t kJournalKeepSeconds = 2 * 86'400;
constexpr std::int64_t kStationKeepSeconds = 30 * 86'400;

class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int param, std::int64_t value)
    {
        sqlite3_bind_int64(stmt_, param, value);
        return *this;
    }
    Statement& bind(int param, const std::string& value)
    {
        sqlite3_bind_text(stmt_, param, value.c_str(), -1, SQLITE_TRANSIENT);
        return *this;
    }
    int step() { return stmt_ == nullptr ? SQLITE_ERROR : sqlite3_step(stmt_); }
    std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    std::string text(int column) const
    {
        const auto* p = sqlite3_column_text(stmt_, column);
        return p != nullptr ? reinterpret_cast<const char*>(p) : "";
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// Waits at most briefly for other writers while it lives.
class BriefWait {
public:
    explicit BriefWait(Database& db) : db_(db) { db_.setBusyWait(kBriefWait); }
    ~BriefWait() { db_.setBusyWait(Database::kOperationWait); }
    BriefWait(const BriefWait&) = delete;
    BriefWait& operator=(const BriefWait&) = delete;

private:
    Database& db_;
};

}  // namespace

int Stations::enter(std::int64_t now)
{
    sqlite3* db = db_.handle();
    const platform::StationIdentity self = probe_.self();
    Statement add(db, "INSERT INTO \"_Station\" (host, boot, pid, started, heartbeat) VALUES (?, ?, ?, ?, ?)");
    add.bind(1, self.host).bind(2, self.boot).bind(3, self.pid).bind(4, self.started).bind(5, now);
    const int rc = add.step();
    if (rc != SQLITE_DONE)
        return db_.mapError(rc);
    id_ = sqlite3_last_insert_rowid(db);
    db_.setStation(id_);
    lastLook_ = entered_ = now;
    // Old bookkeeping goes while nobody can need it any more; a failure here
    // only leaves it for the next start.
    Statement(db, "DELETE FROM \"_Occurrence\" WHERE recorded < ?").bind(1, now - kJournalKeepSeconds).step();
    Statement(db, "DELETE FROM \"_Station\" WHERE heartbeat < ?").bind(1, now - kStationKeepSeconds).step();
    return kOk;
}

std::int64_t Stations::keepAlive(std::int64_t now)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen() || db_.inTransaction())
        return id_;
    BriefWait wait(db_);
    if (id_ == 0) {
        enter(now);
        return id_;
    }
    if (now - lastLook_ < kHeartbeatSeconds && now >= lastLook_)
        return id_;
    heartbeating_ = heartbeatWanted(now);
    if (!heartbeating_) {
        lastLook_ = now;
        return id_;
    }
    Statement beat(db_.handle(), "UPDATE \"_Station\" SET heartbeat = ? WHERE id = ?");
    if (beat.bind(1, now).bind(2, id_).step() == SQLITE_DONE)
        lastLook_ = now;
    return id_;
}

bool Stations::heartbeatWanted(std::int64_t now)
{
    // Probing is symmetric: a station this one cannot probe cannot probe it
    // either. One whose heartbeat is older than a lease has ended (or is
    // itself waiting alone, and beats again once it sees this station's).
    Statement others(db_.handle(),
                     "SELECT host, boot, pid, started FROM \"_Station\" WHERE id <> ? AND heartbeat >= ?");
    others.bind(1, id_).bind(2, now - kLeaseSeconds);
    while (others.step() == SQLITE_ROW) {
        const platform::StationIdentity other{others.text(0), others.text(1), others.integer(2), others.integer(3)};
        if (probe_.probe(other) == platform::Liveness::Unknown)
            return true;
    }
    return false;
}

bool Stations::binds(std::int64_t holder, std::int64_t now)
{
    if (holder <= 0 || holder == id_)
        return false;
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return false;
    Statement find(db_.handle(), "SELECT host, boot, pid, started, heartbeat FROM \"_Station\" WHERE id = ?");
    if (find.bind(1, holder).step() != SQLITE_ROW)
        return false;  // gone, or a claim of an older kind: nobody stands behind it
    const platform::StationIdentity other{find.text(0), find.text(1), find.integer(2), find.integer(3)};
    switch (probe_.probe(other)) {
    case platform::Liveness::Alive:
        return true;
    case platform::Liveness::Dead:
        return false;
    case platform::Liveness::Unknown:
        break;
    }
    const std::int64_t beat = find.integer(4);
    if (now - beat <= kLeaseSeconds)
        return true;
    return beat < entered_ && now - entered_ <= kLeaseSeconds;
}

int Stations::record(std::int64_t serial, std::int64_t task, std::int64_t now)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return kFileNotOpen;
    if (id_ == 0)
        return kRecordNotAvailable;
    Statement note(db_.handle(),
                   "INSERT INTO \"_Occurrence\" (station, serial, task, recorded) VALUES (?, ?, ?, ?)");
    const int rc = note.bind(1, id_).bind(2, serial).bind(3, task).bind(4, now).step();
    return rc == SQLITE_DONE ? kOk : db_.mapError(rc);
}

bool Stations::recorded(std::int64_t station, std::int64_t serial)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return false;
    Statement find(db_.handle(), "SELECT 1 FROM \"_Occurrence\" WHERE station = ? AND serial = ?");
    return find.bind(1, station).bind(2, serial).step() == SQLITE_ROW;
}

}  // namespace hrln::data
