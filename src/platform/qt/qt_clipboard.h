#pragma once

#include "platform/clipboard.h"

class QMimeData;

namespace hrln::platform::qt {

// The format by which password managers mark what they put on the clipboard.
inline constexpr char kPasswordManagerHint[] = "x-kde-passwordManagerHint";

// Whether the data is marked as a secret (the hint's value is "secret").
bool IsMarkedSecret(const QMimeData* data);

// The desktop clipboard (not the X selection) through Qt; needs a
// QGuiApplication. A text marked as a secret reads as no text, so nothing
// downstream can keep a copy of it.
class QtClipboard : public Clipboard {
public:
    std::string text() override;
    void setText(const std::string& text) override;
};

}  // namespace hrln::platform::qt
