#include "ui/schedule/update_schedule.h"

#include "common/date_time.h"
#include "data/schedule_store.h"
#include "scheduler/schedule_form.h"
#include "script/script_jobs.h"
#include "ui/schedule/calendar_window.h"
#include "ui/script/browse_scripting.h"
#include "ui/widgets/stored_values.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/typed_entry.h"
#include "ui/widgets/file_dialogs.h"
#include "ui/widgets/nested_windows.h"
#include "ui/widgets/progress_window.h"
#include "ui/widgets/schedule_notifier.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::ScheduleRecord;
using namespace scheduler;


void SetOption(QButtonGroup* group, std::string_view value)
{
    for (QAbstractButton* b : group->buttons())
        if (b->property(kStoredValueProperty).toString() == Text(value)) {
            b->setChecked(true);
            return;
        }
    // A value the option does not offer: none is checked, and the value stays.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

template <class Field>
void TakeOption(QButtonGroup* group, Field& field)
{
    if (QAbstractButton* b = group->checkedButton())
        field = b->property(kStoredValueProperty).toString().toStdString();
}

}  // namespace

UpdateScheduleWindow::UpdateScheduleWindow(const ScheduleFormServices& services, pim::FormControl& form,
                                           data::Table<ScheduleRecord>& table, data::Long copiedFrom,
                                           QWidget* parent)
    : FormWindow(form, QStringLiteral("UPDATESCHEDULE$QUICKWINDOW"), tr("Update the Schedule"),
                 QStringLiteral("UpdateSchedule"), services.window.positions, parent),
      s_(services),
      table_(table),
      copiedFrom_(copiedFrom)
{
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    pages->addTab(buildTaskPage(), tr("Task"));
    pages->addTab(buildWhenPage(), tr("When"));
    pages->addTab(buildAdvancedPage(), tr("Advanced"));
    fields()->addWidget(pages);
    finishLayout();
    applyEnabling();
    description_->setFocus();
}

UpdateScheduleWindow::~UpdateScheduleWindow()
{
    DetachChildren(this);
}

QButtonGroup* UpdateScheduleWindow::options(QWidget* parent, const QString& objectPrefix, const QStringList& values,
                                            QLayout* into)
{
    auto* group = new QButtonGroup(parent);
    int i = 0;
    for (const QString& v : values) {
        auto* radio = new QRadioButton(ShownValue(v.toStdString()), parent);
        radio->setObjectName(objectPrefix + QString::number(i));
        radio->setProperty(kStoredValueProperty, v);
        group->addButton(radio, i++);
        into->addWidget(radio);
    }
    return group;
}

