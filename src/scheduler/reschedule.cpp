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
    d.title = HRLN_TEXT("Wizard", "Reschedule");
    d.insertTitle = HRLN_TEXT("Wizard", "Reschedule Event Wizard");
    d.changeTitle = HRLN_TEXT("Wizard", "Changing a Schedule Record");
    d.pages = {{WizardPage::Task,
                HRLN_TEXT("Wizard", "&Task"),
                {HRLN_TEXT("Wizard", "Rescheduling..."), HRLN_TEXT("Wizard", "This is useful when the day a task is normally scheduled is a holiday, or"),
                 HRLN_TEXT("Wizard", "must be changed temporarily because of some other special event."),
                 HRLN_TEXT("Wizard", "This wizard copies an existing task to create a special event."),
                 HRLN_TEXT("Wizard", "You may modify the information here or press Next.")}},
               {WizardPage::Command, HRLN_TEXT("Wizard", "&Command"), {HRLN_TEXT("Wizard", "Application to start...")}},
               {WizardPage::Message, HRLN_TEXT("Wizard", "&Message"), {HRLN_TEXT("Wizard", "Message to display...")}},
               {WizardPage::When, HRLN_TEXT("Wizard", "&When"), {HRLN_TEXT("Wizard", "When to do it..."), HRLN_TEXT("Wizard", "These options determine when this task will be performed.")}},
               {WizardPage::Advanced,
                HRLN_TEXT("Wizard", "&Advanced"),
                {HRLN_TEXT("Wizard", "The fancy stuff..."), HRLN_TEXT("Wizard", "Finally, here are some advanced features you may wish to use...")}}};
    d.taskTypes = {HRLN_TEXT("StoredValue", "Run Program"), HRLN_TEXT("StoredValue", "Display Message"), HRLN_TEXT("StoredValue", "Both")};
    d.routeByTaskType = true;
    d.scheduleRule = false;
    d.skipLabel = HRLN_TEXT("Wizard", "Skip next regular occurance of task being copied");
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
