#include "ui/schedule/wizard_window.h"

#include "pim/categories.h"
#include "scheduler/reschedule.h"
#include "scheduler/task_fields.h"
#include "script/script_jobs.h"
#include "ui/schedule/calendar_window.h"
#include "ui/script/browse_scripting.h"
#include "ui/widgets/stored_values.h"
#include "ui/widgets/accessible_names.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/file_dialogs.h"
#include "ui/widgets/nested_windows.h"
#include "ui/widgets/progress_window.h"
#include "ui/widgets/schedule_notifier.h"
#include "ui/widgets/typed_entry.h"
#include "ui/widgets/window_placement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include <utility>

namespace hrln::ui {
namespace {

using data::ScheduleRecord;
using scheduler::WizardPage;

// "Day of Week" -> "dayOfWeekRadio"
QString NameOf(const QString& text, const QString& kind)
{
    QString name;
    bool upper = false;
    for (const QChar c : text) {
        if (!c.isLetterOrNumber()) {
            upper = !name.isEmpty();
            continue;
        }
        name += name.isEmpty() ? c.toLower() : upper ? c.toUpper() : c;
        upper = false;
    }
    return name + kind;
}

// Where the focus goes for `field`: in a group of choices, the one chosen.
QWidget* FocusTarget(QWidget* field)
{
    if (auto* radio = qobject_cast<QRadioButton*>(field); radio != nullptr && radio->group() != nullptr &&
                                                          radio->group()->checkedButton() != nullptr)
        return radio->group()->checkedButton();
    return field;
}

QPushButton* Button(const QString& text, const QString& name, QWidget* parent, const QString& tip = QString())
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    return b;
}

}  // namespace

WizardWindow::WizardWindow(const ScheduleWindowServices& services, scheduler::WizardDefinition definition,
                           pim::FormRules<ScheduleRecord> rules, QWidget* parent)
    : QDialog(parent), s_(services), definition_(std::move(definition)), table_(s_.window.db),
      warnings_(s_.window.prompter),
      form_(std::make_unique<pim::RecordForm<ScheduleRecord>>(table_, warnings_, pim::Request::Insert,
                                                              std::move(rules))),
      nav_(definition_)
{
    setObjectName(Text(definition_.objectName));
    setWindowTitle(ShownText("Wizard", definition_.title));
}

WizardWindow::~WizardWindow()
{
    DetachChildren(this);
    form_->cancel();  // a window destroyed unanswered leaves no placeholder behind
}

WizardWindow* WizardWindow::OpenAddWizard(const ScheduleWindowServices& services, scheduler::AddWizard wizard,
                                          QWidget* parent)
{
    platform::Prompter& prompter = services.window.prompter;
    auto* window = new WizardWindow(services, scheduler::AddWizardDefinition(wizard),
                                    scheduler::AddWizardRules(wizard, services.clock.now(),
                                                              [&prompter] {
                                                                  pim::RecordWarnings w(prompter);
                                                                  return w.retry("Schedule", data::kDuplicateKey);
                                                              }),
                                    parent);
    if (const int err = scheduler::EnsureGeneralCategory(services.window.db); err != data::kOk)
        window->warnings_.addError("Categories", err);
    if (!window->open(nullptr)) {
        delete window;
        return nullptr;
    }
    return window;
}

WizardWindow* WizardWindow::OpenSpecialEvent(const ScheduleWindowServices& services, const ScheduleRecord& source,
                                             QWidget* parent)
{
    platform::Prompter& prompter = services.window.prompter;
    auto* window = new WizardWindow(services, scheduler::SpecialEventDefinition(),
                                    scheduler::SpecialEventRules([&prompter] {
                                        pim::RecordWarnings w(prompter);
                                        return w.retry("Schedule", data::kDuplicateKey);
                                    }),
                                    parent);
    window->sourceId_ = source.id;
    if (!window->open(&source) || !window->copySourceScript()) {
        delete window;
        return nullptr;
    }
    return window;
}

bool WizardWindow::copySourceScript()
{
    // The moved occurrence performs the steps the task would have: its script
    // goes with the copy, as the entry form's Copy takes it, and goes again
    // when the copy is not kept.
    scriptEdited_ = true;
    script::CopyScriptJob job(s_.window.db, sourceId_, table_.rec.id, warnings_);
    if (ProgressWindow::Run(job, script::CopyScriptJob::kBatch, QStringLiteral("COPYSCRIPT$PROGRESSWINDOW"), this))
        return true;
    // A copy with part of the script would run half its steps unnoticed:
    // cancelling the script's copy cancels the wizard.
    reject();
    return false;
}

