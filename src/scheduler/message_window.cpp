#include "scheduler/message_window.h"

#include "common/text.h"
#include "common/translate.h"
#include "data/records.h"
#include "data/schedule_store.h"
#include "data/table.h"
#include "scheduler/alarm.h"

#include <algorithm>

namespace hrln::scheduler {
namespace {

std::string Cut(std::string_view s, std::size_t width)
{
    return std::string(text::CutToWidth(text::SanitizeUtf8(s), width));
}

}  // namespace

MessageSlots MakeMessageSlots(std::string_view title, std::string_view message, std::string_view alarmSound)
{
    return MakeMessageSlots(title, message, alarmSound, !text::Clip(alarmSound).empty());
}

MessageSlots MakeMessageSlots(std::string_view title, std::string_view message, std::string_view alarmSound,
                              bool alarm)
{
    return {Cut(text::Clip(title), 40), Cut(message, 1024), alarm ? Cut(text::Clip(alarmSound), 255) : "", alarm};
}

MessageWindow::MessageWindow(MessageServices services, const MessageSlots& slots)
    : services_(std::move(services)), slots_(slots)
{
}

MessageWindow::~MessageWindow()
{
    if (counted_)
        services_.counter.closed();
}

MessageWindow::Mode MessageWindow::open()
{
    services_.log.logEvent("Message", std::string(text::Clip(slots_.title)) + slots_.alarmSound);
    const bool notice = services_.settings.useExternalMessage && services_.notifications != nullptr;
    if (services_.settings.useExternalMessage && !notice) {
        // The text travels as one argument, whatever it holds: no shell sees it.
        // The description follows as a second one, for the notification's summary.
        services_.launcher.startDetached(services_.externalProgram, {std::string(text::Clip(slots_.text)),
                                                                     std::string(text::Clip(slots_.title))});
        return Mode::External;
    }
    if (services_.settings.repeatAlarmInterval > 0)
        scheduleNextAlarm();
    if (services_.settings.useModalMessage && !notice)
        return Mode::Modal;
    services_.counter.opened();
    counted_ = true;
    return notice ? Mode::Notice : Mode::Window;
}

void MessageWindow::scheduleNextAlarm()
{
    const platform::DateTime now = services_.clock.now();
    nextAlarmDate_ = now.date;
    nextAlarmTime_ = now.time + services_.settings.repeatAlarmInterval * 100;
    NormalizeDateTime(nextAlarmDate_, nextAlarmTime_);
}

void MessageWindow::onTimer()
{
    if (services_.settings.repeatAlarmInterval <= 0)
        return;
    const platform::DateTime now = services_.clock.now();
    if (nextAlarmDate_ == 0 && nextAlarmTime_ == 0) {
        scheduleNextAlarm();  // repetition switched on while the window was open
        return;
    }
    // Due at its moment, not a timer step after it: polled every second, a
    // strictly later test would repeat every interval plus one second.
    if (CompareDateTime(now.date, now.time, nextAlarmDate_, nextAlarmTime_) < 0)
        return;
    if (slots_.alarm)
        SoundAlarm(services_.sound, slots_.alarmSound);
    // The next one counts from this one's moment, so late ticks do not add up;
    // after a long pause (a suspended machine) it counts from now.
    nextAlarmTime_ += services_.settings.repeatAlarmInterval * 100;
    NormalizeDateTime(nextAlarmDate_, nextAlarmTime_);
    if (CompareDateTime(now.date, now.time, nextAlarmDate_, nextAlarmTime_) >= 0)
        scheduleNextAlarm();
}

int MessageWindow::snooze(int minutes)
{
    // At least a minute: a message snoozed for nothing would come straight back.
    minutes = std::clamp(minutes, 1, 7 * 24 * 60);
    data::Table<data::ScheduleRecord> task(services_.db);
    task.clear();
    task.rec.message = slots_.text;
    task.rec.taskType = "Display Message";
    task.rec.category = "Snooze";
    task.rec.description = slots_.title;
    task.rec.scheduleType = "Once";
    const platform::DateTime now = services_.clock.now();
    // Whole days go to the date, so "tomorrow" is the same time of day.
    task.rec.date = now.date + minutes / (24 * 60);
    task.rec.time = now.time + (minutes % (24 * 60)) * 6000;
    NormalizeDateTime(task.rec.date, task.rec.time);
    // The user asked to be reminded again: a snooze that comes due while the
    // machine sleeps, or late for any reason, is shown late rather than never.
    task.rec.skipIfMissed = 0;
    // Another window may take the same number at the same moment: take the next.
    return data::AddTaskWithNewId(task, nullptr);
}

int MessageWindow::addToTodo()
{
    const int err = addTodoItem();
    if (err == data::kOk)
        services_.prompter.ask(todoAdded());
    return err;
}

platform::MessageBox MessageWindow::todoAdded() const
{
    return {HrlnTranslate("MessageWindow", "Added to To Do List:") + "\r" + slots_.title, HrlnTranslate("MessageWindow", "Saved")};
}

int MessageWindow::addTodoItem()
{
    data::Table<data::TodoRecord> todo(services_.db);
    todo.clear();
    todo.rec.category = "General";
    todo.rec.notes = slots_.text;
    todo.rec.toDo = slots_.title;
    todo.rec.priority = 5;
    todo.rec.done = 0;
    return todo.add();
}

}  // namespace hrln::scheduler
