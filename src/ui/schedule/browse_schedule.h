#pragma once

#include "data/record_tags.h"
#include "data/records.h"
#include "pim/record_form.h"
#include "platform/windows.h"
#include "scheduler/scheduler.h"
#include "ui/schedule/schedule_services.h"
#include "ui/widgets/browse_list.h"

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace hrln::ui {

// What the schedule browser needs beside the schedule windows' services.
struct ScheduleBrowserServices {
    ScheduleWindowServices schedule;
    data::RecordTags& tags;  // the user's marks on the schedule
    Date& selectedDay;       // published: the day a new task starts on (0: today)
    std::string userName;    // multi-user mode: the caption names the user
    bool fullSchedule = false;  // open on every task by date rather than one day
    std::function<scheduler::Scheduler::RunNow(std::int64_t rowid)> runNow;
    // The desktop's windows, for the script editor's lists of window titles (none: empty lists).
    platform::Windows* windows = nullptr;
};

// The list of a schedule browser: status icon, "Date", "Time", "Category",
// "Description", "Task Type", "Schedule Type".
std::unique_ptr<BrowseSource> ScheduleSource(data::Database& db);
// The task states in the order they decide the icon: done, skip, disabled, not done.
QString ScheduleStateIcon(const data::ScheduleRecord& task);
// What that icon means, for assistive technology.
QString ScheduleStateText(const data::ScheduleRecord& task);
// The Date column's colour: grey for a disabled task, blue for one whose next
// occurrence is skipped, else none (the list's own).
QColor ScheduleDateColor(const data::ScheduleRecord& task);

// BrowseSchedule "View Schedule": the schedule by day, by date, by category
// and as marked by a search, with the forms, the wizard and "Run Now" behind it.
class BrowseScheduleWindow : public QWidget {
    Q_OBJECT

public:
    enum Tab { DayTab, DateTab, CategoryTab, SelectedTab, AgendaTab };
    // The days the agenda lists, today the first.
    static constexpr int kAgendaDays = 7;

    explicit BrowseScheduleWindow(ScheduleBrowserServices services, QWidget* parent = nullptr);

    BrowseList* list() const { return list_; }
    // Shows the category view of `category`.
    void showCategory(const std::string& category);
    void showDay(Date day);
    Date selectedDay() const { return day_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void run(pim::Request request, std::int64_t rowid, bool copy = false);
    // Reads the task with row id `rowid`; false, after saying so and
    // refreshing, when another program deleted it meanwhile.
    bool readTask(std::int64_t rowid, data::ScheduleRecord& task);
    void reschedule();
    void runNow();
    void scripting();
    void pickDay();
    void pickCategory();
    void search();
    void onTab(int index);
    // The label over the list: the day the day view lists, the days the agenda does.
    void showLabel();
    QString caption() const;

    ScheduleBrowserServices s_;
    BrowseList* list_ = nullptr;
    Date day_ = 0;
    std::string category_;
    QPushButton* pickDay_ = nullptr;
    QLabel* dayLabel_ = nullptr;  // the day the day view lists, or the agenda's days
    QPushButton* pickCategory_ = nullptr;
    QPushButton* search_ = nullptr;
    bool placed_ = false;
};

}  // namespace hrln::ui
