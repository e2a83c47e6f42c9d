#pragma once

#include "platform/prompter.h"

#include <iosfwd>
#include <string>

namespace hrln::cli {

// Message boxes for a command: each is written as one line to the error stream
// and answered with its default button. When the program would end, the
// command is told through ended() and returns its failure status itself.
class StreamPrompter : public platform::Prompter {
public:
    explicit StreamPrompter(std::ostream& err) : err_(err) {}

    platform::MessageButton ask(const platform::MessageBox& box) override;
    // The ending message repeats a box already shown, so it is only written
    // when none was.
    void endProgram(const std::string& message) override;

    bool ended() const { return ended_; }

private:
    std::ostream& err_;
    bool shown_ = false;
    bool ended_ = false;
};

}  // namespace hrln::cli
