#pragma once

#include "data/records.h"
#include "data/table.h"
#include "pim/record_form.h"
#include "pim/record_warnings.h"
#include "scheduler/add_wizards.h"
#include "ui/schedule/schedule_services.h"

#include <QDialog>

#include <map>
#include <memory>
#include <vector>

class QAbstractButton;
class QBoxLayout;
class QFormLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabBar;

namespace hrln::ui {

class TypedEntry;

// The window of every schedule wizard (AddMessageWizard, AddProgramWizard,
// AddTaskWizard, SpecialEventWizard): a sheet of pages walked with Back and
// Next, the entry form's fields and rules, saved on Finish as the form saves
// an insert. What tells the wizards apart is their definition.
class WizardWindow : public QDialog {
    Q_OBJECT

public:
    // The add wizard `wizard`, on a new task with its number reserved; null
    // when no number could be reserved (the user has been told).
    static WizardWindow* OpenAddWizard(const ScheduleWindowServices& services, scheduler::AddWizard wizard,
                                       QWidget* parent = nullptr);
    // SpecialEventWizard on a one-time copy of `source`; null as above.
    static WizardWindow* OpenSpecialEvent(const ScheduleWindowServices& services, const data::ScheduleRecord& source,
                                          QWidget* parent = nullptr);

    ~WizardWindow() override;

    const scheduler::WizardNavigation& navigation() const { return nav_; }
    pim::Response response() const { return form_->response(); }
    // The task as it stands while open, and as written once finished.
    const data::ScheduleRecord& task() const { return response() == pim::Response::Completed ? written_ : table_.rec; }

    void accept() override;
    void reject() override;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WizardWindow(const ScheduleWindowServices& services, scheduler::WizardDefinition definition,
                 pim::FormRules<data::ScheduleRecord> rules, QWidget* parent);
    bool open(const data::ScheduleRecord* start);
    // The script of the task a special event copies, copied to the new task;
    // false (and the wizard cancelled) when the user cancelled the copy.
    bool copySourceScript();

    void build();
    QWidget* buildPage(const scheduler::WizardPageDefinition& page);
    void addTaskTypes(QBoxLayout* layout);
    void addDescribing(QFormLayout* layout);
    void addCommand(QBoxLayout* layout);
    void addMessage(QBoxLayout* layout);
    void addWhen(QBoxLayout* layout);
    void addAdvanced(QBoxLayout* layout);

    void showRecord();
    void showValues();
    void takeRecord();
    void showPage();
    void applyTaskType();
    void applyScheduleType();
    void fitDateToRule();
    void applyAlarm();
    void showWarning();

    // Refuses a date or time entry that cannot be read, on the page that holds it.
    bool readWhen();
    void goNext();
    void goBack();
    void pickNextDate();
    void pickWarningDate();
    void browseProgram();
    void browseWav();
    void play();
    QWidget* fieldWidget(int field) const;

    ScheduleWindowServices s_;
    scheduler::WizardDefinition definition_;
    data::Table<data::ScheduleRecord> table_;
    pim::RecordWarnings warnings_;
    std::unique_ptr<pim::RecordForm<data::ScheduleRecord>> form_;
    scheduler::WizardNavigation nav_;
    data::ScheduleRecord written_;
    data::Long sourceId_ = 0;  // the task a special event was copied from
    bool scriptEdited_ = false;  // its script, deleted again when the new task is not kept
    Date checkedDate_ = 0;     // the next date last checked against the rule
    bool showing_ = false;     // the record is being put into the widgets

    QTabBar* tabs_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::vector<QWidget*> firstFields_;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* finish_ = nullptr;

    std::vector<QRadioButton*> taskTypes_;
    QComboBox* category_ = nullptr;
    QLineEdit* description_ = nullptr;
    std::vector<QWidget*> commandWidgets_;
    QLineEdit* command_ = nullptr;
    QLineEdit* path_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    bool messageFilled_ = false;  // the message is the description as filled in, untouched since
    std::vector<QRadioButton*> scheduleTypes_;
    std::vector<std::pair<QCheckBox*, data::Byte data::ScheduleRecord::*>> ordinals_;
    std::vector<std::pair<QCheckBox*, data::Byte data::ScheduleRecord::*>> weekdays_;
    std::vector<QWidget*> everyWidgets_;
    QSpinBox* every_ = nullptr;
    QComboBox* everyType_ = nullptr;
    TypedEntry* date_ = nullptr;
    TypedEntry* time_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QCheckBox* skip_ = nullptr;
    TypedEntry* warnDate_ = nullptr;
    TypedEntry* warnTime_ = nullptr;
    QCheckBox* alarm_ = nullptr;
    std::vector<QWidget*> wavWidgets_;
    QLineEdit* wavFile_ = nullptr;
    QPushButton* browseWav_ = nullptr;
    QCheckBox* warn_ = nullptr;
    QCheckBox* userSkip_ = nullptr;
    QCheckBox* disable_ = nullptr;
};

}  // namespace hrln::ui