QWidget* UpdateScheduleWindow::buildTaskPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* typeBox = new QGroupBox(tr("Task Type"), page);
    auto* typeRow = new QHBoxLayout(typeBox);
    taskType_ = options(typeBox, QStringLiteral("taskType"), Names(scheduler::kTaskTypes), typeRow);
    connect(taskType_, &QButtonGroup::idClicked, this, &UpdateScheduleWindow::onTaskType);
    layout->addWidget(typeBox);

    auto* form = new QFormLayout;
    category_ = new QComboBox(page);
    category_->setObjectName(QStringLiteral("categoryList"));
    form->addRow(tr("Ca&tegory:"), category_);
    description_ = Entry(page, QStringLiteral("descriptionEdit"), 40, tr("Description or Title of Task"));
    form->addRow(tr("&Description:"), description_);
    layout->addLayout(form);

    taskTabs_ = new QTabWidget(page);
    taskTabs_->setObjectName(QStringLiteral("taskTabs"));
    auto* commandPage = new QWidget;
    auto* commandGrid = new QGridLayout(commandPage);
    command_ = Entry(commandPage, QStringLiteral("commandEdit"), 80, tr("Program to start"));
    auto* commandLabel = new QLabel(tr("Comma&nd:"), commandPage);
    commandLabel->setBuddy(command_);
    browseProgram_ = new QPushButton(tr("&Browse"), commandPage);
    browseProgram_->setObjectName(QStringLiteral("browseProgramButton"));
    browseProgram_->setToolTip(tr("Select a program to start"));
    connect(browseProgram_, &QPushButton::clicked, this, &UpdateScheduleWindow::browseProgram);
    path_ = Entry(commandPage, QStringLiteral("pathEdit"), 80, tr("Directory (Folder) to start the command in"));
    auto* pathLabel = new QLabel(tr("Start &in:"), commandPage);
    pathLabel->setBuddy(path_);
    commandGrid->addWidget(commandLabel, 0, 0);
    commandGrid->addWidget(command_, 0, 1);
    commandGrid->addWidget(browseProgram_, 0, 2);
    commandGrid->addWidget(pathLabel, 1, 0);
    commandGrid->addWidget(path_, 1, 1, 1, 2);
    commandGrid->addWidget(
        new QLabel(tr("TIP:  If you just want to use scripting, enter \"N/A\" as the command above."),
                   commandPage),
        2, 0, 1, 3);
    scripting_ = new QPushButton(tr("&Scripting"), commandPage);
    scripting_->setObjectName(QStringLiteral("scriptingButton"));
    scripting_->setToolTip(tr("Edit the script of this task"));
    connect(scripting_, &QPushButton::clicked, this, &UpdateScheduleWindow::openScript);
    commandGrid->addWidget(scripting_, 3, 0);
    commandGrid->addWidget(new QLabel(tr("<- Press this to send keystrokes or DDE commands"), commandPage),
                           3, 1, 1, 2);
    taskTabs_->addTab(commandPage, tr("&Command"));

    message_ = MemoEdit(page, QStringLiteral("messageEdit"), data::ScheduleRecord{}.message.kWidth,
                        tr("Message to display"), tr("Message"));
    message_->installEventFilter(this);
    taskTabs_->addTab(message_, tr("&Message"));
    layout->addWidget(taskTabs_, 1);
    return page;
}

