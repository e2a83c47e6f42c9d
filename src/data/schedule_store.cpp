#include "data/schedule_store.h"

#include <limits>

namespace hrln::data {
namespace {

template <class R>
Long NextNumber(Database& db, int key, Long R::*field)
{
    Table<R> last(db);
    last.set(key);
    if (last.previous() != kOk)
        return 1;
    // The next number must never wrap round to a negative one.
    if (last.rec.*field == std::numeric_limits<Long>::max())
        return 0;
    return last.rec.*field + 1;
}

// Deletes the records of R whose key `key` starts with the task number `id`.
template <class R>
int DeleteChildren(Database& db, int key, Long id)
{
    Table<R> children(db);
    children.rec.id = id;
    children.setFrom(key);
    while (children.next() == kOk && children.rec.id == id)
        if (const int err = children.remove(); err != kOk)
            return err;
    return children.error() == kRecordNotAvailable ? kOk : children.error();
}

}  // namespace

Long NextTaskId(Database& db)
{
    return NextNumber<ScheduleRecord>(db, ScheduleRecord::KeyID, &ScheduleRecord::id);
}

Long NextClientId(Database& db)
{
    return NextNumber<ContactRecord>(db, ContactRecord::KeyClientID, &ContactRecord::clientId);
}

int AddTaskWithNewId(Table<ScheduleRecord>& table, const std::function<bool()>& askRetry)
{
    for (;;) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            table.rec.id = NextTaskId(table.database());
            if (table.rec.id == 0)
                return kNoNumberLeft;
            const int err = table.add();
            if (err == kOk)
                return kOk;
        }
        if (!askRetry || !askRetry())
            return table.error();
    }
}

int AddHistoryEntry(Table<ScheduleRecord>& table)
{
    table.rec.id = NextTaskId(table.database());
    if (table.rec.id == 0)
        return kNoNumberLeft;
    Table<ScheduleRecord> probe(table.database());
    for (;;) {
        probe.rec.id = table.rec.id;
        if (probe.get(ScheduleRecord::KeyID) != kOk)
            break;
        if (table.rec.id == std::numeric_limits<Long>::max())
            return kNoNumberLeft;
        ++table.rec.id;
    }
    return table.add();
}

int DeleteTask(Table<ScheduleRecord>& table)
{
    Database& db = table.database();
    const Long id = table.rec.id;
    const bool ownTransaction = !db.inTransaction();
    if (ownTransaction) {
        if (const int err = db.begin(); err != kOk)
            return err;
    }
    const auto finish = [&](int err) {
        if (ownTransaction)
            err == kOk ? (err = db.commit()) : db.rollback();
        return err;
    };

    if (id != 0) {
        if (const int err = DeleteChildren<ScriptingRecord>(db, ScriptingRecord::KeyID, id); err != kOk)
            return finish(err);
        if (const int err = DeleteChildren<LinkRecord>(db, LinkRecord::KeySchedule, id); err != kOk)
            return finish(err);
    }
    return finish(table.remove());
}

}  // namespace hrln::data
