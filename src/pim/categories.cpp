#include "pim/categories.h"

#include "common/translate.h"

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

template <class R>
FormRules<R> NameFormRules(const char* insertTitle, const char* changeTitle, FixedText<20> R::*field,
                           const char* fieldName, int key, const char* keyName)
{
    FormRules<R> rules;
    rules.insertTitle = insertTitle;
    rules.changeTitle = changeTitle;
    rules.validate = [field, fieldName](R& r, RecordWarnings& warnings) {
        if (!(r.*field).view().empty())
            return -1;
        warnings.required(fieldName);
        return 0;
    };
    rules.keyNames = {{key, keyName, 0}};
    return rules;
}

FormRules<data::CategoryRecord> CategoryFormRules()
{
    return NameFormRules<data::CategoryRecord>(HRLN_TEXT("FormTitle", "Adding a Categories Record"),
                                               HRLN_TEXT("FormTitle", "Changing a Categories Record"),
                                               &data::CategoryRecord::category, "Category",
                                               data::CategoryRecord::KeyCategory, "By Category");
}

FormRules<data::ContactCategoryRecord> ContactCategoryFormRules()
{
    return NameFormRules<data::ContactCategoryRecord>(
        HRLN_TEXT("FormTitle", "Adding a Contact Categories Record"),
        HRLN_TEXT("FormTitle", "Changing a Contact Categories Record"), &data::ContactCategoryRecord::contactCategory,
        "Contact Category",
        data::ContactCategoryRecord::KeyContactCategories, "By Contact Category");
}

}  // namespace hrln::pim
