#pragma once

#include "data/event_log.h"
#include "data/profile_file.h"
#include "scheduler/scheduler.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"
#include "ui/frame/main_frame.h"

#include <memory>

namespace hrln::test {

// A real frame driven by a real scheduler, over a fresh database, with the
// desktop services faked.
class FrameTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        WriteFile(dir.file("guide.html"),
                  "<html><head><title>Guide</title></head><body><h1>Horalyn guide</h1>"
                  "<a href=\"more.html\">More</a></body></html>");
        WriteFile(dir.file("more.html"), "<html><body><p>The second page</p></body></html>");
        frame = std::make_unique<ui::MainFrame>(ui::FrameServices{db, settings, log, ini, positions, clock, prompter,
                                                                  QString::fromStdString(dir.path().string()),
                                                                  QString::fromStdString(dir.file("guide.html")),
                                                                  nullptr, nullptr, &clipboard});
        tray = std::make_unique<scheduler::TrayController>(trayBackend, *frame, settings);
        scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
            db, settings, log, clock, prompter, sound, *frame, *tray, scripts, messages, windows, nullptr, nullptr});
        frame->attach(scheduler.get(), tray.get(), &scripts);
    }

    void TearDown() override
    {
        scheduler.reset();
        tray.reset();
        frame.reset();
    }

    void addTask(data::Long id, Date date, Time time, std::string_view description)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = Task(id, date, time, description);
        ASSERT_EQ(t.add(), data::kOk);
    }

    FakeClock clock{MakeDate(3, 1, 2027), MakeTime(8, 0)};
    data::Settings settings;
    FakePrompter prompter;
    data::EventLog log{dir.file(data::kEventLogFile), clock, settings};
    data::ProfileFile ini{dir.file(data::kSettingsFile)};
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
    FakeTray trayBackend;
    FakeSound sound;
    FakeScripts scripts;
    FakeMessages messages;
    FakeClipboard clipboard;
    scheduler::MessageWindowCounter windows;
    std::unique_ptr<ui::MainFrame> frame;
    std::unique_ptr<scheduler::TrayController> tray;
    std::unique_ptr<scheduler::Scheduler> scheduler;
};

}  // namespace hrln::test
