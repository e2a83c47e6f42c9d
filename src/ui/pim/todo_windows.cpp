#include "ui/pim/todo_windows.h"

#include "pim/todo.h"
#include "ui/frame/icons.h"
#include "ui/pim/category_windows.h"
#include "ui/widgets/schedule_notifier.h"
#include "ui/widgets/text_limit.h"
#include "ui/widgets/typed_entry.h"
#include "ui/widgets/window_placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::TodoRecord;

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

std::unique_ptr<BrowseSource> TodoSource(data::Database& db)
{
    static const QIcon done = ProgramIcon(QStringLiteral("done"));
    static const QIcon open = ProgramIcon(QStringLiteral("notdone"));
    std::vector<BrowseColumn<TodoRecord>> columns{
        {QString(), 2, [](const TodoRecord&) { return QString(); },
         [](const TodoRecord& r) { return r.done != 0 ? done : open; }, {}, Qt::AlignLeft | Qt::AlignVCenter,
         ViewToDoWindow::tr("Done"),
         [](const TodoRecord& r) { return r.done != 0 ? ViewToDoWindow::tr("Done") : ViewToDoWindow::tr("Not done"); }},
        {ViewToDoWindow::tr("Priority"), 6,
         [](const TodoRecord& r) { return QStringLiteral("%1").arg(r.priority, 2, 10, QLatin1Char('0')); }, {}, {},
         Qt::AlignRight | Qt::AlignVCenter},
        {ViewToDoWindow::tr("To Do"), 80, [](const TodoRecord& r) { return Text(r.toDo.str()); }},
        {ViewToDoWindow::tr("Category"), 20, [](const TodoRecord& r) { return Text(r.category.str()); }},
        {ViewToDoWindow::tr("Completion Date"), 14,
         [](const TodoRecord& r) { return ShownDate(r.completionDate); }},
        {ViewToDoWindow::tr("Completion Time"), 14,
         [](const TodoRecord& r) { return ShownTime(r.completionTime); }},
    };
    return std::make_unique<TableBrowseSource<TodoRecord>>(db, std::move(columns));
}

std::vector<BrowseTab> TodoTabs(const std::string& category)
{
    return {{ViewToDoWindow::tr("Do&ne"), TodoRecord::KeyDone},
            {ViewToDoWindow::tr("&Priority"), TodoRecord::KeyPriority},
            {ViewToDoWindow::tr("To Do"), TodoRecord::KeyToDo},
            {ViewToDoWindow::tr("Cate&gory"), TodoRecord::KeyCategory, {data::Value(category)}}};
}

// The category current when the list opens: the first item's, else "General".
std::string OpeningCategory(data::Database& db)
{
    data::Table<TodoRecord> t(db);
    t.set(TodoRecord::KeyDone);
    if (t.next() == data::kOk && !t.rec.category.empty())
        return t.rec.category.str();
    return pim::kGeneralCategory;
}

}  // namespace

// UpdateTodo

UpdateTodoWindow::UpdateTodoWindow(pim::RecordForm<TodoRecord>& form, const PimWindowServices& services,
                                   QWidget* parent)
    : FormWindow(form, QStringLiteral("UPDATETODO$QUICKWINDOW"), tr("Update To Do Item"),
                 QStringLiteral("UpdateTodo"), services.window.positions, parent),
      todo_(form), clock_(services.clock)
{
    auto* layout = new QFormLayout;
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("todoEdit"));
    LimitCharacters(text_, TodoRecord{}.toDo.kWidth);
    layout->addRow(tr("&To Do:"), text_);
    priority_ = new QSpinBox(this);
    priority_->setObjectName(QStringLiteral("prioritySpin"));
    priority_->setRange(0, 99);  // two digits; the form refuses what lies outside 1 to 10
    layout->addRow(tr("&Priority:"), priority_);
    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("categoryCombo"));
    category_->setEditable(true);
    category_->setInsertPolicy(QComboBox::NoInsert);
    LimitCharacters(category_->lineEdit(), TodoRecord{}.category.kWidth);
    {
        data::Table<data::CategoryRecord> names(services.window.db);
        names.set(data::CategoryRecord::KeyCategory);
        while (names.next() == data::kOk)
            category_->addItem(Text(names.rec.category.str()));
    }
    layout->addRow(tr("&Category:"), category_);
    done_ = new QCheckBox(tr("&Done"), this);
    done_->setObjectName(QStringLiteral("doneCheck"));
    layout->addRow(QString(), done_);
    completionDate_ = new QLabel(this);
    completionDate_->setObjectName(QStringLiteral("completionDateLabel"));
    layout->addRow(tr("Completion Date:"), completionDate_);
    completionTime_ = new QLabel(this);
    completionTime_->setObjectName(QStringLiteral("completionTimeLabel"));
    layout->addRow(tr("Completion Time:"), completionTime_);
    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName(QStringLiteral("notesEdit"));
    notes_->setTabChangesFocus(true);
    LimitCharacters(notes_, TodoRecord{}.notes.kWidth, tr("Notes"));
    layout->addRow(tr("Notes"), notes_);
    fields()->addLayout(layout);
    connect(done_, &QCheckBox::toggled, this, [this](bool checked) {
        if (pim::DoneChecked(todo_.record(), checked, todo_.original().done != 0, clock_))
            showCompletion();
    });
    finishLayout(tr("&Ok"));
}

