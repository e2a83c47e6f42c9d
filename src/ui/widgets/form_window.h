#pragma once

#include "data/profile_file.h"
#include "pim/record_form.h"

#include <QDialog>

#include <memory>

class QBoxLayout;
class QPushButton;

namespace hrln::ui {

// The window of a record form: the fields a subclass lays out, "&OK" and
// "Cancel", the title by request, and the place kept under the window's
// procedure name. What a request does is the form's (pim::RecordForm).
class FormWindow : public QDialog {
    Q_OBJECT

public:
    // `objectName` is the window's identifier ("UPDATECATEGORIES$QUICKWINDOW"),
    // `title` its defined title, `positionName` its section in POSITION.INI.
    FormWindow(pim::FormControl& form, const QString& objectName, const QString& title, const QString& positionName,
               data::ProfileFile& positions, QWidget* parent = nullptr);

    pim::FormControl& form() const { return form_; }

    void accept() override;
    void reject() override;

protected:
    // Where a subclass puts its fields.
    QBoxLayout* fields() const { return fields_; }
    // Call at the end of the subclass's constructor: the buttons, the title,
    // the record shown, the saved place.
    void finishLayout(const QString& okText = {});  // empty: "&OK"

    // Puts the record's values into the widgets, and takes them back; false
    // when a widget holds what its field cannot take (after its message, with
    // the focus on it).
    virtual void showRecord() = 0;
    virtual bool takeRecord() = 0;
    // The widget of field `field` (the focus goes there when it fails).
    virtual QWidget* fieldWidget(int field) const = 0;

    void done(int result) override;

private:
    pim::FormControl& form_;
    QString positionName_;
    data::ProfileFile& positions_;
    QBoxLayout* fields_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Runs `form` on the record with row id `rowid` in `key` (none for an insert):
// a delete is only its confirmation, the other requests show the window that
// `makeWindow(form)` builds. The form's response.
template <class R, class MakeWindow>
pim::Response RunRecordForm(pim::RecordForm<R>& form, int key, std::int64_t rowid, MakeWindow&& makeWindow)
{
    if (!form.open(key, rowid))
        return pim::Response::Cancelled;
    if (form.request() == pim::Request::Delete) {
        form.complete();
    } else {
        auto window = makeWindow(form);
        window->exec();
    }
    return form.response();
}

}  // namespace hrln::ui
