#include "scheduler/reschedule.h"

#include "common/translate.h"
#include "data/errors.h"
#include "platform/prompter.h"

namespace hrln::scheduler {
namespace {

void Report(platform::Prompter& prompter, std::string text)
{
    prompter.ask({std::move(text), "Error Message", platform::MessageIcon::Exclamation});
}

}  // namespace

WizardDefinition SpecialEventDefinition()
{
    WizardDefinition d;
    d.procedure = "SpecialEventWizard";
    d.objectName = "SPECIALEVENTWIZARD$WINDOW";
    d.title = "Reschedule";
    d.insertTitle = HRLN_TEXT("Wizard", "Reschedule Event Wizard");
    d.changeTitle = HRLN_TEXT("Wizard", "Changing a Schedule Record");
    d.pages = {{WizardPage::Task,
                "&Task",
                {"Rescheduling...", "This is useful when the day a task is normally scheduled is a holiday, or",
                 "must be changed temporarily because of some other special event.",
                 "This wizard copies an existing task to create a special event.",
                 "You may modify the information here or press Next."}},
               {WizardPage::Command, "&Command", {"Application to start..."}},
               {WizardPage::Message, "&Message", {"Message to display..."}},
               {WizardPage::When, "&When", {"When to do it...", "These options determine when this task will be performed."}},
               {WizardPage::Advanced,
                "&Advanced",
                {"The fancy stuff...", "Finally, here are some advanced features you may wish to use..."}}};
    d.taskTypes = {"Run Program", "Display Message", "Both"};
    d.routeByTaskType = true;
    d.scheduleRule = false;
    d.skipLabel = "Skip next regular occurance of task being copied";
    return d;
}

void MakeSpecialEvent(data::ScheduleRecord& copy)
{
    copy.scheduleType = "Once";
    copy.disabled = 0;
    copy.advanceWarned = 0;
}

pim::FormRules<data::ScheduleRecord> SpecialEventRules(std::function<bool()> askRetry)
{
    pim::FormRules<data::ScheduleRecord> rules;
    const WizardDefinition definition = SpecialEventDefinition();
    rules.insertTitle = definition.insertTitle;
    rules.changeTitle = definition.changeTitle;
    rules.defaults = MakeSpecialEvent;
    ApplyScheduleFormChecks(rules, std::move(askRetry));
    return rules;
}

bool TakeSkipMark(data::ScheduleRecord& copy)
{
    const bool marked = copy.skipNextTime != 0;
    copy.skipNextTime = 0;
    return marked;
}

bool MarkSourceToSkip(data::Table<data::ScheduleRecord>& table, data::Long sourceId, platform::Prompter& prompter)
{
    table.clear();
    table.rec.id = sourceId;
    if (const int err = table.get(data::ScheduleRecord::KeyID); err != data::kOk) {
        Report(prompter, "Could not set SKIP status  ID #" + std::to_string(sourceId) + "Error:" + data::ErrorText(err));
        return false;  // the buffer holds no source: writing it would overwrite another record
    }
    table.rec.skipNextTime = 1;
    if (const int err = table.put(); err != data::kOk) {
        Report(prompter, "Could not change SKIP status " + data::ErrorText(err));
        return false;
    }
    return true;
}

}  // namespace hrln::scheduler