QWidget* UpdateScheduleWindow::buildWhenPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* typeBox = new QGroupBox(tr("Schedule &Type"), page);
    auto* typeRow = new QHBoxLayout(typeBox);
    scheduleType_ = options(typeBox, QStringLiteral("scheduleType"), Names(scheduler::kScheduleTypes), typeRow);
    connect(scheduleType_, &QButtonGroup::idClicked, this, &UpdateScheduleWindow::applyEnabling);
    layout->addWidget(typeBox);

    auto* everyBox = new QGroupBox(tr("&Every..."), page);
    auto* everyRow = new QHBoxLayout(everyBox);
    const char* ordinals[] = {QT_TR_NOOP("1st"), QT_TR_NOOP("2nd"), QT_TR_NOOP("3rd"), QT_TR_NOOP("4th"), QT_TR_NOOP("Last")};
    for (const char* o : ordinals) {
        ordinals_.push_back(Check(everyBox, tr(o), QStringLiteral("every") + QString::fromLatin1(o)));
        everyRow->addWidget(ordinals_.back());
    }
    layout->addWidget(everyBox);
    auto* daysRow = new QHBoxLayout;
    const char* days[] = {QT_TR_NOOP("Sunday"),   QT_TR_NOOP("Monday"), QT_TR_NOOP("Tuesday"), QT_TR_NOOP("Wednesday"),
                          QT_TR_NOOP("Thursday"), QT_TR_NOOP("Friday"), QT_TR_NOOP("Saturday")};
    for (const char* d : days) {
        weekdays_.push_back(Check(page, tr(d), QString::fromLatin1(d).toLower()));
        daysRow->addWidget(weekdays_.back());
    }
    layout->addLayout(daysRow);

    auto* repeatRow = new QHBoxLayout;
    everyPrompt_ = new QLabel(tr("Every:"), page);
    every_ = new QSpinBox(page);
    every_->setObjectName(QStringLiteral("everySpin"));
    every_->setRange(0, kMaxEvery);
    every_->setToolTip(tr("Repeat Task Every..."));
    everyPrompt_->setBuddy(every_);
    repeatRow->addWidget(everyPrompt_);
    repeatRow->addWidget(every_);
    everyType_ = options(page, QStringLiteral("everyType"), Names(scheduler::kEveryTypes), repeatRow);
    layout->addLayout(repeatRow);

    auto* when = new QGridLayout;
    date_ = new TypedEntry(TypedEntry::Kind::Date, page, QStringLiteral("dateEdit"),
                           tr("Next Date to Perform Task"));
    date_->setToday([this] { return s_.clock.now().date; });
    auto* dateLabel = new QLabel(tr("&Next Date to Perform Task:"), page);
    dateLabel->setBuddy(date_);
    connect(date_, &QLineEdit::editingFinished, this, &UpdateScheduleWindow::onNextDate);
    pickDate_ = new QPushButton(QStringLiteral("..."), page);
    pickDate_->setObjectName(QStringLiteral("pickDateButton"));
    pickDate_->setToolTip(tr("Select Date"));
    connect(pickDate_, &QPushButton::clicked, this, [this] { pick(date_, QString()); });
    time_ = new TypedEntry(TypedEntry::Kind::Time, page, QStringLiteral("timeEdit"),
                           tr("Next Time to Perform Task"));
    timePrompt_ = new QLabel(tr("T&ime:"), page);
    timePrompt_->setBuddy(time_);
    when->addWidget(dateLabel, 0, 0);
    when->addWidget(date_, 0, 1);
    when->addWidget(pickDate_, 0, 2);
    when->addWidget(timePrompt_, 0, 3);
    when->addWidget(time_, 0, 4);
    lastRun_ = new QLabel(page);
    lastRun_->setObjectName(QStringLiteral("lastRunLabel"));
    lastRunTime_ = new QLabel(page);
    lastRunTime_->setObjectName(QStringLiteral("lastRunTimeLabel"));
    when->addWidget(new QLabel(tr("Date Last Performed:"), page), 1, 0);
    when->addWidget(lastRun_, 1, 1, 1, 2);
    when->addWidget(new QLabel(tr("Time:"), page), 1, 3);
    when->addWidget(lastRunTime_, 1, 4);
    layout->addLayout(when);
    skipNext_ = Check(page, tr("&Skip Next Time"), QStringLiteral("skipNextTime"),
                      tr("Skip next occurance of this task"));
    layout->addWidget(skipNext_);
    layout->addStretch(1);
    return page;
}

