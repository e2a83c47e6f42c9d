#include "exchange/record_adder.h"

#include "data/errors.h"
#include "data/schedule_store.h"
#include "pim/categories.h"
#include "pim/record_warnings.h"
#include "platform/prompter.h"
#include "scheduler/task_fields.h"

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
    static int add(data::Table<data::ScheduleRecord>& table, pim::RecordWarnings& warnings)
    {
        if (scheduler::ValidateTask(table.rec, warnings) >= 0)
            return kRefusedByRules;
        if (const int err = pim::EnsureCategory(table.database(), table.rec.category); err != data::kOk)
            return err;
        return data::AddTaskWithNewId(table, {});
    }
};

template <>
struct TableRules<data::ContactRecord> {
    static void defaults(data::ContactRecord&) {}
    static int add(data::Table<data::ContactRecord>& table, pim::RecordWarnings&)
    {
        if (const int err = pim::EnsureContactCategory(table.database(), table.rec.contactCategory); err != data::kOk)
            return err;
        return data::AddContactWithNewId(table, {});
    }
};

template <>
struct TableRules<data::TodoRecord> {
    static void defaults(data::TodoRecord&) {}
    static int add(data::Table<data::TodoRecord>& table, pim::RecordWarnings&)
    {
        if (const int err = pim::EnsureCategory(table.database(), table.rec.category); err != data::kOk)
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
    const int err = TableRules<R>::add(table_, warnings);
    if (err == data::kOk) {
        db.releaseSavepoint();
        return {};
    }
    db.rollbackToSavepoint();
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
