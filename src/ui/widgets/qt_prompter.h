#pragma once

#include "platform/prompter.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace hrln::ui {

// The core's message boxes as real modal boxes. A box belongs to the window
// that asks: it is modal over that window alone (other windows, the message
// windows above all, stay usable), and once answered the focus goes back to
// the widget that had it. A box opened inside a tick holds that tick.
class QtPrompter : public platform::Prompter {
public:
    // With an `owner`, every question of this prompter belongs to it (a
    // message window's own boxes); without, to the window active when asked.
    explicit QtPrompter(QWidget* owner = nullptr);
    void setParent(QWidget* owner) { owner_ = owner; }
    // Whose questions asked while none of the program's windows is active are.
    void setFallbackOwner(QWidget* window) { fallback_ = window; }
    // What empties a shown box's title where the desktop would otherwise see
    // the program's name in an empty caption.
    void setTitleEraser(std::function<void(unsigned long window)> erase) { eraseTitle_ = std::move(erase); }

    platform::MessageButton ask(const platform::MessageBox& box) override;
    // Shows the message with the stop icon and ends the program at once.
    void endProgram(const std::string& message) override;

    // The window a question asked now belongs to; null when there is none.
    QWidget* owner() const;

    // While one lives, the questions of prompters without an owner of their
    // own belong to `window`: the frame's tick asks for the frame, whichever
    // window the user happens to be in.
    class OwnerScope {
    public:
        explicit OwnerScope(QWidget* window);
        ~OwnerScope();
        OwnerScope(const OwnerScope&) = delete;
        OwnerScope& operator=(const OwnerScope&) = delete;

    private:
        QPointer<QWidget> previous_;
        bool hadPrevious_;
    };

private:
    QPointer<QWidget> owner_;
    QPointer<QWidget> fallback_;
    std::function<void(unsigned long)> eraseTitle_;
};

// Our texts break lines with a carriage return; Qt wants a line feed.
QString DisplayText(const std::string& text);

}  // namespace hrln::ui
