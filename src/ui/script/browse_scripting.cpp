#include "ui/script/browse_scripting.h"

#include "script/script_file.h"
#include "script/script_jobs.h"
#include "script/script_report.h"
#include "ui/report/report_windows.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/file_dialogs.h"
#include "ui/widgets/progress_window.h"
#include "ui/widgets/stored_values.h"
#include "ui/widgets/window_placement.h"

#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::ScriptingRecord;

const QString kPosition = QStringLiteral("BrowseScripting");

// The script file last chosen, offered again by the next import or export.
QString& ScriptFileName()
{
    static QString name;
    return name;
}

}  // namespace

std::unique_ptr<BrowseSource> ScriptingSource(data::Database& db)
{
    std::vector<BrowseColumn<ScriptingRecord>> columns{
        {BrowseScriptingWindow::tr("Action"), 20, [](const ScriptingRecord& r) { return ShownValue(r.action.str()); }},
        {BrowseScriptingWindow::tr("Details"), 80,
         [](const ScriptingRecord& r) { return QString::fromStdString(script::ScriptItemDetails(r)); }},
    };
    return std::make_unique<TableBrowseSource<ScriptingRecord>>(db, std::move(columns));
}

BrowseScriptingWindow::BrowseScriptingWindow(ScriptWindowServices services, data::Long taskId, QWidget* parent)
    : QDialog(parent), s_(services), taskId_(taskId)
{
    setObjectName(QStringLiteral("BROWSESCRIPTING$QUICKWINDOW"));
    setWindowTitle(tr("Scripting"));
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(ScriptingSource(s_.window.db),
                           {{tr("Sequence"), ScriptingRecord::KeyID, {std::int64_t{taskId}}}},
                           BrowseList::Add | BrowseList::Edit | BrowseList::Delete, this);
    list_->tabs()->hide();  // one order only
    layout->addWidget(list_);
    const std::pair<const char*, QString> tips[] = {
        {"insertButton", tr("Add a script item")},
        {"changeButton", tr("Edit the highlighted script item")},
        {"deleteButton", tr("Delete the highlighted script item")},
    };
    for (const auto& [name, tip] : tips)
        list_->findChild<QPushButton*>(QString::fromLatin1(name))->setToolTip(tip);

    QPushButton* copy = list_->addButton(tr("Cop&y"), tr("Copy the highlighted script item"),
                                         QStringLiteral("copyButton"), true);
    connect(copy, &QPushButton::clicked, this, &BrowseScriptingWindow::copyItem);
    QAction* copyAction = list_->popupMenu()->addAction(tr("Copy"));
    connect(copyAction, &QAction::triggered, this, &BrowseScriptingWindow::copyItem);
    const auto enableCopy = [this, copyAction] { copyAction->setEnabled(list_->model()->rowCount() > 0); };
    connect(list_, &BrowseList::selectionChanged, this, enableCopy);
    connect(list_->model(), &QAbstractItemModel::modelReset, this, enableCopy);
    enableCopy();

    moveButton(script::Move::Up, tr("Move record up one"), QStringLiteral("upButton"),
               QKeySequence(Qt::CTRL | Qt::Key_Up));
    moveButton(script::Move::Top, tr("Move record to the top"), QStringLiteral("topButton"),
               QKeySequence(Qt::CTRL | Qt::Key_Home));
    moveButton(script::Move::Down, tr("Move record down one"), QStringLiteral("downButton"),
               QKeySequence(Qt::CTRL | Qt::Key_Down));
    moveButton(script::Move::Bottom, tr("Move record to the bottom"), QStringLiteral("bottomButton"),
               QKeySequence(Qt::CTRL | Qt::Key_End));

    QPushButton* import = list_->addButton(tr("&Import"), tr("Import script items from a text file"),
                                           QStringLiteral("importButton"), false);
    connect(import, &QPushButton::clicked, this, [this] { exchange(false); });
    QPushButton* exportButton = list_->addButton(
        tr("E&xport"),
        tr("Export script items from a text file - backup and transfer scripts, or use your own editor"),
        QStringLiteral("exportButton"), false);
    connect(exportButton, &QPushButton::clicked, this, [this] { exchange(true); });
    QPushButton* clear = list_->addButton(tr("Clear All"), tr("Clear all script items"),
                                          QStringLiteral("clearAllButton"), false);
    connect(clear, &QPushButton::clicked, this, &BrowseScriptingWindow::clearAll);
    QPushButton* print = list_->addButton(tr("&Print"),
                                          tr("Print all script items for the current task"),
                                          QStringLiteral("printButton"), false);
    print->setEnabled(ProgramCanPrint());
    connect(print, &QPushButton::clicked, this, &BrowseScriptingWindow::print);
    QPushButton* close = list_->addClosingButton(tr("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    connect(list_, &BrowseList::insertRequested, this, [this] { run(pim::Request::Insert, 0); });
    connect(list_, &BrowseList::changeRequested, this, [this](std::int64_t id) { run(pim::Request::Change, id); });
    connect(list_, &BrowseList::deleteRequested, this, [this](std::int64_t id) { run(pim::Request::Delete, id); });
    resize(640, 380);
    RestoreWindowPosition(this, s_.window.positions, kPosition);
    list_->view()->setFocus();
}

QPushButton* BrowseScriptingWindow::moveButton(script::Move how, const QString& tip, const QString& objectName,
                                               const QKeySequence& key)
{
    static const QStyle::StandardPixmap icons[] = {QStyle::SP_ArrowUp, QStyle::SP_ArrowDown, QStyle::SP_MediaSkipBackward,
                                                   QStyle::SP_MediaSkipForward};
    QPushButton* button = list_->addButton(QString(), tip + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                                                          QStringLiteral(")"),
                                           objectName, true);
    button->setIcon(style()->standardIcon(icons[static_cast<int>(how)]));
    button->setAccessibleName(tip);
    connect(button, &QPushButton::clicked, this, [this, how] { moveItem(how); });
    // The list keeps the focus while the user moves an item by keyboard.
    auto* shortcut = new QShortcut(key, this);
    connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    return button;
}

void BrowseScriptingWindow::moveItem(script::Move how)
{
    const std::int64_t rowid = list_->selectedRowId();
    if (rowid == 0)
        return;
    script::MoveScriptItem(s_.window.db, rowid, how, s_.window.prompter);
    list_->refresh();
    list_->selectRowId(rowid);  // the item keeps its row through its new numbers
    list_->view()->setFocus();
}

void BrowseScriptingWindow::copyItem()
{
    const int row = list_->selectedRow();
    auto& source = static_cast<TableBrowseSource<ScriptingRecord>&>(list_->model()->source());
    if (row < 0 || !list_->model()->readRow(row))
        return;
    data::Table<ScriptingRecord> copy(s_.window.db);
    copy.rec = source.table().rec;
    pim::RecordWarnings warnings(s_.window.prompter);
    const int err = script::AddItemWithNextSequence(
        copy, [&warnings] { return warnings.retry("Scripting", data::kDuplicateKey); });
    if (err != data::kOk)
        warnings.addError("Scripting", err);
    list_->refresh();
    if (err == data::kOk)
        list_->selectRowId(copy.rowId());
    list_->view()->setFocus();
}

void BrowseScriptingWindow::clearAll()
{
    const platform::MessageButton answer =
        s_.window.prompter.ask({"Delete all script items for the current task?", "Clear All",
                                platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                                platform::MessageButton::No});
    if (answer != platform::MessageButton::Yes)
        return;
    pim::RecordWarnings warnings(s_.window.prompter);
    script::DeleteScriptJob job(s_.window.db, taskId_, warnings);
    ProgressWindow::Run(job, script::DeleteScriptJob::kBatch, QStringLiteral("DELETESCRIPT$PROGRESSWINDOW"), this);
    list_->refresh();
    list_->view()->setFocus();
}

void BrowseScriptingWindow::exchange(bool exporting)
{
    FileRequest request;
    request.kind = exporting ? FileRequest::Kind::Save : FileRequest::Kind::Open;
    request.title = exporting ? tr("Export to File") : tr("Choose File to Import");
    request.filter = tr("Export File (*.hsx);;Text (*.txt);;All (*)");
    request.suggested = ScriptFileName();
    request.defaultSuffix = QStringLiteral("hsx");
    request.appends = exporting;  // an export adds its items at the end of the file
    QString chosen = ChooseFile(this, request);
    if (chosen.isEmpty())
        return;
    // Whatever dialog answered: a name without an ending is a script file.
    if (exporting && QFileInfo(chosen).suffix().isEmpty() && !QFileInfo(chosen).exists())
        chosen += QStringLiteral(".hsx");
    ScriptFileName() = chosen.left(255);
    const std::string path = chosen.toStdString();
    if (exporting) {
        script::ExportScriptJob job(s_.window.db, taskId_, path, s_.window.prompter);
        ProgressWindow::Run(job, script::ExportScriptJob::kBatch, QStringLiteral("EXPORTSCRIPT$PROGRESSWINDOW"), this);
    } else {
        script::ImportScriptJob job(s_.window.db, taskId_, path, s_.window.prompter);
        ProgressWindow::Run(job, script::ImportScriptJob::kBatch, QStringLiteral("IMPORTSCRIPT$PROGRESSWINDOW"), this);
        // Lines not taken are said once, with their numbers, after the run.
        if (!job.skipped().empty())
            s_.window.prompter.ask({job.summaryText(), "Import Script Items", platform::MessageIcon::Information});
    }
    list_->refresh();
    list_->view()->setFocus();
}

void BrowseScriptingWindow::print()
{
    const std::unique_ptr<report::Source> source = script::MakeScriptReport(s_.window.db, taskId_);
    PreviewWithProgramPrinter(*source, this);
    list_->view()->setFocus();
}

void BrowseScriptingWindow::run(pim::Request request, std::int64_t rowid)
{
    const pim::Response response = UpdateScriptingWindow::Run(s_, request, taskId_, rowid, this);
    list_->refresh();
    if (response == pim::Response::Completed && request != pim::Request::Delete)
        list_->selectRowId(rowid);
    list_->view()->setFocus();
}

void BrowseScriptingWindow::done(int result)
{
    SaveWindowPosition(this, s_.window.positions, kPosition);
    QDialog::done(result);
}

void DeleteScriptOfUnkeptTask(const WindowServices& services, data::Long id, QWidget* parent)
{
    pim::RecordWarnings warnings(services.prompter);
    script::DeleteScriptJob job(services.db, id, warnings);
    ProgressWindow::Run(job, script::DeleteScriptJob::kBatch, QStringLiteral("DELETESCRIPT$PROGRESSWINDOW"), parent);
}

}  // namespace hrln::ui
