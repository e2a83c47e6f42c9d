// Messages shown as desktop notifications: each is answered once, by the
// notification or by the message window it falls back to, never both and
// never neither.
#include "scheduler/message_notices.h"
#include "scheduler_fixture.h"
#include "support/fake_notifications.h"

namespace hrln::test {
namespace {

using namespace data;
using platform::NotificationEnd;
using scheduler::MessageNotices;
using scheduler::MessageWindow;

class MessageNoticesTest : public SchedulerTest {
protected:
    void SetUp() override
    {
        SchedulerTest::SetUp();
        settings.useExternalMessage = true;
        clock.set(MakeDate(3, 1, 2027), MakeTime(9, 0));
    }

    scheduler::MessageServices services()
    {
        return {db, settings, log, clock, prompter, sound, launcher, windows, "hrlnmsg", &server};
    }
    // A due message, opened as the dispatch opens it, then posted.
    void dueMessage(const std::string& title, const std::string& text, const std::string& alarm = "")
    {
        auto message = std::make_unique<MessageWindow>(services(), scheduler::MakeMessageSlots(title, text, alarm));
        ASSERT_EQ(message->open(), MessageWindow::Mode::Notice);
        notices.post(std::move(message));
    }
    int tasks()
    {
        Table<ScheduleRecord> t(db);
        return t.count();
    }
    std::vector<std::string> windowTitles() const
    {
        std::vector<std::string> titles;
        for (const auto& w : shownWindows)
            titles.push_back(w->messageSlots().title);
        return titles;
    }

    FakeLauncher launcher;
    FakeNotifications server;
    std::vector<std::unique_ptr<MessageWindow>> shownWindows;
    MessageNotices notices{server, [this](std::unique_ptr<MessageWindow> w) { shownWindows.push_back(std::move(w)); }};
};

TEST_F(MessageNoticesTest, ANoticeStaysWithTheWindowsAnswersAndSnoozeEndsIt)
{
    settings.logEvents = true;
    dueMessage("Dentist", "Call the dentist");
    EXPECT_TRUE(launcher.starts.empty()) << "no external program when the notification is shown";
    ASSERT_EQ(server.shown.size(), 1u);
    const platform::Notification& shown = server.shown.begin()->second;
    EXPECT_EQ(shown.summary, "Dentist");
    EXPECT_EQ(shown.body, "Call the dentist");
    EXPECT_TRUE(shown.persistent);
    std::vector<std::string> keys;
    for (const auto& a : shown.actions)
        keys.push_back(a.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"default", "snooze", "todo", "close"}));
    EXPECT_EQ(windows.open(), 1) << "an unanswered notice counts as an open message";
    EXPECT_NE(ReadFile(dir.file(kEventLogFile)).find("Dentist"), std::string::npos);

    const platform::NotificationId id = server.shown.begin()->first;
    server.invoke(id, MessageNotices::kSnooze);
    EXPECT_EQ(tasks(), 1);
    Table<ScheduleRecord> snoozed(db);
    snoozed.rec.id = 1;
    ASSERT_EQ(snoozed.get(ScheduleRecord::KeyID), kOk);
    EXPECT_EQ(snoozed.rec.time, MakeTime(9, 10));
    EXPECT_EQ(snoozed.rec.description, "Dentist");
    EXPECT_EQ(server.closed, std::vector<platform::NotificationId>{id});
    EXPECT_EQ(notices.outstanding(), 0u);
    EXPECT_EQ(windows.open(), 0);

    // Whatever the desktop reports afterwards, the answered message stays answered.
    server.invoke(id, MessageNotices::kSnooze);
    server.end(id, NotificationEnd::Expired);
    server.quit();
    EXPECT_EQ(tasks(), 1);
    EXPECT_TRUE(shownWindows.empty());
}

TEST_F(MessageNoticesTest, ToDoKeepsTheNoticeAndCloseOrDismissEndsIt)
{
    dueMessage("Invoice", "Pay the invoice");
    dueMessage("Call", "Call back");
    const platform::NotificationId invoice = 1;
    const platform::NotificationId call = 2;
    int toDoTold = 0;
    notices.whenToDoAdded = [&toDoTold] { ++toDoTold; };

    server.invoke(invoice, MessageNotices::kToDo);
    server.invoke(invoice, MessageNotices::kToDo);
    Table<TodoRecord> todo(db);
    EXPECT_EQ(todo.count(), 2) << "as in the window, each press adds one";
    EXPECT_EQ(toDoTold, 2);
    EXPECT_EQ(prompter.shown.back().text, "Added to To Do List:\rInvoice");
    EXPECT_EQ(prompter.shown.back().caption, "Saved");
    EXPECT_EQ(notices.outstanding(), 2u);
    EXPECT_TRUE(server.closed.empty());

    server.invoke(call, MessageNotices::kClose);
    EXPECT_EQ(server.closed, std::vector<platform::NotificationId>{call});
    server.end(invoice, NotificationEnd::Dismissed);  // closed by the user: answered
    EXPECT_EQ(notices.outstanding(), 0u);
    EXPECT_TRUE(shownWindows.empty());
    EXPECT_EQ(tasks(), 0);
    EXPECT_EQ(windows.open(), 0);
}

