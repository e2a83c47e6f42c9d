#pragma once

#include "data/integrity.h"
#include "pim/record_warnings.h"

#include <chrono>

// The delete and update operations that windows call on the record in a
// table's buffer: the operations of data/integrity.h, with the standard
// message for whatever went wrong.
namespace hrln::pim {

// The linking values of a record as read when a form opened on it: the whole
// record, so that any field a relation links by is there to compare.
template <class R>
struct LinkValues {
    R asRead;
};

template <class R>
LinkValues<R> SaveLinks(const R& asRead)
{
    return {asRead};
}

// 0 on success; 1 on failure, after the message, with the database unchanged.
// Refused by a restrict, the buffer keeps its values; after "Record Changed by
// Another Station" it holds the other station's (an update only).
template <class R>
int DeleteRecord(data::Table<R>& table, RecordWarnings& warnings,
                 std::chrono::milliseconds wait = data::kIntegrityWait);
template <class R>
int UpdateRecord(data::Table<R>& table, const LinkValues<R>& saved, RecordWarnings& warnings,
                 std::chrono::milliseconds wait = data::kIntegrityWait);

// A form's update: as UpdateRecord, but a failure that is not the record's own
// (not a restrict, not another station's change) offers to try again, to
// close without saving or to go back to the form.
enum class FormUpdate { Saved, BackToForm, CloseWithoutSaving };
template <class R>
FormUpdate UpdateRecordFromForm(data::Table<R>& table, const LinkValues<R>& saved, RecordWarnings& warnings,
                                std::chrono::milliseconds wait = data::kIntegrityWait);

#define HRLN_RECORD_OPERATIONS_EXTERN(R)                                                             \
    extern template int DeleteRecord<R>(data::Table<R>&, RecordWarnings&, std::chrono::milliseconds); \
    extern template int UpdateRecord<R>(data::Table<R>&, const LinkValues<R>&, RecordWarnings&,      \
                                        std::chrono::milliseconds);                                 \
    extern template FormUpdate UpdateRecordFromForm<R>(data::Table<R>&, const LinkValues<R>&, RecordWarnings&, \
                                                       std::chrono::milliseconds);
HRLN_RECORD_OPERATIONS_EXTERN(data::ScheduleRecord)
HRLN_RECORD_OPERATIONS_EXTERN(data::ScriptingRecord)
HRLN_RECORD_OPERATIONS_EXTERN(data::LinkRecord)
HRLN_RECORD_OPERATIONS_EXTERN(data::ContactRecord)
HRLN_RECORD_OPERATIONS_EXTERN(data::ContactCategoryRecord)
HRLN_RECORD_OPERATIONS_EXTERN(data::CategoryRecord)
HRLN_RECORD_OPERATIONS_EXTERN(data::TodoRecord)
HRLN_RECORD_OPERATIONS_EXTERN(data::ClipboardRecord)
#undef HRLN_RECORD_OPERATIONS_EXTERN

}  // namespace hrln::pim