QWidget* UpdateScheduleWindow::buildAdvancedPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* warnRow = new QHBoxLayout;
    warnDate_ = new TypedEntry(TypedEntry::Kind::Date, page, QStringLiteral("advanceWarnDateEdit"),
                               tr("Advanced Warning Date"));
    warnDate_->setToday([this] { return s_.clock.now().date; });
    auto* warnLabel = new QLabel(tr("&Advance Warning Date:"), page);
    warnLabel->setBuddy(warnDate_);
    connect(warnDate_, &QLineEdit::editingFinished, this, &UpdateScheduleWindow::onAdvanceDate);
    pickWarnDate_ = new QPushButton(QStringLiteral("..."), page);
    pickWarnDate_->setObjectName(QStringLiteral("pickAdvanceWarnDateButton"));
    pickWarnDate_->setToolTip(tr("Select Date"));
    connect(pickWarnDate_, &QPushButton::clicked, this, [this] { pick(warnDate_, QStringLiteral("None")); });
    warnTime_ = new TypedEntry(TypedEntry::Kind::Time, page, QStringLiteral("advanceWarnTimeEdit"),
                               tr("Advanced Warning Time"));
    warnRow->addWidget(warnLabel);
    warnRow->addWidget(warnDate_);
    warnRow->addWidget(pickWarnDate_);
    warnRow->addWidget(new QLabel(tr("Time:"), page));
    warnRow->addWidget(warnTime_);
    layout->addLayout(warnRow);

    alarm_ = Check(page, tr("Alarm"), QStringLiteral("alarm"), tr("Play a WAV file as an alarm"));
    connect(alarm_, &QCheckBox::toggled, this, &UpdateScheduleWindow::onAlarm);
    layout->addWidget(alarm_);
    auto* wavRow = new QHBoxLayout;
    auto* wavLabel = new QLabel(tr("WAV File to Play:"), page);
    alarmFile_ = Entry(page, QStringLiteral("alarmFileEdit"), 80);
    wavLabel->setBuddy(alarmFile_);
    browseWav_ = new QPushButton(tr("&Browse"), page);
    browseWav_->setObjectName(QStringLiteral("browseWavButton"));
    connect(browseWav_, &QPushButton::clicked, this, &UpdateScheduleWindow::browseWav);
    connect(alarmFile_, &QLineEdit::editingFinished, this, &UpdateScheduleWindow::onAlarmFile);
    auto* playButton = new QPushButton(tr("&Play"), page);
    playButton->setObjectName(QStringLiteral("playButton"));
    connect(playButton, &QPushButton::clicked, this, &UpdateScheduleWindow::play);
    alarmControls_ = {wavLabel, alarmFile_, browseWav_, playButton};
    for (QWidget* w : alarmControls_)
        wavRow->addWidget(w);
    layout->addLayout(wavRow);

    warn_ = Check(page, tr("&Warn if not run on specified date"), QStringLiteral("warn"));
    skipIfMissed_ = Check(page, tr("&Skip if not run at specified time (+/- 10 minutes)"),
                          QStringLiteral("skipIfMissed"));
    userSkip_ = Check(page, tr("Before performing task, give option to s&kip"), QStringLiteral("userSkip"));
    disabled_ = Check(page, tr("&Disable"), QStringLiteral("disabled"), tr("Do not perform this task"));
    noHistory_ = Check(page, tr("No &History"), QStringLiteral("noHistory"),
                       tr("Do not show history (remove when completed)"));
    for (QWidget* w : {static_cast<QWidget*>(warn_), static_cast<QWidget*>(skipIfMissed_),
                       static_cast<QWidget*>(userSkip_), static_cast<QWidget*>(disabled_),
                       static_cast<QWidget*>(noHistory_)})
        layout->addWidget(w);
    layout->addStretch(1);
    return page;
}

void UpdateScheduleWindow::showRecord()
{
    showing_ = true;
    const ScheduleRecord& r = table_.rec;
    SetOption(taskType_, r.taskType.view());
    category_->clear();
    category_->addItem(QString());
    {
        data::Table<data::CategoryRecord> categories(s_.window.db);
        categories.set(data::CategoryRecord::KeyCategory);
        int err = data::kOk;
        while ((err = categories.next()) == data::kOk)
            category_->addItem(Text(categories.rec.category.view()));
        if (err != data::kRecordNotAvailable)
            pim::RecordWarnings(s_.window.prompter).fetchError("Categories", err);
    }
    const int found = category_->findText(Text(r.category.view()), Qt::MatchFixedString);
    if (found < 0)
        category_->addItem(Text(r.category.view()));  // a name no longer listed stays the task's
    category_->setCurrentIndex(found >= 0 ? found : category_->count() - 1);
    description_->setText(Text(r.description.view()));
    command_->setText(Text(r.command.view()));
    path_->setText(Text(r.path.view()));
    message_->setPlainText(Text(r.message.view()));
    SetOption(scheduleType_, r.scheduleType.view());
    const data::Byte ords[] = {r.every1st, r.every2nd, r.every3rd, r.every4th, r.everyLast};
    for (std::size_t i = 0; i < ordinals_.size(); ++i)
        ordinals_[i]->setChecked(ords[i] != 0);
    const data::Byte days[] = {r.sunday, r.monday, r.tuesday, r.wednesday, r.thursday, r.friday, r.saturday};
    for (std::size_t i = 0; i < weekdays_.size(); ++i)
        weekdays_[i]->setChecked(days[i] != 0);
    every_->setValue(std::clamp<int>(r.every, 0, kMaxEvery));
    SetOption(everyType_, r.everyType.view());
    date_->setValue(r.date);
    time_->setValue(r.time);
    lastRun_->setText(ShownDate(r.lastRunDate));
    lastRunTime_->setText(ShownTime(r.lastRunTime, true));
    skipNext_->setChecked(r.skipNextTime != 0);
    warnDate_->setValue(r.advanceWarnDate);
    warnTime_->setValue(r.advanceWarnTime);
    alarm_->setChecked(r.alarm != 0);
    alarmFile_->setText(Text(r.alarmFile.view()));
    warn_->setChecked(r.warn != 0);
    skipIfMissed_->setChecked(r.skipIfMissed != 0);
    userSkip_->setChecked(r.userSkip != 0);
    disabled_->setChecked(r.disabled != 0);
    noHistory_->setChecked(r.noHistory != 0);
    showing_ = false;
    applyEnabling();
}

