#include "script/script_jobs.h"

#include "data/key_view.h"
#include "data/staged_records.h"
#include "data/table.h"
#include "pim/record_operations.h"

#include <chrono>
#include <limits>
#include <memory>
#include <vector>

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

namespace detail {

// The copy itself, on the thread of its CopyScriptJob. Its tables and the
// items kept aside are made on the job's connection once it is open, and go
// before it closes.
class CopyScriptWork : public BatchJob {
public:
    CopyScriptWork(data::Database& db, data::Long fromId, data::Long toId, platform::Prompter& prompter)
        : db_(db), from_(fromId), to_(toId), warnings_(prompter)
    {
    }

    std::string description() const override { return "Copying Script"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override { return PercentDone(done_, total_); }
    void end(bool cancelled) override;
    int copied() const { return copied_; }

private:
    struct Parts {
        explicit Parts(data::Database& db) : source(db), target(db), kept(db) {}
        data::Table<ScriptingRecord> source;
        data::Table<ScriptingRecord> target;
        data::StagedRecords<ScriptingRecord> kept;
    };

    data::Database& db_;
    data::Long from_;
    data::Long to_;
    pim::RecordWarnings warnings_;
    std::unique_ptr<Parts> parts_;
    std::int64_t total_ = 0;
    std::int64_t done_ = 0;
    int copied_ = 0;
};

bool CopyScriptWork::begin()
{
    parts_ = std::make_unique<Parts>(db_);
    // Counted, rather than estimated, so the percentage means something for
    // a long script too.
    total_ = from_ == to_ ? 0 : CountItems(db_, from_);
    SeekTask(parts_->source, from_);
    return true;
}

bool CopyScriptWork::step(int count)
{
    if (from_ == to_)
        return false;
    data::Table<ScriptingRecord>& source = parts_->source;
    data::Table<ScriptingRecord>& target = parts_->target;
    for (int i = 0; i < count; ++i) {
        const int err = source.next();
        if (err == data::kRecordNotAvailable || (err == data::kOk && source.rec.id != from_))
            return false;
        if (err != data::kOk) {
            warnings_.fetchError("Scripting", err);
            return false;
        }
        ++done_;
        target.rec = source.rec;
        target.rec.id = to_;
        // An item the target already has is reported now, as its add would
        // fail; the job goes on with the next item.
        int kept = target.duplicate(ScriptingRecord::KeyID) ? data::kDuplicateKey : data::kOk;
        if (kept == data::kOk)
            kept = parts_->kept.keep(target.rec);
        if (kept != data::kOk)
            warnings_.addError("Scripting", kept);
    }
    return true;
}

void CopyScriptWork::end(bool)
{
    data::StagedRecords<ScriptingRecord>& kept = parts_->kept;
    const std::int64_t count = kept.count();
    int err = kept.lost() ? data::kFileNotOpen : data::kOk;
    if (err == data::kOk && count > 0) {
        // Another station's write in progress is worth waiting for: the whole
        // copy hangs on this one transaction.
        err = db_.begin(std::chrono::seconds(5));
        if (err == data::kOk)
            err = kept.moveToTable();
        if (err == data::kOk)
            err = db_.commit();
        if (err != data::kOk && db_.inTransaction())
            db_.rollback();
        if (err == data::kOk)
            copied_ = static_cast<int>(count);
    }
    if (err != data::kOk)
        warnings_.addError("Scripting", err);
    kept.clear();
    parts_.reset();
}

// The delete itself, on the thread of its DeleteScriptJob: the items found a
// batch at a time, then deleted in one transaction.
class DeleteScriptWork : public BatchJob {
public:
    DeleteScriptWork(data::Database& db, data::Long id, platform::Prompter& prompter)
        : db_(db), id_(id), warnings_(prompter)
    {
    }

    std::string description() const override { return "Deleting Script"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override { return PercentDone(done_, total_); }
    void end(bool cancelled) override;
    int deleted() const { return deleted_; }

private:
    void erase();

    data::Database& db_;
    data::Long id_;
    pim::RecordWarnings warnings_;
    std::unique_ptr<data::Table<ScriptingRecord>> items_;
    std::vector<std::int64_t> found_;  // row ids of the items read
    std::int64_t total_ = 0;
    std::int64_t done_ = 0;
    int deleted_ = 0;
};

bool DeleteScriptWork::begin()
{
    items_ = std::make_unique<data::Table<ScriptingRecord>>(db_);
    total_ = CountItems(db_, id_);
    SeekTask(*items_, id_);
    return true;
}

bool DeleteScriptWork::step(int count)
{
    data::Table<ScriptingRecord>& items = *items_;
    for (int i = 0; i < count; ++i) {
        const int err = items.next();
        if (err == data::kRecordNotAvailable || (err == data::kOk && items.rec.id != id_))
            return false;
        if (err != data::kOk) {
            warnings_.fetchError("Scripting", err);
            return false;
        }
        ++done_;
        found_.push_back(items.rowId());
    }
    return true;
}

void DeleteScriptWork::end(bool)
{
    erase();
    items_.reset();
}

void DeleteScriptWork::erase()
{
    if (found_.empty())
        return;
    if (const int err = db_.begin(std::chrono::seconds(5)); err != data::kOk) {
        warnings_.transactionError("Scripting", "Delete", err);
        return;
    }
    data::Table<ScriptingRecord>& items = *items_;
    int deleted = 0;
    for (const std::int64_t rowid : found_) {
        // An item another window deleted or moved to another task meanwhile is
        // no longer this job's.
        if (items.reget(ScriptingRecord::KeyID, rowid) != data::kOk || items.rec.id != id_)
            continue;
        // Each joins the transaction; a failure is reported and undoes only its own part.
        if (pim::DeleteRecord(items, warnings_) == 0)
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

}  // namespace detail

CopyScriptJob::CopyScriptJob(data::Database& db, data::Long fromId, data::Long toId, pim::RecordWarnings& warnings)
    : WorkerJob(db, warnings.prompter(), "copying the script", "Error!")
{
    auto work = std::make_unique<detail::CopyScriptWork>(connection(), fromId, toId, messages());
    work_ = work.get();
    setWork(std::move(work));
}

CopyScriptJob::~CopyScriptJob() = default;

int CopyScriptJob::copied() const
{
    return work_->copied();
}

DeleteScriptJob::DeleteScriptJob(data::Database& db, data::Long id, pim::RecordWarnings& warnings)
    : WorkerJob(db, warnings.prompter(), "deleting the script", "Error!")
{
    auto work = std::make_unique<detail::DeleteScriptWork>(connection(), id, messages());
    work_ = work.get();
    setWork(std::move(work));
}

DeleteScriptJob::~DeleteScriptJob() = default;

int DeleteScriptJob::deleted() const
{
    return work_->deleted();
}

}  // namespace hrln::script
