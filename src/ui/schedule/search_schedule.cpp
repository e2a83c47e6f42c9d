#include "ui/schedule/search_schedule.h"

#include "common/date_time.h"
#include "scheduler/task_fields.h"
#include "ui/schedule/calendar_window.h"
#include "ui/schedule/update_schedule.h"
#include "ui/widgets/stored_values.h"
#include "ui/widgets/accessible_names.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/typed_entry.h"
#include "ui/widgets/progress_window.h"
#include "ui/widgets/window_placement.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::ScheduleRecord;

const QString kPosition = QStringLiteral("SearchSchedule");

// A list whose first, blank entry asks nothing.
QComboBox* Choice(QWidget* parent, const QString& objectName, const QStringList& values, bool editable = false)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->addItem(QString());
    box->addItems(values);
    box->setEditable(editable);
    return box;
}

// A list of values stored in English: each shown translated, kept as its data.
QComboBox* StoredChoice(QWidget* parent, const QString& objectName, const QStringList& values)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->addItem(QString(), QString());
    for (const QString& v : values)
        box->addItem(ShownValue(v.toStdString()), v);
    return box;
}

std::string Std(const QString& s)
{
    return s.trimmed().toStdString();
}

}  // namespace

SearchScheduleWindow::SearchScheduleWindow(SearchServices services, QWidget* parent)
    : QDialog(parent), s_(std::move(services))
{
    setObjectName(QStringLiteral("SEARCHSCHEDULE$QUICKWINDOW"));
    setWindowTitle(tr("Enter Search Criteria"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("This process allows you to select/unselect\n"
                                                "schedule items based on certain criteria."),
                                 this));

    auto* form = new QFormLayout;
    taskType_ = StoredChoice(this, QStringLiteral("taskTypeList"), Names(scheduler::kTaskTypes));
    form->addRow(tr("Task &Type:"), taskType_);
    QStringList categories;
    data::Table<data::CategoryRecord> table(s_.schedule.window.db);
    table.set(data::CategoryRecord::KeyCategory);
    while (table.next() == data::kOk)
        categories << Text(table.rec.category.str());
    category_ = Choice(this, QStringLiteral("categoryList"), categories, true);
    form->addRow(tr("&Category:"), category_);
    description_ = Entry(this, QStringLiteral("descriptionEdit"), 40, tr("Text anywhere in the description"));
    form->addRow(tr("&Description:"), description_);
    command_ = Entry(this, QStringLiteral("commandEdit"), 80);
    form->addRow(tr("Comma&nd:"), command_);
    path_ = Entry(this, QStringLiteral("pathEdit"), 80);
    form->addRow(tr("Start &in:"), path_);
    message_ = Entry(this, QStringLiteral("messageEdit"), 1000, tr("Text anywhere in the message"));
    form->addRow(tr("&Message:"), message_);
    scheduleType_ = StoredChoice(this, QStringLiteral("scheduleTypeList"), Names(scheduler::kScheduleTypes));
    form->addRow(tr("Schedule T&ype:"), scheduleType_);

    auto* ordinalRow = new QHBoxLayout;
    for (const char* o : {QT_TR_NOOP("1st"), QT_TR_NOOP("2nd"), QT_TR_NOOP("3rd"), QT_TR_NOOP("4th"), QT_TR_NOOP("Last")}) {
        ordinals_.push_back(Check(this, tr(o), QStringLiteral("every") + QString::fromLatin1(o)));
        ordinalRow->addWidget(ordinals_.back());
    }
    form->addRow(tr("Every:"), ordinalRow);
    auto* dayRow = new QHBoxLayout;
    int weekday = 0;
    for (const char* d : {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}) {
        weekdays_.push_back(Check(this, Text(CurrentDateNames().shortWeekdays[weekday++]), QString::fromLatin1(d).toLower()));
        dayRow->addWidget(weekdays_.back());
    }
    form->addRow(tr("On:"), dayRow);
    auto* repeatRow = new QHBoxLayout;
    every_ = new QSpinBox(this);
    every_->setObjectName(QStringLiteral("everySpin"));
    every_->setRange(0, static_cast<int>(scheduler::kMaxEvery));
    every_->setSpecialValueText(QStringLiteral(" "));  // 0: no criterion
    everyType_ = StoredChoice(this, QStringLiteral("everyTypeList"), Names(scheduler::kEveryTypes));
    repeatRow->addWidget(every_);
    repeatRow->addWidget(everyType_);
    // A row of several fields takes its mnemonic to the first of them.
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    form->addRow(label(tr("&Repeat every:"), every_), repeatRow);

    const auto dateRow = [this](TypedEntry*& edit, const QString& name, const QString& mode) {
        auto* row = new QHBoxLayout;
        edit = new TypedEntry(TypedEntry::Kind::Date, this, name,
                              tr("A date as you write it, or YYYY-MM-DD"));
        edit->setToday([this] { return s_.schedule.clock.now().date; });
        row->addWidget(edit);
        if (!mode.isNull()) {
            auto* calendar = new QPushButton(QStringLiteral("..."), this);
            calendar->setObjectName(name + QStringLiteral("Pick"));
            calendar->setToolTip(tr("Pick the date from a calendar"));
            TypedEntry* target = edit;
            connect(calendar, &QPushButton::clicked, this, [this, target, mode] { pick(target, mode); });
            row->addWidget(calendar);
        }
        return row;
    };
    auto* nextRow = dateRow(date_, QStringLiteral("dateEdit"), QStringLiteral(""));
    time_ = new TypedEntry(TypedEntry::Kind::Time, this, QStringLiteral("timeEdit"),
                           tr("A time of day: 9, 9:30, 21:30, 9.30pm"));
    nextRow->addWidget(new QLabel(tr("Time:"), this));
    nextRow->addWidget(time_);
    form->addRow(label(tr("Ne&xt Date:"), date_), nextRow);
    QHBoxLayout* lastRunRow = dateRow(lastRun_, QStringLiteral("lastRunEdit"), QString());
    form->addRow(label(tr("&Last Run:"), lastRun_), lastRunRow);
    skipNext_ = Check(this, tr("S&kip Next Time"), QStringLiteral("skipNextCheck"),
                      tr("Grey: either; ticked: flagged to skip; clear: not flagged"));
    skipNext_->setTristate(true);
    skipNext_->setCheckState(Qt::PartiallyChecked);
    form->addRow(QString(), skipNext_);
    auto* warnRow = dateRow(warnDate_, QStringLiteral("warnDateEdit"), tr("None"));
    warnTime_ = new TypedEntry(TypedEntry::Kind::Time, this, QStringLiteral("warnTimeEdit"),
                               tr("A time of day: 9, 9:30, 21:30, 9.30pm"));
    warnRow->addWidget(new QLabel(tr("Time:"), this));
    warnRow->addWidget(warnTime_);
    form->addRow(label(tr("Ad&vance Warning:"), warnDate_), warnRow);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const QString& name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* go = button(tr("&Search"), QStringLiteral("searchButton"));
    go->setDefault(true);
    QPushButton* edit = button(tr("&Edit This"), QStringLiteral("editThisButton"));
    QPushButton* next = button(tr("&Find Next"), QStringLiteral("findNextButton"));
    buttons->addStretch(1);
    QPushButton* close = button(tr("Cl&ose"), QStringLiteral("closeButton"));
    layout->addLayout(buttons);
    connect(go, &QPushButton::clicked, this, &SearchScheduleWindow::search);
    connect(edit, &QPushButton::clicked, this, &SearchScheduleWindow::editThis);
    connect(next, &QPushButton::clicked, this, &SearchScheduleWindow::findNext);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    NameControls(this);
    RestoreWindowPosition(this, s_.schedule.window.positions, kPosition);
}

