#pragma once

#include "platform/prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace hrln::test {

// Records every message box and answers from a queue of prepared answers
// (the box's default button when the queue is empty).
class FakePrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox& box) override;
    void endProgram(const std::string& message) override;

    void answer(platform::MessageButton button) { answers.push_back(button); }

    std::deque<platform::MessageButton> answers;
    std::vector<platform::MessageBox> shown;
    std::vector<std::string> endMessages;
    bool ended() const { return !endMessages.empty(); }
};

}  // namespace hrln::test