bool WizardWindow::open(const ScheduleRecord* start)
{
    if (!form_->open(0, 0, start))
        return false;
    if (const std::string title = form_->title(); !title.empty())
        setWindowTitle(ShownText("Wizard", title));
    build();
    showRecord();
    applyTaskType();
    applyScheduleType();
    applyAlarm();
    showPage();
    FocusTarget(firstFields_.front())->setFocus(Qt::OtherFocusReason);
    NameControls(this);
    RestoreWindowPosition(this, s_.window.positions, Text(definition_.procedure));
    return true;
}

void WizardWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("pageTabs"));
    // The sheet shows where the user stands; pages change with Back and Next only.
    tabs_->setFocusPolicy(Qt::NoFocus);
    tabs_->installEventFilter(this);
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("pages"));
    for (const scheduler::WizardPageDefinition& page : definition_.pages) {
        tabs_->addTab(ShownText("Wizard", page.tab).remove(QLatin1Char('&')));
        pages_->addWidget(buildPage(page));
    }
    layout->addWidget(tabs_);
    layout->addWidget(pages_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    back_ = Button(tr("<- &Back"), QStringLiteral("backButton"), this);
    next_ = Button(tr("&Next ->"), QStringLiteral("nextButton"), this);
    finish_ = Button(tr("&Finish"), QStringLiteral("finishButton"), this);
    QPushButton* cancel = Button(tr("Cancel"), QStringLiteral("cancelButton"), this);
    for (QPushButton* b : {back_, next_, finish_, cancel})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(back_, &QPushButton::clicked, this, &WizardWindow::goBack);
    connect(next_, &QPushButton::clicked, this, &WizardWindow::goNext);
    connect(finish_, &QPushButton::clicked, this, &WizardWindow::accept);
    connect(cancel, &QPushButton::clicked, this, &WizardWindow::reject);
}

QWidget* WizardWindow::buildPage(const scheduler::WizardPageDefinition& page)
{
    auto* widget = new QWidget(this);
    widget->setObjectName(NameOf(Text(page.tab), QStringLiteral("Page")));
    auto* layout = new QVBoxLayout(widget);
    for (std::size_t i = 0; i < page.heading.size(); ++i) {
        auto* line = new QLabel(ShownText("Wizard", page.heading[i]), widget);
        if (i == 0) {
            QFont bold = line->font();
            bold.setBold(true);
            line->setFont(bold);
            line->setObjectName(QStringLiteral("headingLabel"));
        }
        layout->addWidget(line);
    }
    switch (page.page) {
    case WizardPage::Task: {
        addTaskTypes(layout);
        if (definition_.taskTypes.size() == 3) {  // the rescheduling wizard describes the task on its first page
            auto* form = new QFormLayout;
            addDescribing(form);
            layout->addLayout(form);
        }
        firstFields_.push_back(taskTypes_.front());
        break;
    }
    case WizardPage::Category: {
        auto* form = new QFormLayout;
        addDescribing(form);
        layout->addLayout(form);
        firstFields_.push_back(category_);
        break;
    }
    case WizardPage::Command:
        addCommand(layout);
        firstFields_.push_back(command_);
        break;
    case WizardPage::Message:
        if (definition_.taskTypes.empty()) {  // the message wizard asks for the description here
            auto* form = new QFormLayout;
            addDescribing(form);
            layout->addLayout(form);
        }
        addMessage(layout);
        firstFields_.push_back(definition_.taskTypes.empty() ? static_cast<QWidget*>(category_) : message_);
        break;
    case WizardPage::When:
        addWhen(layout);
        firstFields_.push_back(definition_.scheduleRule ? static_cast<QWidget*>(scheduleTypes_.front()) : date_);
        break;
    case WizardPage::Advanced:
        addAdvanced(layout);
        firstFields_.push_back(alarm_);
        break;
    }
    layout->addStretch(1);
    return widget;
}

void WizardWindow::addTaskTypes(QBoxLayout* layout)
{
    auto* box = new QGroupBox(tr("Task Type"), this);
    box->setObjectName(QStringLiteral("taskTypeGroup"));
    auto* inner = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (const std::string& type : definition_.taskTypes) {
        auto* radio = new QRadioButton(ShownValue(type), box);
        radio->setObjectName(NameOf(Text(type), QStringLiteral("Radio")));
        radio->setProperty(kStoredValueProperty, Text(type));
        group->addButton(radio);
        inner->addWidget(radio);
        taskTypes_.push_back(radio);
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyTaskType();
        });
    }
    layout->addWidget(box);
}

