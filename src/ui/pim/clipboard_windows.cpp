#include "ui/pim/clipboard_windows.h"

#include "common/text.h"
#include "pim/clipboard_monitor.h"
#include "pim/clipboard_saver.h"
#include "platform/clipboard.h"
#include "ui/frame/icons.h"
#include "ui/widgets/typed_entry.h"
#include "ui/widgets/window_placement.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::ClipboardRecord;

QString Text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::unique_ptr<BrowseSource> ClipboardSource(data::Database& db)
{
    std::vector<BrowseColumn<ClipboardRecord>> columns{
        {BrowseClipboardWindow::tr("Date"), 10, [](const ClipboardRecord& r) { return ShownDate(r.clipDate); }},
        {BrowseClipboardWindow::tr("Time"), 11, [](const ClipboardRecord& r) { return ShownTime(r.clipTime, true); }},
        {BrowseClipboardWindow::tr("Contents"), 60,
         [](const ClipboardRecord& r) { return Text(pim::ClipListText(r.clipContents.view())); }},
    };
    return std::make_unique<TableBrowseSource<ClipboardRecord>>(db, std::move(columns));
}

}  // namespace

// UpdateClipboard

UpdateClipboardWindow::UpdateClipboardWindow(pim::RecordForm<ClipboardRecord>& form, data::ProfileFile& positions,
                                             QWidget* parent)
    : FormWindow(form, QStringLiteral("UPDATECLIPBOARD$QUICKWINDOW"), tr("Update the Clipboard File"),
                 QStringLiteral("UpdateClipboard"), positions, parent),
      clip_(form)
{
    auto* layout = new QFormLayout;
    user_ = new QLabel(this);
    user_->setObjectName(QStringLiteral("userLabel"));
    layout->addRow(tr("User:"), user_);
    // Read-only fields rather than labels: the keys reach them, and their
    // text can be selected and copied.
    date_ = new QLineEdit(this);
    date_->setObjectName(QStringLiteral("clipDateEdit"));
    date_->setReadOnly(true);
    layout->addRow(tr("&Clip Date:"), date_);
    time_ = new QLineEdit(this);
    time_->setObjectName(QStringLiteral("clipTimeEdit"));
    time_->setReadOnly(true);
    layout->addRow(tr("Clip &Time:"), time_);
    contents_ = new QPlainTextEdit(this);
    contents_->setObjectName(QStringLiteral("contentsEdit"));
    contents_->setTabChangesFocus(true);
    layout->addRow(tr("Contents:"), contents_);
    fields()->addLayout(layout);
    finishLayout(QStringLiteral("OK"));
}

void UpdateClipboardWindow::showRecord()
{
    const ClipboardRecord& r = clip_.record();
    user_->setText(Text(r.user.view()));
    date_->setText(ShownDate(r.clipDate));
    time_->setText(ShownTime(r.clipTime, true));
    contents_->setPlainText(Text(r.clipContents.view()));
}

bool UpdateClipboardWindow::takeRecord()
{
    ClipboardRecord& r = clip_.record();
    r.clipContents = contents_->toPlainText().toStdString();
    // The key follows the text, as the monitor builds it.
    r.clipHashKey = pim::ClipHashKey(r.clipContents.view());
    return true;
}

QWidget* UpdateClipboardWindow::fieldWidget(int) const
{
    return contents_;
}

pim::Response UpdateClipboardWindow::Run(const WindowServices& services, pim::Request request, std::int64_t rowid,
                                         QWidget* parent)
{
    data::Table<ClipboardRecord> table(services.db);
    pim::RecordWarnings warnings(services.prompter);
    pim::FormRules<ClipboardRecord> rules;
    rules.keyNames = {{ClipboardRecord::KeyClipHash, "By Content", 4}};
    pim::RecordForm<ClipboardRecord> form(table, warnings, request, std::move(rules));
    return RunRecordForm(form, ClipboardRecord::KeyClipDate, rowid, [&](auto& f) {
        return std::make_unique<UpdateClipboardWindow>(f, services.positions, parent);
    });
}

// BrowseClipboard

BrowseClipboardWindow::BrowseClipboardWindow(WindowServices services, platform::Clipboard& clipboard,
                                             pim::ClipboardMonitor* monitor, QWidget* parent)
    : QWidget(parent), s_(services), clipboard_(clipboard), monitor_(monitor)
{
    setObjectName(QStringLiteral("BROWSECLIPBOARD$QUICKWINDOW"));
    setWindowTitle(tr("Browse Clipboard Saver"));
    setWindowIcon(ProgramIcon(QStringLiteral("nextpage")));
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(ClipboardSource(s_.db),
                           {{tr("By Date"), ClipboardRecord::KeyClipDate},
                            {tr("By Content"), ClipboardRecord::KeyClipHash}},
                           BrowseList::Delete, this);
    layout->addWidget(list_);

    QPushButton* copy = list_->addButton(tr("&Copy to Clipboard"),
                                         tr("Copy the highlighted record to the clipboard"),
                                         QStringLiteral("copyButton"), true, 0);
    connect(copy, &QPushButton::clicked, this, &BrowseClipboardWindow::copyToClipboard);
    connect(list_, &BrowseList::rowActivated, this, &BrowseClipboardWindow::copyToClipboard);
    if (auto* del = list_->findChild<QPushButton*>(QStringLiteral("deleteButton")))
        del->setToolTip(tr("Delete the highlighted record from the database"));
    connect(list_, &BrowseList::deleteRequested, this, [this](std::int64_t rowid) {
        UpdateClipboardWindow::Run(s_, pim::Request::Delete, rowid, this);
        list_->refresh();
        list_->view()->setFocus();
    });
    QPushButton* clear = list_->addButton(tr("Clear &All"),
                                          tr("Delete every saved text, after asking"),
                                          QStringLiteral("clearAllButton"), true);
    connect(clear, &QPushButton::clicked, this, &BrowseClipboardWindow::clearAll);
    QPushButton* close = list_->addClosingButton(tr("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    resize(640, 380);
}

void BrowseClipboardWindow::copyToClipboard()
{
    const int row = list_->selectedRow();
    if (row < 0 || !list_->model()->readRow(row))
        return;
    auto& source = static_cast<TableBrowseSource<ClipboardRecord>&>(list_->model()->source());
    const std::string text(text::Clip(source.table().rec.clipContents.view()));
    clipboard_.setText(text);
    if (monitor_ != nullptr)
        monitor_->placed(text);
}

void BrowseClipboardWindow::clearAll()
{
    pim::ClearClipboardSaver(s_.db, s_.prompter);
    list_->refresh();
    list_->view()->setFocus();
}

void BrowseClipboardWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        RestoreWindowPosition(PlacedWindow(this), s_.positions, QStringLiteral("BrowseClipboard"));
    }
    list_->view()->setFocus();
}

void BrowseClipboardWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowPosition(PlacedWindow(this), s_.positions, QStringLiteral("BrowseClipboard"));
    QWidget::closeEvent(event);
}

}  // namespace hrln::ui
