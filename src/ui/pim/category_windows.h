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

// What sets apart the windows of one list of names: the task categories or
// the contact categories. The windows themselves are the same.
struct NameListKind {
    QString procedure;    // "Categories": BROWSECATEGORIES$QUICKWINDOW, "BrowseCategories" in POSITION.INI
    QString browseTitle;  // "Categories"
    QString updateTitle;  // "Update Category"
    QString selectTitle;  // "Select a Category"
    QString column;       // "Category"
    QString fieldLabel;   // "&Category:"
    QString fieldObject;  // "categoryEdit"
    QString noun;         // "category", in tips
    int key = 0;          // the key the lists show
    std::function<std::unique_ptr<BrowseSource>(data::Database&)> source;
    // Runs the form on the record with row id `rowid` (none for an insert, which
    // starts with `name`); the response, and in `rowid` the record's row id.
    std::function<pim::Response(const WindowServices&, pim::Request, std::int64_t& rowid, const std::string& name,
                                QWidget* parent)>
        run;
    // The name in the source's buffer after a row was read.
    std::function<std::string(BrowseSource&)> nameOf;
};

const NameListKind& TaskCategoryList();
const NameListKind& ContactCategoryList();

// The list of a category browser or selector: "Category" in KeyCategory order.
std::unique_ptr<BrowseSource> CategorySource(data::Database& db);

// UpdateCategories (and UpdateContactCategories): adds, renames or deletes one name.
class UpdateCategoriesWindow : public FormWindow {
    Q_OBJECT

public:
    UpdateCategoriesWindow(pim::FormControl& form, FixedText<20>& name, const NameListKind& kind,
                           data::ProfileFile& positions, QWidget* parent = nullptr);

    // Runs the request on the category with row id `rowid` (none for an insert);
    // the response, and in `rowid` the record's row id when one stands.
    static pim::Response Run(const WindowServices& services, pim::Request request, std::int64_t& rowid,
                             QWidget* parent);

protected:
    void showRecord() override;
    bool takeRecord() override;
    QWidget* fieldWidget(int field) const override;

private:
    FixedText<20>& name_;
    QLineEdit* edit_ = nullptr;
};

// UpdateContactCategories: the same form over the contact categories; a new
// one may start with a name typed elsewhere.
struct UpdateContactCategories {
    static pim::Response Run(const WindowServices& services, pim::Request request, std::int64_t& rowid,
                             QWidget* parent, const std::string& name = {});
};

// BrowseCategories: the names, with their form behind "&Add", "&Edit" and "&Delete".
class BrowseCategoriesWindow : public QWidget {
    Q_OBJECT

public:
    // `openSchedule` shows the schedule of a category over this window (none: " &Schedule" stays greyed).
    explicit BrowseCategoriesWindow(WindowServices services,
                                    std::function<void(const std::string& category, QWidget* over)> openSchedule = {},
                                    QWidget* parent = nullptr);

    BrowseList* list() const { return list_; }

protected:
    // A list without the " &Schedule" button when `openSchedule` is null and `kind` is not the task categories.
    BrowseCategoriesWindow(WindowServices services, const NameListKind& kind,
                           std::function<void(const std::string&, QWidget*)> openSchedule, QWidget* parent);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void run(pim::Request request, std::int64_t rowid);

    WindowServices s_;
    const NameListKind& kind_;
    std::function<void(const std::string&, QWidget*)> openSchedule_;
    BrowseList* list_ = nullptr;
    bool placed_ = false;
};

// BrowseContactCategories: the contact categories, maintained like the categories.
class BrowseContactCategoriesWindow : public BrowseCategoriesWindow {
    Q_OBJECT

public:
    explicit BrowseContactCategoriesWindow(WindowServices services, QWidget* parent = nullptr);
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
    const std::string& chosen() const { return chosen_; }

    void accept() override;

protected:
    SelectCategoriesWindow(WindowServices services, const NameListKind& kind, QWidget* parent);
    void done(int result) override;

private:
    WindowServices s_;
    const NameListKind& kind_;
    BrowseList* list_ = nullptr;
    std::string chosen_;
};

// SelectContactCategories: lets another window pick a contact category.
class SelectContactCategoriesWindow : public SelectCategoriesWindow {
    Q_OBJECT

public:
    explicit SelectContactCategoriesWindow(WindowServices services, QWidget* parent = nullptr);

    static pim::Response Select(const WindowServices& services, data::ContactCategoryRecord& chosen,
                                QWidget* parent);
};

}  // namespace hrln::ui
