#include "ui/pim/contact_windows.h"

#include "pim/contacts.h"
#include "platform/clipboard.h"
#include "ui/frame/icons.h"
#include "ui/pim/category_windows.h"
#include "ui/pim/link_windows.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/window_placement.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

using data::ContactRecord;

template <int W>
BrowseColumn<ContactRecord> TextColumn(const char* title, int width, FixedText<W> ContactRecord::*field)
{
    return {BrowseContactsWindow::tr(title), width, [field](const ContactRecord& r) { return Text((r.*field).view()); }};
}

std::vector<BrowseTab> ContactTabs(const std::string& category)
{
    return {{BrowseContactsWindow::tr("Last Name"), ContactRecord::KeyLastName},
            {BrowseContactsWindow::tr("First Name"), ContactRecord::KeyFirstName},
            {BrowseContactsWindow::tr("Work/Day Phone"), ContactRecord::KeyWorkPhone},
            {BrowseContactsWindow::tr("Home/Evening Phone"), ContactRecord::KeyHomePhone},
            {BrowseContactsWindow::tr("Fax"), ContactRecord::KeyFaxNumber},
            {BrowseContactsWindow::tr("Email"), ContactRecord::KeyEmail},
            {BrowseContactsWindow::tr("Category"), ContactRecord::KeyCategory, {data::Value(category)}}};
}

// The category the "Category" tab starts on: the first contact category.
std::string FirstContactCategory(data::Database& db)
{
    data::Table<data::ContactCategoryRecord> names(db);
    names.set(data::ContactCategoryRecord::KeyContactCategories);
    return names.next() == data::kOk ? names.rec.contactCategory.str() : std::string();
}

template <int W>
void Show(QLineEdit* edit, const FixedText<W>& value)
{
    edit->setText(Text(value.view()));
}

template <int W>
void Take(FixedText<W>& value, const QLineEdit* edit)
{
    value = edit->text().toStdString();
}

}  // namespace

std::unique_ptr<BrowseSource> ContactSource(data::Database& db)
{
    std::vector<BrowseColumn<ContactRecord>> columns{
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "Last Name"), 30, &ContactRecord::lastName),
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "First Name"), 20, &ContactRecord::firstName),
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "Address Line 1"), 30, &ContactRecord::addressLine1),
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "Address Line 2"), 30, &ContactRecord::addressLine2),
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "Address Line 3"), 30, &ContactRecord::addressLine3),
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "Postal Code"), 10, &ContactRecord::postalCode),
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "Work/Day Phone"), 20, &ContactRecord::workDayPhone),
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "Home/Evening Phone"), 20, &ContactRecord::homeEveningPhone),
        TextColumn(QT_TRANSLATE_NOOP("hrln::ui::BrowseContactsWindow", "Fax"), 20, &ContactRecord::fax),
    };
    return std::make_unique<TableBrowseSource<ContactRecord>>(db, std::move(columns));
}

// UpdateContacts