bool UpdateScheduleWindow::takeRecord()
{
    ScheduleRecord& r = table_.rec;
    Date date = 0, warnDate = 0;
    Time time = 0, warnTime = 0;
    if (!readDate(date_, date) || !readTime(time_, time) || !readDate(warnDate_, warnDate) ||
        !readTime(warnTime_, warnTime))
        return false;
    TakeOption(taskType_, r.taskType);
    r.category = category_->currentText().toStdString();
    r.description = description_->text().toStdString();
    r.command = command_->text().toStdString();
    r.path = path_->text().toStdString();
    r.message = message_->toPlainText().toStdString();
    TakeOption(scheduleType_, r.scheduleType);
    data::Byte* ords[] = {&r.every1st, &r.every2nd, &r.every3rd, &r.every4th, &r.everyLast};
    for (std::size_t i = 0; i < ordinals_.size(); ++i)
        *ords[i] = ordinals_[i]->isChecked() ? 1 : 0;
    data::Byte* days[] = {&r.sunday, &r.monday, &r.tuesday, &r.wednesday, &r.thursday, &r.friday, &r.saturday};
    for (std::size_t i = 0; i < weekdays_.size(); ++i)
        *days[i] = weekdays_[i]->isChecked() ? 1 : 0;
    r.every = every_->value();
    TakeOption(everyType_, r.everyType);
    r.date = date;
    r.time = r.taskType == "None" ? kNoTaskTime : time;
    r.skipNextTime = skipNext_->isChecked() ? 1 : 0;
    r.advanceWarnDate = warnDate;
    r.advanceWarnTime = warnTime;
    r.alarm = alarm_->isChecked() ? 1 : 0;
    r.alarmFile = alarmFile_->text().trimmed().toStdString();
    r.warn = warn_->isChecked() ? 1 : 0;
    r.skipIfMissed = skipIfMissed_->isChecked() ? 1 : 0;
    r.userSkip = userSkip_->isChecked() ? 1 : 0;
    r.disabled = disabled_->isChecked() ? 1 : 0;
    r.noHistory = noHistory_->isChecked() ? 1 : 0;
    return true;
}

QWidget* UpdateScheduleWindow::fieldWidget(int field) const
{
    const std::pair<const char*, QWidget*> widgets[] = {
        {"Command", command_},      {"Every", every_},         {"EveryType", everyType_->buttons().front()},
        {"Sunday", weekdays_.front()}, {"Every1st", ordinals_.front()}, {"Date", date_},
        {"Time", time_},            {"AdvanceWarnDate", warnDate_}, {"AdvanceWarnTime", warnTime_},
        {"TaskType", taskType_->buttons().front()},
    };
    for (const auto& [name, widget] : widgets)
        if (TaskField(name) == field)
            return widget;
    return description_;
}

void UpdateScheduleWindow::accept()
{
    // A once-only task whose moment has passed would run as soon as it is
    // written: the user says whether that is meant.
    if (form().request() != pim::Request::Delete) {
        if (!takeRecord())
            return;
        if (!ConfirmOnceInThePast(table_.rec, s_.clock.now(), s_.window.prompter)) {
            RevealAndFocus(time_->isEnabled() ? time_ : date_);
            return;
        }
    }
    FormWindow::accept();
}

bool UpdateScheduleWindow::readDate(TypedEntry* edit, Date& out)
{
    return edit->read(out, s_.window.prompter);
}

