#include "ui/exchange/field_chooser_window.h"

#include "ui/widgets/accessible_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

enum Column { FieldColumn, NameColumn, PictureColumn, TypeColumn };

QStringList PicturesFor(exchange::FieldKind kind)
{
    switch (kind) {
    case exchange::FieldKind::Date: return {QStringLiteral("d17"), QStringLiteral("d3"), QStringLiteral("D4"), {}};
    case exchange::FieldKind::Time: return {QStringLiteral("t7"), QStringLiteral("T3"), {}};
    case exchange::FieldKind::Number:
    case exchange::FieldKind::Text: break;
    }
    return {QString()};
}

QString LayoutPath(exchange::ExchangeTable table, const QString& folder)
{
    const QString name = QString::fromUtf8(exchange::TableTitle(table)).remove(QLatin1Char(' ')).toLower();
    return QDir(folder).filePath(name + QStringLiteral(".layout"));
}

}  // namespace

FieldChooserWindow::FieldChooserWindow(exchange::ExchangeTable table, const exchange::FieldLayout& start,
                                       bool forImport, QWidget* parent)
    : QDialog(parent), table_(table)
{
    const QString title = QString::fromUtf8(exchange::TableTitle(table));
    setObjectName(QStringLiteral("%1%2$FIELDWINDOW")
                      .arg(forImport ? QStringLiteral("IMPORT") : QStringLiteral("EXPORT"),
                           title.toUpper().remove(QLatin1Char(' '))));
    // The table as the user reads it.
    const QString shown = table == exchange::ExchangeTable::Schedule ? tr("Schedule")
                          : table == exchange::ExchangeTable::Contacts ? tr("Contacts")
                                                                       : tr("To Do");
    setWindowTitle(forImport ? tr("Import %1 Fields").arg(shown) : tr("Export %1 Fields").arg(shown));

    available_ = new QListWidget(this);
    available_->setObjectName(QStringLiteral("availableList"));
    available_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    chosen_ = new QTableWidget(0, 4, this);
    chosen_->setObjectName(QStringLiteral("chosenTable"));
    chosen_->setHorizontalHeaderLabels(
        {tr("Field"), tr("Name"), tr("Picture"), tr("Type")});
    chosen_->setSelectionBehavior(QAbstractItemView::SelectRows);
    chosen_->horizontalHeader()->setStretchLastSection(true);
    chosen_->verticalHeader()->hide();

    const auto button = [this](const QString& text, const QString& name, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(button(tr("&Add >"), QStringLiteral("addButton"), [this] { addSelected(); }));
    buttons->addWidget(button(tr("Add A&ll >>"), QStringLiteral("addAllButton"), [this] { addAll(); }));
    buttons->addWidget(
        button(tr("< &Remove"), QStringLiteral("removeButton"), [this] { removeSelected(); }));
    buttons->addWidget(button(tr("Move &Up"), QStringLiteral("upButton"), [this] { moveSelected(-1); }));
    buttons->addWidget(
        button(tr("Move &Down"), QStringLiteral("downButton"), [this] { moveSelected(1); }));
    buttons->addStretch();

    header_ = new QCheckBox(forImport ? tr("The first line &names the columns")
                                      : tr("Write a first line with the field &names"),
                            this);
    header_->setObjectName(QStringLiteral("headerCheck"));
    header_->setChecked(start.header);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    // The labels' keys take the focus to their lists.
    auto* availableLabel = new QLabel(tr("A&vailable fields:"), this);
    availableLabel->setBuddy(available_);
    auto* chosenLabel = new QLabel(tr("C&hosen fields, in file order:"), this);
    chosenLabel->setBuddy(chosen_);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(chosenLabel, 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(chosen_, 1, 2);
    grid->addWidget(header_, 2, 0, 1, 3);
    grid->addWidget(new QLabel(tr("The file is UTF-8 text, one record per line ended by CR LF."), this),
                    3, 0, 1, 3);
    grid->addWidget(box, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    resize(720, 420);
    NameControls(this);

    for (const exchange::ExchangeField& f : start.fields)
        appendField(f);
    refreshAvailable();
}

void FieldChooserWindow::appendField(const exchange::ExchangeField& field)
{
    const int row = chosen_->rowCount();
    chosen_->insertRow(row);
    auto* name = new QTableWidgetItem(QString::fromStdString(field.field));
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    chosen_->setItem(row, FieldColumn, name);
    chosen_->setItem(row, NameColumn, new QTableWidgetItem(QString::fromStdString(field.name)));
    auto* picture = new QComboBox(chosen_);
    picture->addItems(PicturesFor(exchange::KindOf(table_, field.field).value_or(exchange::FieldKind::Text)));
    picture->setCurrentText(QString::fromStdString(field.picture));
    chosen_->setCellWidget(row, PictureColumn, picture);
    auto* type = new QComboBox(chosen_);
    type->addItems({QStringLiteral("Text"), QStringLiteral("Number")});
    type->setCurrentIndex(field.type == exchange::FieldType::Number ? 1 : 0);
    chosen_->setCellWidget(row, TypeColumn, type);
}

exchange::FieldLayout FieldChooserWindow::layout() const
{
    exchange::FieldLayout out;
    out.header = header_->isChecked();
    for (int row = 0; row < chosen_->rowCount(); ++row) {
        exchange::ExchangeField f;
        f.field = chosen_->item(row, FieldColumn)->text().toStdString();
        f.name = chosen_->item(row, NameColumn)->text().toStdString();
        if (f.name.empty())
            f.name = f.field;
        f.picture = static_cast<QComboBox*>(chosen_->cellWidget(row, PictureColumn))->currentText().toStdString();
        f.type = static_cast<QComboBox*>(chosen_->cellWidget(row, TypeColumn))->currentIndex() == 1
                     ? exchange::FieldType::Number
                     : exchange::FieldType::Text;
        out.fields.push_back(std::move(f));
    }
    return out;
}

void FieldChooserWindow::refreshAvailable()
{
    available_->clear();
    QStringList taken;
    for (int row = 0; row < chosen_->rowCount(); ++row)
        taken << chosen_->item(row, FieldColumn)->text();
    for (const exchange::AvailableField& f : exchange::AvailableFields(table_))
        if (!taken.contains(QString::fromStdString(f.field)))
            available_->addItem(QString::fromStdString(f.field));
    if (available_->count() > 0)
        available_->setCurrentRow(0);
}

void FieldChooserWindow::addSelected()
{
    const QList<QListWidgetItem*> items = available_->selectedItems();
    for (const exchange::AvailableField& f : exchange::AvailableFields(table_))
        for (const QListWidgetItem* item : items)
            if (item->text() == QString::fromStdString(f.field))
                appendField(exchange::DefaultField(f));
    refreshAvailable();
}

void FieldChooserWindow::addAll()
{
    available_->selectAll();
    addSelected();
}

void FieldChooserWindow::removeSelected()
{
    const int row = chosen_->currentRow();
    if (row < 0)
        return;
    chosen_->removeRow(row);
    refreshAvailable();
    chosen_->setCurrentCell(std::min(row, chosen_->rowCount() - 1), FieldColumn);
}

void FieldChooserWindow::moveSelected(int by)
{
    const int row = chosen_->currentRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= chosen_->rowCount())
        return;
    exchange::FieldLayout now = layout();
    std::swap(now.fields[static_cast<std::size_t>(row)], now.fields[static_cast<std::size_t>(target)]);
    chosen_->setRowCount(0);
    for (const exchange::ExchangeField& f : now.fields)
        appendField(f);
    chosen_->setCurrentCell(target, FieldColumn);
}

exchange::FieldLayout SavedLayout(exchange::ExchangeTable table, const QString& folder)
{
    QFile file(LayoutPath(table, folder));
    if (!file.open(QIODevice::ReadOnly))
        return exchange::DefaultLayout(table);
    const QByteArray text = file.readAll();
    exchange::LayoutResult read = exchange::ReadLayout(table, std::string_view(text.constData(), text.size()));
    return read.error.empty() ? std::move(read.layout) : exchange::DefaultLayout(table);
}

void SaveLayout(exchange::ExchangeTable table, const exchange::FieldLayout& layout, const QString& folder)
{
    QFile file(LayoutPath(table, folder));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray::fromStdString(exchange::WriteLayout(layout)));
}

}  // namespace hrln::ui
