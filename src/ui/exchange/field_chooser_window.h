#pragma once

#include "exchange/field_layout.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QTableWidget;

namespace hrln::ui {

// Chooses the fields of an exchange file: the table's fields on the left, the
// chosen ones in file order on the right, each with its column name, picture
// and type, and whether a header line names the columns.
class FieldChooserWindow : public QDialog {
    Q_OBJECT

public:
    FieldChooserWindow(exchange::ExchangeTable table, const exchange::FieldLayout& start, bool forImport,
                       QWidget* parent = nullptr);

    exchange::FieldLayout layout() const;

    // The buttons' work, also for the keyboard.
    void addSelected();
    void addAll();
    void removeSelected();
    void moveSelected(int by);

private:
    void appendField(const exchange::ExchangeField& field);
    void refreshAvailable();

    exchange::ExchangeTable table_;
    QListWidget* available_ = nullptr;
    QTableWidget* chosen_ = nullptr;
    QCheckBox* header_ = nullptr;
};

// The layout last used for `table`, kept in the data folder; the whole table
// when none was kept or the kept one no longer fits.
exchange::FieldLayout SavedLayout(exchange::ExchangeTable table, const QString& folder);
void SaveLayout(exchange::ExchangeTable table, const exchange::FieldLayout& layout, const QString& folder);

}  // namespace hrln::ui