UpdateContactsWindow::UpdateContactsWindow(pim::RecordForm<ContactRecord>& form, const WindowServices& services,
                                           QWidget* parent)
    : FormWindow(form, QStringLiteral("UPDATECONTACTS$QUICKWINDOW"), tr("Update the Contact File"),
                 QStringLiteral("UpdateContacts"), services.positions, parent),
      contact_(form), s_(services)
{
    const ContactRecord& r = contact_.record();
    auto* columns = new QHBoxLayout;
    auto* left = new QFormLayout;
    auto* right = new QFormLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    const auto entry = [this](QFormLayout* layout, const QString& label, const char* name, int width,
                              const QString& tip = {}) {
        QLineEdit* edit = Entry(this, QString::fromLatin1(name), width, tip);
        // Cleaned before the width is counted, as the contact is on saving.
        LimitCharacters(edit, width, {}, true);
        layout->addRow(label, edit);
        return edit;
    };
    const QString upTo30 = tr("Enter up to 30 characters");
    lastName_ = entry(left, tr("&Last Name:"), "lastNameEdit", r.lastName.kWidth);
    firstName_ = entry(left, tr("&First Name:"), "firstNameEdit", r.firstName.kWidth);
    category_ = new QComboBox(this);
    category_->setObjectName(QStringLiteral("contactCategoryCombo"));
    category_->setEditable(true);
    category_->setInsertPolicy(QComboBox::NoInsert);
    LimitCharacters(category_->lineEdit(), r.contactCategory.kWidth, {}, true);
    category_->installEventFilter(this);
    fillCategories();
    left->addRow(tr("Contact Category:"), category_);
    address1_ = entry(left, tr("Address Line 1:"), "addressLine1Edit", r.addressLine1.kWidth, upTo30);
    address2_ = entry(left, tr("Address Line 2:"), "addressLine2Edit", r.addressLine2.kWidth, upTo30);
    address3_ = entry(left, tr("&Address Line 3:"), "addressLine3Edit", r.addressLine3.kWidth, upTo30);
    postalCode_ = entry(left, tr("&Postal Code:"), "postalCodeEdit", r.postalCode.kWidth);
    workPhone_ = entry(right, tr("&Work/Day Phone:"), "workPhoneEdit", r.workDayPhone.kWidth);
    homePhone_ = entry(right, tr("&Home/Evening Phone:"), "homePhoneEdit", r.homeEveningPhone.kWidth);
    fax_ = entry(right, tr("Fa&x:"), "faxEdit", r.fax.kWidth);
    otherPhone_ = entry(right, tr("O&ther Phone:"), "otherPhoneEdit", r.otherPhone.kWidth);
    email_ = entry(right, tr("E&mail:"), "emailEdit", r.email.kWidth);
    webSite_ = entry(right, tr("We&b Site:"), "webSiteEdit", r.webSite.kWidth);
    fields()->addLayout(columns);

    auto* notesBox = new QGroupBox(tr("Notes"), this);
    auto* notesLayout = new QVBoxLayout(notesBox);
    notes_ = new QPlainTextEdit(notesBox);
    notes_->setObjectName(QStringLiteral("notesEdit"));
    notes_->setTabChangesFocus(true);
    LimitCharacters(notes_, r.notes.kWidth, tr("Notes"));
    notesLayout->addWidget(notes_);
    fields()->addWidget(notesBox);

    // The contact stands in the table from the moment the form opened (a new
    // one as its placeholder), so links can name it before it is saved.
    auto* tasksBox = new QGroupBox(tr("Related Tasks"), this);
    auto* tasksLayout = new QVBoxLayout(tasksBox);
    related_ = new BrowseList(RelatedTaskSource(s_.db), RelatedTaskTabs(r.clientId),
                              BrowseList::Add | BrowseList::Edit | BrowseList::Delete, tasksBox);
    related_->setObjectName(QStringLiteral("relatedTasksList"));
    related_->tabs()->hide();
    if (auto* insert = related_->findChild<QPushButton*>(QStringLiteral("insertButton")))
        insert->setText(tr("&Insert"));
    if (!related_->popupMenu()->actions().isEmpty())
        related_->popupMenu()->actions().front()->setText(tr("&Insert"));
    tasksLayout->addWidget(related_);
    fields()->addWidget(tasksBox);
    connect(related_, &BrowseList::insertRequested, this, [this] { runLink(pim::Request::Insert, 0); });
    connect(related_, &BrowseList::changeRequested, this,
            [this](std::int64_t id) { runLink(pim::Request::Change, id); });
    connect(related_, &BrowseList::deleteRequested, this,
            [this](std::int64_t id) { runLink(pim::Request::Delete, id); });

    finishLayout();
    lastName_->setFocus();
}

void UpdateContactsWindow::fillCategories()
{
    const QString typed = category_->currentText();
    const QSignalBlocker quiet(category_);
    category_->clear();
    data::Table<data::ContactCategoryRecord> names(s_.db);
    names.set(data::ContactCategoryRecord::KeyContactCategories);
    while (names.next() == data::kOk)
        category_->addItem(Text(names.rec.contactCategory.view()));
    category_->setEditText(typed);
}

void UpdateContactsWindow::runLink(pim::Request request, std::int64_t rowid)
{
    UpdateLinkWindow::Run(s_, request, rowid, contact_.record().clientId, this);
    related_->refresh();
    related_->view()->setFocus();
}

