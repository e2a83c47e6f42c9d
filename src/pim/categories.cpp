#include "pim/categories.h"

namespace hrln::pim {

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
