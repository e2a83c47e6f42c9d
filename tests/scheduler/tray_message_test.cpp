#include "scheduler/window_close.h"
#include "scheduler_fixture.h"

#include <algorithm>
#include <iterator>

namespace hrln::test {
namespace {

using namespace data;
using scheduler::MessageWindow;
using scheduler::TrayChoice;
using scheduler::TrayController;

TEST_F(SchedulerTest, TrayTakesTheFrameAndGivesItBack)
{
    tray.prepare();
    frame.minimized = true;
    tray.minimiseToTray();
    EXPECT_TRUE(tray.shown());
    EXPECT_FALSE(frame.visible);
    EXPECT_EQ(trayBackend.tip, "Horalyn 97");

    // While minimised in the tray, the tip shows the next task.
    add(daily(1, MakeDate(3, 2, 2027), MakeTime(9, 0)));
    tickAt(MakeDate(3, 1, 2027), MakeTime(8, 0));
    EXPECT_EQ(trayBackend.tip, "Horalyn 97 - Task 1 Mar 2, 2027 9:00 AM");

    // A refused delete puts the icon back so flag and desktop agree.
    trayBackend.refuseRemove = true;
    tray.restoreFromTray();
    EXPECT_TRUE(tray.shown());
    EXPECT_TRUE(trayBackend.shown);
    trayBackend.refuseRemove = false;
    tray.restoreFromTray();
    EXPECT_FALSE(tray.shown());
    EXPECT_TRUE(frame.visible);

    // A refused add leaves an ordinary minimised window.
    trayBackend.refuseAdd = true;
    frame.minimized = true;
    tray.minimiseToTray();
    EXPECT_FALSE(tray.shown());
    EXPECT_TRUE(frame.visible);

    // With the tray off, nothing is ever added.
    trayBackend.refuseAdd = false;
    settings.noTray = true;
    tray.minimiseToTray();
    EXPECT_FALSE(tray.shown());
    // Three attempts: into the tray, back in after the refused delete, the refused one.
    EXPECT_EQ(std::count(trayBackend.log.begin(), trayBackend.log.end(), "add tray_ico"), 3);
}

TEST_F(SchedulerTest, ADueTaskBringsTheFrameOutOfTheTrayFocusedOnlyWhenNoMessageOpensAboveIt)
{
    const Date day = MakeDate(3, 1, 2027);
    const auto intoTray = [&] {
        frame.minimized = true;
        frame.shownBehind = false;
        tray.minimiseToTray();
        ASSERT_TRUE(tray.shown());
    };
    intoTray();
    add(daily(1, day, MakeTime(9, 0)));
    tickAt(day, MakeTime(9, 0));
    EXPECT_EQ(messages.started.size(), 1u);
    EXPECT_FALSE(tray.shown());
    EXPECT_TRUE(frame.visible);
    EXPECT_TRUE(frame.shownBehind);  // the message takes the focus

    // A program maximises the frame and nothing opens above it: the frame takes the focus.
    settings.maximizeOnRun = true;
    intoTray();
    add(daily(50, day, MakeTime(10, 0), "Run Program"));
    tickAt(day, MakeTime(10, 0));
    EXPECT_EQ(scripts.runs.size(), 1u);
    EXPECT_TRUE(frame.visible);
    EXPECT_FALSE(frame.shownBehind);
}

TEST_F(SchedulerTest, TrayMenuAndScriptAnimation)
{
    EXPECT_EQ(TrayController::Choices(false).size(), 8u);
    EXPECT_EQ(TrayController::Choices(false).back(), TrayChoice::Exit);
    EXPECT_EQ(TrayController::Choices(true).size(), 9u);
    EXPECT_EQ(TrayController::MenuText(false),
              "Add &Message|Add &Program|&Quick Reminder|&View To Do|&Options|-|&Restore|-|&About|E&xit Horalyn");

    frame.minimized = true;
    tray.minimiseToTray();
    scripts.pendingSteps = 5;
    tray.choose(TrayChoice::About, scripts);
    EXPECT_TRUE(tray.shown());  // About does not restore
    std::vector<std::string> icons;
    for (int i = 0; i < 5; ++i) {
        tickAt(MakeDate(3, 1, 2027), MakeTime(8, 0, i));
        icons.push_back(trayBackend.icon);
    }
    EXPECT_EQ(icons, (std::vector<std::string>{"trayb_ico", "trayc_ico", "trayd_ico", "tray_ico", "trayb_ico"}));
    tickAt(MakeDate(3, 1, 2027), MakeTime(8, 1));  // the script has ended
    EXPECT_EQ(trayBackend.icon, "tray_ico");

    scripts.pendingSteps = 3;
    tray.choose(TrayChoice::StopRunningScript, scripts);
    EXPECT_FALSE(scripts.pending());
    tray.choose(TrayChoice::ViewToDo, scripts);
    EXPECT_FALSE(tray.shown());
    tray.choose(TrayChoice::Exit, scripts);
    EXPECT_EQ(frame.commands,
              (std::vector<scheduler::FrameCommand>{scheduler::FrameCommand::About, scheduler::FrameCommand::ToDoList,
                                                    scheduler::FrameCommand::Close}));
}

class MessageWindowTest : public SchedulerTest {
protected:
    scheduler::MessageServices services() { return {db, settings, log, clock, prompter, sound, launcher, windows}; }
    FakeLauncher launcher;
};

TEST_F(MessageWindowTest, OpeningLogsCountsAndHandsTheTextToTheExternalProgramWhole)
{
    settings.logEvents = true;
    const auto slots = scheduler::MakeMessageSlots("Dentist   ", "Call \"Dr. Who\"; rm -rf ~ & `echo`", "bell.wav");
    {
        MessageWindow window(services(), slots);
        EXPECT_EQ(window.open(), MessageWindow::Mode::Window);
        EXPECT_EQ(windows.open(), 1);
    }
    EXPECT_EQ(windows.open(), 0);
    EXPECT_NE(ReadFile(dir.file(kEventLogFile)).find("Dentistbell.wav"), std::string::npos);

    settings.useExternalMessage = true;
    MessageWindow external(services(), slots);
    EXPECT_EQ(external.open(), MessageWindow::Mode::External);
    EXPECT_EQ(windows.open(), 0);
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].second,
              (std::vector<std::string>{"Call \"Dr. Who\"; rm -rf ~ & `echo`", "Dentist"}));

