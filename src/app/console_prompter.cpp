#include "app/console_prompter.h"

#include <cstdio>
#include <cstdlib>

namespace hrln::app {

platform::MessageButton ConsolePrompter::ask(const platform::MessageBox& box)
{
    std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
    return box.defaultButton;
}

void ConsolePrompter::endProgram(const std::string& message)
{
    if (!message.empty())
        std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(EXIT_FAILURE);
}

}  // namespace hrln::app