bool UpdateContactsWindow::acceptCategory()
{
    if (asking_)
        return false;
    const QScopedValueRollback guard(asking_, true);
    FixedText<20> name = category_->currentText().toStdString();
    switch (pim::CheckContactCategory(s_.db, s_.prompter, name)) {
    case pim::CategoryEntry::Known: category_->setEditText(Text(name.view())); return true;
    case pim::CategoryEntry::AddNew: {
        std::int64_t rowid = 0;
        if (UpdateContactCategories::Run(s_, pim::Request::Insert, rowid, this, name.str()) ==
            pim::Response::Completed) {
            // The form may have changed the name before saving it.
            data::Table<data::ContactCategoryRecord> added(s_.db);
            if (added.reget(data::ContactCategoryRecord::KeyContactCategories, rowid) == data::kOk)
                name = added.rec.contactCategory;
            fillCategories();
            category_->setEditText(Text(name.view()));
            return true;
        }
        break;
    }
    case pim::CategoryEntry::Refused: break;
    }
    category_->setFocus(Qt::OtherFocusReason);
    category_->lineEdit()->selectAll();
    return false;
}

bool UpdateContactsWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the category field by the user's own move checks it at once;
    // OK checks it anyway, and Cancel needs no check.
    if (watched == category_ && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        QWidget* to = QApplication::focusWidget();
        const bool userMove = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                              reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
        const bool toButtons = to != nullptr && (to->objectName() == QLatin1String("okButton") ||
                                                 to->objectName() == QLatin1String("cancelButton"));
        if (userMove && !toButtons && !asking_)
            QMetaObject::invokeMethod(this, [this] { acceptCategory(); }, Qt::QueuedConnection);
    }
    return FormWindow::eventFilter(watched, event);
}

void UpdateContactsWindow::showRecord()
{
    const ContactRecord& r = contact_.record();
    Show(lastName_, r.lastName);
    Show(firstName_, r.firstName);
    category_->setEditText(Text(r.contactCategory.view()));
    Show(address1_, r.addressLine1);
    Show(address2_, r.addressLine2);
    Show(address3_, r.addressLine3);
    Show(postalCode_, r.postalCode);
    Show(workPhone_, r.workDayPhone);
    Show(homePhone_, r.homeEveningPhone);
    Show(fax_, r.fax);
    Show(otherPhone_, r.otherPhone);
    Show(email_, r.email);
    Show(webSite_, r.webSite);
    notes_->setPlainText(Text(r.notes.view()));
}

bool UpdateContactsWindow::takeRecord()
{
    if (!acceptCategory())
        return false;
    ContactRecord& r = contact_.record();
    Take(r.lastName, lastName_);
    Take(r.firstName, firstName_);
    r.contactCategory = category_->currentText().toStdString();
    Take(r.addressLine1, address1_);
    Take(r.addressLine2, address2_);
    Take(r.addressLine3, address3_);
    Take(r.postalCode, postalCode_);
    Take(r.workDayPhone, workPhone_);
    Take(r.homeEveningPhone, homePhone_);
    Take(r.fax, fax_);
    Take(r.otherPhone, otherPhone_);
    Take(r.email, email_);
    Take(r.webSite, webSite_);
    r.notes = notes_->toPlainText().toStdString();
    return true;
}

QWidget* UpdateContactsWindow::fieldWidget(int field) const
{
    switch (field) {
    case pim::ContactFirstName: return firstName_;
    case pim::ContactCategoryField: return category_;
    case pim::ContactNotes: return notes_;
    default: return lastName_;
    }
}

pim::Response UpdateContactsWindow::Run(const WindowServices& services, pim::Request request, std::int64_t& rowid,
                                        bool copy, QWidget* parent)
{
    data::Table<ContactRecord> table(services.db);
    pim::RecordWarnings warnings(services.prompter);
    pim::RecordForm<ContactRecord> form(
        table, warnings, request,
        pim::ContactFormRules([&warnings] { return warnings.retry("Contact", data::kDuplicateKey); }));
    ContactRecord start;
    if (request == pim::Request::Insert && copy) {
        if (table.reget(ContactRecord::KeyClientID, rowid) != data::kOk) {
            warnings.fetchError("Contact", table.error());
            return pim::Response::Cancelled;
        }
        start = pim::ContactCopy(table.rec);
    }
    if (!form.open(ContactRecord::KeyClientID, rowid, copy ? &start : nullptr))
        return pim::Response::Cancelled;
    if (request == pim::Request::Delete) {
        form.complete();  // the confirmation is the whole dialog of a delete
    } else {
        UpdateContactsWindow window(form, services, parent);
        window.exec();
    }
    if (form.response() == pim::Response::Completed)
        rowid = table.rowId();
    return form.response();
}

