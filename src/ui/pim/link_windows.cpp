#include "ui/pim/link_windows.h"

#include "pim/contacts.h"
#include "ui/pim/category_windows.h"
#include "ui/schedule/browse_schedule.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/typed_entry.h"
#include "ui/widgets/window_placement.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::LinkRecord;
using data::ScheduleRecord;

// The task a link names, read afresh for each cell: the list is a contact's
// few links, and a task may change while the form is open.
struct TaskOfLink {
    explicit TaskOfLink(data::Database& db) : table(db) {}
    const ScheduleRecord* find(data::Long id)
    {
        table.clear();
        table.rec.id = id;
        return table.get(ScheduleRecord::KeyID) == data::kOk ? &table.rec : nullptr;
    }
    data::Table<ScheduleRecord> table;
};

// History entries (disabled and completed) stay out of the selector.
data::KeyView::Restriction TasksToCome()
{
    return {"NOT (\"Disabled\" <> 0 AND \"Completed\" <> 0)", {}};
}

}  // namespace

std::unique_ptr<BrowseSource> RelatedTaskSource(data::Database& db)
{
    auto task = std::make_shared<TaskOfLink>(db);
    const auto cell = [task](std::function<QString(const ScheduleRecord&)> text) {
        return [task, text = std::move(text)](const LinkRecord& link) {
            const ScheduleRecord* t = task->find(link.id);
            return t != nullptr ? text(*t) : QString();
        };
    };
    std::vector<BrowseColumn<LinkRecord>> columns{
        {SelectScheduleWindow::tr("Date"), 11, cell([](const ScheduleRecord& t) { return ShownDate(t.date); })},
        {SelectScheduleWindow::tr("Time"), 9, cell([](const ScheduleRecord& t) { return ShownTime(t.time); }), {}, {},
         Qt::AlignRight | Qt::AlignVCenter},
        {SelectScheduleWindow::tr("Description"), 40, cell([](const ScheduleRecord& t) { return Text(t.description.view()); })},
    };
    return std::make_unique<TableBrowseSource<LinkRecord>>(db, std::move(columns));
}

std::vector<BrowseTab> RelatedTaskTabs(data::Long clientId)
{
    return {{QCoreApplication::translate("hrln::ui::UpdateContactsWindow", "Related Tasks"), LinkRecord::KeyClient, {std::int64_t{clientId}}}};
}

// SelectSchedule

