#pragma once

#include "platform/clipboard.h"

#include <QMetaObject>

#include <string>

class QMimeData;

namespace hrln::platform::qt {

// The format by which password managers mark what they put on the clipboard.
inline constexpr char kPasswordManagerHint[] = "x-kde-passwordManagerHint";

// Whether the data is marked as a secret: the hint's value is "secret", or
// it could not be read.
bool IsMarkedSecret(const QMimeData* data);

// The desktop clipboard (not the X selection) through Qt; needs a
// QGuiApplication. A text marked as a secret reads as no text, so nothing
// downstream can keep a copy of it.
//
// Qt keeps the list of formats another program offers until it handles the
// desktop's notice that the owner changed, but fetches the text itself from
// whoever owns the clipboard at that moment. Read in between, a password
// manager's text would come with the previous owner's formats, without its
// secret mark. So another program's text is read only after Qt has announced
// a change, and handed out only when no further change came while it was
// read.
class QtClipboard : public Clipboard {
public:
    QtClipboard();
    ~QtClipboard() override;
    QtClipboard(const QtClipboard&) = delete;
    QtClipboard& operator=(const QtClipboard&) = delete;

    std::string text() override;
    void setText(const std::string& text) override;

private:
    QMetaObject::Connection watch_;
    unsigned long changes_ = 0;   // changes Qt has announced
    unsigned long readAt_ = ~0UL;  // the value of changes_ at the last read
    std::string read_;             // the last read, not yet vouched for
    std::string shown_;            // the text last handed out
};

}  // namespace hrln::platform::qt
