#pragma once

#include "data/profile_file.h"

#include <QWidget>

class QTextBrowser;

namespace hrln::ui {

// The user guide in the program's own window: it needs no browser, follows
// the guide's own links, and opens links to the outside in the desktop's browser.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(const QString& guide, data::ProfileFile& positions, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTextBrowser* text_;
    data::ProfileFile& positions_;
};

}  // namespace hrln::ui