    settings.useExternalMessage = false;
    settings.useModalMessage = true;
    MessageWindow modal(services(), slots);
    EXPECT_EQ(modal.open(), MessageWindow::Mode::Modal);
}

TEST_F(MessageWindowTest, AlarmRepeatsAcrossMidnight)
{
    settings.repeatAlarmInterval = 30;
    clock.set(MakeDate(3, 1, 2027), MakeTime(23, 59, 50));
    MessageWindow window(services(), scheduler::MakeMessageSlots("T", "text", "BEEP"));
    window.open();
    EXPECT_EQ(window.nextAlarmDate(), MakeDate(3, 2, 2027));
    EXPECT_EQ(window.nextAlarmTime(), MakeTime(0, 0, 20));
    clock.set(MakeDate(3, 2, 2027), MakeTime(0, 0, 19, 99));
    window.onTimer();
    EXPECT_TRUE(sound.played.empty());  // not before its moment
    clock.advance(2);
    window.onTimer();
    EXPECT_EQ(sound.played, std::vector<std::string>{"BEEP"});
    EXPECT_EQ(window.nextAlarmTime(), MakeTime(0, 0, 50));  // from its moment, not from the late tick

    settings.repeatAlarmInterval = 0;
    clock.advance(10000);
    window.onTimer();
    EXPECT_EQ(sound.played.size(), 1u);
}

// Polled at the window's own step, the alarm repeats exactly every interval,
// however late each tick comes within its step.
TEST_F(MessageWindowTest, AlarmRepeatsEveryIntervalAtTheWindowsStep)
{
    settings.repeatAlarmInterval = 3;
    clock.set(MakeDate(3, 1, 2027), MakeTime(10, 0, 0, 37));
    MessageWindow window(services(), scheduler::MakeMessageSlots("T", "text", "bell.wav"));
    window.open();
    const Time start = clock.now().time;
    std::vector<int> repeats;  // hundredths after the opening
    for (int tick = 1; tick <= 12; ++tick) {
        // Each tick a little late, some later than others.
        clock.set(MakeDate(3, 1, 2027), start + tick * MessageWindow::kTimerStep + (tick % 3 == 0 ? 1 : 3));
        window.onTimer();
        if (sound.played.size() > repeats.size())
            repeats.push_back(clock.now().time - start);
    }
    EXPECT_EQ(repeats, (std::vector<int>{301, 601, 901, 1201}));

    // After a long pause the next repeat counts from now: no burst of alarms.
    clock.advance(100 * 60);
    window.onTimer();
    window.onTimer();
    EXPECT_EQ(sound.played.size(), 5u);
    EXPECT_EQ(window.nextAlarmTime(), clock.now().time + 300);
}

