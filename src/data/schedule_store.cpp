#include "data/schedule_store.h"

#include "data/integrity.h"

#include <limits>

namespace hrln::data {
namespace {

template <class R>
Long NextNumber(Database& db, int key, Long R::*field)
{
    Table<R> last(db);
    last.seePlaceholders();  // the number of a record being added in a form is taken
    last.set(key);
    if (last.previous() != kOk)
        return 1;
    // The next number must never wrap round to a negative one.
    if (last.rec.*field == std::numeric_limits<Long>::max())
        return 0;
    return last.rec.*field + 1;
}

template <class R>
int AddWithNewNumber(Table<R>& table, const std::function<bool()>& askRetry, Long R::*field, Long (*next)(Database&))
{
    for (;;) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            table.rec.*field = next(table.database());
            if (table.rec.*field == 0)
                return kNoNumberLeft;
            const int err = table.add();
            if (err == kOk)
                return kOk;
        }
        if (!askRetry || !askRetry())
            return table.error();
    }
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
    return AddWithNewNumber(table, askRetry, &ScheduleRecord::id, NextTaskId);
}

int AddContactWithNewId(Table<ContactRecord>& table, const std::function<bool()>& askRetry)
{
    return AddWithNewNumber(table, askRetry, &ContactRecord::clientId, NextClientId);
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
    return IntegrityDelete(table).error;
}

}  // namespace hrln::data
