#include "ui/pim/category_windows.h"

#include "pim/categories.h"
#include "ui/frame/icons.h"
#include "ui/widgets/window_placement.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::CategoryRecord;

constexpr int kCategoryWidth = 20;

std::vector<BrowseTab> CategoryTabs()
{
    return {{QStringLiteral("Category"), CategoryRecord::KeyCategory}};
}

}  // namespace

std::unique_ptr<BrowseSource> CategorySource(data::Database& db)
{
    std::vector<BrowseColumn<CategoryRecord>> columns{
        {QStringLiteral("Category"), kCategoryWidth,
         [](const CategoryRecord& r) { return QString::fromStdString(r.category.str()); }},
    };
    return std::make_unique<TableBrowseSource<CategoryRecord>>(db, std::move(columns));
}

// UpdateCategories

UpdateCategoriesWindow::UpdateCategoriesWindow(pim::FormControl& form, data::Table<CategoryRecord>& table,
                                               data::ProfileFile& positions, QWidget* parent)
    : FormWindow(form, QStringLiteral("UPDATECATEGORIES$QUICKWINDOW"), QStringLiteral("Update Category"),
                 QStringLiteral("UpdateCategories"), positions, parent),
      table_(table)
{
    auto* layout = new QFormLayout;
    category_ = new QLineEdit(this);
    category_->setObjectName(QStringLiteral("categoryEdit"));
    category_->setMaxLength(kCategoryWidth);
    layout->addRow(QStringLiteral("&Category:"), category_);
    fields()->addLayout(layout);
    finishLayout();
}

void UpdateCategoriesWindow::showRecord()
{
    category_->setText(QString::fromStdString(table_.rec.category.str()));
}

bool UpdateCategoriesWindow::takeRecord()
{
    table_.rec.category = category_->text().toStdString();
    return true;
}

QWidget* UpdateCategoriesWindow::fieldWidget(int) const
{
    return category_;
}

pim::Response UpdateCategoriesWindow::Run(const WindowServices& services, pim::Request request, std::int64_t& rowid,
                                          QWidget* parent)
{
    data::Table<CategoryRecord> table(services.db);
    pim::RecordWarnings warnings(services.prompter);
    pim::RecordForm<CategoryRecord> form(table, warnings, request, pim::CategoryFormRules());
    const pim::Response response = RunRecordForm(form, CategoryRecord::KeyCategory, rowid, [&](auto& f) {
        return std::make_unique<UpdateCategoriesWindow>(f, table, services.positions, parent);
    });
    if (response == pim::Response::Completed)
        rowid = table.rowId();
    return response;
}

// BrowseCategories

BrowseCategoriesWindow::BrowseCategoriesWindow(WindowServices services,
                                               std::function<void(const std::string&, QWidget*)> openSchedule,
                                               QWidget* parent)
    : QWidget(parent), s_(services), openSchedule_(std::move(openSchedule))
{
    setObjectName(QStringLiteral("BROWSECATEGORIES$QUICKWINDOW"));
    setWindowTitle(QStringLiteral("Categories"));
    setWindowIcon(ProgramIcon(QStringLiteral("schedule")));
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(CategorySource(s_.db), CategoryTabs(),
                           BrowseList::Add | BrowseList::Edit | BrowseList::Delete, this);
    layout->addWidget(list_);

    QPushButton* schedule = list_->addButton(QStringLiteral(" &Schedule"),
                                             QStringLiteral("View the schedule of the highlighted category"),
                                             QStringLiteral("scheduleButton"), static_cast<bool>(openSchedule_));
    schedule->setIcon(ProgramIcon(QStringLiteral("schedule")));
    if (!openSchedule_)
        schedule->setEnabled(false);
    connect(schedule, &QPushButton::clicked, this, [this] {
        auto& source = static_cast<TableBrowseSource<CategoryRecord>&>(list_->model()->source());
        const int row = list_->selectedRow();
        if (openSchedule_ && row >= 0 && list_->model()->readRow(row))
            openSchedule_(source.table().rec.category.str(), this);
    });
    QPushButton* close = list_->addClosingButton(QStringLiteral("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    connect(list_, &BrowseList::insertRequested, this, [this] { run(pim::Request::Insert, 0); });
    connect(list_, &BrowseList::changeRequested, this, [this](std::int64_t id) { run(pim::Request::Change, id); });
    connect(list_, &BrowseList::deleteRequested, this, [this](std::int64_t id) { run(pim::Request::Delete, id); });
    resize(320, 360);
}

void BrowseCategoriesWindow::run(pim::Request request, std::int64_t rowid)
{
    const pim::Response response = UpdateCategoriesWindow::Run(s_, request, rowid, this);
    list_->refresh();
    if (response == pim::Response::Completed && request != pim::Request::Delete)
        list_->selectRowId(rowid);
    list_->view()->setFocus();
}

void BrowseCategoriesWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        RestoreWindowPosition(PlacedWindow(this), s_.positions, QStringLiteral("BrowseCategories"));
    }
    list_->view()->setFocus();
}

void BrowseCategoriesWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowPosition(PlacedWindow(this), s_.positions, QStringLiteral("BrowseCategories"));
    QWidget::closeEvent(event);
}

// SelectCategories

SelectCategoriesWindow::SelectCategoriesWindow(WindowServices services, QWidget* parent)
    : QDialog(parent), s_(services)
{
    setObjectName(QStringLiteral("SELECTCATEGORIES$QUICKWINDOW"));
    setWindowTitle(QStringLiteral("Select a Category"));
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(CategorySource(s_.db), CategoryTabs(), 0, this);
    layout->addWidget(list_);
    QPushButton* select = list_->addButton(QStringLiteral("&Select"), QStringLiteral("Choose the highlighted category"),
                                           QStringLiteral("selectButton"), true);
    select->setDefault(true);
    connect(select, &QPushButton::clicked, this, &SelectCategoriesWindow::accept);
    connect(list_, &BrowseList::rowActivated, this, &SelectCategoriesWindow::accept);
    QPushButton* close = list_->addClosingButton(QStringLiteral("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &SelectCategoriesWindow::reject);
    resize(300, 340);
    RestoreWindowPosition(this, s_.positions, QStringLiteral("SelectCategories"));
}

void SelectCategoriesWindow::accept()
{
    auto& source = static_cast<TableBrowseSource<CategoryRecord>&>(list_->model()->source());
    const int row = list_->selectedRow();
    if (row < 0 || !list_->model()->readRow(row))
        return;
    chosen_ = source.table().rec;
    QDialog::accept();
}

void SelectCategoriesWindow::done(int result)
{
    SaveWindowPosition(this, s_.positions, QStringLiteral("SelectCategories"));
    QDialog::done(result);
}

pim::Response SelectCategoriesWindow::Select(const WindowServices& services, CategoryRecord& chosen, QWidget* parent)
{
    SelectCategoriesWindow window(services, parent);
    if (window.exec() != QDialog::Accepted)
        return pim::Response::Cancelled;
    chosen = window.chosen();
    return pim::Response::Completed;
}

}  // namespace hrln::ui
