#pragma once

#include "data/records.h"
#include "data/table.h"

#include <functional>

namespace hrln::data {

// The highest task number in the table plus one (1 in an empty table), or 0
// when the highest is the largest a Long holds. Reads through a buffer of its
// own, so the caller's buffer and cursor stay put.
Long NextTaskId(Database& db);
// The same rule for contacts.
Long NextClientId(Database& db);

// Adds `table.rec` under a fresh task number: recomputed and retried when
// another buffer took the number first, three attempts at a time; after each
// three, `askRetry` decides whether to try three more. Returns the last error,
// or kNoNumberLeft (nothing added) when no number is left above the highest.
int AddTaskWithNewId(Table<ScheduleRecord>& table, const std::function<bool()>& askRetry);
// The same for a contact and its ClientID.
int AddContactWithNewId(Table<ContactRecord>& table, const std::function<bool()>& askRetry);

// Adds a history entry: the highest number plus one, raised while it is taken;
// kNoNumberLeft (nothing added) when that would pass the largest Long.
int AddHistoryEntry(Table<ScheduleRecord>& table);

// Deletes the record last read through `table` with the script items and
// contact links that belong to it, all or nothing: the delete operation of
// data/integrity.h, inside the caller's transaction when one is open.
int DeleteTask(Table<ScheduleRecord>& table);

}  // namespace hrln::data