SelectScheduleWindow::SelectScheduleWindow(WindowServices services, QWidget* parent)
    : QDialog(parent), s_(services)
{
    setObjectName(QStringLiteral("SELECTSCHEDULE$QUICKWINDOW"));
    setWindowTitle(tr("Select a Task"));
    data::Table<data::CategoryRecord> categories(s_.db);
    categories.set(data::CategoryRecord::KeyCategory);
    if (categories.next() == data::kOk)
        category_ = categories.rec.category.str();
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(ScheduleSource(s_.db),
                           {{tr("By Date"), ScheduleRecord::KeyDate, {}, TasksToCome()},
                            {tr("By Category"), ScheduleRecord::KeyCategory, {category_}, TasksToCome()}},
                           0, this);
    layout->addWidget(list_);
    QPushButton* select = list_->addButton(tr("Select &Task"), tr("Link the highlighted task"),
                                           QStringLiteral("selectButton"), true);
    select->setDefault(true);
    connect(select, &QPushButton::clicked, this, &SelectScheduleWindow::accept);
    connect(list_, &BrowseList::rowActivated, this, &SelectScheduleWindow::accept);
    QPushButton* category = list_->addButton(tr("&Select Category"),
                                             tr("Show only the tasks of one category"),
                                             QStringLiteral("selectCategoryButton"), false);
    connect(category, &QPushButton::clicked, this, &SelectScheduleWindow::selectCategory);
    QPushButton* close = list_->addClosingButton(tr("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &SelectScheduleWindow::reject);
    resize(620, 360);
    RestoreWindowPosition(this, s_.positions, QStringLiteral("SelectSchedule"));
}

void SelectScheduleWindow::selectCategory()
{
    data::CategoryRecord chosen;
    if (SelectCategoriesWindow::Select(s_, chosen, this) == pim::Response::Completed) {
        category_ = chosen.category.str();
        list_->setTab(kCategoryTab);
        list_->setPrefix({data::Value(category_)});
    }
    list_->view()->setFocus();
}

void SelectScheduleWindow::accept()
{
    const int row = list_->selectedRow();
    if (row < 0 || !list_->model()->readRow(row))
        return;
    chosen_ = static_cast<TableBrowseSource<ScheduleRecord>&>(list_->model()->source()).table().rec;
    QDialog::accept();
}

void SelectScheduleWindow::done(int result)
{
    SaveWindowPosition(this, s_.positions, QStringLiteral("SelectSchedule"));
    QDialog::done(result);
}

pim::Response SelectScheduleWindow::Select(const WindowServices& services, ScheduleRecord& chosen, QWidget* parent)
{
    SelectScheduleWindow window(services, parent);
    if (window.exec() != QDialog::Accepted)
        return pim::Response::Cancelled;
    chosen = window.chosen();
    return pim::Response::Completed;
}

// UpdateLink

UpdateLinkWindow::UpdateLinkWindow(pim::RecordForm<LinkRecord>& form, const WindowServices& services, QWidget* parent)
    : FormWindow(form, QStringLiteral("UPDATELINK$QUICKWINDOW"), tr("Update the Link File"),
                 QStringLiteral("UpdateLink"), services.positions, parent),
      link_(form), s_(services)
{
    auto* layout = new QFormLayout;
    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("descriptionLabel"));
    description_->setTextFormat(Qt::PlainText);
    layout->addRow(tr("Task:"), description_);
    date_ = new QLabel(this);
    date_->setObjectName(QStringLiteral("dateLabel"));
    layout->addRow(tr("Date:"), date_);
    time_ = new QLabel(this);
    time_->setObjectName(QStringLiteral("timeLabel"));
    layout->addRow(tr("Time:"), time_);
    select_ = new QPushButton(tr("&Select Task..."), this);
    select_->setObjectName(QStringLiteral("selectTaskButton"));
    select_->setToolTip(tr("Choose the task to link the contact to"));
    layout->addRow(QString(), select_);
    fields()->addLayout(layout);
    connect(select_, &QPushButton::clicked, this, &UpdateLinkWindow::chooseTask);
    finishLayout();
    select_->setFocus();
}

void UpdateLinkWindow::chooseTask()
{
    ScheduleRecord chosen;
    if (SelectScheduleWindow::Select(s_, chosen, this) == pim::Response::Completed) {
        link_.record().id = chosen.id;
        showRecord();
    }
    select_->setFocus();
}

void UpdateLinkWindow::showRecord()
{
    data::Table<ScheduleRecord> task(s_.db);
    task.rec.id = link_.record().id;
    const bool found = task.rec.id != 0 && task.get(ScheduleRecord::KeyID) == data::kOk;
    description_->setText(found ? Text(task.rec.description.view()) : QString());
    date_->setText(found ? ShownDate(task.rec.date) : QString());
    time_->setText(found ? ShownTime(task.rec.time) : QString());
}

bool UpdateLinkWindow::takeRecord()
{
    return true;  // the task is chosen through the selector, straight into the record
}

QWidget* UpdateLinkWindow::fieldWidget(int) const
{
    return select_;
}

pim::Response UpdateLinkWindow::Run(const WindowServices& services, pim::Request request, std::int64_t rowid,
                                    data::Long clientId, QWidget* parent)
{
    data::Table<LinkRecord> table(services.db);
    pim::RecordWarnings warnings(services.prompter);
    pim::RecordForm<LinkRecord> form(table, warnings, request, pim::LinkFormRules(table, clientId));
    return RunRecordForm(form, LinkRecord::KeyClient, rowid,
                         [&](auto& f) { return std::make_unique<UpdateLinkWindow>(f, services, parent); });
}

}  // namespace hrln::ui