TEST_F(MessageWindowTest, SnoozeAndToDo)
{
    clock.set(MakeDate(3, 1, 2027), MakeTime(23, 55));
    MessageWindow window(services(), scheduler::MakeMessageSlots("Stretch", "Stand up and stretch", ""));
    window.open();
    ASSERT_EQ(window.snooze(), kOk);
    const ScheduleRecord snoozed = task(1);  // an empty table gives number 1
    EXPECT_EQ(snoozed.date, MakeDate(3, 2, 2027));
    EXPECT_EQ(snoozed.time, MakeTime(0, 5));
    EXPECT_EQ(snoozed.scheduleType, "Once");
    EXPECT_EQ(snoozed.category, "Snooze");
    EXPECT_EQ(snoozed.skipIfMissed, 0);
    EXPECT_EQ(snoozed.message, "Stand up and stretch");

    ASSERT_EQ(window.addToTodo(), kOk);
    ASSERT_EQ(window.addToTodo(), kOk);
    EXPECT_EQ(prompter.shown.back().text, "Added to To Do List:\rStretch");
    EXPECT_EQ(prompter.shown.back().caption, "Saved");
    Table<TodoRecord> todo(db);
    EXPECT_EQ(todo.count(), 2);
    todo.set(TodoRecord::KeyToDo);
    ASSERT_EQ(todo.next(), kOk);
    EXPECT_EQ(todo.rec.priority, 5);
    EXPECT_EQ(todo.rec.category, "General");

    // The scheduler picks the snoozed message up like any once-only task.
    tickAt(MakeDate(3, 2, 2027), MakeTime(0, 5));
    ASSERT_EQ(messages.started.size(), 1u);
    EXPECT_EQ(messages.started[0].title, "Stretch");
    EXPECT_TRUE(task(1).isHistoryEntry());  // the snoozed task is gone; its history took the free number

    // Snoozed again, and reached eight hours late (a suspended machine): still shown.
    ASSERT_EQ(window.snooze(), kOk);
    tickAt(MakeDate(3, 2, 2027), MakeTime(8, 15));
    ASSERT_EQ(messages.started.size(), 2u);
    EXPECT_EQ(messages.started[1].title, "Stretch");
}

// Every length offered lands where its label says, across midnight and a
// month's end; "tomorrow" keeps the time of day.
TEST_F(MessageWindowTest, SnoozeForEachOfferedLength)
{
    clock.set(MakeDate(3, 31, 2027), MakeTime(23, 50, 30));
    MessageWindow window(services(), scheduler::MakeMessageSlots("Call", "Call back", ""));
    window.open();
    struct Expected {
        Date date;
        Time time;
    };
    const std::vector<Expected> expected = {
        {MakeDate(3, 31, 2027), MakeTime(23, 55, 30)}, {MakeDate(4, 1, 2027), MakeTime(0, 0, 30)},
        {MakeDate(4, 1, 2027), MakeTime(0, 5, 30)},    {MakeDate(4, 1, 2027), MakeTime(0, 20, 30)},
        {MakeDate(4, 1, 2027), MakeTime(0, 50, 30)},   {MakeDate(4, 1, 2027), MakeTime(23, 50, 30)},
    };
    ASSERT_EQ(std::size(scheduler::kSnoozeLengths), expected.size());
    int id = 0;
    for (const scheduler::SnoozeLength& length : scheduler::kSnoozeLengths) {
        ASSERT_EQ(window.snooze(length.minutes), kOk) << length.label;
        const ScheduleRecord snoozed = task(++id);
        EXPECT_EQ(snoozed.date, expected[static_cast<std::size_t>(id - 1)].date) << length.label;
        EXPECT_EQ(snoozed.time, expected[static_cast<std::size_t>(id - 1)].time) << length.label;
        EXPECT_EQ(snoozed.scheduleType, "Once");
    }
    // Ten minutes is the button's own length, and is one of those offered.
    EXPECT_TRUE(std::any_of(std::begin(scheduler::kSnoozeLengths), std::end(scheduler::kSnoozeLengths),
                            [](const scheduler::SnoozeLength& l) {
                                return l.minutes == scheduler::kDefaultSnoozeMinutes;
                            }));
    // A length of nothing still leaves a minute: the message must not come straight back.
    ASSERT_EQ(window.snooze(0), kOk);
    EXPECT_EQ(task(++id).time, MakeTime(23, 51, 30));
}

