#pragma once

#include "platform/prompter.h"

#include <QString>

#include <functional>

class QWidget;

namespace hrln::ui {

// The core's message boxes as real modal boxes. A box opened inside a tick
// holds that tick; other windows keep working meanwhile.
class QtPrompter : public platform::Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // What empties a shown box's title where the desktop would otherwise see
    // the program's name in an empty caption.
    void setTitleEraser(std::function<void(unsigned long window)> erase) { eraseTitle_ = std::move(erase); }

    platform::MessageButton ask(const platform::MessageBox& box) override;
    // Shows the message with the stop icon and ends the program at once.
    void endProgram(const std::string& message) override;

private:
    QWidget* parent_;
    std::function<void(unsigned long)> eraseTitle_;
};

// Our texts break lines with a carriage return; Qt wants a line feed.
QString DisplayText(const std::string& text);

}  // namespace hrln::ui
