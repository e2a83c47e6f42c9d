#include "ui/schedule/browse_schedule.h"

#include "common/date_time.h"
#include "ui/frame/icons.h"
#include "ui/pim/category_windows.h"
#include "ui/schedule/agenda_feed.h"
#include "ui/schedule/calendar_window.h"
#include "ui/schedule/search_schedule.h"
#include "ui/schedule/update_schedule.h"
#include "ui/schedule/wizard_window.h"
#include "ui/script/browse_scripting.h"
#include "ui/widgets/stored_values.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/typed_entry.h"
#include "ui/widgets/window_placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::ScheduleRecord;
using platform::MessageIcon;

const QString kPosition = QStringLiteral("BrowseSchedule");

}  // namespace

QString ScheduleStateIcon(const ScheduleRecord& task)
{
    // A history entry of an occurrence passed over must not look performed.
    if (task.isHistoryEntry() && task.skipNextTime == 1)
        return QStringLiteral("skip");
    if (task.completed == 1)
        return QStringLiteral("done");
    if (task.skipNextTime == 1)
        return QStringLiteral("skip");
    if (task.disabled != 0)
        return QStringLiteral("disabled");
    return QStringLiteral("notdone");
}

QString ScheduleStateText(const ScheduleRecord& task)
{
    const QString icon = ScheduleStateIcon(task);
    if (icon == QLatin1String("skip"))
        return BrowseScheduleWindow::tr("Skip Next Time");
    if (icon == QLatin1String("done"))
        return BrowseScheduleWindow::tr("Done");
    if (icon == QLatin1String("disabled"))
        return BrowseScheduleWindow::tr("Disabled");
    return BrowseScheduleWindow::tr("Not done");
}

QColor ScheduleDateColor(const ScheduleRecord& task)
{
    if (task.disabled != 0)
        return QColor(128, 128, 128);
    if (task.skipNextTime == 1)
        return QColor(0, 0, 255);
    return {};
}

// The day the day view lists, whole: "Wednesday, March 10, 2027".
QString DayText(Date day)
{
    return Text(CurrentDateNames().weekdays[Weekday(day) % 7]) + QStringLiteral(", ") + Text(FormatD4(day));
}

std::unique_ptr<BrowseSource> ScheduleSource(data::Database& db)
{
    std::vector<BrowseColumn<ScheduleRecord>> columns{
        {QString(), 2, {}, [](const ScheduleRecord& r) { return ProgramIcon(ScheduleStateIcon(r)); }, {},
         Qt::AlignLeft | Qt::AlignVCenter, BrowseScheduleWindow::tr("State"), &ScheduleStateText},
        {BrowseScheduleWindow::tr("Date"), 11, [](const ScheduleRecord& r) { return ShownDate(r.date); }, {},
         &ScheduleDateColor},
        {BrowseScheduleWindow::tr("Time"), 9, [](const ScheduleRecord& r) { return ShownTime(r.time); }, {}, {},
         Qt::AlignRight | Qt::AlignVCenter},
        {BrowseScheduleWindow::tr("Category"), 14, [](const ScheduleRecord& r) { return Text(r.category.str()); }},
        {BrowseScheduleWindow::tr("Description"), 36, [](const ScheduleRecord& r) { return Text(r.description.str()); }},
        {BrowseScheduleWindow::tr("Task Type"), 15, [](const ScheduleRecord& r) { return ShownValue(r.taskType.str()); }},
        {BrowseScheduleWindow::tr("Schedule Type"), 14, [](const ScheduleRecord& r) { return ShownValue(r.scheduleType.str()); }},
    };
    return std::make_unique<TableBrowseSource<ScheduleRecord>>(db, std::move(columns));
}

