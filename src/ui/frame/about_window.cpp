#include "ui/frame/about_window.h"

#include "ui/frame/icons.h"
#include "ui/widgets/window_placement.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace hrln::ui {

AboutWindow::AboutWindow(const QString& dataFolder, data::ProfileFile& positions, QWidget* parent)
    : QDialog(parent), positions_(positions)
{
    setObjectName(QStringLiteral("ABOUT$WINDOW"));
    setWindowTitle(tr("About Horalyn"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon(QStringLiteral("clock")).pixmap(64, 64));
    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setTextFormat(Qt::RichText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setText(tr("<h2>Horalyn %1</h2><p>Task scheduler and automation for the desktop.</p>"
                     "<p>Your schedule, settings and event log live in<br><tt>%2</tt></p>")
                      .arg(QStringLiteral(HRLN_VERSION), dataFolder.toHtmlEscaped()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    RestoreWindowPosition(this, positions_, QStringLiteral("About"));
}

void AboutWindow::done(int result)
{
    SaveWindowPosition(this, positions_, QStringLiteral("About"));
    QDialog::done(result);
}

}  // namespace hrln::ui
