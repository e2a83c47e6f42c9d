#include "script/script_jobs.h"

#include "pim/record_operations.h"
#include "script/batch_transaction.h"

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
    : db_(db), from_(fromId), to_(toId), warnings_(warnings), source_(db), target_(db)
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
    const BatchTransaction batch(db_);
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
        if (const int add = target_.add(); add != data::kOk)
            warnings_.addError("Scripting", add);  // reported; the job goes on with the next item
        else
            ++copied_;
    }
    return true;
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
    const BatchTransaction batch(db_);
    for (int i = 0; i < count; ++i) {
        const int err = items_.next();
        if (err == data::kRecordNotAvailable || (err == data::kOk && items_.rec.id != id_))
            return false;
        if (err != data::kOk) {
            warnings_.fetchError("Scripting", err);
            return false;
        }
        ++done_;
        pim::DeleteRecord(items_, warnings_);  // a failure is reported and the job goes on
    }
    return true;
}

}  // namespace hrln::script
