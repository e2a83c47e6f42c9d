#include "pim/categories.h"

namespace hrln::pim {
namespace {

template <class R>
int EnsureNamed(data::Database& db, FixedText<20>& name, FixedText<20> R::*field, int key)
{
    if (name.empty())
        return data::kOk;
    data::Table<R> table(db);
    table.rec.*field = name;
    const int found = table.get(key);
    if (found == data::kOk) {
        name = table.rec.*field;
        return data::kOk;
    }
    if (found != data::kRecordNotFound)
        return found;
    table.clear();
    table.rec.*field = name;
    return table.add();
}

}  // namespace

int EnsureCategory(data::Database& db, FixedText<20>& category)
{
    return EnsureNamed(db, category, &data::CategoryRecord::category, data::CategoryRecord::KeyCategory);
}

int EnsureContactCategory(data::Database& db, FixedText<20>& contactCategory)
{
    return EnsureNamed(db, contactCategory, &data::ContactCategoryRecord::contactCategory,
                       data::ContactCategoryRecord::KeyContactCategories);
}

FormRules<data::CategoryRecord> CategoryFormRules()
{
    FormRules<data::CategoryRecord> rules;
    rules.insertTitle = "Adding a Categories Record";
    rules.changeTitle = "Changing a Categories Record";
    rules.validate = [](data::CategoryRecord& r, RecordWarnings& warnings) {
        if (!r.category.view().empty())
            return -1;
        warnings.required("CAT:Category");
        return 0;
    };
    rules.keyNames = {{data::CategoryRecord::KeyCategory, "By Category", 0}};
    return rules;
}

}  // namespace hrln::pim
