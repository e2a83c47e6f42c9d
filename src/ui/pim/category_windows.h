#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "pim/record_warnings.h"
#include "ui/widgets/browse_list.h"
#include "ui/widgets/form_window.h"
#include "ui/widgets/window_services.h"

#include <QDialog>
#include <functional>
#include <string>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace hrln::ui {

// The list of a category browser or selector: "Category" in KeyCategory order.
std::unique_ptr<BrowseSource> CategorySource(data::Database& db);

// UpdateCategories: adds, renames or deletes one category.
class UpdateCategoriesWindow : public FormWindow {
    Q_OBJECT

public:
    UpdateCategoriesWindow(pim::FormControl& form, data::Table<data::CategoryRecord>& table,
                           data::ProfileFile& positions, QWidget* parent = nullptr);

    // Runs the request on the record with row id `rowid` (none for an insert);
    // the response, and in `rowid` the record's row id when one stands.
    static pim::Response Run(const WindowServices& services, pim::Request request, std::int64_t& rowid,
                             QWidget* parent);

protected:
    void showRecord() override;
    bool takeRecord() override;
    QWidget* fieldWidget(int field) const override;

private:
    data::Table<data::CategoryRecord>& table_;
    QLineEdit* category_ = nullptr;
};

// BrowseCategories: the categories, with their form behind "&Add", "&Edit" and "&Delete".
class BrowseCategoriesWindow : public QWidget {
    Q_OBJECT

public:
    // `openSchedule` shows the schedule of a category over this window (none: " &Schedule" stays greyed).
    explicit BrowseCategoriesWindow(WindowServices services,
                                    std::function<void(const std::string& category, QWidget* over)> openSchedule = {},
                                    QWidget* parent = nullptr);

    BrowseList* list() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void run(pim::Request request, std::int64_t rowid);

    WindowServices s_;
    std::function<void(const std::string&, QWidget*)> openSchedule_;
    BrowseList* list_ = nullptr;
    bool placed_ = false;
};

// SelectCategories: lets another window pick a category.
class SelectCategoriesWindow : public QDialog {
    Q_OBJECT

public:
    explicit SelectCategoriesWindow(WindowServices services, QWidget* parent = nullptr);

    // "&Select" fills `chosen` and answers Completed; "Cl&ose" leaves it as it
    // was and answers Cancelled.
    static pim::Response Select(const WindowServices& services, data::CategoryRecord& chosen, QWidget* parent);

    BrowseList* list() const { return list_; }
    const data::CategoryRecord& chosen() const { return chosen_; }

    void accept() override;

protected:
    void done(int result) override;

private:
    WindowServices s_;
    BrowseList* list_ = nullptr;
    data::CategoryRecord chosen_;
};

}  // namespace hrln::ui
