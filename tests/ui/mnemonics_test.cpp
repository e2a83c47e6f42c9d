#include "mnemonics.h"

#include "data/record_tags.h"
#include "modal.h"
#include "pim/clipboard_monitor.h"
#include "support/fake_windows.h"
#include "ui/exchange/field_chooser_window.h"
#include "ui/frame/about_window.h"
#include "ui/frame/help_window.h"
#include "ui/frame/message_dialog.h"
#include "ui/frame/setup_window.h"
#include "ui/pim/category_windows.h"
#include "ui/pim/clipboard_windows.h"
#include "ui/pim/contact_windows.h"
#include "ui/pim/link_windows.h"
#include "ui/pim/todo_windows.h"
#include "ui/report/report_windows.h"
#include "ui/schedule/browse_schedule.h"
#include "ui/schedule/calendar_window.h"
#include "ui/schedule/search_schedule.h"
#include "ui/schedule/update_schedule.h"
#include "ui/schedule/wizard_window.h"
#include "ui/script/browse_scripting.h"
#include "ui/script/start_program_advanced.h"
#include "ui/script/update_scripting.h"
#include "ui/script/view_script_keys.h"
#include "ui/widgets/progress_window.h"
#include "ui_fixture.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <memory>
#include <sstream>

namespace hrln::test {
namespace {

using pim::Request;

// Every window of the program, each page of it, as a keyboard user meets it.
class MnemonicsTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        ASSERT_EQ(data::OpenTagFile(tagFile, db), data::kOk);
        data::Table<data::ScheduleRecord> t(db);
        t.rec = Task(5, MakeDate(3, 15, 2027), MakeTime(9, 0), "Standup", "Work");
        t.rec.scheduleType = "Day of Week";
        t.rec.monday = 1;
        ASSERT_EQ(t.add(), data::kOk);
        source = t.rec;
    }

    ui::WindowServices window() { return {db, positions, prompter}; }
    ui::ScheduleWindowServices schedule() { return {window(), clock, ini, &sound}; }
    ui::ScriptWindowServices script() { return {window(), &desktopWindows}; }
    ui::PimWindowServices pim() { return {window(), clock, QStringLiteral("Robin")}; }

    // Shows `w` and records its faults.
    void walk(QWidget* w)
    {
        ASSERT_NE(w, nullptr);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        ++walked;
        faults << MnemonicWalk(w).faults();
    }
    // A form run modally by `run`: walked while open, then cancelled.
    void walkModal(const std::function<void()>& run)
    {
        bool seen = false;
        WhenModalOpens([&](QWidget* form) {
            seen = true;
            ++walked;
            faults << MnemonicWalk(form).faults();
            QTest::keyClick(form, Qt::Key_Escape);
            if (form->isVisible())
                form->close();
        });
        run();
        EXPECT_TRUE(seen);
    }

    data::Database tagFile{dir.file(data::kTagFile), data::TagLayout()};
    data::RecordTags tags{tagFile, 0, data::TaggedTable::Schedule};
    FakeWindows desktopWindows;
    data::ScheduleRecord source;
    Date selectedDay = 0;
    QStringList faults;
    int walked = 0;
};