void WizardWindow::addDescribing(QFormLayout* layout)
{
    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("categoryCombo"));
    data::Table<data::CategoryRecord> categories(s_.window.db);
    categories.set(data::CategoryRecord::KeyCategory);
    while (categories.next() == data::kOk)
        category_->addItem(Text(categories.rec.category.str()));
    if (categories.error() != data::kRecordNotAvailable)
        warnings_.fetchError("Categories", categories.error());
    layout->addRow(tr("&Category:"), category_);
    description_ = new QLineEdit(this);
    description_->setObjectName(QStringLiteral("descriptionEdit"));
    LimitCharacters(description_, data::ScheduleRecord{}.description.kWidth);
    description_->setToolTip(tr("Description or Title of Task"));
    layout->addRow(tr("&Description:"), description_);
}

void WizardWindow::addCommand(QBoxLayout* layout)
{
    auto* form = new QFormLayout;
    command_ = new QLineEdit(this);
    command_->setObjectName(QStringLiteral("commandEdit"));
    LimitCharacters(command_, data::ScheduleRecord{}.command.kWidth);
    command_->setToolTip(tr("Program to start"));
    QPushButton* browse = Button(tr("B&rowse"), QStringLiteral("browseProgramButton"), this,
                                 tr("Select a program to start"));
    connect(browse, &QPushButton::clicked, this, &WizardWindow::browseProgram);
    auto* row = new QHBoxLayout;
    row->addWidget(command_, 1);
    row->addWidget(browse);
    auto* commandLabel = new QLabel(tr("&Command:"), this);
    commandLabel->setBuddy(command_);
    form->addRow(commandLabel, row);
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("pathEdit"));
    LimitCharacters(path_, data::ScheduleRecord{}.path.kWidth);
    path_->setToolTip(tr("Directory (Folder) to start the command in"));
    form->addRow(tr("Start &in:"), path_);
    layout->addLayout(form);
    QPushButton* scripting = Button(tr("&Scripting"), QStringLiteral("scriptingButton"), this,
                                    tr("Send keystrokes, DDE commands, etc."));
    connect(scripting, &QPushButton::clicked, this, [this, scripting] {
        // The new task stands in the table as its placeholder from the moment
        // the wizard opened, so its script carries the task's ID.
        scriptEdited_ = true;
        BrowseScriptingWindow window({s_.window, s_.windows}, table_.rec.id, this);
        window.exec();
        scripting->setFocus();
    });
    layout->addWidget(scripting, 0, Qt::AlignLeft);
    commandWidgets_ = {command_, browse, path_};
}

void WizardWindow::addMessage(QBoxLayout* layout)
{
    message_ = MemoEdit(this, QStringLiteral("messageEdit"), data::ScheduleRecord{}.message.kWidth,
                        tr("Message to display"), tr("Message"));
    message_->installEventFilter(this);
    connect(message_, &QPlainTextEdit::textChanged, this, [this] { messageFilled_ = false; });
    layout->addWidget(message_, 1);
}

