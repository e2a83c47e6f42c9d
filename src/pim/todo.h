#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "platform/clock.h"

#include <string>

namespace hrln::pim {

// The category an item gets when none is chosen.
inline constexpr const char* kGeneralCategory = "General";

// The form rules of a to-do item: a new item takes priority 5 and the
// browser's category ("General" when that is blank); a priority outside 1 to
// 10 is refused; a blank category is saved as "General".
FormRules<data::TodoRecord> TodoFormRules(std::string browserCategory);

// The field numbers the rules name when a field fails.
enum TodoField { TodoDone = 0, TodoPriority = 1, TodoCategory = 2, TodoText = 3 };

// Marks the item done or not done. Becoming done stamps the completion date
// and time with now; becoming not done keeps the stamp.
void ToggleDone(data::TodoRecord& item, const platform::Clock& clock);

// The form's "&Done" box was set or cleared: an item that was not done when
// the form opened is stamped as it becomes done. True when it was stamped.
bool DoneChecked(data::TodoRecord& item, bool checked, bool doneAtOpening, const platform::Clock& clock);

// Toggles the item with row id `rowid` and writes it through the update
// operation; 0 on success, 1 after the message.
int ToggleDoneStatus(data::Table<data::TodoRecord>& table, std::int64_t rowid, const platform::Clock& clock,
                     RecordWarnings& warnings);

}  // namespace hrln::pim
