#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace hrln::platform::qt {

namespace {

std::string Read()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText() || IsMarkedSecret(data))
        return {};
    return data->text().toStdString();
}

}  // namespace

bool IsMarkedSecret(const QMimeData* data)
{
    if (data == nullptr || !data->hasFormat(QString::fromLatin1(kPasswordManagerHint)))
        return false;
    // A mark whose value could not be fetched counts as a secret: better one
    // text missing from the history than a password kept in it.
    const QByteArray hint = data->data(QString::fromLatin1(kPasswordManagerHint)).trimmed();
    return hint.isEmpty() || hint == "secret";
}

QtClipboard::QtClipboard()
    : watch_(QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, [this](QClipboard::Mode mode) {
          if (mode == QClipboard::Clipboard)
              ++changes_;
      }))
{
}

QtClipboard::~QtClipboard()
{
    QObject::disconnect(watch_);
}

std::string QtClipboard::text()
{
    // Our own data, and no text at all, cannot come from a stale format list.
    if (QGuiApplication::clipboard()->ownsClipboard()) {
        readAt_ = changes_;
        read_ = shown_ = Read();
        return shown_;
    }
    if (readAt_ != changes_) {
        readAt_ = changes_;
        read_ = Read();
        if (read_.empty())
            shown_.clear();
        return shown_;
    }
    shown_ = read_;
    return shown_;
}

void QtClipboard::setText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

}  // namespace hrln::platform::qt
