#include "ui/pim/category_windows.h"

#include "pim/categories.h"
#include "ui/frame/icons.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/window_placement.h"

#include <QCoreApplication>
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
using data::ContactCategoryRecord;

constexpr int kNameWidth = 20;

template <class R>
std::unique_ptr<BrowseSource> NameSource(data::Database& db, const QString& column, FixedText<20> R::*field)
{
    std::vector<BrowseColumn<R>> columns{
        {column, kNameWidth, [field](const R& r) { return Text((r.*field).view()); }},
    };
    return std::make_unique<TableBrowseSource<R>>(db, std::move(columns));
}

template <class R>
std::string NameOf(BrowseSource& source, FixedText<20> R::*field)
{
    return (static_cast<TableBrowseSource<R>&>(source).table().rec.*field).str();
}

template <class R>
pim::Response RunNameForm(const WindowServices& s, const NameListKind& kind, pim::FormRules<R> rules,
                          FixedText<20> R::*field, pim::Request request, std::int64_t& rowid, const std::string& name,
                          QWidget* parent)
{
    data::Table<R> table(s.db);
    pim::RecordWarnings warnings(s.prompter);
    if (!name.empty())
        rules.defaults = [field, name](R& r) { r.*field = name; };
    pim::RecordForm<R> form(table, warnings, request, std::move(rules));
    const pim::Response response = RunRecordForm(form, kind.key, rowid, [&](auto& f) {
        return std::make_unique<UpdateCategoriesWindow>(f, table.rec.*field, kind, s.positions, parent);
    });
    if (response == pim::Response::Completed)
        rowid = table.rowId();
    return response;
}

// The kind's record-bound parts, over the list `self` (the kind being made).
template <class R>
NameListKind WithRecord(NameListKind k, pim::FormRules<R> (*rules)(), FixedText<20> R::*field,
                        const NameListKind& (*self)())
{
    k.source = [column = k.column, field](data::Database& db) { return NameSource(db, column, field); };
    k.run = [rules, field, self](const WindowServices& s, pim::Request request, std::int64_t& rowid,
                                 const std::string& name, QWidget* parent) {
        return RunNameForm(s, self(), rules(), field, request, rowid, name, parent);
    };
    k.nameOf = [field](BrowseSource& source) { return NameOf(source, field); };
    return k;
}

NameListKind MakeTaskCategoryList()
{
    NameListKind k{QStringLiteral("Categories"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "Categories"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "Update Category"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "Select a Category"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "Category"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "&Category:"),
                   QStringLiteral("categoryEdit"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "category"),
                   CategoryRecord::KeyCategory,
                   {},
                   {},
                   {}};
    return WithRecord(std::move(k), &pim::CategoryFormRules, &CategoryRecord::category, &TaskCategoryList);
}

NameListKind MakeContactCategoryList()
{
    NameListKind k{QStringLiteral("ContactCategories"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "Contact Categories"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "Update Contact Category"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "Select a Contact Category"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "Contact Category"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "&Contact Category:"),
                   QStringLiteral("contactCategoryEdit"),
                   QCoreApplication::translate("hrln::ui::CategoryLists", "contact category"),
                   ContactCategoryRecord::KeyContactCategories,
                   {},
                   {},
                   {}};
    return WithRecord(std::move(k), &pim::ContactCategoryFormRules, &ContactCategoryRecord::contactCategory,
                      &ContactCategoryList);
}

std::vector<BrowseTab> NameTabs(const NameListKind& kind)
{
    return {{kind.column, kind.key}};
}

QString WindowName(const char* role, const NameListKind& kind)
{
    return QString::fromLatin1(role) + kind.procedure.toUpper() + QStringLiteral("$QUICKWINDOW");
}

}  // namespace

const NameListKind& TaskCategoryList()
{
    static const NameListKind kind = MakeTaskCategoryList();
    return kind;
}

const NameListKind& ContactCategoryList()
{
    static const NameListKind kind = MakeContactCategoryList();
    return kind;
}

std::unique_ptr<BrowseSource> CategorySource(data::Database& db)
{
    return NameSource(db, QCoreApplication::translate("hrln::ui::CategoryLists", "Category"), &CategoryRecord::category);
}

// UpdateCategories

UpdateCategoriesWindow::UpdateCategoriesWindow(pim::FormControl& form, FixedText<20>& name, const NameListKind& kind,
                                               data::ProfileFile& positions, QWidget* parent)
    : FormWindow(form, WindowName("UPDATE", kind), kind.updateTitle, QStringLiteral("Update") + kind.procedure,
                 positions, parent),
      name_(name)
{
    auto* layout = new QFormLayout;
    edit_ = Entry(this, kind.fieldObject, kNameWidth);
    layout->addRow(kind.fieldLabel, edit_);
    fields()->addLayout(layout);
    finishLayout();
}

void UpdateCategoriesWindow::showRecord()
{
    edit_->setText(Text(name_.view()));
}

bool UpdateCategoriesWindow::takeRecord()
{
    name_ = edit_->text().toStdString();
    return true;
}

QWidget* UpdateCategoriesWindow::fieldWidget(int) const
{
    return edit_;
}

pim::Response UpdateCategoriesWindow::Run(const WindowServices& services, pim::Request request, std::int64_t& rowid,
                                          QWidget* parent)
{
    return TaskCategoryList().run(services, request, rowid, {}, parent);
}

pim::Response UpdateContactCategories::Run(const WindowServices& services, pim::Request request, std::int64_t& rowid,
                                           QWidget* parent, const std::string& name)
{
    return ContactCategoryList().run(services, request, rowid, name, parent);
}

