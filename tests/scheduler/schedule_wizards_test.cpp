#include "scheduler/add_wizards.h"
#include "scheduler/reschedule.h"
#include "scheduler/task_fields.h"

#include "data/settings.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"

#include <gtest/gtest.h>

namespace hrln::test {
namespace {

using data::ScheduleRecord;
using scheduler::AddWizard;
using scheduler::WizardNavigation;
using scheduler::WizardPage;

class ScheduleWizardsTest : public StoreTest {
protected:
    std::vector<std::string> categories()
    {
        return walk<data::CategoryRecord>(data::CategoryRecord::KeyCategory,
                                          [](const data::CategoryRecord& r) { return r.category.str(); });
    }

    FakeClock clock{MakeDate(3, 10, 2027), MakeTime(14, 30, 15, 50)};
    FakePrompter prompter;
    pim::RecordWarnings warnings{prompter};
    data::ProfileFile ini{dir.file(data::kSettingsFile)};
};

TEST_F(ScheduleWizardsTest, FinishingAMessageWizardUnchangedSavesItsDefaults)
{
    data::Table<ScheduleRecord> table(db);
    table.rec = Task(7, MakeDate(1, 1, 2027), MakeTime(8, 0));
    ASSERT_EQ(table.add(), data::kOk);

    pim::RecordForm<ScheduleRecord> form(table, warnings, pim::Request::Insert,
                                         scheduler::AddWizardRules(AddWizard::Message, clock.now(), [] { return false; }));
    ASSERT_TRUE(form.open());
    EXPECT_EQ(form.title(), "Add Message Wizard");
    EXPECT_EQ(table.count(), 2);  // the number is reserved at once
    {
        // ...by a record the timer passes over while the wizard is open.
        data::Table<ScheduleRecord> reserved(db);
        reserved.rec.id = 8;
        ASSERT_EQ(reserved.get(ScheduleRecord::KeyID), data::kOk);
        EXPECT_TRUE(reserved.isPlaceholder());
        reserved.set(ScheduleRecord::KeyDateEnabled);
        ASSERT_EQ(reserved.next(), data::kOk);
        EXPECT_EQ(reserved.rec.id, 7);
        EXPECT_EQ(reserved.next(), data::kRecordNotAvailable);
        EXPECT_EQ(form.record().disabled, 0);
        EXPECT_FALSE(form.changed());
    }
    ASSERT_TRUE(form.complete().close);

    ScheduleRecord saved;
    saved.id = 8;
    data::Table<ScheduleRecord> read(db);
    read.rec.id = 8;
    ASSERT_EQ(read.get(ScheduleRecord::KeyID), data::kOk);
    saved = read.rec;
    EXPECT_EQ(saved.taskType, "Display Message");
    EXPECT_EQ(saved.scheduleType, "Day of Week");
    EXPECT_EQ(saved.sunday + saved.monday + saved.tuesday + saved.wednesday + saved.thursday + saved.friday +
                  saved.saturday,
              7);
    EXPECT_EQ(saved.everyLast, 1);
    EXPECT_EQ(saved.date, clock.today());
    EXPECT_EQ(saved.time, clock.now().time);
    EXPECT_EQ(saved.category, "General");
    EXPECT_EQ(saved.warn, 1);
    EXPECT_EQ(saved.every, 1);
    EXPECT_EQ(saved.everyType, "hour(s)");
    EXPECT_EQ(saved.every1st + saved.every2nd + saved.every3rd + saved.every4th + saved.disabled + saved.alarm +
                  saved.advanceWarned,
              0);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScheduleWizardsTest, EachWizardHasItsTaskTypeAndCancelLeavesNoRecord)
{
    const std::pair<AddWizard, const char*> kinds[] = {
        {AddWizard::Message, "Display Message"}, {AddWizard::Program, "Run Program"}, {AddWizard::Task, "Both"}};
    for (const auto& [wizard, type] : kinds) {
        data::Table<ScheduleRecord> table(db);
        pim::RecordForm<ScheduleRecord> form(table, warnings, pim::Request::Insert,
                                             scheduler::AddWizardRules(wizard, clock.now(), [] { return false; }));
        ASSERT_TRUE(form.open());
        EXPECT_EQ(form.record().taskType, type);
        EXPECT_EQ(table.count(), 1);
        form.cancel();
        EXPECT_EQ(form.response(), pim::Response::Cancelled);
        EXPECT_EQ(table.count(), 0) << type;
    }
}

TEST_F(ScheduleWizardsTest, TheGeneralCategoryIsAddedOnceInAnyLetterCase)
{
    EXPECT_EQ(scheduler::EnsureGeneralCategory(db), data::kOk);
    EXPECT_EQ(categories(), (std::vector<std::string>{"General"}));
    EXPECT_EQ(scheduler::EnsureGeneralCategory(db), data::kOk);
    EXPECT_EQ(categories(), (std::vector<std::string>{"General"}));

    data::Table<data::CategoryRecord> t(db);
    t.rec.category = "General";
    ASSERT_EQ(t.get(data::CategoryRecord::KeyCategory), data::kOk);
    t.rec.category = "GENERAL";
    ASSERT_EQ(t.put(), data::kOk);
    EXPECT_EQ(scheduler::EnsureGeneralCategory(db), data::kOk);
    EXPECT_EQ(categories(), (std::vector<std::string>{"GENERAL"}));
}

TEST_F(ScheduleWizardsTest, TheTaskWizardTakesItsRouteFromTheTypeAtEachStep)
{
    const auto definition = scheduler::AddWizardDefinition(AddWizard::Task);
    EXPECT_EQ(definition.objectName, "ADDTASKWIZARD$WINDOW");
    WizardNavigation nav(definition);
    EXPECT_EQ(nav.page(), WizardPage::Task);
    EXPECT_FALSE(nav.backEnabled());
    EXPECT_TRUE(nav.nextEnabled());
    EXPECT_FALSE(nav.finishEnabled());
    EXPECT_FALSE(nav.finishIsDefault());

    ASSERT_TRUE(nav.next("Display Message"));
    EXPECT_EQ(nav.page(), WizardPage::Category);
    ASSERT_TRUE(nav.next("Display Message"));
    EXPECT_EQ(nav.page(), WizardPage::Message);
    ASSERT_TRUE(nav.back("Display Message"));
    EXPECT_EQ(nav.page(), WizardPage::Category);
    ASSERT_TRUE(nav.back("Display Message"));
    EXPECT_FALSE(nav.back("Display Message"));

    // Changed to a program on page 1: the command page comes in, the message page goes.
    std::vector<WizardPage> route{nav.page()};
    while (nav.next("Run Program"))
        route.push_back(nav.page());
    EXPECT_EQ(route, (std::vector<WizardPage>{WizardPage::Task, WizardPage::Category, WizardPage::Command,
                                              WizardPage::When, WizardPage::Advanced}));
    EXPECT_TRUE(nav.finishEnabled());
    EXPECT_TRUE(nav.finishIsDefault());
    EXPECT_FALSE(nav.nextEnabled());
    ASSERT_TRUE(nav.back("Run Program"));
    EXPECT_EQ(nav.page(), WizardPage::When);
    EXPECT_TRUE(nav.nextEnabled());
    EXPECT_FALSE(nav.finishEnabled());
    ASSERT_TRUE(nav.back("Run Program"));
    EXPECT_EQ(nav.page(), WizardPage::Command);
    EXPECT_TRUE(nav.backEnabled());

    // "Both" and "None" take every page.
    for (const char* type : {"Both", "None"}) {
        WizardNavigation all(definition);
        int pages = 1;
        while (all.next(type))
            ++pages;
        EXPECT_EQ(pages, 6) << type;
    }
}

TEST_F(ScheduleWizardsTest, TheMessageAndProgramWizardsWalkAllTheirPages)
{
    for (AddWizard wizard : {AddWizard::Message, AddWizard::Program}) {
        const auto definition = scheduler::AddWizardDefinition(wizard);
        WizardNavigation nav(definition);
        int pages = 1;
        while (nav.next("Both"))  // the type does not route these wizards
            ++pages;
        EXPECT_EQ(pages, static_cast<int>(definition.pages.size()));
        EXPECT_EQ(nav.page(), WizardPage::Advanced);
    }
    EXPECT_EQ(scheduler::AddWizardDefinition(AddWizard::Program).pages[2].heading.front(), "Describing it...");
    EXPECT_EQ(scheduler::AddWizardDefinition(AddWizard::Message).objectName, "ADDMESSAGEWIZARD$WINDOW");
}

TEST_F(ScheduleWizardsTest, FieldRulesOfTheWizards)
{
    ScheduleRecord task;
    scheduler::ApplyWizardDefaults(task, AddWizard::Task, clock.now());

    // "None" has no time of its own.
    task.taskType = "None";
    const auto none = scheduler::ApplyTaskType(task);
    EXPECT_FALSE(none.time);
    EXPECT_FALSE(none.command);
    EXPECT_TRUE(none.message);
    EXPECT_EQ(task.time, 8'639'500);
    task.taskType = "Run Program";
    EXPECT_FALSE(scheduler::ApplyTaskType(task).message);

    // The rule's fields: "Monthly" uses none of them and keeps their values.
    task.scheduleType = "Monthly";
    const auto monthly = scheduler::ScheduleTypeFieldsOf(task);
    EXPECT_FALSE(monthly.weekdays || monthly.ordinals || monthly.every);
    EXPECT_EQ(task.monday, 1);
    task.scheduleType = "Day of Month";
    EXPECT_TRUE(scheduler::ScheduleTypeFieldsOf(task).ordinals);
    task.scheduleType = "Custom";
    EXPECT_TRUE(scheduler::ScheduleTypeFieldsOf(task).every);

    // A date outside the rule is only warned about.
    task.scheduleType = "Day of Week";
    task.sunday = task.tuesday = task.wednesday = task.thursday = task.friday = task.saturday = 0;
    task.date = MakeDate(3, 10, 2027);  // a Wednesday
    scheduler::AcceptNextDate(task, ini, prompter);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Date given does not match schedule type.");
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_EQ(task.date, MakeDate(3, 10, 2027));
    EXPECT_EQ(task.advanceWarnDate, 0);

    // An active "Warning" section presets the warning that far before the task.
    ini.write("Warning", "Active", "1");
    ini.write("Warning", "Date", 1);
    ini.write("Warning", "Time", static_cast<long long>(MakeTime(15, 0)) - 1);
    task.date = MakeDate(3, 15, 2027);  // a Monday
    task.time = MakeTime(14, 0);
    scheduler::AcceptNextDate(task, ini, prompter);
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(task.advanceWarnDate, MakeDate(3, 13, 2027));  // 15 hours earlier borrows a day
    EXPECT_EQ(task.advanceWarnTime, MakeTime(23, 0));
    EXPECT_TRUE(scheduler::AcceptAdvanceWarning(task, prompter));

    // A warning after the task: the same day later, or a day after, is refused.
    task.advanceWarnDate = task.date;
    task.advanceWarnTime = MakeTime(13, 59);
    EXPECT_TRUE(scheduler::AcceptAdvanceWarning(task, prompter));
    task.advanceWarnTime = MakeTime(14, 1);
    EXPECT_FALSE(scheduler::AcceptAdvanceWarning(task, prompter));
    EXPECT_EQ(task.advanceWarnDate, 0);
    EXPECT_EQ(task.advanceWarnTime, 0);
    EXPECT_EQ(prompter.shown.back().text, "Advanced Warning cannot be after scheduled task.");
    task.advanceWarnDate = task.date + 1;
    task.advanceWarnTime = MakeTime(1, 0);
    EXPECT_FALSE(scheduler::AcceptAdvanceWarning(task, prompter));
    EXPECT_EQ(task.advanceWarnDate, 0);
    EXPECT_EQ(task.advanceWarnTime, 0);

    // The alarm file: a blank one comes from the last used, a new one is kept.
    scheduler::AcceptAlarmFile(task, ini);
    EXPECT_TRUE(task.alarmFile.empty());
    task.alarmFile = "/sounds/bell.wav";
    scheduler::AcceptAlarmFile(task, ini);
    EXPECT_EQ(ini.read("Settings", "LastWAVFile"), "/sounds/bell.wav");
    ScheduleRecord next;
    scheduler::AcceptAlarmFile(next, ini);
    EXPECT_EQ(next.alarmFile, "/sounds/bell.wav");
}

TEST_F(ScheduleWizardsTest, TheProgramChooserFillsOnlyABlankStartFolder)
{
    ScheduleRecord task;
    scheduler::ChooseProgram(task, "/opt/tools/bin/backup.sh");
    EXPECT_EQ(task.command, "/opt/tools/bin/backup.sh");
    EXPECT_EQ(task.path, "/opt/tools/bin");
    scheduler::ChooseProgram(task, "/usr/bin/xterm");
    EXPECT_EQ(task.command, "/usr/bin/xterm");
    EXPECT_EQ(task.path, "/opt/tools/bin");
    scheduler::ChooseProgram(task, "");  // a cancelled dialog changes nothing
    EXPECT_EQ(task.command, "/usr/bin/xterm");

    EXPECT_EQ(scheduler::FolderOf("/init"), "/");
    EXPECT_EQ(scheduler::FolderOf("plain"), "");
}

TEST_F(ScheduleWizardsTest, FinishRefusesWhatTheEngineWouldMisread)
{
    ScheduleRecord task;
    scheduler::ApplyWizardDefaults(task, AddWizard::Task, clock.now());
    EXPECT_EQ(scheduler::ValidateTask(task, warnings), -1);

    task.scheduleType = "Custom";
    task.every = 0;
    EXPECT_EQ(scheduler::ValidateTask(task, warnings), scheduler::TaskField("Every"));
    task.every = 1'000'000;
    EXPECT_EQ(scheduler::ValidateTask(task, warnings), scheduler::TaskField("Every"));
    task.every = 999'999;
    task.everyType = "fortnights";
    EXPECT_EQ(scheduler::ValidateTask(task, warnings), scheduler::TaskField("EveryType"));
    task.everyType = "week(s)";
    EXPECT_EQ(scheduler::ValidateTask(task, warnings), -1);

    task.date = 0;
    EXPECT_EQ(scheduler::ValidateTask(task, warnings), scheduler::TaskField("Date"));
    task.date = clock.today();
    task.time = 0;
    EXPECT_EQ(scheduler::ValidateTask(task, warnings), scheduler::TaskField("Time"));
    task.time = 1;
    task.taskType = "Dance";
    EXPECT_EQ(scheduler::ValidateTask(task, warnings), scheduler::TaskField("TaskType"));
    EXPECT_EQ(prompter.shown.size(), 6u);
    EXPECT_NE(prompter.shown[0].text.find("Every must be between"), std::string::npos);
    EXPECT_GT(scheduler::TaskField("Every"), 0);
}

class SpecialEventTest : public ScheduleWizardsTest {
protected:
    void SetUp() override
    {
        ScheduleWizardsTest::SetUp();
        source = Task(3, MakeDate(3, 15, 2027), MakeTime(9, 0), "Standup");
        source.scheduleType = "Day of Week";
        source.monday = 1;
        source.disabled = 1;
        source.advanceWarned = 1;
        source.taskType = "Both";
        data::Table<ScheduleRecord> t(db);
        t.rec = source;
        ASSERT_EQ(t.add(), data::kOk);
    }
    ScheduleRecord read(data::Long id)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec.id = id;
        EXPECT_EQ(t.get(ScheduleRecord::KeyID), data::kOk);
        return t.rec;
    }

