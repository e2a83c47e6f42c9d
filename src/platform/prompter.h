#pragma once

#include <string>

namespace hrln::platform {

enum class MessageIcon { None, Information, Exclamation, Question, Stop };

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

enum class MessageButton { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageBox {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageButton defaultButton = MessageButton::Ok;
};

// Questions and messages to the user. Every call blocks its caller until the
// user answers, as a modal message box does.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageButton ask(const MessageBox& box) = 0;
    // Shows `message` (when not empty) in a box with the stop icon and ends the
    // program. An implementation that returns (a test double) leaves the caller
    // to unwind.
    virtual void endProgram(const std::string& message) = 0;
};

}  // namespace hrln::platform
