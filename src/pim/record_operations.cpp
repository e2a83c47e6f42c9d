#include "pim/record_operations.h"

#include "common/translate.h"

namespace hrln::pim {
namespace {

using data::IntegrityStep;

enum class Operation { Delete, Update };

// The standard message for a failed operation on `parent`.
void Report(const data::IntegrityResult& result, Operation operation, std::string_view parent,
            RecordWarnings& warnings)
{
    const std::string_view table = result.table != nullptr ? std::string_view(result.table->name()) : parent;
    switch (result.step) {
    case IntegrityStep::Done: return;
    case IntegrityStep::Transaction:
        warnings.transactionError(table, operation == Operation::Delete ? "Delete" : "Update", result.error);
        return;
    case IntegrityStep::Fetch:
    case IntegrityStep::ChildRead: warnings.fetchError(table, result.error); return;
    case IntegrityStep::ChildWrite:
        operation == Operation::Delete ? warnings.deleteError(table, result.error)
                                       : warnings.updateError(table, result.error);
        return;
    case IntegrityStep::Restricted:
        operation == Operation::Delete ? warnings.restrictDelete(table) : warnings.restrictUpdate(table);
        return;
    case IntegrityStep::Write:
        if (result.error == data::kRecordChanged)
            warnings.recordChanged(table);
        else
            warnings.updateError(table, result.error);
        return;
    case IntegrityStep::Delete: warnings.deleteError(table, result.error); return;
    }
}

}  // namespace

template <class R>
int DeleteRecord(data::Table<R>& table, RecordWarnings& warnings, std::chrono::milliseconds wait)
{
    const data::IntegrityResult result = data::IntegrityDelete(table, wait);
    Report(result, Operation::Delete, table.schema().name(), warnings);
    return result.ok() ? 0 : 1;
}

template <class R>
int UpdateRecord(data::Table<R>& table, const LinkValues<R>& saved, RecordWarnings& warnings,
                 std::chrono::milliseconds wait)
{
    const data::IntegrityResult result = data::IntegrityUpdate(table, saved.asRead, wait);
    Report(result, Operation::Update, table.schema().name(), warnings);
    return result.ok() ? 0 : 1;
}

template <class R>
FormUpdate UpdateRecordFromForm(data::Table<R>& table, const LinkValues<R>& saved, RecordWarnings& warnings,
                                std::chrono::milliseconds wait)
{
    for (;;) {
        const data::IntegrityResult result = data::IntegrityUpdate(table, saved.asRead, wait);
        if (result.ok())
            return FormUpdate::Saved;
        const bool ownReason = result.step == IntegrityStep::Restricted ||
                               (result.step == IntegrityStep::Write && result.error == data::kRecordChanged);
        if (ownReason) {
            Report(result, Operation::Update, table.schema().name(), warnings);
            return FormUpdate::BackToForm;
        }
        const std::string_view name = result.table != nullptr ? std::string_view(result.table->name())
                                                              : std::string_view(table.schema().name());
        const std::string doing =
            result.step == IntegrityStep::Transaction
                ? HrlnTranslate("RecordWarnings", "Error: (%1) in the Update transaction of the %2 file.")
            : result.step == IntegrityStep::Fetch || result.step == IntegrityStep::ChildRead
                ? HrlnTranslate("RecordWarnings", "Error: (%1) reading a record of the %2 file.")
                : HrlnTranslate("RecordWarnings", "Error: (%1) writing a record of the %2 file.");
        switch (warnings.writeFailed(doing, name, result.error)) {
        case RecordWarnings::WriteChoice::TryAgain: continue;
        case RecordWarnings::WriteChoice::CloseWithoutSaving: return FormUpdate::CloseWithoutSaving;
        case RecordWarnings::WriteChoice::BackToForm: return FormUpdate::BackToForm;
        }
    }
}

#define HRLN_RECORD_OPERATIONS(R)                                                             \
    template int DeleteRecord<R>(data::Table<R>&, RecordWarnings&, std::chrono::milliseconds); \
    template int UpdateRecord<R>(data::Table<R>&, const LinkValues<R>&, RecordWarnings&, std::chrono::milliseconds); \
    template FormUpdate UpdateRecordFromForm<R>(data::Table<R>&, const LinkValues<R>&, RecordWarnings&,             \
                                                std::chrono::milliseconds);
HRLN_RECORD_OPERATIONS(data::ScheduleRecord)
HRLN_RECORD_OPERATIONS(data::ScriptingRecord)
HRLN_RECORD_OPERATIONS(data::LinkRecord)
HRLN_RECORD_OPERATIONS(data::ContactRecord)
HRLN_RECORD_OPERATIONS(data::ContactCategoryRecord)
HRLN_RECORD_OPERATIONS(data::CategoryRecord)
HRLN_RECORD_OPERATIONS(data::TodoRecord)
HRLN_RECORD_OPERATIONS(data::ClipboardRecord)
#undef HRLN_RECORD_OPERATIONS

}  // namespace hrln::pim