bool UpdateScheduleWindow::readTime(TypedEntry* edit, Time& out)
{
    return edit->read(out, s_.window.prompter);
}

void UpdateScheduleWindow::warn(const QString& text, const QString& caption)
{
    s_.window.prompter.ask({text.toStdString(), caption.toStdString(), platform::MessageIcon::Exclamation,
                            platform::MessageButtons::Ok, platform::MessageButton::Ok});
}

void UpdateScheduleWindow::applyEnabling()
{
    if (showing_)
        return;
    ScheduleRecord probe = table_.rec;
    TakeOption(taskType_, probe.taskType);
    TakeOption(scheduleType_, probe.scheduleType);
    probe.alarm = alarm_->isChecked() ? 1 : 0;
    const ScheduleFormEnabling e = FormEnabling(probe);
    for (QCheckBox* b : ordinals_)
        b->setEnabled(e.ordinals);
    for (QCheckBox* b : weekdays_)
        b->setEnabled(e.weekdays);
    everyPrompt_->setEnabled(e.every);
    every_->setEnabled(e.every);
    for (QAbstractButton* b : everyType_->buttons())
        b->setEnabled(e.every);
    timePrompt_->setEnabled(e.time);
    time_->setEnabled(e.time);
    taskTabs_->setTabEnabled(0, e.command);
    taskTabs_->setTabEnabled(1, e.message);
    for (QWidget* w : alarmControls_)
        w->setVisible(e.alarmFile);
}

void UpdateScheduleWindow::onTaskType()
{
    ScheduleRecord probe = table_.rec;
    TakeOption(taskType_, probe.taskType);
    probe.time = 0;
    ApplyTaskType(probe);
    if (probe.time == kNoTaskTime)
        time_->setValue(kNoTaskTime);
    applyEnabling();
}

void UpdateScheduleWindow::onNextDate()
{
    // Checked once per entry: the box it may open takes the focus away,
    // which finishes the entry again.
    Date date = 0;
    if (!date_->isModified())
        return;
    date_->setModified(false);
    if (!readDate(date_, date) || !takeRecord())
        return;
    AcceptNextDate(table_.rec, s_.ini, s_.window.prompter);
    warnDate_->setValue(table_.rec.advanceWarnDate);
    warnTime_->setValue(table_.rec.advanceWarnTime);
}

void UpdateScheduleWindow::onAdvanceDate()
{
    if (!warnDate_->isModified())
        return;
    warnDate_->setModified(false);
    if (!takeRecord())
        return;
    if (!AcceptAdvanceWarning(table_.rec, s_.window.prompter)) {
        warnDate_->clear();
        warnTime_->clear();
    }
}

void UpdateScheduleWindow::onAlarm()
{
    if (showing_)
        return;
    ScheduleRecord& r = table_.rec;
    r.alarm = alarm_->isChecked() ? 1 : 0;
    r.alarmFile = alarmFile_->text().trimmed().toStdString();
    if (r.alarm != 0)
        AcceptAlarmFile(r, s_.ini);
    alarmFile_->setText(Text(r.alarmFile.view()));
    applyEnabling();
}

void UpdateScheduleWindow::onAlarmFile()
{
    // A name typed in counts as one chosen: remembered for the next task, and
    // a blank entry takes the last one back.
    if (showing_)
        return;
    ScheduleRecord& r = table_.rec;
    r.alarmFile = alarmFile_->text().trimmed().toStdString();
    AcceptAlarmFile(r, s_.ini);
    alarmFile_->setText(Text(r.alarmFile.view()));
}

void UpdateScheduleWindow::pick(TypedEntry* edit, const QString& mode)
{
    Date current = 0;
    if (!readDate(edit, current) || !takeRecord())
        return;
    const Date chosen =
        CalendarWindow::PickDate(this, s_.window, s_.clock, tr("Select Date"), current, mode, table_.rec);
    if (chosen == current)
        return;
    edit->setValue(chosen);
    edit->setModified(true);
    edit == date_ ? onNextDate() : onAdvanceDate();
}