void WizardWindow::addWhen(QBoxLayout* layout)
{
    if (definition_.scheduleRule) {
        auto* types = new QGroupBox(tr("Schedule &Type"), this);
        auto* typesLayout = new QHBoxLayout(types);
        auto* group = new QButtonGroup(types);
        for (const char* type :
             {QT_TRANSLATE_NOOP("StoredValue", "Once"), QT_TRANSLATE_NOOP("StoredValue", "Day of Week"),
              QT_TRANSLATE_NOOP("StoredValue", "Day of Month"), QT_TRANSLATE_NOOP("StoredValue", "Monthly"),
              QT_TRANSLATE_NOOP("StoredValue", "Yearly"), QT_TRANSLATE_NOOP("StoredValue", "Custom")}) {
            auto* radio = new QRadioButton(ShownValue(type), types);
            radio->setObjectName(NameOf(QString::fromLatin1(type), QStringLiteral("Radio")));
            radio->setProperty(kStoredValueProperty, QString::fromLatin1(type));
            group->addButton(radio);
            typesLayout->addWidget(radio);
            scheduleTypes_.push_back(radio);
            connect(radio, &QRadioButton::toggled, this, [this](bool on) {
                if (on)
                    applyScheduleType();
            });
        }
        layout->addWidget(types);

        auto* everyBox = new QGroupBox(tr("&Every..."), this);
        auto* everyLayout = new QHBoxLayout(everyBox);
        const std::pair<const char*, data::Byte ScheduleRecord::*> ordinals[] = {
            {QT_TR_NOOP("1st"), &ScheduleRecord::every1st}, {QT_TR_NOOP("2nd"), &ScheduleRecord::every2nd},
            {QT_TR_NOOP("3rd"), &ScheduleRecord::every3rd}, {QT_TR_NOOP("4th"), &ScheduleRecord::every4th},
            {QT_TR_NOOP("Last"), &ScheduleRecord::everyLast}};
        for (const auto& [text, field] : ordinals) {
            QCheckBox* box = Check(everyBox, tr(text), QStringLiteral("every%1Check").arg(QString::fromLatin1(text)));
            everyLayout->addWidget(box);
            ordinals_.emplace_back(box, field);
            connect(box, &QCheckBox::toggled, this, [this] {
                if (showing_)
                    return;
                takeRecord();
                fitDateToRule();
            });
        }
        layout->addWidget(everyBox);

        auto* days = new QHBoxLayout;
        const std::pair<const char*, data::Byte ScheduleRecord::*> weekdays[] = {
            {QT_TR_NOOP("Sunday"), &ScheduleRecord::sunday},     {QT_TR_NOOP("Monday"), &ScheduleRecord::monday},
            {QT_TR_NOOP("Tuesday"), &ScheduleRecord::tuesday},   {QT_TR_NOOP("Wednesday"), &ScheduleRecord::wednesday},
            {QT_TR_NOOP("Thursday"), &ScheduleRecord::thursday}, {QT_TR_NOOP("Friday"), &ScheduleRecord::friday},
            {QT_TR_NOOP("Saturday"), &ScheduleRecord::saturday}};
        for (const auto& [text, field] : weekdays) {
            QCheckBox* box = Check(this, tr(text), NameOf(QString::fromLatin1(text), QStringLiteral("Check")));
            days->addWidget(box);
            weekdays_.emplace_back(box, field);
            connect(box, &QCheckBox::toggled, this, [this] {
                if (showing_)
                    return;
                takeRecord();
                fitDateToRule();
            });
        }
        layout->addLayout(days);

        auto* repeat = new QHBoxLayout;
        auto* everyLabel = new QLabel(tr("Every:"), this);
        every_ = new QSpinBox(this);
        every_->setObjectName(QStringLiteral("everySpin"));
        every_->setRange(1, static_cast<int>(scheduler::kMaxEvery));
        every_->setToolTip(tr("Repeat Task Every..."));
        everyLabel->setBuddy(every_);
        everyType_ = new QComboBox(this);
        everyType_->setObjectName(QStringLiteral("everyTypeCombo"));
        for (const char* unit :
             {QT_TRANSLATE_NOOP("StoredValue", "minute(s)"), QT_TRANSLATE_NOOP("StoredValue", "hour(s)"),
              QT_TRANSLATE_NOOP("StoredValue", "day(s)"), QT_TRANSLATE_NOOP("StoredValue", "week(s)"),
              QT_TRANSLATE_NOOP("StoredValue", "month(s)"), QT_TRANSLATE_NOOP("StoredValue", "year(s)")})
            everyType_->addItem(ShownValue(unit), QString::fromLatin1(unit));
        repeat->addWidget(everyLabel);
        repeat->addWidget(every_);
        repeat->addWidget(everyType_);
        repeat->addStretch(1);
        layout->addLayout(repeat);
        everyWidgets_ = {everyLabel, every_, everyType_};
    }

    auto* form = new QFormLayout;
    const auto today = [this] { return s_.clock.now().date; };
    date_ = new TypedEntry(TypedEntry::Kind::Date, this, QStringLiteral("nextDateEdit"),
                           tr("Next Date to Perform Task"));
    date_->setToday(today);
    QPushButton* pickDate = Button(QStringLiteral("..."), QStringLiteral("nextDateButton"), this,
                                   tr("Select Date"));
    connect(pickDate, &QPushButton::clicked, this, &WizardWindow::pickNextDate);
    connect(date_, &QLineEdit::editingFinished, this, [this] {
        // Once per date entered, however the entry is left (a page change
        // may have taken the date into the record already).
        // What cannot be read is refused once, when the user goes on.
        const std::optional<Date> typed = date_->value();
        if (!typed || *typed == checkedDate_)
            return;
        takeRecord();
        checkedDate_ = table_.rec.date;
        scheduler::AcceptNextDate(table_.rec, s_.ini, s_.window.prompter);
        showWarning();
    });
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(date_, 1);
    dateRow->addWidget(pickDate);
    auto* dateLabel = new QLabel(tr("Next &Date to Perform Task:"), this);
    dateLabel->setBuddy(date_);
    form->addRow(dateLabel, dateRow);
    time_ = new TypedEntry(TypedEntry::Kind::Time, this, QStringLiteral("timeEdit"),
                           tr("Next Time to Perform Task"));
    timeLabel_ = new QLabel(tr("T&ime:"), this);
    timeLabel_->setBuddy(time_);
    form->addRow(timeLabel_, time_);
    skip_ = Check(this, ShownText("Wizard", definition_.skipLabel), QStringLiteral("skipCheck"),
                  tr("Skip next occurance of this task"));
    form->addRow(QString(), skip_);

    warnDate_ = new TypedEntry(TypedEntry::Kind::Date, this, QStringLiteral("warnDateEdit"),
                               tr("Advance Warning Date (blank: none)"));
    warnDate_->setToday(today);
    QPushButton* pickWarn = Button(QStringLiteral("..."), QStringLiteral("warnDateButton"), this,
                                   tr("Select Date"));
    connect(pickWarn, &QPushButton::clicked, this, &WizardWindow::pickWarningDate);
    auto* warnRow = new QHBoxLayout;
    warnRow->addWidget(warnDate_, 1);
    warnRow->addWidget(pickWarn);
    auto* warnLabel = new QLabel(tr("&Advance Warning Date:"), this);
    warnLabel->setBuddy(warnDate_);
    form->addRow(warnLabel, warnRow);
    warnTime_ = new TypedEntry(TypedEntry::Kind::Time, this, QStringLiteral("warnTimeEdit"),
                               tr("Advanced Warning Time"));
    form->addRow(tr("Time:"), warnTime_);
    for (TypedEntry* edit : {warnDate_, warnTime_})
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
            if (!edit->value())
                return;
            takeRecord();
            scheduler::AcceptAdvanceWarning(table_.rec, s_.window.prompter);
            showWarning();
        });
    layout->addLayout(form);
}

