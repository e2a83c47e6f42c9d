#include "exchange/record_adder.h"

#include "data/errors.h"
#include "data/schedule_store.h"
#include "pim/categories.h"
#include "pim/record_warnings.h"
#include "platform/prompter.h"
#include "scheduler/task_fields.h"

#include <functional>
#include <limits>

namespace hrln::exchange {
namespace {

// The table's rules refused the record, after saying why.
constexpr int kRefusedByRules = -1;

// Takes the messages the table's rules give, to report them for the record; a
// question is answered No, so nothing waits for a user.
class ReasonPrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox& box) override
    {
        last = box.text;
        return box.buttons == platform::MessageButtons::Ok ? platform::MessageButton::Ok
                                                           : platform::MessageButton::No;
    }
    void endProgram(const std::string& message) override { last = message; }
    std::string last;
};

template <class R>
using Batch = typename RecordAdder<R>::Batch;

// The category as the table stores it, added when it is new, looked up once
// per batch.
int KnownCategory(data::Database& db, FixedText<20>& name, std::map<std::string, std::string>& known,
                  int (*ensure)(data::Database&, FixedText<20>&))
{
    if (name.empty())
        return data::kOk;
    const std::string key = text::ToUpper(name.view());
    if (const auto it = known.find(key); it != known.end()) {
        name = it->second;
        return data::kOk;
    }
    const int err = ensure(db, name);
    if (err == data::kOk)
        known.emplace(key, name.str());
    return err;
}

// Adds the record under the batch's next number, or the number the table
// gives when the batch has none or it is taken.
template <class R>
int AddNumbered(data::Table<R>& table, data::Long R::*field, data::Long& next, data::Long (*first)(data::Database&),
                int (*slow)(data::Table<R>&, const std::function<bool()>&))
{
    if (next == 0)
        next = first(table.database());
    if (next != 0) {
        table.rec.*field = next;
        if (table.add() == data::kOk) {
            next = next == std::numeric_limits<data::Long>::max() ? 0 : next + 1;
            return data::kOk;
        }
    }
    next = 0;
    const int err = slow(table, {});
    if (err == data::kOk && table.rec.*field != std::numeric_limits<data::Long>::max())
        next = table.rec.*field + 1;
    return err;
}

template <class R>
struct TableRules;

template <>
struct TableRules<data::ScheduleRecord> {
    static void defaults(data::ScheduleRecord& task)
    {
        // As a new task in the form begins, for what a file leaves out.
        task.taskType = "Display Message";
        task.scheduleType = "Once";
        task.category = "General";
        task.every = 1;
    }
    static int add(data::Table<data::ScheduleRecord>& table, pim::RecordWarnings& warnings,
                   Batch<data::ScheduleRecord>& batch)
    {
        if (scheduler::ValidateTask(table.rec, warnings) >= 0)
            return kRefusedByRules;
        if (const int err = KnownCategory(table.database(), table.rec.category, batch.categories, pim::EnsureCategory);
            err != data::kOk)
            return err;
        return AddNumbered(table, &data::ScheduleRecord::id, batch.nextNumber, data::NextTaskId, data::AddTaskWithNewId);
    }
};

template <>
struct TableRules<data::ContactRecord> {
    static void defaults(data::ContactRecord&) {}
    static int add(data::Table<data::ContactRecord>& table, pim::RecordWarnings&, Batch<data::ContactRecord>& batch)
    {
        if (const int err = KnownCategory(table.database(), table.rec.contactCategory, batch.categories,
                                          pim::EnsureContactCategory);
            err != data::kOk)
            return err;
        return AddNumbered(table, &data::ContactRecord::clientId, batch.nextNumber, data::NextClientId,
                           data::AddContactWithNewId);
    }
};

template <>
struct TableRules<data::TodoRecord> {
    static void defaults(data::TodoRecord&) {}
    static int add(data::Table<data::TodoRecord>& table, pim::RecordWarnings&, Batch<data::TodoRecord>& batch)
    {
        if (const int err = KnownCategory(table.database(), table.rec.category, batch.categories, pim::EnsureCategory);
            err != data::kOk)
            return err;
        return table.add();
    }
};

}  // namespace

template <class R>
R& RecordAdder<R>::fresh()
{
    table_.clear();
    TableRules<R>::defaults(table_.rec);
    return table_.rec;
}

template <class R>
std::string RecordAdder<R>::add()
{
    data::Database& db = table_.database();
    if (const int err = db.savepoint(); err != data::kOk)
        return "the database refused the record (error " + std::to_string(err) + ")";
    ReasonPrompter reasons;
    pim::RecordWarnings warnings(reasons);
    const int err = TableRules<R>::add(table_, warnings, batch_);
    if (err == data::kOk) {
        db.releaseSavepoint();
        return {};
    }
    db.rollbackToSavepoint();
    // The rollback may have taken back a category this record added.
    batch_ = {};
    if (!reasons.last.empty())
        return reasons.last;
    if (err == data::kDuplicateKey)
        return "the record would duplicate a key of " + std::string(R::schema().name());
    return "the record could not be added (error " + std::to_string(err) + ")";
}

template class RecordAdder<data::ScheduleRecord>;
template class RecordAdder<data::ContactRecord>;
template class RecordAdder<data::TodoRecord>;

}  // namespace hrln::exchange
