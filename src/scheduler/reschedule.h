#pragma once

#include "data/records.h"
#include "data/table.h"
#include "pim/record_form.h"
#include "scheduler/add_wizards.h"

#include <functional>

namespace hrln::platform {
class Prompter;
}

namespace hrln::scheduler {

// SpecialEventWizard: a one-time copy of a task, to move one occurrence.
WizardDefinition SpecialEventDefinition();

// The copy of `source` the wizard starts from: "Once", enabled, not yet
// warned; everything else (the date and time too) as the source has it.
void MakeSpecialEvent(data::ScheduleRecord& copy);

// The form rules of the wizard: the copy above for an insert, its number
// reserved at once, the checks of the entry form.
pim::FormRules<data::ScheduleRecord> SpecialEventRules(std::function<bool()> askRetry);

// After the special event was written with its skip box ticked: the copy's
// flag cleared again and the source task (by its number) marked to skip its
// next occurrence. Each step that fails is reported and the next one is
// taken, except that a source that cannot be read is not written. `table`
// holds the written copy. True when the source was marked.
bool MarkSourceToSkip(data::Table<data::ScheduleRecord>& table, data::Long sourceId, platform::Prompter& prompter);

}  // namespace hrln::scheduler