void WizardWindow::addAdvanced(QBoxLayout* layout)
{
    alarm_ = Check(this, tr("Alarm"), QStringLiteral("alarmCheck"),
                   tr("Play a WAV file as an alarm"));
    connect(alarm_, &QCheckBox::toggled, this, [this] {
        takeRecord();
        applyAlarm();
    });
    layout->addWidget(alarm_);
    auto* wavLabel = new QLabel(tr("WAV File to Play:"), this);
    wavFile_ = new QLineEdit(this);
    wavFile_->setObjectName(QStringLiteral("wavFileEdit"));
    LimitCharacters(wavFile_, data::ScheduleRecord{}.alarmFile.kWidth);
    wavLabel->setBuddy(wavFile_);
    connect(wavFile_, &QLineEdit::editingFinished, this, [this] {
        takeRecord();
        scheduler::AcceptAlarmFile(table_.rec, s_.ini);
        wavFile_->setText(Text(table_.rec.alarmFile.str()));
    });
    browseWav_ = Button(tr("B&rowse"), QStringLiteral("browseWavButton"), this);
    connect(browseWav_, &QPushButton::clicked, this, &WizardWindow::browseWav);
    QPushButton* play = Button(tr("&Play"), QStringLiteral("playButton"), this);
    connect(play, &QPushButton::clicked, this, &WizardWindow::play);
    auto* wavRow = new QHBoxLayout;
    wavRow->addWidget(wavLabel);
    wavRow->addWidget(wavFile_, 1);
    wavRow->addWidget(browseWav_);
    wavRow->addWidget(play);
    layout->addLayout(wavRow);
    wavWidgets_ = {wavLabel, wavFile_, browseWav_, play};

    warn_ = Check(this, tr("&Warn if not run on specified date"), QStringLiteral("warnCheck"));
    userSkip_ = Check(this, tr("Before performing task, give option to s&kip"),
                      QStringLiteral("userSkipCheck"));
    disable_ = Check(this, tr("&Disable"), QStringLiteral("disableCheck"),
                     tr("Do not perform this task"));
    for (QWidget* w : {static_cast<QWidget*>(warn_), static_cast<QWidget*>(userSkip_), static_cast<QWidget*>(disable_)})
        layout->addWidget(w);
}

void WizardWindow::showRecord()
{
    // The boxes set here say nothing new: their signals must not take the
    // half-shown widgets back into the record.
    const bool wasShowing = std::exchange(showing_, true);
    showValues();
    showing_ = wasShowing;
}

