#include "cli/stream_prompter.h"

#include <ostream>

namespace hrln::cli {

platform::MessageButton StreamPrompter::ask(const platform::MessageBox& box)
{
    err_ << box.caption << ": " << box.text << '\n';
    shown_ = true;
    return box.defaultButton;
}

void StreamPrompter::endProgram(const std::string& message)
{
    if (!shown_ && !message.empty())
        err_ << message << '\n';
    ended_ = true;
}

}  // namespace hrln::cli
