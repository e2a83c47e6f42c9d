#pragma once

#include "data/database.h"
#include "data/records.h"
#include "pim/record_form.h"
#include "platform/clock.h"

#include <functional>
#include <string>
#include <vector>

namespace hrln::scheduler {

// The pages a schedule wizard is made of.
enum class WizardPage { Task, Category, Command, Message, When, Advanced };

struct WizardPageDefinition {
    WizardPage page;
    std::string tab;                    // "&Message"
    std::vector<std::string> heading;   // the page's heading and its lines of text
};

// What tells one wizard from another: its window and its pages in order.
struct WizardDefinition {
    std::string procedure;   // "AddMessageWizard": the place kept in POSITION.INI
    std::string objectName;  // "ADDMESSAGEWIZARD$WINDOW"
    std::string title;
    std::string insertTitle;  // the title while adding
    std::string changeTitle;
    std::vector<WizardPageDefinition> pages;
    std::vector<std::string> taskTypes;  // the choices of the "&Task" page
    // Pages that do not fit the task type are passed over (the route is
    // taken at each Next and Back).
    bool routeByTaskType = false;
    // The "&When" page carries the schedule rule (the rescheduling wizard's copy has none).
    bool scheduleRule = true;
    std::string skipLabel;  // the check box bound to SkipNextTime
    // The title and filter of the alarm's file dialog.
    std::string wavTitle = "Select WAV File for Alarm";
};

enum class AddWizard { Message, Program, Task };

WizardDefinition AddWizardDefinition(AddWizard wizard);

// The values of a new task made by `wizard` at `now`.
void ApplyWizardDefaults(data::ScheduleRecord& task, AddWizard wizard, platform::DateTime now);

// Makes sure the category "General" exists (in any letter case); adds it
// when missing. The error of the add, kOk when it stands.
int EnsureGeneralCategory(data::Database& db);

// The form rules of an add wizard: the defaults above, the task's number
// reserved at once (retried while the user agrees), the fields checked as the
// entry form checks them, a duplicate number named "By System ID".
pim::FormRules<data::ScheduleRecord> AddWizardRules(AddWizard wizard, platform::DateTime now,
                                                    std::function<bool()> askRetry);

// The form rules every schedule wizard shares (checks and key names).
void ApplyScheduleFormChecks(pim::FormRules<data::ScheduleRecord>& rules, std::function<bool()> askRetry);

// Whether `page` belongs on the route of a task of type `taskType`: the
// command page only when a program is run, the message page only when a
// message is shown.
bool PageApplies(WizardPage page, std::string_view taskType);

// Where a wizard stands and what its buttons offer. Next and Back take the
// route from the task type of the moment.
class WizardNavigation {
public:
    explicit WizardNavigation(const WizardDefinition& definition);

    // The index of the shown page in the definition's pages.
    int current() const { return current_; }
    WizardPage page() const;
    bool next(std::string_view taskType);
    bool back(std::string_view taskType);

    bool backEnabled() const { return current_ != 0; }
    bool onLastPage() const;
    bool nextEnabled() const { return !onLastPage(); }
    bool finishEnabled() const { return onLastPage(); }
    // The default button: Finish on the last page, Next elsewhere.
    bool finishIsDefault() const { return onLastPage(); }

private:
    bool onRoute(int index, std::string_view taskType) const;

    const WizardDefinition& definition_;
    int current_ = 0;
};

}  // namespace hrln::scheduler
