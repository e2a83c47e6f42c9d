#include "ui/report/report_windows.h"

#include "data/records.h"
#include "data/table.h"
#include "report/page_layout.h"
#include "ui/widgets/accessible_names.h"
#include "ui/widgets/text_limit.h"
#include "ui/widgets/window_placement.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

QDate ToQDate(Date d)
{
    const YearMonthDay ymd = SplitDate(d);
    return QDate(ymd.year, ymd.month, ymd.day);
}

Date FromQDate(const QDate& d)
{
    return MakeDate(d.month(), d.day(), d.year());
}

template <class R>
QStringList Names(data::Database& db, int key, FixedText<20> R::*field)
{
    QStringList out;
    data::Table<R> table(db);
    table.set(key);
    while (table.next() == data::kOk)
        out << QString::fromStdString((table.rec.*field).str());
    return out;
}

}  // namespace

ReportOptionsWindow::ReportOptionsWindow(WindowServices services, scheduler::ReportKind kind, Date today,
                                         QWidget* parent)
    : QDialog(parent), s_(services), kind_(kind)
{
    const scheduler::ReportEntry& entry = scheduler::ReportOf(kind);
    const scheduler::ReportChoices& c = entry.choices;
    setObjectName(QStringLiteral("REPORT$OPTIONSWINDOW"));
    setWindowTitle(tr("Report Options"));
    auto* form = new QFormLayout;
    if (c.dates) {
        allDates_ = new QCheckBox(tr("&All dates"), this);
        allDates_->setObjectName(QStringLiteral("allDatesCheck"));
        allDates_->setChecked(true);
        from_ = new QDateEdit(ToQDate(today), this);
        from_->setObjectName(QStringLiteral("fromDateEdit"));
        from_->setCalendarPopup(true);
        to_ = new QDateEdit(ToQDate(today + 30), this);
        to_->setObjectName(QStringLiteral("toDateEdit"));
        to_->setCalendarPopup(true);
        for (QDateEdit* e : {from_, to_}) {
            e->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            e->setDateRange(QDate(kFirstYear, 1, 1), QDate(kLastYear, 12, 31));
            e->setEnabled(false);
            connect(allDates_, &QCheckBox::toggled, e, [e](bool all) { e->setEnabled(!all); });
        }
        form->addRow(QString(), allDates_);
        form->addRow(tr("&From:"), from_);
        form->addRow(tr("&To:"), to_);
    }
    if (c.category || c.contactCategory) {
        category_ = new QComboBox(this);
        category_->setObjectName(QStringLiteral("categoryCombo"));
        category_->setEditable(true);
        category_->setInsertPolicy(QComboBox::NoInsert);
        LimitCharacters(category_->lineEdit(), 20);
        if (!c.categoryRequired)
            category_->addItem(QString());  // all categories
        category_->addItems(c.contactCategory
                                ? Names(s_.db, data::ContactCategoryRecord::KeyContactCategories,
                                        &data::ContactCategoryRecord::contactCategory)
                                : Names(s_.db, data::CategoryRecord::KeyCategory, &data::CategoryRecord::category));
        category_->setToolTip(c.categoryRequired ? tr("The category to print")
                                                 : tr("Leave blank for every category"));
        form->addRow(tr("&Category:"), category_);
    }
    if (c.history) {
        history_ = new QCheckBox(tr("Include &history entries"), this);
        history_->setObjectName(QStringLiteral("historyCheck"));
        form->addRow(QString(), history_);
    }
    if (c.disabled) {
        disabled_ = new QCheckBox(tr("Include &disabled tasks"), this);
        disabled_->setObjectName(QStringLiteral("disabledCheck"));
        form->addRow(QString(), disabled_);
    }
    if (c.done) {
        done_ = new QCheckBox(tr("Include d&one items"), this);
        done_->setObjectName(QStringLiteral("doneCheck"));
        done_->setChecked(true);
        form->addRow(QString(), done_);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* preview = buttons->addButton(tr("&Preview"), QDialogButtonBox::AcceptRole);
    preview->setObjectName(QStringLiteral("previewButton"));
    preview->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    NameControls(this);
    ResizeWithin(this, sizeHint());
}

scheduler::ReportRequest ReportOptionsWindow::request() const
{
    scheduler::ReportRequest r;
    if (allDates_ != nullptr && !allDates_->isChecked()) {
        r.from = FromQDate(from_->date());
        r.to = FromQDate(to_->date());
    }
    if (category_ != nullptr)
        r.category = category_->currentText().trimmed().toStdString();
    r.includeHistory = history_ != nullptr && history_->isChecked();
    r.includeDisabled = disabled_ != nullptr && disabled_->isChecked();
    r.includeDone = done_ == nullptr || done_->isChecked();
    return r;
}

void ReportOptionsWindow::accept()
{
    const scheduler::ReportRequest r = request();
    if (r.from != 0 && r.to < r.from) {
        s_.prompter.ask({"The last day comes before the first day.", "Report Options",
                         platform::MessageIcon::Exclamation});
        to_->setFocus();
        return;
    }
    if (scheduler::ReportOf(kind_).choices.categoryRequired && r.category.empty()) {
        s_.prompter.ask({"Choose the category to print.", "Report Options", platform::MessageIcon::Exclamation});
        category_->setFocus();
        return;
    }
    QDialog::accept();
}

report::Heading ReportHeading(const platform::Clock& clock, const std::string& userName)
{
    const platform::DateTime now = clock.now();
    return {userName, FormatD4(now.date) + " " + FormatT3(now.time)};
}

bool PrintReport(report::Source& source, const report::Heading& heading, QPrinter& printer)
{
    int from = 0;
    int to = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    }
    return report::RenderReport(source, heading, printer, from, to);
}

void OpenReport(const ReportServices& services, scheduler::ReportKind kind, QWidget* parent)
{
    ReportOptionsWindow options(services.window, kind, services.clock.today(), parent);
    if (options.exec() != QDialog::Accepted)
        return;
    const std::unique_ptr<report::Source> source =
        scheduler::MakeReport(services.window.db, kind, options.request());
    PreviewReport({services.clock, services.userName, services.printer}, *source, parent);
}

void PreviewReport(const PrintServices& services, report::Source& source, QWidget* parent)
{
    const report::Heading heading = ReportHeading(services.clock, services.userName);
    services.printer.setDocName(QString::fromStdString(source.name()));
    QPrintPreviewDialog preview(&services.printer, parent);
    preview.setObjectName(QStringLiteral("REPORT$PREVIEWWINDOW"));
    preview.setWindowTitle(QString::fromStdString(source.name()));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* printer) { PrintReport(source, heading, *printer); });
    // The toolbar's buttons take no focus: Ctrl+P prints from the keyboard.
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview.findChildren<QAction*>())
        if (action->text() == print)
            action->setShortcut(QKeySequence::Print);
    preview.resize(900, 700);
    preview.exec();
}

namespace {

std::function<PrintServices()>& ProgramPrinting()
{
    static std::function<PrintServices()> printing;
    return printing;
}

}  // namespace

void SetProgramPrinting(std::function<PrintServices()> printing)
{
    ProgramPrinting() = std::move(printing);
}

bool ProgramCanPrint()
{
    return static_cast<bool>(ProgramPrinting());
}

void PreviewWithProgramPrinter(report::Source& source, QWidget* parent)
{
    if (ProgramCanPrint())
        PreviewReport(ProgramPrinting()(), source, parent);
}

}  // namespace hrln::ui
