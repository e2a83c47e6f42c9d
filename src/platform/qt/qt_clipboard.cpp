#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace hrln::platform::qt {

bool IsMarkedSecret(const QMimeData* data)
{
    return data != nullptr && data->hasFormat(QString::fromLatin1(kPasswordManagerHint)) &&
           data->data(QString::fromLatin1(kPasswordManagerHint)).trimmed() == "secret";
}

std::string QtClipboard::text()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText() || IsMarkedSecret(data))
        return {};
    return data->text().toStdString();
}

void QtClipboard::setText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

}  // namespace hrln::platform::qt
