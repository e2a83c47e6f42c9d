#pragma once

#include "common/date_time.h"
#include "data/database.h"
#include "data/event_log.h"
#include "data/settings.h"
#include "platform/clock.h"
#include "platform/notifications.h"
#include "platform/program_launcher.h"
#include "platform/prompter.h"
#include "platform/sound.h"

#include <atomic>
#include <string>

namespace hrln::scheduler {

// What the dispatch hands to a message window. The window copies it at once,
// so the next message may be prepared while this one is open.
struct MessageSlots {
    std::string title;       // 40 characters: the task's description
    std::string text;        // 1024 characters: the task's message
    std::string alarmSound;  // 255 characters: the alarm file when the task has an alarm
    bool alarm = false;      // the task has an alarm, with a file or without
};

// `alarm` unsaid: an alarm exactly when a file is named.
MessageSlots MakeMessageSlots(std::string_view title, std::string_view text, std::string_view alarmSound);
MessageSlots MakeMessageSlots(std::string_view title, std::string_view text, std::string_view alarmSound,
                              bool alarm);

// The lengths a message may be snoozed for. Ten minutes is what the Snooze
// button itself does; the others are offered beside it.
struct SnoozeLength {
    const char* label;  // menu text, with its mnemonic
    int minutes;
};
inline constexpr int kDefaultSnoozeMinutes = 10;
inline constexpr SnoozeLength kSnoozeLengths[] = {
    {"&5 minutes", 5}, {"1&0 minutes", 10}, {"&15 minutes", 15},
    {"&30 minutes", 30}, {"1 &hour", 60}, {"&Tomorrow", 24 * 60},
};

// Open message windows, process-wide. The dispatch opens no further window
// while 60 are open.
class MessageWindowCounter {
public:
    static constexpr int kLimit = 60;
    int open() const { return open_.load(); }
    bool full() const { return open_.load() >= kLimit; }
    void opened() { ++open_; }
    void closed() { --open_; }

private:
    std::atomic<int> open_{0};
};

// Starts a message window for a due task; the window itself belongs to the user interface.
class MessageLauncher {
public:
    virtual ~MessageLauncher() = default;
    virtual void startMessage(const MessageSlots& slots) = 0;
};

struct MessageServices {
    data::Database& db;
    const data::Settings& settings;
    data::EventLog& log;
    const platform::Clock& clock;
    platform::Prompter& prompter;
    platform::Sound& sound;
    platform::ProgramLauncher& launcher;
    MessageWindowCounter& counter;
    std::string externalProgram = "hrlnmsg";
    // Given, the desktop-notification option shows messages through it (see
    // MessageNotices) instead of starting the external program.
    platform::Notifications* notifications = nullptr;
};

// The logic behind one message window: opening (log line, external program,
// modal or not), the repeated alarm, snooze and "Add to To Do List".
class MessageWindow {
public:
    // Notice: to be shown as a desktop notification, falling back to the window.
    enum class Mode { External, Notice, Modal, Window };
    // How often the window calls onTimer, in hundredths of a second.
    static constexpr int kTimerStep = 100;

    MessageWindow(MessageServices services, const MessageSlots& slots);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // Runs the opening steps and tells how the message is to be shown. With
    // External the program has been started and no window opens. A notice
    // counts as an open window for as long as the model lives.
    Mode open();
    const MessageSlots& messageSlots() const { return slots_; }

    // The window's timer: repeats the alarm when its moment has passed.
    void onTimer();
    // A once-only task `minutes` from now with this message; the window then closes.
    int snooze(int minutes = kDefaultSnoozeMinutes);
    // A to-do item from this message, then "Added to To Do List:"; the window stays open.
    int addToTodo();
    // The item alone, and the box that tells of it, for a caller that asks
    // the question itself once nothing of this message is in use.
    int addTodoItem();
    platform::MessageBox todoAdded() const;
    platform::Prompter& prompter() const { return services_.prompter; }

    Date nextAlarmDate() const { return nextAlarmDate_; }
    Time nextAlarmTime() const { return nextAlarmTime_; }

private:
    void scheduleNextAlarm();

    MessageServices services_;
    MessageSlots slots_;
    Date nextAlarmDate_ = 0;
    Time nextAlarmTime_ = 0;
    bool counted_ = false;
};

}  // namespace hrln::scheduler