void UpdateTodoWindow::showCompletion()
{
    completionDate_->setText(ShownDate(todo_.record().completionDate));
    completionTime_->setText(ShownTime(todo_.record().completionTime));
}

void UpdateTodoWindow::showRecord()
{
    const TodoRecord& r = todo_.record();
    text_->setText(Text(r.toDo.str()));
    priority_->setValue(r.priority);
    category_->setEditText(Text(r.category.str()));
    {
        const QSignalBlocker quiet(done_);
        done_->setChecked(r.done != 0);
    }
    notes_->setPlainText(Text(r.notes.str()));
    showCompletion();
}

bool UpdateTodoWindow::takeRecord()
{
    TodoRecord& r = todo_.record();
    r.toDo = text_->text().toStdString();
    r.priority = static_cast<data::Byte>(priority_->value());
    r.category = category_->currentText().toStdString();
    r.notes = notes_->toPlainText().toStdString();
    return true;
}

QWidget* UpdateTodoWindow::fieldWidget(int field) const
{
    switch (field) {
    case pim::TodoPriority: return priority_;
    case pim::TodoCategory: return category_;
    case pim::TodoDone: return done_;
    default: return text_;
    }
}

pim::Response UpdateTodoWindow::Run(const PimWindowServices& services, pim::Request request, std::int64_t& rowid,
                                    const std::string& category, QWidget* parent)
{
    data::Table<TodoRecord> table(services.window.db);
    pim::RecordWarnings warnings(services.window.prompter);
    pim::RecordForm<TodoRecord> form(table, warnings, request, pim::TodoFormRules(category));
    const pim::Response response = RunRecordForm(form, TodoRecord::KeyToDo, rowid, [&](auto& f) {
        return std::make_unique<UpdateTodoWindow>(f, services, parent);
    });
    if (response == pim::Response::Completed)
        rowid = table.rowId();
    return response;
}

// ViewToDo

ViewToDoWindow::ViewToDoWindow(PimWindowServices services, QWidget* parent)
    : QWidget(parent), s_(std::move(services)), category_(OpeningCategory(s_.window.db))
{
    setObjectName(QStringLiteral("VIEWTODO$QUICKWINDOW"));
    setWindowTitle(tr("To Do List - %1").arg(s_.user));
    setWindowIcon(ProgramIcon(QStringLiteral("todo")));
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(TodoSource(s_.window.db), TodoTabs(category_),
                           BrowseList::Add | BrowseList::Edit | BrowseList::Delete, this);
    list_->followToDoChanges();
    list_->setStretchColumn(2);  // "To Do"
    layout->addWidget(list_);

    QPushButton* toggle = list_->addButton(tr("&Toggle Done Status"),
                                           tr("Mark the highlighted item done or not done"),
                                           QStringLiteral("toggleButton"), true);
    connect(toggle, &QPushButton::clicked, this, &ViewToDoWindow::toggleDone);
    pick_ = list_->addButton(tr("P&ick"), tr("Choose the category to show"),
                             QStringLiteral("pickButton"), false);
    pick_->setVisible(false);  // only on the category tab
    connect(pick_, &QPushButton::clicked, this, &ViewToDoWindow::pick);
    connect(list_, &BrowseList::tabChanged, this,
            [this](int index) { pick_->setVisible(index == kCategoryTab); });
    QPushButton* close = list_->addClosingButton(tr("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    connect(list_, &BrowseList::insertRequested, this, [this] { run(pim::Request::Insert, 0); });
    connect(list_, &BrowseList::changeRequested, this, [this](std::int64_t id) { run(pim::Request::Change, id); });
    connect(list_, &BrowseList::deleteRequested, this, [this](std::int64_t id) { run(pim::Request::Delete, id); });
    resize(720, 400);
}

void ViewToDoWindow::run(pim::Request request, std::int64_t rowid)
{
    const pim::Response response = UpdateTodoWindow::Run(s_, request, rowid, category_, this);
    list_->refresh();
    if (response == pim::Response::Completed && request != pim::Request::Delete)
        list_->selectRowId(rowid);
    list_->view()->setFocus();
}

void ViewToDoWindow::toggleDone()
{
    const std::int64_t rowid = list_->selectedRowId();
    if (rowid == 0)
        return;
    data::Table<TodoRecord> table(s_.window.db);
    pim::RecordWarnings warnings(s_.window.prompter);
    pim::ToggleDoneStatus(table, rowid, s_.clock, warnings);
    list_->refresh();  // the item moves in the done orders; the highlight follows it
    list_->view()->setFocus();
}

void ViewToDoWindow::pick()
{
    data::CategoryRecord chosen;
    if (SelectCategoriesWindow::Select(s_.window, chosen, this) == pim::Response::Completed)
        showCategory(chosen.category.str());
    list_->view()->setFocus();
}

void ViewToDoWindow::showCategory(const std::string& category)
{
    category_ = category;
    list_->setTab(kCategoryTab);
    list_->setPrefix({data::Value(category_)});
}

void ViewToDoWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        RestoreWindowPosition(PlacedWindow(this), s_.window.positions, QStringLiteral("ViewToDo"));
    }
    list_->view()->setFocus();
}

void ViewToDoWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowPosition(PlacedWindow(this), s_.window.positions, QStringLiteral("ViewToDo"));
    QWidget::closeEvent(event);
}

}  // namespace hrln::ui