void WizardWindow::showValues()
{
    const ScheduleRecord& r = table_.rec;
    for (QRadioButton* radio : taskTypes_) {
        QSignalBlocker block(radio);
        radio->setChecked(radio->property(kStoredValueProperty).toString() == Text(r.taskType.str()));
    }
    if (category_ != nullptr) {
        const QString category = Text(r.category.str());
        // A copied task keeps a category that is not (or no longer) in the list.
        if (!category.isEmpty() && category_->findText(category) < 0)
            category_->addItem(category);
        category_->setCurrentIndex(category.isEmpty() ? -1 : category_->findText(category));
    }
    if (description_ != nullptr)
        description_->setText(Text(r.description.str()));
    if (command_ != nullptr) {
        command_->setText(Text(r.command.str()));
        path_->setText(Text(r.path.str()));
    }
    if (message_ != nullptr) {
        QSignalBlocker block(message_);
        message_->setPlainText(Text(r.message.str()));
    }
    for (QRadioButton* radio : scheduleTypes_) {
        QSignalBlocker block(radio);
        radio->setChecked(radio->property(kStoredValueProperty).toString() == Text(r.scheduleType.str()));
    }
    for (const auto& [box, field] : ordinals_)
        box->setChecked(r.*field != 0);
    for (const auto& [box, field] : weekdays_)
        box->setChecked(r.*field != 0);
    if (every_ != nullptr) {
        every_->setValue(static_cast<int>(std::clamp<data::Long>(r.every, 1, scheduler::kMaxEvery)));
        const int unit = everyType_->findData(Text(r.everyType.str()), Qt::UserRole, Qt::MatchFixedString);
        everyType_->setCurrentIndex(unit);
    }
    date_->setValue(r.date);
    time_->setValue(r.time);
    checkedDate_ = r.date;
    skip_->setChecked(r.skipNextTime != 0);
    showWarning();
    {
        QSignalBlocker block(alarm_);
        alarm_->setChecked(r.alarm != 0);
    }
    wavFile_->setText(Text(r.alarmFile.str()));
    warn_->setChecked(r.warn != 0);
    userSkip_->setChecked(r.userSkip != 0);
    disable_->setChecked(r.disabled != 0);
}

void WizardWindow::showWarning()
{
    warnDate_->setValue(table_.rec.advanceWarnDate);
    warnTime_->setValue(table_.rec.advanceWarnDate == 0 ? 0 : table_.rec.advanceWarnTime);
}

void WizardWindow::takeRecord()
{
    ScheduleRecord& r = table_.rec;
    for (QRadioButton* radio : taskTypes_)
        if (radio->isChecked())
            r.taskType = radio->property(kStoredValueProperty).toString().toStdString();
    if (category_ != nullptr)
        r.category = category_->currentText().toStdString();
    if (description_ != nullptr)
        r.description = description_->text().toStdString();
    if (command_ != nullptr) {
        r.command = command_->text().toStdString();
        r.path = path_->text().toStdString();
    }
    if (message_ != nullptr)
        r.message = message_->toPlainText().toStdString();
    for (QRadioButton* radio : scheduleTypes_)
        if (radio->isChecked())
            r.scheduleType = radio->property(kStoredValueProperty).toString().toStdString();
    for (const auto& [box, field] : ordinals_)
        r.*field = box->isChecked() ? 1 : 0;
    for (const auto& [box, field] : weekdays_)
        r.*field = box->isChecked() ? 1 : 0;
    if (every_ != nullptr) {
        r.every = every_->value();
        if (everyType_->currentIndex() >= 0)
            r.everyType = everyType_->currentData().toString().toStdString();
    }
    // An entry that cannot be read leaves its field as it was; readWhen()
    // refuses it before the task goes on.
    r.date = date_->value().value_or(r.date);
    r.time = time_->value().value_or(r.time);
    r.skipNextTime = skip_->isChecked() ? 1 : 0;
    r.advanceWarnDate = warnDate_->value().value_or(r.advanceWarnDate);
    r.advanceWarnTime = r.advanceWarnDate == 0 ? 0 : warnTime_->value().value_or(r.advanceWarnTime);
    r.alarm = alarm_->isChecked() ? 1 : 0;
    r.alarmFile = wavFile_->text().toStdString();
    r.warn = warn_->isChecked() ? 1 : 0;
    r.userSkip = userSkip_->isChecked() ? 1 : 0;
    r.disabled = disable_->isChecked() ? 1 : 0;
}

void WizardWindow::applyTaskType()
{
    takeRecord();
    const Time before = table_.rec.time;
    const scheduler::TaskTypeFields fields = scheduler::ApplyTaskType(table_.rec);
    if (table_.rec.time != before)
        time_->setValue(table_.rec.time);
    time_->setEnabled(fields.time);
    timeLabel_->setEnabled(fields.time);
    for (QWidget* w : commandWidgets_)
        w->setEnabled(fields.command);
    if (message_ != nullptr)
        message_->setEnabled(fields.message);
}

