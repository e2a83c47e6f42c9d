#pragma once

#include "data/records.h"
#include "pim/record_form.h"

namespace hrln::pim {

// The form rules of a category: a name is needed (a blank one would stand
// outside the key, where no list shows it), and the key refuses a name that
// exists in any letter case.
FormRules<data::CategoryRecord> CategoryFormRules();

}  // namespace hrln::pim