// Closing the window: the option sends the frame to the tray every time;
// without it the user is asked once a session, and only when it matters.
TEST_F(SchedulerTest, ClosingTheWindowAsksOnceOnlyWhileATaskIsToCome)
{
    using scheduler::WindowClose;
    EXPECT_FALSE(scheduler::TaskToCome(db));
    data::ScheduleRecord disabled = daily(1, MakeDate(3, 1, 2027), MakeTime(9, 0));
    disabled.disabled = 1;
    add(disabled);
    EXPECT_FALSE(scheduler::TaskToCome(db)) << "a disabled task is not to come";

    scheduler::WindowCloseState state;
    EXPECT_EQ(scheduler::DecideWindowClose(settings, state, false), WindowClose::Exit);
    EXPECT_FALSE(state.warned) << "nothing to lose: the question is kept for a close that matters";

    add(daily(2, MakeDate(3, 2, 2027), MakeTime(9, 0)));
    ASSERT_TRUE(scheduler::TaskToCome(db));
    settings.noTray = true;
    EXPECT_EQ(scheduler::DecideWindowClose(settings, state, true), WindowClose::Exit);
    settings.noTray = false;
    EXPECT_EQ(scheduler::DecideWindowClose(settings, state, true), WindowClose::Ask);
    EXPECT_EQ(scheduler::DecideWindowClose(settings, state, true), WindowClose::Exit) << "asked twice";

    // With the option every close goes to the tray, asked before or not.
    settings.keepRunningInTray = true;
    EXPECT_EQ(scheduler::DecideWindowClose(settings, state, true), WindowClose::ToTray);
    scheduler::WindowCloseState fresh;
    EXPECT_EQ(scheduler::DecideWindowClose(settings, fresh, false), WindowClose::ToTray);
    EXPECT_FALSE(fresh.warned);

    const platform::MessageBox question = scheduler::KeepRunningQuestion();
    EXPECT_EQ(question.buttons, platform::MessageButtons::YesNoCancel);
    EXPECT_NE(question.text.find("will not be performed while Horalyn is not running"), std::string::npos);
}

// An alarm ticked without a file sounds the desktop's alarm, at the dispatch
// and at each repeat; a task without an alarm stays silent, file or not.
TEST_F(MessageWindowTest, AnAlarmWithoutAFileSoundsTheDesktopsAlarm)
{
    settings.repeatAlarmInterval = 30;
    ScheduleRecord ticked = daily(1, MakeDate(3, 1, 2027), MakeTime(9, 0));
    ticked.alarm = 1;
    ticked.alarmFile = "";
    add(ticked);
    ScheduleRecord silent = daily(10, MakeDate(3, 1, 2027), MakeTime(9, 1));
    silent.alarm = 0;
    silent.alarmFile = "bell.ogg";  // chosen once, then the alarm switched off
    add(silent);
    tickAt(MakeDate(3, 1, 2027), MakeTime(9, 0));
    tickAt(MakeDate(3, 1, 2027), MakeTime(9, 1));
    EXPECT_EQ(sound.played, std::vector<std::string>{"event:alarm-clock-elapsed"});
    ASSERT_EQ(messages.started.size(), 2u);
    EXPECT_TRUE(messages.started[0].alarm);
    EXPECT_FALSE(messages.started[1].alarm);
    EXPECT_EQ(messages.started[1].alarmSound, "");

    clock.set(MakeDate(3, 1, 2027), MakeTime(9, 2));
    MessageWindow withAlarm(services(), messages.started[0]);
    MessageWindow withoutAlarm(services(), messages.started[1]);
    withAlarm.open();
    withoutAlarm.open();
    clock.set(MakeDate(3, 1, 2027), MakeTime(9, 2, 30));
    withAlarm.onTimer();
    withoutAlarm.onTimer();
    EXPECT_EQ(sound.played, (std::vector<std::string>{"event:alarm-clock-elapsed", "event:alarm-clock-elapsed"}));

    // A file named without the tick (an older caller) still counts as an alarm.
    EXPECT_TRUE(scheduler::MakeMessageSlots("T", "x", "bell.wav").alarm);
    EXPECT_FALSE(scheduler::MakeMessageSlots("T", "x", "  ").alarm);
}

}  // namespace
}  // namespace hrln::test
