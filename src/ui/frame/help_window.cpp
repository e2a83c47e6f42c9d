#include "ui/frame/help_window.h"

#include "ui/widgets/window_placement.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

constexpr const char* kSection = "Help";

}  // namespace

HelpWindow::HelpWindow(const QString& guide, data::ProfileFile& positions, QWidget* parent)
    : QWidget(parent, Qt::Window), positions_(positions)
{
    setObjectName(QStringLiteral("HELP$WINDOW"));
    setWindowTitle(QStringLiteral("Horalyn Help"));
    setAttribute(Qt::WA_DeleteOnClose);

    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("helpText"));
    text_->setOpenExternalLinks(true);
    text_->setSource(QUrl::fromLocalFile(guide));

    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    back->setObjectName(QStringLiteral("backButton"));
    back->setEnabled(false);
    connect(back, &QPushButton::clicked, text_, &QTextBrowser::backward);
    connect(text_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    auto* browser = new QPushButton(QStringLiteral("Open in B&rowser"), this);
    browser->setObjectName(QStringLiteral("browserButton"));
    connect(browser, &QPushButton::clicked, this, [this] { QDesktopServices::openUrl(text_->source()); });
    auto* close = new QPushButton(QStringLiteral("Cl&ose"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(browser);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    ResizeWithin(this, QSize(720, 560));
    RestoreWindowPosition(this, positions_, QString::fromLatin1(kSection));
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowPosition(this, positions_, QString::fromLatin1(kSection));
    QWidget::closeEvent(event);
}

}  // namespace hrln::ui