// Every way a notice can be gone unanswered puts its message in a window, once.
TEST_F(MessageNoticesTest, AMessageNotAnsweredInItsNoticeGoesToAWindowOnce)
{
    // No server at all, or one without buttons: the window straight away.
    server.running = false;
    dueMessage("No server", "a");
    server.running = true;
    server.actions = false;
    dueMessage("No buttons", "b");
    server.actions = true;
    EXPECT_EQ(windowTitles(), (std::vector<std::string>{"No server", "No buttons"}));
    EXPECT_TRUE(server.shown.empty());

    dueMessage("Expires", "c");      // id 1
    dueMessage("Clicked", "d");      // id 2
    dueMessage("Closed", "e");       // id 3
    dueMessage("Lost one", "f");     // id 4
    dueMessage("Lost two", "g");     // id 5
    server.invoke(99, MessageNotices::kSnooze);  // another program's notification
    server.end(98, NotificationEnd::Expired);
    EXPECT_EQ(notices.outstanding(), 5u);
    EXPECT_EQ(tasks(), 0);

    server.end(1, NotificationEnd::Expired);
    server.end(1, NotificationEnd::Expired);
    server.invoke(2, MessageNotices::kOpen);
    EXPECT_EQ(server.closed, std::vector<platform::NotificationId>{2});
    server.end(2, NotificationEnd::Closed);  // the close we asked for comes back: nothing more
    server.end(3, NotificationEnd::Closed);  // closed by someone else: perhaps never read
    server.quit();
    EXPECT_EQ(windowTitles(), (std::vector<std::string>{"No server", "No buttons", "Expires", "Clicked", "Closed",
                                                         "Lost one", "Lost two"}));
    EXPECT_EQ(notices.outstanding(), 0u);
    EXPECT_EQ(windows.open(), 7) << "each still counted once, now as a window";

    // The window answers as always.
    ASSERT_EQ(shownWindows[2]->snooze(), kOk);
    EXPECT_EQ(tasks(), 1);
}

TEST_F(MessageNoticesTest, AHeldMessageRepeatsItsAlarmAndEndsWithTheProgram)
{
    settings.repeatAlarmInterval = 30;
    dueMessage("Alarm", "Wake up", "bell.wav");
    clock.set(MakeDate(3, 1, 2027), MakeTime(9, 0, 30));
    notices.onTimer();
    EXPECT_EQ(sound.played, std::vector<std::string>{"bell.wav"});

    // A server that hands out an id still held has dropped that notice.
    server.nextId = 1;
    dueMessage("Second", "again");
    EXPECT_EQ(windowTitles(), std::vector<std::string>{"Alarm"});
    EXPECT_EQ(notices.outstanding(), 1u);

    notices.closeAll();
    EXPECT_EQ(server.closed, std::vector<platform::NotificationId>{1});
    EXPECT_EQ(notices.outstanding(), 0u);
    EXPECT_EQ(windowTitles(), std::vector<std::string>{"Alarm"});
}

// With the option, a message leaves the frame in the tray; the window itself
// needs no frame either.
TEST_F(MessageNoticesTest, TheFrameStaysInTheTrayForANotice)
{
    tray.prepare();
    frame.minimized = true;
    tray.minimiseToTray();
    ASSERT_TRUE(tray.shown());
    add(daily(1, MakeDate(3, 1, 2027), MakeTime(9, 0)));
    tickAt(MakeDate(3, 1, 2027), MakeTime(9, 0));
    ASSERT_EQ(messages.started.size(), 1u);
    EXPECT_TRUE(tray.shown());
    EXPECT_FALSE(frame.visible);

    settings.useExternalMessage = false;
    add(daily(10, MakeDate(3, 1, 2027), MakeTime(9, 1)));  // clear of the history entry's number
    tickAt(MakeDate(3, 1, 2027), MakeTime(9, 1));
    ASSERT_EQ(messages.started.size(), 2u);
    EXPECT_FALSE(tray.shown()) << "without the option the frame still comes out, as before";
}

}  // namespace
}  // namespace hrln::test
