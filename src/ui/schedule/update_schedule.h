#pragma once

#include "data/profile_file.h"
#include "data/records.h"
#include "pim/record_form.h"
#include "pim/record_warnings.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "platform/windows.h"
#include "ui/widgets/form_window.h"
#include "ui/widgets/window_services.h"

#include <functional>
#include <map>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace hrln::ui {

class TypedEntry;

// What the schedule entry form needs beside every window's services.
struct ScheduleFormServices {
    WindowServices window;
    data::ProfileFile& ini;
    const platform::Clock& clock;
    platform::Sound& sound;
    // The day chosen in the schedule browser (0: today), for a new task.
    Date selectedDay = 0;
    // The desktop's windows, for the script editor's lists of window titles.
    platform::Windows* windows = nullptr;
};

// UpdateSchedule: the schedule entry form, three pages over one task.
class UpdateScheduleWindow : public FormWindow {
    Q_OBJECT

public:
    UpdateScheduleWindow(const ScheduleFormServices& services, pim::FormControl& form,
                         data::Table<data::ScheduleRecord>& table, data::Long copiedFrom, QWidget* parent = nullptr);
    ~UpdateScheduleWindow() override;

    // Runs a request: an insert of a new task (`rowid` 0) or of a copy of the
    // task with row id `rowid` when `copy` is set, a change or a delete of the
    // task with row id `rowid`. The response; `rowid` holds the written task's.
    static pim::Response Run(const ScheduleFormServices& services, pim::Request request, std::int64_t& rowid,
                             bool copy, QWidget* parent);

    void accept() override;
    void reject() override;

protected:
    void showRecord() override;
    bool takeRecord() override;
    QWidget* fieldWidget(int field) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTaskPage();
    QWidget* buildWhenPage();
    QWidget* buildAdvancedPage();
    QButtonGroup* options(QWidget* parent, const QString& objectPrefix, const QStringList& values, QLayout* into);
    void applyEnabling();
    void onTaskType();
    void onNextDate();
    void onAdvanceDate();
    void onAlarm();
    void onAlarmFile();
    // Opens the calendar for a date entry (mode "None": every day may be picked).
    void pick(TypedEntry* edit, const QString& mode);
    void browseProgram();
    void browseWav();
    void openScript();
    void play();
    // Reads a date or time entry: true with the value (0 when blank), false after a message.
    bool readDate(TypedEntry* edit, Date& out);
    bool readTime(TypedEntry* edit, Time& out);
    void warn(const QString& text, const QString& caption);

    ScheduleFormServices s_;
    data::Table<data::ScheduleRecord>& table_;
    data::Long copiedFrom_;
    bool showing_ = false;
    bool scriptEdited_ = false;

    QButtonGroup* taskType_ = nullptr;
    QComboBox* category_ = nullptr;
    QLineEdit* description_ = nullptr;
    QTabWidget* taskTabs_ = nullptr;
    QLineEdit* command_ = nullptr;
    QPushButton* browseProgram_ = nullptr;
    QLineEdit* path_ = nullptr;
    QPushButton* scripting_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    QButtonGroup* scheduleType_ = nullptr;
    std::vector<QCheckBox*> ordinals_;
    std::vector<QCheckBox*> weekdays_;
    QLabel* everyPrompt_ = nullptr;
    QSpinBox* every_ = nullptr;
    QButtonGroup* everyType_ = nullptr;
    QLabel* timePrompt_ = nullptr;
    TypedEntry* date_ = nullptr;
    QPushButton* pickDate_ = nullptr;
    TypedEntry* time_ = nullptr;
    QLabel* lastRun_ = nullptr;
    QLabel* lastRunTime_ = nullptr;
    QCheckBox* skipNext_ = nullptr;
    TypedEntry* warnDate_ = nullptr;
    QPushButton* pickWarnDate_ = nullptr;
    TypedEntry* warnTime_ = nullptr;
    QCheckBox* alarm_ = nullptr;
    std::vector<QWidget*> alarmControls_;
    QLineEdit* alarmFile_ = nullptr;
    QPushButton* browseWav_ = nullptr;
    QCheckBox* warn_ = nullptr;
    QCheckBox* skipIfMissed_ = nullptr;
    QCheckBox* userSkip_ = nullptr;
    QCheckBox* disabled_ = nullptr;
    QCheckBox* noHistory_ = nullptr;
};

}  // namespace hrln::ui
