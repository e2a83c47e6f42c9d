#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "ui/pim/pim_services.h"
#include "ui/widgets/browse_list.h"
#include "ui/widgets/form_window.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace hrln::pim {
class ClipboardMonitor;
}
namespace hrln::platform {
class Clipboard;
}

namespace hrln::ui {

// UpdateClipboard: one saved text, shown for a change or behind a delete.
class UpdateClipboardWindow : public FormWindow {
    Q_OBJECT

public:
    UpdateClipboardWindow(pim::RecordForm<data::ClipboardRecord>& form, data::ProfileFile& positions,
                          QWidget* parent = nullptr);

    static pim::Response Run(const WindowServices& services, pim::Request request, std::int64_t rowid,
                             QWidget* parent);

protected:
    void showRecord() override;
    bool takeRecord() override;
    QWidget* fieldWidget(int field) const override;

private:
    pim::RecordForm<data::ClipboardRecord>& clip_;
    QLabel* user_ = nullptr;
    QLineEdit* date_ = nullptr;
    QLineEdit* time_ = nullptr;
    QPlainTextEdit* contents_ = nullptr;
};

// BrowseClipboard: the saved texts, one row each, to put back on the clipboard.
class BrowseClipboardWindow : public QWidget {
    Q_OBJECT

public:
    // `monitor` (may be null) learns of each text put back, so it is not saved twice.
    BrowseClipboardWindow(WindowServices services, platform::Clipboard& clipboard, pim::ClipboardMonitor* monitor,
                          QWidget* parent = nullptr);

    BrowseList* list() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void copyToClipboard();
    void clearAll();

    WindowServices s_;
    platform::Clipboard& clipboard_;
    pim::ClipboardMonitor* monitor_;
    BrowseList* list_ = nullptr;
    bool placed_ = false;
};

}  // namespace hrln::ui
