#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "ui/widgets/browse_list.h"
#include "ui/widgets/form_window.h"
#include "ui/widgets/window_services.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace hrln::platform {
class Clipboard;
}

namespace hrln::ui {

// The contact list: names, addresses and phones, in the order of its tab.
std::unique_ptr<BrowseSource> ContactSource(data::Database& db);

// UpdateContacts: adds, changes or deletes one contact, with the tasks linked to it.
class UpdateContactsWindow : public FormWindow {
    Q_OBJECT

public:
    UpdateContactsWindow(pim::RecordForm<data::ContactRecord>& form, const WindowServices& services,
                         QWidget* parent = nullptr);

    // Runs the request on the contact with row id `rowid` (none for an insert;
    // with `copy`, an insert prefilled from that contact); the response, and in
    // `rowid` the contact's row id.
    static pim::Response Run(const WindowServices& services, pim::Request request, std::int64_t& rowid, bool copy,
                             QWidget* parent);

    BrowseList* relatedTasks() const { return related_; }

protected:
    void showRecord() override;
    bool takeRecord() override;
    QWidget* fieldWidget(int field) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillCategories();
    // The typed contact category is accepted: known, or added through its
    // form. False, with the focus back on the field, when it is not.
    bool acceptCategory();
    void runLink(pim::Request request, std::int64_t rowid);

    pim::RecordForm<data::ContactRecord>& contact_;
    WindowServices s_;
    QLineEdit* lastName_ = nullptr;
    QLineEdit* firstName_ = nullptr;
    QComboBox* category_ = nullptr;
    QLineEdit* address1_ = nullptr;
    QLineEdit* address2_ = nullptr;
    QLineEdit* address3_ = nullptr;
    QLineEdit* postalCode_ = nullptr;
    QLineEdit* workPhone_ = nullptr;
    QLineEdit* homePhone_ = nullptr;
    QLineEdit* fax_ = nullptr;
    QLineEdit* otherPhone_ = nullptr;
    QLineEdit* email_ = nullptr;
    QLineEdit* webSite_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    BrowseList* related_ = nullptr;
    bool asking_ = false;  // the category question is open
};

// BrowseContacts: the contacts in seven orders, the last narrowed to one contact category.
class BrowseContactsWindow : public QWidget {
    Q_OBJECT

public:
    // `clipboard` (may be null: "&Copy to Clipboard" stays greyed) takes the copied contact.
    BrowseContactsWindow(WindowServices services, platform::Clipboard* clipboard, QWidget* parent = nullptr);

    BrowseList* list() const { return list_; }
    // The contact category the "Category" tab shows.
    const std::string& category() const { return category_; }

    static constexpr int kCategoryTab = 6;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void run(pim::Request request, std::int64_t rowid, bool copy = false);
    void copyToClipboard();
    void pick();

    WindowServices s_;
    platform::Clipboard* clipboard_;
    BrowseList* list_ = nullptr;
    std::string category_;
    bool placed_ = false;
};

}  // namespace hrln::ui