void SearchScheduleWindow::done(int result)
{
    SaveWindowPosition(this, s_.schedule.window.positions, kPosition);
    QDialog::done(result);
}

void SearchScheduleWindow::tell(const char* text)
{
    s_.schedule.window.prompter.ask({text, "", platform::MessageIcon::Exclamation});
}

bool SearchScheduleWindow::readDate(TypedEntry* edit, Date& out)
{
    return edit->read(out, s_.schedule.window.prompter);
}

bool SearchScheduleWindow::readTime(TypedEntry* edit, Time& out)
{
    return edit->read(out, s_.schedule.window.prompter);
}

bool SearchScheduleWindow::criteria(scheduler::ScheduleCriteria& c)
{
    c = {};
    c.taskType = Std(taskType_->currentData().toString());
    c.category = Std(category_->currentText());
    c.description = Std(description_->text());
    c.command = Std(command_->text());
    c.path = Std(path_->text());
    c.message = Std(message_->text());
    c.scheduleType = Std(scheduleType_->currentData().toString());
    for (std::size_t i = 0; i < ordinals_.size(); ++i)
        if (ordinals_[i]->isChecked())
            c.ordinals.push_back(static_cast<int>(i) + 1);
    for (std::size_t i = 0; i < weekdays_.size(); ++i)
        if (weekdays_[i]->isChecked())
            c.weekdays.push_back(static_cast<int>(i));
    c.every = every_->value();
    c.everyType = Std(everyType_->currentData().toString());
    if (skipNext_->checkState() != Qt::PartiallyChecked)
        c.skipNextTime = skipNext_->isChecked() ? 1 : 0;
    return readDate(date_, c.date) && readTime(time_, c.time) && readDate(lastRun_, c.lastRunDate) &&
           readDate(warnDate_, c.advanceWarnDate) && readTime(warnTime_, c.advanceWarnTime);
}

