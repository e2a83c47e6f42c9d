#include "support/fake_prompter.h"

namespace hrln::test {

platform::MessageButton FakePrompter::ask(const platform::MessageBox& box)
{
    shown.push_back(box);
    if (answers.empty())
        return box.defaultButton;
    const platform::MessageButton next = answers.front();
    answers.pop_front();
    return next;
}

void FakePrompter::endProgram(const std::string& message)
{
    endMessages.push_back(message);
}

}  // namespace hrln::test
