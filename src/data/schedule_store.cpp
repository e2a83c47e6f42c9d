#include "data/schedule_store.h"

namespace hrln::data {
namespace {

template <class R>
Long NextNumber(Database& db, int key, Long R::*field)
{
    Table<R> last(db);
    last.set(key);
    if (last.previous() != kOk)
        return 1;
    return last.rec.*field + 1;
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
    Table<ScheduleRecord> probe(table.database());
    for (;;) {
        probe.rec.id = table.rec.id;
        if (probe.get(ScheduleRecord::KeyID) != kOk)
            break;
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
        Table<ScriptingRecord> items(db);
        items.rec.id = id;
        items.setFrom(ScriptingRecord::KeyID);
        while (items.next() == kOk && items.rec.id == id)
            if (const int err = items.remove(); err != kOk)
                return finish(err);
        if (items.error() != kOk && items.error() != kRecordNotAvailable)
            return finish(items.error());

        Table<LinkRecord> links(db);
        links.rec.id = id;
        links.setFrom(LinkRecord::KeySchedule);
        while (links.next() == kOk && links.rec.id == id)
            if (const int err = links.remove(); err != kOk)
                return finish(err);
        if (links.error() != kOk && links.error() != kRecordNotAvailable)
            return finish(links.error());
    }
    return finish(table.remove());
}

}  // namespace hrln::data
