#pragma once

#include "data/records.h"
#include "scheduler/calendar_grid.h"
#include "ui/widgets/window_services.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace hrln::platform {
class Clock;
}

namespace hrln::ui {

// Calendar: one month of day buttons; returns the day the user picks. The
// arrow keys move by a day or a week, across the month's edge too, Page Up and
// Page Down by a month.
class CalendarWindow : public QDialog {
    Q_OBJECT

public:
    // `start` 0 opens on today. A mode other than "None" hides the days that
    // do not fit `task`'s rule.
    CalendarWindow(const WindowServices& services, const platform::Clock& clock, const QString& title, Date start,
                   const QString& mode, const data::ScheduleRecord& task, QWidget* parent = nullptr);
    ~CalendarWindow() override;

    // The picked date, or `start` exactly as given when the user closes the
    // calendar without picking (0 stays 0).
    static Date PickDate(QWidget* parent, const WindowServices& services, const platform::Clock& clock,
                         const QString& title, Date start, const QString& mode, const data::ScheduleRecord& task);

    Date result() const { return grid_.result(); }
    QPushButton* dayButton(int cell) const { return days_[static_cast<std::size_t>(cell)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    void refill();
    void focusDay(int cell);
    void pick(int cell);
    void acceptMonth();
    void acceptYear();

    WindowServices s_;
    scheduler::CalendarGrid grid_;
    std::array<QPushButton*, scheduler::kCalendarCells> days_{};
    QLineEdit* month_ = nullptr;
    QLineEdit* year_ = nullptr;
    bool asking_ = false;  // a message is open: the entry's focus loss is not a second entry
};

}  // namespace hrln::ui
