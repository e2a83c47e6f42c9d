#pragma once

#include <string>

namespace hrln::platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text as UTF-8; empty when it holds no text.
    virtual std::string text() = 0;
    virtual void setText(const std::string& text) = 0;
};

}  // namespace hrln::platform
