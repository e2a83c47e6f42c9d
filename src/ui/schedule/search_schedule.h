#pragma once

#include "data/record_tags.h"
#include "scheduler/schedule_search.h"
#include "ui/schedule/schedule_services.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace hrln::ui {

class TypedEntry;

struct SearchServices {
    ScheduleWindowServices schedule;
    data::RecordTags& tags;
    Date selectedDay = 0;  // for a task opened with "&Edit This"
};

// SearchSchedule "Search the Schedule": criteria in the entry form's fields,
// all empty at first; "&Search" marks every task that matches them all.
class SearchScheduleWindow : public QDialog {
    Q_OBJECT

public:
    explicit SearchScheduleWindow(SearchServices services, QWidget* parent = nullptr);

    // The criteria as filled in now; false, after a message, when a date or time cannot be read.
    bool criteria(scheduler::ScheduleCriteria& out);
    // The task last found (0: none).
    std::int64_t lastFound() const { return lastFound_; }

protected:
    void done(int result) override;

private:
    void search();
    void editThis();
    void findNext();
    void pick(TypedEntry* edit, const QString& mode);
    bool readDate(TypedEntry* edit, Date& out);
    bool readTime(TypedEntry* edit, Time& out);
    void tell(const char* text);

    SearchServices s_;
    std::int64_t lastFound_ = 0;

    QComboBox* taskType_ = nullptr;
    QComboBox* category_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLineEdit* command_ = nullptr;
    QLineEdit* path_ = nullptr;
    QLineEdit* message_ = nullptr;
    QComboBox* scheduleType_ = nullptr;
    std::vector<QCheckBox*> ordinals_;
    std::vector<QCheckBox*> weekdays_;
    QSpinBox* every_ = nullptr;
    QComboBox* everyType_ = nullptr;
    TypedEntry* date_ = nullptr;
    TypedEntry* time_ = nullptr;
    TypedEntry* lastRun_ = nullptr;
    QCheckBox* skipNext_ = nullptr;
    TypedEntry* warnDate_ = nullptr;
    TypedEntry* warnTime_ = nullptr;
};

}  // namespace hrln::ui
