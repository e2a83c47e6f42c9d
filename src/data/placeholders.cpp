#include "data/placeholders.h"

#include "data/integrity.h"
#include "data/records.h"

#include <sqlite3.h>

#include <chrono>
#include <mutex>
#include <utility>
#include <vector>

namespace hrln::data {
namespace {

// The start waits only briefly for another writer: what is left is tried again.
constexpr std::chrono::milliseconds kBriefWait{100};

// Row ids and claims of the table's placeholders, read in one pass.
int FindPlaceholders(Database& db, const TableSchema& schema, std::vector<std::pair<std::int64_t, std::int64_t>>& out)
{
    std::lock_guard lock(db.mutex());
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "SELECT rowid, _claim FROM \"" + schema.sqlName() + "\" WHERE _claim < 0";
    int rc = sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &stmt, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        out.emplace_back(sqlite3_column_int64(stmt, 0), sqlite3_column_int64(stmt, 1));
        rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE ? kOk : db.mapError(rc);
}

template <class R>
int RemoveOrphans(Database& db, Stations& stations, std::int64_t now)
{
    std::vector<std::pair<std::int64_t, std::int64_t>> found;
    if (const int err = FindPlaceholders(db, R::schema(), found); err != kOk)
        return err;
    int first = kOk;
    Table<R> record(db);
    for (const auto& [rowid, claim] : found) {
        const std::int64_t owner = TableBase::PlaceholderOwner(claim);
        if (owner == 0 || owner == stations.id() || stations.binds(owner, now))
            continue;
        // Read again: its form may have saved it meanwhile.
        if (record.reget(0, rowid) != kOk || !record.isPlaceholder())
            continue;
        if (const IntegrityResult result = IntegrityDelete(record, kBriefWait); !result.ok() && first == kOk)
            first = result.error;
    }
    return first;
}

}  // namespace

int RemoveOrphanPlaceholders(Database& db, Stations& stations, std::int64_t now)
{
    if (!db.isOpen())
        return kFileNotOpen;
    // Tasks first: their scripts go with them.
    int err = RemoveOrphans<ScheduleRecord>(db, stations, now);
    const int contacts = RemoveOrphans<ContactRecord>(db, stations, now);
    const int items = RemoveOrphans<ScriptingRecord>(db, stations, now);
    for (const int e : {contacts, items})
        if (err == kOk)
            err = e;
    return err;
}

}  // namespace hrln::data
