#include "pim/todo.h"

#include "common/translate.h"

namespace hrln::pim {

using data::TodoRecord;

FormRules<TodoRecord> TodoFormRules(std::string browserCategory)
{
    if (browserCategory.find_first_not_of(' ') == std::string::npos)
        browserCategory = kGeneralCategory;
    FormRules<TodoRecord> rules;
    rules.insertTitle = HRLN_TEXT("FormTitle", "Adding a To Do Item");
    rules.changeTitle = HRLN_TEXT("FormTitle", "Changing a To Do Item");
    rules.defaults = [category = std::move(browserCategory)](TodoRecord& r) {
        r.priority = 5;
        r.category = category;
    };
    rules.validate = [](TodoRecord& r, RecordWarnings& warnings) {
        if (r.priority < 1 || r.priority > 10) {
            warnings.rangeError("TDO:Priority", "1 and 10");
            return static_cast<int>(TodoPriority);
        }
        if (r.category.view().empty())
            r.category = kGeneralCategory;
        return -1;
    };
    return rules;
}

void ToggleDone(TodoRecord& item, const platform::Clock& clock)
{
    item.done = item.done != 0 ? 0 : 1;
    if (item.done != 0) {
        const platform::DateTime now = clock.now();
        item.completionDate = now.date;
        item.completionTime = now.time;
    }
}

bool DoneChecked(TodoRecord& item, bool checked, bool doneAtOpening, const platform::Clock& clock)
{
    const bool becomesDone = checked && item.done == 0;
    item.done = checked ? 1 : 0;
    if (!becomesDone || doneAtOpening)
        return false;
    const platform::DateTime now = clock.now();
    item.completionDate = now.date;
    item.completionTime = now.time;
    return true;
}

int ToggleDoneStatus(data::Table<TodoRecord>& table, std::int64_t rowid, const platform::Clock& clock,
                     RecordWarnings& warnings)
{
    if (const int err = table.reget(TodoRecord::KeyToDo, rowid); err != data::kOk) {
        warnings.fetchError(TodoRecord::schema().name(), err);
        return 1;
    }
    const LinkValues<TodoRecord> saved = SaveLinks(table.rec);
    ToggleDone(table.rec, clock);
    return UpdateRecord(table, saved, warnings);
}

}  // namespace hrln::pim
