#pragma once

#include "platform/prompter.h"

namespace hrln::app {

// Message boxes for a run without windows: each is printed to standard error
// and answered with its default button.
class ConsolePrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox& box) override;
    void endProgram(const std::string& message) override;
};

}  // namespace hrln::app