void WizardWindow::applyScheduleType()
{
    if (scheduleTypes_.empty())
        return;
    takeRecord();
    const scheduler::ScheduleTypeFields fields = scheduler::ScheduleTypeFieldsOf(table_.rec);
    for (const auto& [box, field] : ordinals_)
        box->setEnabled(fields.ordinals);
    for (const auto& [box, field] : weekdays_)
        box->setEnabled(fields.weekdays);
    for (QWidget* w : everyWidgets_)
        w->setEnabled(fields.every);
    fitDateToRule();
}

void WizardWindow::fitDateToRule()
{
    // The rule decides the first date: a date it leaves out moves on to the
    // first day it names, in view, so the user sees when the task first runs.
    if (scheduler::MoveToFittingDate(table_.rec) && table_.rec.date != checkedDate_) {
        checkedDate_ = table_.rec.date;
        date_->setValue(table_.rec.date);
    }
}

void WizardWindow::applyAlarm()
{
    const bool on = table_.rec.alarm != 0;
    if (on) {
        scheduler::AcceptAlarmFile(table_.rec, s_.ini);
        wavFile_->setText(Text(table_.rec.alarmFile.str()));
    }
    for (QWidget* w : wavWidgets_)
        w->setVisible(on);
}

void WizardWindow::showPage()
{
    const int index = nav_.current();
    pages_->setCurrentIndex(index);
    tabs_->setCurrentIndex(index);
    back_->setEnabled(nav_.backEnabled());
    next_->setEnabled(nav_.nextEnabled());
    finish_->setEnabled(nav_.finishEnabled());
    next_->setDefault(!nav_.finishIsDefault());
    finish_->setDefault(nav_.finishIsDefault());
}

bool WizardWindow::readWhen()
{
    for (TypedEntry* entry : {date_, time_, warnDate_, warnTime_}) {
        if (!entry->isEnabled() || entry->value())
            continue;
        while (nav_.page() != WizardPage::When && nav_.back(table_.rec.taskType)) {
        }
        showPage();
        std::int32_t unread = 0;
        entry->read(unread, s_.window.prompter);
        return false;
    }
    return true;
}

void WizardWindow::goNext()
{
    if (nav_.page() == WizardPage::When && !readWhen())
        return;
    takeRecord();
    if (!nav_.next(table_.rec.taskType))
        return;
    showPage();
    FocusTarget(firstFields_[static_cast<std::size_t>(nav_.current())])->setFocus(Qt::TabFocusReason);
}

void WizardWindow::goBack()
{
    takeRecord();
    if (!nav_.back(table_.rec.taskType))
        return;
    showPage();
    FocusTarget(firstFields_[static_cast<std::size_t>(nav_.current())])->setFocus(Qt::BacktabFocusReason);
}

void WizardWindow::pickNextDate()
{
    takeRecord();
    const Date picked = CalendarWindow::PickDate(this, s_.window, s_.clock, tr("Select Date"),
                                                 table_.rec.date, QString(), table_.rec);
    if (picked == 0 || picked == table_.rec.date)
        return;
    table_.rec.date = picked;
    checkedDate_ = picked;
    date_->setValue(picked);
    scheduler::AcceptNextDate(table_.rec, s_.ini, s_.window.prompter);
    showWarning();
}

void WizardWindow::pickWarningDate()
{
    takeRecord();
    const Date picked = CalendarWindow::PickDate(this, s_.window, s_.clock, tr("Select Date"),
                                                 table_.rec.advanceWarnDate, tr("None"), table_.rec);
    table_.rec.advanceWarnDate = picked;
    if (picked != 0 && table_.rec.advanceWarnTime == 0)
        table_.rec.advanceWarnTime = table_.rec.time;  // a date alone would warn at midnight
    scheduler::AcceptAdvanceWarning(table_.rec, s_.window.prompter);
    showWarning();
}

void WizardWindow::browseProgram()
{
    takeRecord();
    const QString chosen = ChooseProgram(this, Text(table_.rec.path.str()));
    if (chosen.isEmpty())
        return;
    scheduler::ChooseProgram(table_.rec, chosen.toStdString());
    command_->setText(Text(table_.rec.command.str()));
    path_->setText(Text(table_.rec.path.str()));
}

void WizardWindow::browseWav()
{
    takeRecord();
    const QString chosen = ChooseWav(this, ShownText("Wizard", definition_.wavTitle), Text(table_.rec.alarmFile.str()));
    if (!chosen.isEmpty())
        table_.rec.alarmFile = chosen.toStdString();
    scheduler::AcceptAlarmFile(table_.rec, s_.ini);
    wavFile_->setText(Text(table_.rec.alarmFile.str()));
}