BrowseScheduleWindow::BrowseScheduleWindow(ScheduleBrowserServices services, QWidget* parent)
    : QWidget(parent), s_(std::move(services))
{
    setObjectName(QStringLiteral("BROWSESCHEDULE$QUICKWINDOW"));
    setWindowTitle(caption());
    setWindowIcon(ProgramIcon(QStringLiteral("schedule")));
    day_ = s_.selectedDay != 0 ? s_.selectedDay : s_.schedule.clock.today();
    // The category view starts on the first category until the user picks one.
    data::Table<data::CategoryRecord> categories(s_.schedule.window.db);
    categories.set(data::CategoryRecord::KeyCategory);
    if (categories.next() == data::kOk)
        category_ = categories.rec.category.str();

    std::vector<BrowseTab> tabs{
        {tr("Day Schedule"), ScheduleRecord::KeyDate, {std::int64_t{day_}}},
        {tr("All by Date"), ScheduleRecord::KeyDate},
        {tr("All by Category"), ScheduleRecord::KeyCategory, {category_}},
        {tr("Selected"), ScheduleRecord::KeyDate, {}, s_.tags.restriction()},
        // Every occurrence of the coming days, from the moment the list is read.
        {tr("Agenda"), ScheduleRecord::KeyDate, {}, {},
         [this] { return std::make_unique<AgendaFeed>(s_.schedule.window.db, s_.schedule.clock.now(), kAgendaDays); }},
    };
    auto* layout = new QVBoxLayout(this);
    dayLabel_ = new QLabel(this);
    dayLabel_->setObjectName(QStringLiteral("dayLabel"));
    layout->addWidget(dayLabel_);
    list_ = new BrowseList(ScheduleSource(s_.schedule.window.db), std::move(tabs),
                           BrowseList::Add | BrowseList::Edit | BrowseList::Delete, this);
    list_->setStretchColumn(4);  // "Description"
    layout->addWidget(list_);

    QPushButton* copy = list_->addButton(tr("Cop&y"), tr("Copy the highlighted task to a new task"),
                                         QStringLiteral("copyButton"), true, 1);
    list_->findChild<QPushButton*>(QStringLiteral("insertButton"))->setToolTip(tr("Add a new task (tabbed)"));
    list_->findChild<QPushButton*>(QStringLiteral("changeButton"))->setToolTip(tr("Edit the highlighted task"));
    list_->findChild<QPushButton*>(QStringLiteral("deleteButton"))
        ->setToolTip(tr("Delete the highlighted task"));
    QPushButton* reschedule =
        list_->addButton(tr("Reschedule"),
                         tr("Rescheduling Wizard - ideal for holidays, and temporary changes"),
                         QStringLiteral("rescheduleButton"), true);
    QPushButton* runNow = list_->addButton(tr("Run Now"), tr("Run the highlighted task"),
                                           QStringLiteral("runNowButton"), true);
    pickDay_ = list_->addButton(tr("&Pick Day"), tr("Select a day for which to view tasks"),
                                QStringLiteral("pickDayButton"), false);
    pickCategory_ =
        list_->addButton(tr("&Pick Category"), tr("Select a category for which to view tasks"),
                         QStringLiteral("pickCategoryButton"), false);
    search_ = list_->addButton(tr("Search"), tr("Select criteria for schedule view"),
                               QStringLiteral("searchButton"), false);
    QPushButton* close = list_->addClosingButton(tr("Cl&ose"), QStringLiteral("closeButton"));
    close->setToolTip(tr("Close this window"));

    list_->popupMenu()->addSeparator();
    QAction* copyAction = list_->addMenuAction(tr("Cop&y"), QStringLiteral("copyAction"), true);
    QAction* scriptAction = list_->addMenuAction(tr("&Scripting"), QStringLiteral("scriptingAction"), true);

    connect(list_, &BrowseList::insertRequested, this, [this] { run(pim::Request::Insert, 0); });
    connect(list_, &BrowseList::changeRequested, this, [this](std::int64_t id) { run(pim::Request::Change, id); });
    connect(list_, &BrowseList::deleteRequested, this, [this](std::int64_t id) { run(pim::Request::Delete, id); });
    const auto copySelected = [this] {
        if (const std::int64_t id = list_->selectedRowId(); id != 0)
            run(pim::Request::Insert, id, true);
    };
    connect(copy, &QPushButton::clicked, this, copySelected);
    connect(copyAction, &QAction::triggered, this, copySelected);
    connect(scriptAction, &QAction::triggered, this, &BrowseScheduleWindow::scripting);
    connect(reschedule, &QPushButton::clicked, this, &BrowseScheduleWindow::reschedule);
    connect(runNow, &QPushButton::clicked, this, &BrowseScheduleWindow::runNow);
    connect(pickDay_, &QPushButton::clicked, this, &BrowseScheduleWindow::pickDay);
    connect(pickCategory_, &QPushButton::clicked, this, &BrowseScheduleWindow::pickCategory);
    connect(search_, &QPushButton::clicked, this, &BrowseScheduleWindow::search);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(list_, &BrowseList::tabChanged, this, &BrowseScheduleWindow::onTab);
    // A refresh reads the agenda from the present, whose last day moves on at midnight.
    connect(list_->model(), &QAbstractItemModel::modelReset, this, &BrowseScheduleWindow::showLabel);

    list_->setTab(s_.fullSchedule ? DateTab : DayTab);
    onTab(list_->tabs()->currentIndex());
    const QMargins around = layout->contentsMargins();
    ResizeWithin(this, QSize(std::max(760, list_->preferredWidth() + around.left() + around.right()), 420));
}

