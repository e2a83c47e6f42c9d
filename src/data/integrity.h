#pragma once

#include "data/records.h"
#include "data/table.h"

#include <chrono>

// The delete and update operations of every table, which keep the references
// between tables sound:
//   Schedule.ID          <- Scripting.ID (KeyID)               cascade
//   Schedule.ID          <- Link.ID (KeySchedule)              cascade
//   Contact.ClientID     <- Link.ClientID (KeyClient)          cascade
//   ContactCategories    <- Contact.ContactCategory (KeyCategory)  restrict
//   Categories           <- Schedule.Category (KeyCategory)    restrict
// A cascade deletes the children with their parent, or gives them the parent's
// new value; a restrict refuses while any child refers to the parent. The other
// tables have no children: their operations are a single delete or write in the
// same transaction frame. Values are matched as their key compares them (text
// without regard to case or trailing blanks), and an empty value (0 or blank),
// which the parent's key leaves out, refers to nothing.
namespace hrln::data {

// How long an operation waits for another writer before it gives up.
inline constexpr std::chrono::milliseconds kIntegrityWait{2000};

// Where an operation stopped.
enum class IntegrityStep {
    Done,
    Transaction,  // the transaction could not start, or not commit
    Fetch,        // the parent could not be read again before its delete
    ChildRead,    // reading a child failed
    ChildWrite,   // deleting or rewriting a child failed
    Restricted,   // a child refers to the parent (kReferenced)
    Write,        // writing the parent failed; on kRecordChanged the buffer holds the other station's values
    Delete,       // deleting the parent failed
};

struct IntegrityResult {
    int error = kOk;
    IntegrityStep step = IntegrityStep::Done;
    // The table the failure concerns: the child for ChildRead, ChildWrite and
    // Restricted, the parent otherwise.
    const TableSchema* table = nullptr;

    bool ok() const { return error == kOk; }
};

// Deletes the record in `table`'s buffer with what depends on it, all or
// nothing. The record is read again first, so its current values decide.
// Inside a transaction the caller opened, it joins that transaction and undoes
// only its own part on failure.
template <class R>
IntegrityResult IntegrityDelete(Table<R>& table, std::chrono::milliseconds wait = kIntegrityWait);

// Writes the buffer back over its record and makes the children follow a
// linking value that changed from `saved` (the record as read when editing
// began), all or nothing. A restrict puts the saved value back into the buffer.
template <class R>
IntegrityResult IntegrityUpdate(Table<R>& table, const R& saved, std::chrono::milliseconds wait = kIntegrityWait);

#define HRLN_INTEGRITY_EXTERN(R)                                                                         \
    extern template IntegrityResult IntegrityDelete<R>(Table<R>&, std::chrono::milliseconds);            \
    extern template IntegrityResult IntegrityUpdate<R>(Table<R>&, const R&, std::chrono::milliseconds);
HRLN_INTEGRITY_EXTERN(ScheduleRecord)
HRLN_INTEGRITY_EXTERN(ScriptingRecord)
HRLN_INTEGRITY_EXTERN(LinkRecord)
HRLN_INTEGRITY_EXTERN(ContactRecord)
HRLN_INTEGRITY_EXTERN(ContactCategoryRecord)
HRLN_INTEGRITY_EXTERN(CategoryRecord)
HRLN_INTEGRITY_EXTERN(TodoRecord)
HRLN_INTEGRITY_EXTERN(ClipboardRecord)
#undef HRLN_INTEGRITY_EXTERN

}  // namespace hrln::data