void WizardWindow::play()
{
    const QString file = wavFile_->text().trimmed();
    if (file.isEmpty() || !QFileInfo(file).isReadable() || s_.sound == nullptr) {
        wavFile_->setFocus(Qt::OtherFocusReason);
        return;
    }
    s_.sound->play(file.toStdString());
}

QWidget* WizardWindow::fieldWidget(int field) const
{
    if (field == scheduler::TaskField("TaskType") && !taskTypes_.empty())
        return taskTypes_.front();
    if (field == scheduler::TaskField("Time"))
        return time_;
    if (field == scheduler::TaskField("Every"))
        return every_;
    if (field == scheduler::TaskField("EveryType"))
        return everyType_;
    if (field == scheduler::TaskField("AdvanceWarnDate"))
        return warnDate_;
    if (field == scheduler::TaskField("AdvanceWarnTime"))
        return warnTime_;
    return date_;
}

bool WizardWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The sheet's tabs only show the page: a click on one changes nothing.
    if (watched == tabs_ && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick ||
                             event->type() == QEvent::Wheel))
        return true;
    // The message starts from the description when the user comes to an empty one.
    if (watched == message_ && event->type() == QEvent::FocusIn && message_->toPlainText().isEmpty() &&
        description_ != nullptr && !description_->text().isEmpty()) {
        QSignalBlocker block(message_);
        message_->setPlainText(description_->text());
        // Not selected: a key pressed next must not wipe it out.
        message_->moveCursor(QTextCursor::End);
        messageFilled_ = true;
    }
    // Return on a message just filled in goes on as it does from the other
    // fields; once the user writes in it, Return breaks the line.
    if (watched == message_ && event->type() == QEvent::KeyPress && messageFilled_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            for (QPushButton* b : {next_, finish_})
                if (b->isDefault() && b->isEnabled()) {
                    b->click();
                    return true;
                }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void WizardWindow::accept()
{
    if (!readWhen())
        return;
    takeRecord();
    // The task's date or time may have moved before its warning since the
    // warning was entered.
    if (!scheduler::AcceptAdvanceWarning(table_.rec, s_.window.prompter)) {
        showWarning();
        while (nav_.page() != WizardPage::When && nav_.back(table_.rec.taskType)) {
        }
        showPage();
        warnDate_->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A new repeating task starts on a day its rule names, and not at a moment
    // already past, which would perform it the moment it is saved.
    if (definition_.scheduleRule && scheduler::StartFromNow(table_.rec, s_.clock.now()))
        showRecord();
    if (!scheduler::ConfirmOnceInThePast(table_.rec, s_.clock.now(), s_.window.prompter)) {
        while (nav_.page() != WizardPage::When && nav_.back(table_.rec.taskType)) {
        }
        showPage();
        (time_->isEnabled() ? static_cast<QWidget*>(time_) : date_)->setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool skipSource = sourceId_ != 0 && scheduler::TakeSkipMark(table_.rec);
    const pim::FormControl::Outcome outcome = form_->complete();
    if (!outcome.close) {
        if (skipSource)
            table_.rec.skipNextTime = 1;
        showRecord();
        QWidget* field = fieldWidget(outcome.focusField);
        for (int i = 0; field != nullptr && i < pages_->count(); ++i) {
            if (pages_->widget(i)->isAncestorOf(field)) {
                while (nav_.current() > i && nav_.back(table_.rec.taskType)) {
                }
                while (nav_.current() < i && nav_.next(table_.rec.taskType)) {
                }
                showPage();
                break;
            }
        }
        if (field != nullptr)
            FocusTarget(field)->setFocus(Qt::OtherFocusReason);
        return;
    }
    written_ = table_.rec;
    // The special event stands; now its skip box marks the task it was copied from.
    if (skipSource)
        scheduler::MarkSourceToSkip(table_, sourceId_, s_.window.prompter);
    // An open schedule list shares this connection, which tells it nothing by itself.
    NotifyScheduleBrowsers();
    QDialog::accept();
}

void WizardWindow::reject()
{
    // A script written for a task that is not kept would be left to nobody.
    if (scriptEdited_ && table_.rec.id != 0) {
        DeleteScriptOfUnkeptTask(s_.window, table_.rec.id, this);
    }
    form_->cancel();
    QDialog::reject();
}

void WizardWindow::done(int result)
{
    SaveWindowPosition(this, s_.window.positions, Text(definition_.procedure));
    QDialog::done(result);
}

}  // namespace hrln::ui