    ScheduleRecord source;
};

TEST_F(SpecialEventTest, TheCopyIsOnceAndTheTickedSkipBoxMarksTheSourceInstead)
{
    data::Table<ScheduleRecord> table(db);
    pim::RecordForm<ScheduleRecord> form(table, warnings, pim::Request::Insert,
                                         scheduler::SpecialEventRules([] { return false; }));
    ASSERT_TRUE(form.open(0, 0, &source));
    EXPECT_EQ(form.title(), "Reschedule Event Wizard");
    EXPECT_EQ(form.record().id, 4);
    EXPECT_EQ(form.record().scheduleType, "Once");
    EXPECT_EQ(form.record().disabled, 0);
    EXPECT_EQ(form.record().advanceWarned, 0);
    EXPECT_EQ(form.record().date, source.date);  // left for the user to move
    EXPECT_EQ(form.record().description, "Standup");

    form.record().date = MakeDate(3, 16, 2027);
    form.record().skipNextTime = 1;
    ASSERT_TRUE(scheduler::TakeSkipMark(form.record()));
    ASSERT_TRUE(form.complete().close);
    // Stored once, never marked: a tick before the source is marked still performs it.
    EXPECT_EQ(read(4).skipNextTime, 0);
    EXPECT_EQ(read(3).skipNextTime, 0);
    EXPECT_TRUE(scheduler::MarkSourceToSkip(table, 3, prompter));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(read(4).skipNextTime, 0);
    EXPECT_EQ(read(4).date, MakeDate(3, 16, 2027));
    EXPECT_EQ(read(3).skipNextTime, 1);
    EXPECT_EQ(read(3).scheduleType, "Day of Week");
}

TEST_F(SpecialEventTest, TheSkipStepsReportEachFailureAndNeverWriteAMissingSource)
{
    data::Table<ScheduleRecord> table(db);
    pim::RecordForm<ScheduleRecord> form(table, warnings, pim::Request::Insert,
                                         scheduler::SpecialEventRules([] { return false; }));
    ASSERT_TRUE(form.open(0, 0, &source));
    form.record().skipNextTime = 1;
    ASSERT_TRUE(scheduler::TakeSkipMark(form.record()));
    ASSERT_TRUE(form.complete().close);

    // Another window removes the copy and the source before the steps run.
    {
        data::Table<ScheduleRecord> other(db);
        other.rec.id = 4;
        ASSERT_EQ(other.get(ScheduleRecord::KeyID), data::kOk);
        ASSERT_EQ(other.remove(), data::kOk);
        other.rec.id = 3;
        ASSERT_EQ(other.get(ScheduleRecord::KeyID), data::kOk);
        ASSERT_EQ(other.remove(), data::kOk);
    }
    EXPECT_FALSE(scheduler::MarkSourceToSkip(table, 3, prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "Could not set SKIP status  ID #3Error:" + data::ErrorText(data::kRecordNotFound));
    EXPECT_EQ(table.count(), 0);  // nothing written back
}

TEST_F(SpecialEventTest, ADisplayMessageTaskNeverShowsTheCommandPage)
{
    const auto definition = scheduler::SpecialEventDefinition();
    EXPECT_EQ(definition.pages.size(), 5u);
    EXPECT_EQ(definition.pages[0].heading.size(), 5u);
    WizardNavigation nav(definition);
    std::vector<WizardPage> forward{nav.page()};
    while (nav.next("Display Message"))
        forward.push_back(nav.page());
    EXPECT_EQ(forward, (std::vector<WizardPage>{WizardPage::Task, WizardPage::Message, WizardPage::When,
                                                WizardPage::Advanced}));
    std::vector<WizardPage> backward{nav.page()};
    while (nav.back("Display Message"))
        backward.push_back(nav.page());
    EXPECT_EQ(backward, (std::vector<WizardPage>{WizardPage::Advanced, WizardPage::When, WizardPage::Message,
                                                 WizardPage::Task}));
    // A program skips the message page both ways.
    WizardNavigation program(definition);
    program.next("Run Program");
    EXPECT_EQ(program.page(), WizardPage::Command);
    program.next("Run Program");
    EXPECT_EQ(program.page(), WizardPage::When);
    program.back("Run Program");
    EXPECT_EQ(program.page(), WizardPage::Command);
}

}  // namespace
}  // namespace hrln::test