QString BrowseScheduleWindow::caption() const
{
    const QString user = Text(s_.userName).trimmed();
    return user.isEmpty() ? tr("View Schedule") : tr("View Schedule - %1").arg(user);
}

void BrowseScheduleWindow::onTab(int index)
{
    pickDay_->setVisible(index == DayTab);
    dayLabel_->setVisible(index == DayTab || index == AgendaTab);
    showLabel();
    pickCategory_->setVisible(index == CategoryTab);
    search_->setVisible(index == SelectedTab);
}

void BrowseScheduleWindow::showDay(Date day)
{
    day_ = day;
    s_.selectedDay = day;  // a new task starts on the day shown
    list_->setTab(DayTab);
    list_->setPrefix({std::int64_t{day_}});
}

void BrowseScheduleWindow::showLabel()
{
    if (list_->tabs()->currentIndex() != AgendaTab) {
        dayLabel_->setText(DayText(day_));
        return;
    }
    const auto* feed = dynamic_cast<const AgendaFeed*>(list_->model()->feed());
    if (feed != nullptr)
        dayLabel_->setText(tr("From now to the end of %1").arg(DayText(feed->agenda().lastDay())));
}

void BrowseScheduleWindow::showCategory(const std::string& category)
{
    category_ = category;
    list_->setTab(CategoryTab);
    list_->setPrefix({category_});
}

void BrowseScheduleWindow::run(pim::Request request, std::int64_t rowid, bool copy)
{
    const ScheduleWindowServices& w = s_.schedule;
    const ScheduleFormServices form{w.window, w.ini, w.clock, *w.sound, day_, s_.windows};
    const std::int64_t highlighted = rowid;
    const pim::Response response = UpdateScheduleWindow::Run(form, request, rowid, copy, this);
    // Its row id goes to the next task added, which nobody marked.
    if (response == pim::Response::Completed && request == pim::Request::Delete)
        s_.tags.unmark(highlighted);
    list_->refresh();
    if (response == pim::Response::Completed && request != pim::Request::Delete)
        list_->selectRowId(rowid);
    list_->view()->setFocus();
}