// BrowseContacts

BrowseContactsWindow::BrowseContactsWindow(WindowServices services, platform::Clipboard* clipboard, QWidget* parent)
    : QWidget(parent), s_(services), clipboard_(clipboard), category_(FirstContactCategory(s_.db))
{
    setObjectName(QStringLiteral("BROWSECONTACTS$QUICKWINDOW"));
    setWindowTitle(tr("Contacts"));
    setWindowIcon(ProgramIcon(QStringLiteral("schedule")));
    auto* layout = new QVBoxLayout(this);
    list_ = new BrowseList(ContactSource(s_.db), ContactTabs(category_),
                           BrowseList::Add | BrowseList::Edit | BrowseList::Delete, this);
    layout->addWidget(list_);

    QPushButton* toClipboard = list_->addButton(tr("&Copy to Clipboard"),
                                                tr("Copy the highlighted contact to the clipboard"),
                                                QStringLiteral("copyToClipboardButton"), clipboard_ != nullptr, 0);
    if (clipboard_ == nullptr)
        toClipboard->setEnabled(false);
    connect(toClipboard, &QPushButton::clicked, this, &BrowseContactsWindow::copyToClipboard);
    list_->findChild<QPushButton*>(QStringLiteral("insertButton"))->setToolTip(tr("Add a new contact"));
    list_->findChild<QPushButton*>(QStringLiteral("changeButton"))
        ->setToolTip(tr("Edit the highlighted contact"));
    list_->findChild<QPushButton*>(QStringLiteral("deleteButton"))
        ->setToolTip(tr("Delete the highlighted contact and its links"));
    QPushButton* copy = list_->addButton(tr("Cop&y"), tr("Copy record"),
                                         QStringLiteral("copyButton"), true, 3);
    QPushButton* pick = list_->addButton(tr("&Pick"), tr("Choose the contact category to show"),
                                         QStringLiteral("pickButton"), false);
    connect(pick, &QPushButton::clicked, this, &BrowseContactsWindow::pick);
    QPushButton* close = list_->addClosingButton(tr("Cl&ose"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    QAction* copyAction = list_->addMenuAction(tr("Cop&y"), QStringLiteral("copyAction"), true);

    connect(list_, &BrowseList::insertRequested, this, [this] { run(pim::Request::Insert, 0); });
    connect(list_, &BrowseList::changeRequested, this, [this](std::int64_t id) { run(pim::Request::Change, id); });
    connect(list_, &BrowseList::deleteRequested, this, [this](std::int64_t id) { run(pim::Request::Delete, id); });
    const auto copySelected = [this] {
        if (const std::int64_t id = list_->selectedRowId(); id != 0)
            run(pim::Request::Insert, id, true);
    };
    connect(copy, &QPushButton::clicked, this, copySelected);
    connect(copyAction, &QAction::triggered, this, copySelected);
    resize(760, 420);
}

void BrowseContactsWindow::run(pim::Request request, std::int64_t rowid, bool copy)
{
    const pim::Response response = UpdateContactsWindow::Run(s_, request, rowid, copy, this);
    list_->refresh();
    if (response == pim::Response::Completed && request != pim::Request::Delete)
        list_->selectRowId(rowid);
    list_->view()->setFocus();
}

void BrowseContactsWindow::copyToClipboard()
{
    const int row = list_->selectedRow();
    if (clipboard_ == nullptr || row < 0 || !list_->model()->readRow(row))
        return;
    auto& source = static_cast<TableBrowseSource<ContactRecord>&>(list_->model()->source());
    clipboard_->setText(pim::ContactClipboardText(source.table().rec));
}

void BrowseContactsWindow::pick()
{
    data::ContactCategoryRecord chosen;
    if (SelectContactCategoriesWindow::Select(s_, chosen, this) == pim::Response::Completed) {
        category_ = chosen.contactCategory.str();
        list_->setTab(kCategoryTab);
        list_->setPrefix({data::Value(category_)});
    }
    list_->view()->setFocus();
}

void BrowseContactsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        RestoreWindowPosition(PlacedWindow(this), s_.positions, QStringLiteral("BrowseContacts"));
    }
    list_->view()->setFocus();
}

void BrowseContactsWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowPosition(PlacedWindow(this), s_.positions, QStringLiteral("BrowseContacts"));
    QWidget::closeEvent(event);
}

}  // namespace hrln::ui
