#include "script/script_jobs.h"

#include "pim/record_operations.h"
#include <chrono>
#include <limits>

namespace hrln::script {
namespace {

using data::ScriptingRecord;

// The items of task `id` in the view of their key.
std::int64_t CountItems(data::Database& db, data::Long id)
{
    data::KeyView view(db, ScriptingRecord::schema(), ScriptingRecord::KeyID, {std::int64_t{id}});
    return view.count();
}

// Positions `items` before the first item of task `id`.
void SeekTask(data::Table<ScriptingRecord>& items, data::Long id)
{
    items.clear();
    items.rec.id = id;
    items.rec.sequence = std::numeric_limits<data::Long>::min();
    items.setFrom(ScriptingRecord::KeyID);
}

}  // namespace

CopyScriptJob::CopyScriptJob(data::Database& db, data::Long fromId, data::Long toId, pim::RecordWarnings& warnings)
    : db_(db), from_(fromId), to_(toId), warnings_(warnings), source_(db), target_(db), kept_(db)
{
}

bool CopyScriptJob::begin()
{
    // Counted, rather than estimated, so the percentage means something for
    // a long script too.
    total_ = from_ == to_ ? 0 : CountItems(db_, from_);
    SeekTask(source_, from_);
    return true;
}

bool CopyScriptJob::step(int count)
{
    if (from_ == to_)
        return false;
    for (int i = 0; i < count; ++i) {
        const int err = source_.next();
        if (err == data::kRecordNotAvailable || (err == data::kOk && source_.rec.id != from_))
            return false;
        if (err != data::kOk) {
            warnings_.fetchError("Scripting", err);
            return false;
        }
        ++done_;
        target_.rec = source_.rec;
        target_.rec.id = to_;
        // An item the target already has is reported now, as its add would
        // fail; the job goes on with the next item.
        int kept = target_.duplicate(ScriptingRecord::KeyID) ? data::kDuplicateKey : data::kOk;
        if (kept == data::kOk)
            kept = kept_.keep(target_.rec);
        if (kept != data::kOk)
            warnings_.addError("Scripting", kept);
    }
    return true;
}

void CopyScriptJob::end(bool)
{
    const std::int64_t count = kept_.count();
    int err = kept_.lost() ? data::kFileNotOpen : data::kOk;
    if (err == data::kOk && count > 0) {
        // Another station's write in progress is worth waiting for: the whole
        // copy hangs on this one transaction.
        err = db_.begin(std::chrono::seconds(5));
        if (err == data::kOk)
            err = kept_.moveToTable();
        if (err == data::kOk)
            err = db_.commit();
        if (err != data::kOk && db_.inTransaction())
            db_.rollback();
        if (err == data::kOk)
            copied_ = static_cast<int>(count);
    }
    if (err != data::kOk)
        warnings_.addError("Scripting", err);
    kept_.clear();
}

DeleteScriptJob::DeleteScriptJob(data::Database& db, data::Long id, pim::RecordWarnings& warnings)
    : db_(db), id_(id), warnings_(warnings), items_(db)
{
}

bool DeleteScriptJob::begin()
{
    total_ = CountItems(db_, id_);
    SeekTask(items_, id_);
    return true;
}

bool DeleteScriptJob::step(int count)
{
    for (int i = 0; i < count; ++i) {
        const int err = items_.next();
        if (err == data::kRecordNotAvailable || (err == data::kOk && items_.rec.id != id_))
            return false;
        if (err != data::kOk) {
            warnings_.fetchError("Scripting", err);
            return false;
        }
        ++done_;
        found_.push_back(items_.rowId());
    }
    return true;
}

void DeleteScriptJob::end(bool)
{
    if (found_.empty())
        return;
    if (const int err = db_.begin(std::chrono::seconds(5)); err != data::kOk) {
        warnings_.transactionError("Scripting", "Delete", err);
        return;
    }
    int deleted = 0;
    for (const std::int64_t rowid : found_) {
        // An item another window deleted or moved to another task meanwhile is
        // no longer this job's.
        if (items_.reget(ScriptingRecord::KeyID, rowid) != data::kOk || items_.rec.id != id_)
            continue;
        // Each joins the transaction; a failure is reported and undoes only its own part.
        if (pim::DeleteRecord(items_, warnings_) == 0)
            ++deleted;
    }
    if (const int err = db_.commit(); err != data::kOk) {
        db_.rollback();
        warnings_.transactionError("Scripting", "Delete", err);
        return;
    }
    deleted_ = deleted;
    found_.clear();
}

}  // namespace hrln::script