bool BrowseScheduleWindow::readTask(std::int64_t rowid, ScheduleRecord& task)
{
    data::Table<ScheduleRecord> table(s_.schedule.window.db);
    if (const int err = table.reget(ScheduleRecord::KeyDate, rowid); err != data::kOk) {
        pim::RecordWarnings(s_.schedule.window.prompter).fetchError("Schedule", err);
        list_->refresh();
        return false;
    }
    task = table.rec;
    return true;
}

void BrowseScheduleWindow::reschedule()
{
    ScheduleRecord source;
    if (const std::int64_t rowid = list_->selectedRowId(); rowid == 0 || !readTask(rowid, source))
        return;
    // From the agenda the occurrence highlighted is the one moved: the copy
    // starts on it. Only the task's next occurrence can be marked to skip.
    const auto* feed = dynamic_cast<const AgendaFeed*>(list_->model()->feed());
    const scheduler::AgendaEntry* occurrence = feed != nullptr ? feed->entryAt(list_->selectedRow()) : nullptr;
    if (occurrence != nullptr) {
        source.date = occurrence->date;
        source.time = occurrence->time;
    }
    if (WizardWindow* wizard = WizardWindow::OpenSpecialEvent(s_.schedule, source, this)) {
        if (occurrence != nullptr && !occurrence->isNext) {
            if (auto* skip = wizard->findChild<QCheckBox*>(QStringLiteral("skipCheck"))) {
                skip->setChecked(false);
                skip->setEnabled(false);
            }
        }
        wizard->exec();
        delete wizard;
    }
    list_->refresh();
}

void BrowseScheduleWindow::runNow()
{
    const std::int64_t rowid = list_->selectedRowId();
    if (rowid == 0 || !s_.runNow)
        return;
    platform::Prompter& prompter = s_.schedule.window.prompter;
    switch (s_.runNow(rowid)) {
    case scheduler::Scheduler::RunNow::Done: break;
    case scheduler::Scheduler::RunNow::Gone:
        pim::RecordWarnings(prompter).fetchError("Schedule", data::kRecordNotFound);
        break;
    case scheduler::Scheduler::RunNow::Busy:
        prompter.ask({"The task is being performed at this moment. Try again when it has finished.", "Run Now",
                      MessageIcon::Information});
        break;
    case scheduler::Scheduler::RunNow::NotEnabled:
        prompter.ask({"Only an enabled task can be run. Clear \"Disabled\" on the task first.", "Run Now",
                      MessageIcon::Exclamation});
        break;
    }
    list_->refresh();
}

void BrowseScheduleWindow::scripting()
{
    ScheduleRecord task;
    if (const std::int64_t rowid = list_->selectedRowId(); rowid == 0 || !readTask(rowid, task))
        return;
    BrowseScriptingWindow window({s_.schedule.window, s_.windows}, task.id, this);
    window.exec();
    list_->refresh();
}

void BrowseScheduleWindow::pickDay()
{
    const Date picked = CalendarWindow::PickDate(this, s_.schedule.window, s_.schedule.clock, QString(), day_,
                                                 QString(), ScheduleRecord{});
    if (picked != 0 && picked != day_)
        showDay(picked);
    else
        s_.selectedDay = day_;
}

void BrowseScheduleWindow::pickCategory()
{
    data::CategoryRecord chosen;
    if (SelectCategoriesWindow::Select(s_.schedule.window, chosen, this) == pim::Response::Completed)
        showCategory(chosen.category.str());
}

void BrowseScheduleWindow::search()
{
    const ScheduleWindowServices& w = s_.schedule;
    SearchScheduleWindow window(SearchServices{w, s_.tags, day_}, this);
    window.exec();
    list_->setTab(SelectedTab);
    list_->refresh();
}

void BrowseScheduleWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        RestoreWindowPosition(PlacedWindow(this), s_.schedule.window.positions, kPosition);
    }
    list_->view()->setFocus();
}

void BrowseScheduleWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowPosition(PlacedWindow(this), s_.schedule.window.positions, kPosition);
    QWidget::closeEvent(event);
}

}  // namespace hrln::ui