TEST_F(MnemonicsTest, NoWindowSharesAnAltLetterOrShowsAnAmpersand)
{
    walk(frame.get());

    // Schedule
    {
        ui::CalendarWindow calendar(window(), clock, QString(), 0, QStringLiteral("None"), source);
        walk(&calendar);
        ui::SearchScheduleWindow search(ui::SearchServices{schedule(), tags, 0});
        walk(&search);
        for (scheduler::AddWizard kind :
             {scheduler::AddWizard::Message, scheduler::AddWizard::Program, scheduler::AddWizard::Task}) {
            std::unique_ptr<ui::WizardWindow> wizard(ui::WizardWindow::OpenAddWizard(schedule(), kind));
            walk(wizard.get());
        }
        std::unique_ptr<ui::WizardWindow> special(ui::WizardWindow::OpenSpecialEvent(schedule(), source));
        walk(special.get());
        ui::BrowseScheduleWindow browser(
            ui::ScheduleBrowserServices{schedule(), tags, selectedDay, "", false, {}, &desktopWindows});
        walk(&browser);
        walkModal([&] {
            std::int64_t rowid = 0;
            ui::UpdateScheduleWindow::Run({window(), ini, clock, sound, selectedDay}, Request::Insert, rowid, false,
                                          nullptr);
        });
        // With its alarm on, the form shows the WAV file's controls too.
        data::Table<data::ScheduleRecord> t(db);
        t.rec = Task(90, MakeDate(3, 15, 2027), MakeTime(9, 0), "Ring", "Work");
        t.rec.alarm = 1;
        ASSERT_EQ(t.add(), data::kOk);
        walkModal([&] {
            std::int64_t rowid = t.rowId();
            ui::UpdateScheduleWindow::Run({window(), ini, clock, sound, selectedDay}, Request::Change, rowid, false,
                                          nullptr);
        });
    }

    // Scripts
    {
        ui::BrowseScriptingWindow browser(script(), 5);
        walk(&browser);
        walkModal([&] {
            std::int64_t rowid = 0;
            ui::UpdateScriptingWindow::Run(script(), Request::Insert, 5, rowid, nullptr);
        });
        data::ScriptingRecord item;
        ui::StartProgramAdvancedWindow advanced(item, positions);
        walk(&advanced);
        ui::ViewScriptKeysWindow keys(window(), {"[Alt]", "[Enter]"});
        walk(&keys);
        ui::SearchTextWindow find(script::TextSearch{});
        walk(&find);
    }

    // Personal information
    {
        ui::ViewToDoWindow todo(pim());
        walk(&todo);
        walkModal([&] {
            std::int64_t rowid = 0;
            ui::UpdateTodoWindow::Run(pim(), Request::Insert, rowid, "", nullptr);
        });
        ui::BrowseContactsWindow contacts(window(), &clipboard);
        walk(&contacts);
        walkModal([&] {
            std::int64_t rowid = 0;
            ui::UpdateContactsWindow::Run(window(), Request::Insert, rowid, false, nullptr);
        });
        walkModal([&] { ui::UpdateLinkWindow::Run(window(), Request::Insert, 0, 1, nullptr); });
        ui::SelectScheduleWindow selectTask(window());
        walk(&selectTask);
        pim::ClipboardMonitor monitor{db, clipboard, settings, clock};
        ui::BrowseClipboardWindow clips(window(), clipboard, &monitor);
        walk(&clips);
        ui::BrowseCategoriesWindow categories(window());
        walk(&categories);
        walkModal([&] {
            std::int64_t rowid = 0;
            ui::UpdateCategoriesWindow::Run(window(), Request::Insert, rowid, nullptr);
        });
        ui::SelectCategoriesWindow selectCategory(window());
        walk(&selectCategory);
        ui::BrowseContactCategoriesWindow contactCategories(window());
        walk(&contactCategories);
        walkModal([&] {
            std::int64_t rowid = 0;
            ui::UpdateContactCategories::Run(window(), Request::Insert, rowid, nullptr);
        });
        ui::SelectContactCategoriesWindow selectContactCategory(window());
        walk(&selectContactCategory);
    }

    // Frame, reports and exchange
    {
        FakeLauncher launcher;
        auto model = std::make_unique<scheduler::MessageWindow>(
            scheduler::MessageServices{db, settings, log, clock, prompter, sound, launcher, windows},
            scheduler::MakeMessageSlots("Stretch", "Stand up", ""));
        if (model->open() != scheduler::MessageWindow::Mode::External) {
            ui::MessageDialog message(std::move(model), false, positions);
            walk(&message);
        }
        ui::SetupWindow setup(ui::SetupServices{db, settings, ini, positions, prompter, [] {}, [](int) {}});
        walk(&setup);
        ui::AboutWindow about(QString::fromStdString(dir.path().string()), positions);
        walk(&about);
        ui::HelpWindow help(QString::fromStdString(dir.file("guide.html")), positions);
        walk(&help);
        std::istringstream lines("[Alt] Alt key\n");
        script::ReadViewedLinesJob job(lines, 14);
        ui::ProgressWindow progress(job, 1, QStringLiteral("VIEWSCRIPTKEYS$PROGRESSWINDOW"));
        walk(&progress);
        for (scheduler::ReportKind kind :
             {scheduler::ReportKind::ScheduleByDate, scheduler::ReportKind::ScheduleForCategory,
              scheduler::ReportKind::Contacts, scheduler::ReportKind::TodoByPriority}) {
            ui::ReportOptionsWindow report(window(), kind, clock.today());
            walk(&report);
        }
        for (exchange::ExchangeTable table :
             {exchange::ExchangeTable::Schedule, exchange::ExchangeTable::Contacts, exchange::ExchangeTable::Todo})
            for (bool forImport : {false, true}) {
                ui::FieldChooserWindow chooser(table, exchange::FieldLayout{}, forImport);
                walk(&chooser);
            }
    }

    EXPECT_GE(walked, 30);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace hrln::test
