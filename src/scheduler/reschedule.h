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

// The wizard's skip box means the source task, never the copy: takes the
// box's value off the copy before it is written, so that the copy is stored
// once and whole, and no tick (here or at another station) can find it
// marked to skip, which would drop the very occurrence it was made for.
bool TakeSkipMark(data::ScheduleRecord& copy);

// After the special event was written, with the box ticked: the source task
// (by its number) marked to skip its next occurrence. A failure is reported,
// and a source that cannot be read is not written. `table` holds the written
// copy on entry and the source after. True when the source was marked.
bool MarkSourceToSkip(data::Table<data::ScheduleRecord>& table, data::Long sourceId, platform::Prompter& prompter);

}  // namespace hrln::scheduler