void SearchScheduleWindow::search()
{
    scheduler::ScheduleCriteria c;
    if (!criteria(c))
        return;
    if (c.empty()) {
        tell("You must specify at least one search field!");
        return;
    }
    const platform::MessageButton clear = s_.schedule.window.prompter.ask(
        {"Clear old selections first?", "", platform::MessageIcon::Question, platform::MessageButtons::YesNo,
         platform::MessageButton::Yes});
    scheduler::ScheduleSearchJob job(s_.schedule.window.db, s_.tags, c, clear == platform::MessageButton::Yes);
    ProgressWindow::Run(job, scheduler::ScheduleSearchJob::kBatch, QStringLiteral("SEARCHSCHEDULE$PROGRESSWINDOW"),
                        this);
    lastFound_ = job.firstFound();
    if (job.error() != data::kOk)
        pim::RecordWarnings(s_.schedule.window.prompter).fetchError("Schedule", job.error());
    else if (job.found() == 0)
        tell("There are no matching records!");
}

void SearchScheduleWindow::editThis()
{
    if (lastFound_ == 0) {
        tell("There are no matching records!");
        return;
    }
    std::int64_t rowid = lastFound_;
    const ScheduleWindowServices& w = s_.schedule;
    UpdateScheduleWindow::Run({w.window, w.ini, w.clock, *w.sound, s_.selectedDay}, pim::Request::Change, rowid, false,
                              this);
}

void SearchScheduleWindow::findNext()
{
    scheduler::ScheduleCriteria c;
    if (!criteria(c))
        return;
    if (c.empty()) {
        tell("You must specify at least one search field!");
        return;
    }
    const std::int64_t next = scheduler::FindNextMatch(s_.schedule.window.db, c, lastFound_);
    if (next == 0) {
        tell("There are no more matching records!");
        return;
    }
    lastFound_ = next;
    s_.tags.mark(next);
}

void SearchScheduleWindow::pick(TypedEntry* edit, const QString& mode)
{
    const Date start = edit->value().value_or(0);
    const Date picked =
        CalendarWindow::PickDate(this, s_.schedule.window, s_.schedule.clock, QString(), start, mode, ScheduleRecord{});
    if (picked != 0)
        edit->setValue(picked);
}

}  // namespace hrln::ui
