#include "ui/widgets/form_window.h"

#include "ui/widgets/accessible_names.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/stored_values.h"
#include "ui/widgets/window_placement.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace hrln::ui {

FormWindow::FormWindow(pim::FormControl& form, const QString& objectName, const QString& title,
                       const QString& positionName, data::ProfileFile& positions, QWidget* parent)
    : QDialog(parent), form_(form), positionName_(positionName), positions_(positions)
{
    setObjectName(objectName);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    fields_ = new QVBoxLayout;
    layout->addLayout(fields_);
}

void FormWindow::finishLayout(const QString& okText)
{
    auto* box = new QDialogButtonBox(this);
    ok_ = box->addButton(okText.isEmpty() ? tr("&OK") : okText, QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setDefault(true);
    cancel_ = box->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    connect(box, &QDialogButtonBox::accepted, this, &FormWindow::accept);
    connect(box, &QDialogButtonBox::rejected, this, &FormWindow::reject);
    static_cast<QVBoxLayout*>(layout())->addWidget(box);

    // The defined title stays for requests without a title of their own.
    if (const std::string title = form_.title(); !title.empty())
        setWindowTitle(ShownText("FormTitle", title));
    showRecord();
    NameControls(this);
    ResizeWithin(this, testAttribute(Qt::WA_Resized) ? size() : sizeHint());
    RestoreWindowPosition(this, positions_, positionName_);
}

void FormWindow::accept()
{
    if (!takeRecord())
        return;
    const pim::FormControl::Outcome outcome = form_.complete();
    if (outcome.close) {
        QDialog::accept();
        return;
    }
    // The form stays: show what stands now (another station's values, a field
    // reset by a restrict) and go back to the failing field.
    showRecord();
    if (QWidget* field = fieldWidget(outcome.focusField); field != nullptr)
        RevealAndFocus(field);
}

void FormWindow::reject()
{
    form_.cancel();
    QDialog::reject();
}

void FormWindow::done(int result)
{
    SaveWindowPosition(this, positions_, positionName_);
    QDialog::done(result);
}

}  // namespace hrln::ui
