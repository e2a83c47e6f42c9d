#include "scheduler/add_wizards.h"

#include "common/translate.h"
#include "data/schedule_store.h"
#include "data/table.h"
#include "scheduler/task_fields.h"

#include <cctype>

namespace hrln::scheduler {
namespace {

using data::ScheduleRecord;

const char* const kFancy = HRLN_TEXT("Wizard", "The fancy stuff...");
const char* const kGeneral = "General";

WizardPageDefinition CommandPage()
{
    return {WizardPage::Command, HRLN_TEXT("Wizard", "&Command"), {HRLN_TEXT("Wizard", "Application to start...")}};
}

WizardPageDefinition DescribingPage()
{
    return {WizardPage::Category, HRLN_TEXT("Wizard", "&Category"), {HRLN_TEXT("Wizard", "Describing it...")}};
}

}  // namespace

WizardDefinition AddWizardDefinition(AddWizard wizard)
{
    WizardDefinition d;
    d.skipLabel = HRLN_TEXT("Wizard", "&Skip First Time");
    switch (wizard) {
    case AddWizard::Message:
        d.procedure = "AddMessageWizard";
        d.title = HRLN_TEXT("Wizard", "Add Message Wizard");
        d.pages = {{WizardPage::Message, HRLN_TEXT("Wizard", "&Message"), {HRLN_TEXT("Wizard", "Message to display...")}},
                   {WizardPage::When, HRLN_TEXT("Wizard", "&When"), {HRLN_TEXT("Wizard", "When to display it...")}},
                   {WizardPage::Advanced, HRLN_TEXT("Wizard", "&Advanced"), {kFancy}}};
        break;
    case AddWizard::Program:
        d.procedure = "AddProgramWizard";
        d.title = HRLN_TEXT("Wizard", "Add Program Wizard");
        d.pages = {CommandPage(),
                   {WizardPage::When, HRLN_TEXT("Wizard", "&When"), {HRLN_TEXT("Wizard", "When to start it...")}},
                   DescribingPage(),
                   {WizardPage::Advanced, HRLN_TEXT("Wizard", "&Advanced"), {kFancy}}};
        d.wavTitle = HRLN_TEXT("Wizard", "Choose a WAV File");
        break;
    case AddWizard::Task:
        d.procedure = "AddTaskWizard";
        d.title = HRLN_TEXT("Wizard", "Add Task Wizard");
        d.pages = {{WizardPage::Task, HRLN_TEXT("Wizard", "&Task"), {HRLN_TEXT("Wizard", "What needs to be done?")}},
                   DescribingPage(),
                   CommandPage(),
                   {WizardPage::Message, HRLN_TEXT("Wizard", "&Message"), {HRLN_TEXT("Wizard", "Message to display...")}},
                   {WizardPage::When, HRLN_TEXT("Wizard", "&When"), {HRLN_TEXT("Wizard", "When to do it...")}},
                   {WizardPage::Advanced, HRLN_TEXT("Wizard", "&Advanced"), {kFancy}}};
        d.taskTypes = {HRLN_TEXT("StoredValue", "Run Program"), HRLN_TEXT("StoredValue", "Display Message"), HRLN_TEXT("StoredValue", "Both"), HRLN_TEXT("StoredValue", "None")};
        d.routeByTaskType = true;
        break;
    }
    d.objectName = d.procedure;
    for (char& c : d.objectName)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    d.objectName += "$WINDOW";
    d.insertTitle = d.title;
    d.changeTitle = d.title;
    return d;
}

void ApplyWizardDefaults(ScheduleRecord& task, AddWizard wizard, platform::DateTime now)
{
    task.date = now.date;
    task.time = now.time;
    task.scheduleType = "Day of Week";
    task.everyLast = 1;
    task.sunday = task.monday = task.tuesday = task.wednesday = task.thursday = task.friday = task.saturday = 1;
    task.warn = 1;
    task.taskType = wizard == AddWizard::Message   ? "Display Message"
                    : wizard == AddWizard::Program ? "Run Program"
                                                   : "Both";
    task.every = 1;
    task.everyType = "hour(s)";
    task.category = kGeneral;
}

int EnsureGeneralCategory(data::Database& db)
{
    data::Table<data::CategoryRecord> categories(db);
    categories.rec.category = kGeneral;
    // The key ignores letter case: "GENERAL" is the same category.
    if (categories.get(data::CategoryRecord::KeyCategory) == data::kOk)
        return data::kOk;
    categories.clear();
    categories.rec.category = kGeneral;
    const int err = categories.add();
    return err == data::kDuplicateKey ? data::kOk : err;  // another window added it meanwhile
}

void ApplyScheduleFormChecks(pim::FormRules<ScheduleRecord>& rules, std::function<bool()> askRetry)
{
    rules.validate = [](ScheduleRecord& task, pim::RecordWarnings& warnings) { return ValidateTask(task, warnings); };
    rules.keyNames = {{ScheduleRecord::KeyID, "By System ID", 0}};
    rules.placeholder = true;
    // The reserved record stands in the table while the user edits as a
    // placeholder (see pim::RecordForm), which the timer's walks pass over.
    rules.addPlaceholder = [askRetry = std::move(askRetry)](data::Table<ScheduleRecord>& table) {
        return data::AddTaskWithNewId(table, askRetry);
    };
}

pim::FormRules<ScheduleRecord> AddWizardRules(AddWizard wizard, platform::DateTime now, std::function<bool()> askRetry)
{
    pim::FormRules<ScheduleRecord> rules;
    const WizardDefinition definition = AddWizardDefinition(wizard);
    rules.insertTitle = definition.insertTitle;
    rules.changeTitle = definition.changeTitle;
    rules.defaults = [wizard, now](ScheduleRecord& task) { ApplyWizardDefaults(task, wizard, now); };
    ApplyScheduleFormChecks(rules, std::move(askRetry));
    return rules;
}

bool PageApplies(WizardPage page, std::string_view taskType)
{
    if (page == WizardPage::Command)
        return taskType != "Display Message";
    if (page == WizardPage::Message)
        return taskType != "Run Program";
    return true;
}

WizardNavigation::WizardNavigation(const WizardDefinition& definition) : definition_(definition) {}

WizardPage WizardNavigation::page() const
{
    return definition_.pages[static_cast<std::size_t>(current_)].page;
}

bool WizardNavigation::onRoute(int index, std::string_view taskType) const
{
    return !definition_.routeByTaskType ||
           PageApplies(definition_.pages[static_cast<std::size_t>(index)].page, taskType);
}

bool WizardNavigation::onLastPage() const
{
    return current_ + 1 == static_cast<int>(definition_.pages.size());
}

bool WizardNavigation::next(std::string_view taskType)
{
    for (int i = current_ + 1; i < static_cast<int>(definition_.pages.size()); ++i) {
        if (onRoute(i, taskType)) {
            current_ = i;
            return true;
        }
    }
    return false;
}

bool WizardNavigation::back(std::string_view taskType)
{
    for (int i = current_ - 1; i >= 0; --i) {
        if (onRoute(i, taskType)) {
            current_ = i;
            return true;
        }
    }
    return false;
}

}  // namespace hrln::scheduler
