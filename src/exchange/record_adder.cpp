#include "exchange/record_adder.h"

#include "data/errors.h"
#include "data/schedule_store.h"
#include "data/table_open.h"
#include "pim/categories.h"
#include "pim/contacts.h"
#include "pim/todo.h"
#include "pim/record_warnings.h"
#include "platform/prompter.h"
#include "scheduler/task_fields.h"

#include <chrono>
#include <limits>
#include <map>

namespace hrln::exchange {
namespace {

// Takes the messages the table's rules give, to report them for the record; a
// question is answered No, so nothing waits for a user.
class ReasonPrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox& box) override
    {
        last = Labelled(box.text);
        return box.buttons == platform::MessageButtons::Ok ? platform::MessageButton::Ok
                                                           : platform::MessageButton::No;
    }
    void endProgram(const std::string& message) override { last = message; }
    std::string last;

private:
    // The forms keep a field's record name in a few messages; an import's
    // reasons name the field as the forms label it.
    static std::string Labelled(std::string text)
    {
        static const std::pair<std::string_view, std::string_view> kLabels[] = {{"TDO:Priority", "Priority"},
                                                                                {"C_:LastName", "Last Name"}};
        for (const auto& [record, label] : kLabels)
            if (text.starts_with(record))
                text.replace(0, record.size(), label);
        return text;
    }
};

using Ensure = int (*)(data::Database&, FixedText<20>&);

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
    static bool accepts(data::ScheduleRecord& task, pim::RecordWarnings& warnings)
    {
        return scheduler::ValidateTask(task, warnings) < 0;
    }
    static constexpr FixedText<20> data::ScheduleRecord::*kCategory = &data::ScheduleRecord::category;
    static constexpr const char* kCategoryColumn = "Category";
    static constexpr Ensure kEnsure = pim::EnsureCategory;
    static constexpr const char* kNumberColumn = "ID";
    static data::Long firstNumber(data::Database& db) { return data::NextTaskId(db); }
};

template <>
struct TableRules<data::ContactRecord> {
    static void defaults(data::ContactRecord&) {}
    // The contact form's own rules: a name, one-line fields on one line.
    static bool accepts(data::ContactRecord& contact, pim::RecordWarnings& warnings)
    {
        static const auto validate = pim::ContactFormRules({}).validate;
        return validate(contact, warnings) < 0;
    }
    static constexpr FixedText<20> data::ContactRecord::*kCategory = &data::ContactRecord::contactCategory;
    static constexpr const char* kCategoryColumn = "ContactCategory";
    static constexpr Ensure kEnsure = pim::EnsureContactCategory;
    static constexpr const char* kNumberColumn = "ClientID";
    static data::Long firstNumber(data::Database& db) { return data::NextClientId(db); }
};

template <>
struct TableRules<data::TodoRecord> {
    // As a new item in the form begins, for what a file leaves out.
    static void defaults(data::TodoRecord& item)
    {
        static const auto fill = pim::TodoFormRules("").defaults;
        fill(item);
    }
    // The to-do form's own rules: a priority of 1 to 10. A blank category the
    // file gave stays blank, as the item was exported; one the file left out
    // is "General" from defaults().
    static bool accepts(data::TodoRecord& item, pim::RecordWarnings& warnings)
    {
        static const auto validate = pim::TodoFormRules("").validate;
        const FixedText<20> category = item.category;
        if (validate(item, warnings) >= 0)
            return false;
        item.category = category;
        return true;
    }
    static constexpr FixedText<20> data::TodoRecord::*kCategory = &data::TodoRecord::category;
    static constexpr const char* kCategoryColumn = "Category";
    static constexpr Ensure kEnsure = pim::EnsureCategory;
    static constexpr const char* kNumberColumn = nullptr;
    static data::Long firstNumber(data::Database&) { return 0; }
};

}  // namespace

std::string StoreFailureText(int err, const data::Database& db)
{
    if (err == data::kNoNumberLeft)
        return "no new numbers are left for the records read";
    if (err == data::kFileNotOpen)
        return "the database was closed during the import, and the records read with it";
    return "the database could not be written: " + data::ErrorDescription(db, err);
}

template <class R>
R& RecordAdder<R>::fresh()
{
    rec_ = R{};
    TableRules<R>::defaults(rec_);
    return rec_;
}

template <class R>
std::string RecordAdder<R>::add(std::string_view identity)
{
    ReasonPrompter reasons;
    pim::RecordWarnings warnings(reasons);
    if (!TableRules<R>::accepts(rec_, warnings))
        return reasons.last.empty() ? "the record was refused" : reasons.last;
    if (const int err = kept_.keep(rec_, identity); err != data::kOk)
        return "the record could not be kept (error " + std::to_string(err) + ")";
    const FixedText<20>& category = rec_.*TableRules<R>::kCategory;
    if (!category.empty() && spelt_.insert(category.str()).second)
        spellings_.push_back(category.str());
    return {};
}

template <class R>
int RecordAdder<R>::store()
{
    using Rules = TableRules<R>;
    const std::int64_t count = kept_.count();
    if (kept_.lost())
        return data::kFileNotOpen;
    if (count == 0)
        return data::kOk;
    data::Database& db = kept_.database();
    // Another station's write in progress is worth waiting for: the whole
    // import hangs on this one transaction.
    if (const int err = db.begin(std::chrono::seconds(5)); err != data::kOk)
        return err;
    // Each category as the table stores it, added when it is new; the first
    // spelling met names a new one, as it would have, added in file order.
    int err = data::kOk;
    const int categoryColumn = R::schema().columnIndex(Rules::kCategoryColumn);
    std::map<std::string, std::string> known;  // upper case to the spelling stored
    for (const std::string& spelling : spellings_) {
        const std::string upper = text::ToUpper(spelling);
        auto it = known.find(upper);
        if (it == known.end()) {
            FixedText<20> name = spelling;
            if ((err = Rules::kEnsure(db, name)) != data::kOk)
                break;
            it = known.emplace(upper, name.str()).first;
        }
        if (it->second != spelling && (err = kept_.replaceText(categoryColumn, spelling, it->second)) != data::kOk)
            break;
    }
    int numbered = -1;
    data::Long first = 0;
    if constexpr (Rules::kNumberColumn != nullptr) {
        if (err == data::kOk) {
            numbered = R::schema().columnIndex(Rules::kNumberColumn);
            first = Rules::firstNumber(db);
            if (first == 0 || count - 1 > std::numeric_limits<data::Long>::max() - first)
                err = data::kNoNumberLeft;
        }
    }
    data::StagedRecordsBase::Moved moved;
    if (err == data::kOk)
        err = kept_.moveToTable(numbered, first, &moved);
    if (err == data::kOk)
        err = db.commit();
    if (err != data::kOk) {
        db.rollback();
        return err;
    }
    stored_ += static_cast<int>(moved.added);
    updated_ += static_cast<int>(moved.updated);
    repeated_ += static_cast<int>(moved.repeated);
    spellings_.clear();
    spelt_.clear();
    return kept_.clear();
}

template class RecordAdder<data::ScheduleRecord>;
template class RecordAdder<data::ContactRecord>;
template class RecordAdder<data::TodoRecord>;

}  // namespace hrln::exchange