void UpdateScheduleWindow::browseProgram()
{
    const QString chosen = ChooseProgram(this, path_->text().trimmed());
    if (!chosen.isEmpty())
        command_->setText(chosen.left(80));
}

void UpdateScheduleWindow::browseWav()
{
    const QString chosen =
        ChooseWav(this, tr("Select WAV File for Alarm"), alarmFile_->text().trimmed());
    if (chosen.isEmpty())
        return;
    alarmFile_->setText(chosen.left(80));
    onAlarm();
}

void UpdateScheduleWindow::openScript()
{
    // The task stands in the table from the moment the form opened (a new one
    // as its placeholder), so its script can be written before it is saved.
    scriptEdited_ = true;
    BrowseScriptingWindow window({s_.window, s_.windows}, table_.rec.id, this);
    window.exec();
    scripting_->setFocus();
}

void UpdateScheduleWindow::play()
{
    const QString file = alarmFile_->text().trimmed();
    alarmFile_->setText(file);
    if (file.isEmpty() || !QFileInfo(file).isReadable()) {
        browseWav_->setFocus();
        if (file.isEmpty())
            browseWav();
        return;
    }
    s_.sound.play(file.toStdString());
}

bool UpdateScheduleWindow::eventFilter(QObject* watched, QEvent* event)
{
    // An empty message starts as the task's description.
    if (watched == message_ && event->type() == QEvent::FocusIn && message_->toPlainText().trimmed().isEmpty())
        message_->setPlainText(description_->text());
    return FormWindow::eventFilter(watched, event);
}

void UpdateScheduleWindow::reject()
{
    // A script copied or written into the new task goes with it.
    if ((copiedFrom_ != 0 || scriptEdited_) && form().request() == pim::Request::Insert && table_.rec.id != 0) {
        DeleteScriptOfUnkeptTask(s_.window, table_.rec.id, this);
    }
    FormWindow::reject();
}

pim::Response UpdateScheduleWindow::Run(const ScheduleFormServices& services, pim::Request request,
                                        std::int64_t& rowid, bool copy, QWidget* parent)
{
    data::Table<ScheduleRecord> table(services.window.db);
    pim::RecordWarnings warnings(services.window.prompter);
    const std::int64_t now = services.clock.now().time;
    const Date today = services.clock.now().date;
    pim::RecordForm<ScheduleRecord> form(
        table, warnings, request,
        ScheduleFormRules(services.selectedDay != 0 ? services.selectedDay : today, static_cast<Time>(now),
                          [&warnings] { return warnings.retry("Schedule", data::kDuplicateKey); }));

    ScheduleRecord source;
    data::Long copiedFrom = 0;
    if (request == pim::Request::Insert && copy) {
        if (table.reget(ScheduleRecord::KeyID, rowid) != data::kOk) {
            warnings.fetchError("Schedule", table.error());
            return pim::Response::Cancelled;
        }
        source = table.rec;
        copiedFrom = source.id;
    }
    if (!form.open(ScheduleRecord::KeyID, rowid, copy ? &source : nullptr))
        return pim::Response::Cancelled;

    if (request == pim::Request::Delete) {
        form.complete();  // the confirmation is the whole dialog of a delete
    } else {
        UpdateScheduleWindow window(services, form, table, copiedFrom, parent);
        if (copiedFrom != 0) {
            script::CopyScriptJob job(services.window.db, copiedFrom, table.rec.id, warnings);
            if (!ProgressWindow::Run(job, script::CopyScriptJob::kBatch, QStringLiteral("COPYSCRIPT$PROGRESSWINDOW"),
                                     &window)) {
                // A copy with part of the script would run half its steps
                // unnoticed: cancelling the script's copy cancels the copy.
                window.reject();
                return pim::Response::Cancelled;
            }
        }
        window.exec();
    }
    if (form.response() != pim::Response::Completed)
        return form.response();
    rowid = table.rowId();
    // An open schedule list shares this connection, which tells it nothing by itself.
    NotifyScheduleBrowsers();
    return form.response();
}

}  // namespace hrln::ui