// BrowseCategories

BrowseCategoriesWindow::BrowseCategoriesWindow(WindowServices services,
                                               std::function<void(const std::string&, QWidget*)> openSchedule,
                                               QWidget* parent)
    : BrowseCategoriesWindow(services, TaskCategoryList(), std::move(openSchedule), parent)
{
}

BrowseCategoriesWindow::BrowseCategoriesWindow(WindowServices services, const NameListKind& kind,
                                               std::function<void(const std::string&, QWidget*)> openSchedule,
                                               QWidget* parent)
    : QWidget(parent), s_(services), kind_(kind), openSchedule_(std::move(openSchedule))
{
    setObjectName(WindowName("BROWSE", kind_));
    setWindowTitle(kind_.browseTitle);
    setWindowIcon(ProgramIcon(QStringLiteral("schedule")));
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(kind_.source(s_.db), NameTabs(kind_),
                           BrowseList::Add | BrowseList::Edit | BrowseList::Delete, this);
    layout->addWidget(list_);

    if (&kind_ == &TaskCategoryList() || openSchedule_) {
        QPushButton* schedule = list_->addButton(tr(" &Schedule"),
                                                 tr("View the schedule of the highlighted category"),
                                                 QStringLiteral("scheduleButton"), static_cast<bool>(openSchedule_));
        schedule->setIcon(ProgramIcon(QStringLiteral("schedule")));
        if (!openSchedule_)
            schedule->setEnabled(false);
        connect(schedule, &QPushButton::clicked, this, [this] {
            const int row = list_->selectedRow();
            if (openSchedule_ && row >= 0 && list_->model()->readRow(row))
                openSchedule_(kind_.nameOf(list_->model()->source()), this);
        });
    }
    QPushButton* close = list_->addClosingButton(tr("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    connect(list_, &BrowseList::insertRequested, this, [this] { run(pim::Request::Insert, 0); });
    connect(list_, &BrowseList::changeRequested, this, [this](std::int64_t id) { run(pim::Request::Change, id); });
    connect(list_, &BrowseList::deleteRequested, this, [this](std::int64_t id) { run(pim::Request::Delete, id); });
    resize(320, 360);
}

void BrowseCategoriesWindow::run(pim::Request request, std::int64_t rowid)
{
    const pim::Response response = kind_.run(s_, request, rowid, {}, this);
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
        RestoreWindowPosition(PlacedWindow(this), s_.positions, QStringLiteral("Browse") + kind_.procedure);
    }
    list_->view()->setFocus();
}

void BrowseCategoriesWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowPosition(PlacedWindow(this), s_.positions, QStringLiteral("Browse") + kind_.procedure);
    QWidget::closeEvent(event);
}

BrowseContactCategoriesWindow::BrowseContactCategoriesWindow(WindowServices services, QWidget* parent)
    : BrowseCategoriesWindow(services, ContactCategoryList(), {}, parent)
{
}

// SelectCategories

SelectCategoriesWindow::SelectCategoriesWindow(WindowServices services, QWidget* parent)
    : SelectCategoriesWindow(services, TaskCategoryList(), parent)
{
}

SelectCategoriesWindow::SelectCategoriesWindow(WindowServices services, const NameListKind& kind, QWidget* parent)
    : QDialog(parent), s_(services), kind_(kind)
{
    setObjectName(WindowName("SELECT", kind_));
    setWindowTitle(kind_.selectTitle);
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(kind_.source(s_.db), NameTabs(kind_), 0, this);
    layout->addWidget(list_);
    QPushButton* select = list_->addButton(tr("&Select"),
                                           tr("Choose the highlighted %1").arg(kind_.noun),
                                           QStringLiteral("selectButton"), true);
    select->setDefault(true);
    connect(select, &QPushButton::clicked, this, &SelectCategoriesWindow::accept);
    connect(list_, &BrowseList::rowActivated, this, &SelectCategoriesWindow::accept);
    QPushButton* close = list_->addClosingButton(tr("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &SelectCategoriesWindow::reject);
    resize(300, 340);
    RestoreWindowPosition(this, s_.positions, QStringLiteral("Select") + kind_.procedure);
}

void SelectCategoriesWindow::accept()
{
    const int row = list_->selectedRow();
    if (row < 0 || !list_->model()->readRow(row))
        return;
    chosen_ = kind_.nameOf(list_->model()->source());
    QDialog::accept();
}

void SelectCategoriesWindow::done(int result)
{
    SaveWindowPosition(this, s_.positions, QStringLiteral("Select") + kind_.procedure);
    QDialog::done(result);
}

pim::Response SelectCategoriesWindow::Select(const WindowServices& services, CategoryRecord& chosen, QWidget* parent)
{
    SelectCategoriesWindow window(services, parent);
    if (window.exec() != QDialog::Accepted)
        return pim::Response::Cancelled;
    chosen.category = window.chosen();
    return pim::Response::Completed;
}

SelectContactCategoriesWindow::SelectContactCategoriesWindow(WindowServices services, QWidget* parent)
    : SelectCategoriesWindow(services, ContactCategoryList(), parent)
{
}

pim::Response SelectContactCategoriesWindow::Select(const WindowServices& services, ContactCategoryRecord& chosen,
                                                    QWidget* parent)
{
    SelectContactCategoriesWindow window(services, parent);
    if (window.exec() != QDialog::Accepted)
        return pim::Response::Cancelled;
    chosen.contactCategory = window.chosen();
    return pim::Response::Completed;
}

}  // namespace hrln::ui
