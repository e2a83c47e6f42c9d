#include "ui/widgets/qt_prompter.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <cstdlib>

namespace hrln::ui {
namespace {

using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageIcon;

QMessageBox::StandardButton ToQt(MessageButton b)
{
    switch (b) {
    case MessageButton::Ok: return QMessageBox::Ok;
    case MessageButton::Cancel: return QMessageBox::Cancel;
    case MessageButton::Yes: return QMessageBox::Yes;
    case MessageButton::No: return QMessageBox::No;
    case MessageButton::Retry: return QMessageBox::Retry;
    case MessageButton::Abort: return QMessageBox::Abort;
    case MessageButton::Ignore: return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

MessageButton FromQt(int b)
{
    switch (b) {
    case QMessageBox::Cancel: return MessageButton::Cancel;
    case QMessageBox::Yes: return MessageButton::Yes;
    case QMessageBox::No: return MessageButton::No;
    case QMessageBox::Retry: return MessageButton::Retry;
    case QMessageBox::Abort: return MessageButton::Abort;
    case QMessageBox::Ignore: return MessageButton::Ignore;
    default: return MessageButton::Ok;
    }
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString DisplayText(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

MessageButton QtPrompter::ask(const platform::MessageBox& box)
{
    QMessageBox dialog(IconOf(box.icon), QString::fromStdString(box.caption), DisplayText(box.text),
                       ButtonsOf(box.buttons), parent_);
    dialog.setObjectName(QStringLiteral("MESSAGEBOX"));
    dialog.setDefaultButton(ToQt(box.defaultButton));
    // Modal to the window it belongs to: open message windows stay usable.
    dialog.setWindowModality(Qt::WindowModal);
    if (box.caption.empty() && eraseTitle_) {
        // Once shown: the toolkit writes the title as it maps the window.
        QTimer::singleShot(0, &dialog, [this, &dialog] { eraseTitle_(static_cast<unsigned long>(dialog.winId())); });
    }
    return FromQt(dialog.exec());
}

void QtPrompter::endProgram(const std::string& message)
{
    if (!message.empty()) {
        QMessageBox dialog(QMessageBox::Critical, QStringLiteral("Horalyn"), DisplayText(message), QMessageBox::Ok,
                           parent_);
        dialog.exec();
    }
    // These endings come from failures that leave nothing to save.
    std::exit(EXIT_FAILURE);
}

}  // namespace hrln::ui
