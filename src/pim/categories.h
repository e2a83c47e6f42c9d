#pragma once

#include "data/records.h"
#include "pim/record_form.h"

namespace hrln::pim {

// The form rules of a category: a name is needed (a blank one would stand
// outside the key, where no list shows it), and the key refuses a name that
// exists in any letter case.
FormRules<data::CategoryRecord> CategoryFormRules();
// The same rules for a contact category.
FormRules<data::ContactCategoryRecord> ContactCategoryFormRules();

// Puts a category named by a record into its table when it is missing there,
// and takes the stored spelling when it is there in another letter case; a
// blank name names no category. The error of the read or add.
int EnsureCategory(data::Database& db, FixedText<20>& category);
int EnsureContactCategory(data::Database& db, FixedText<20>& contactCategory);

}  // namespace hrln::pim
