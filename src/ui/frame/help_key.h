#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace hrln::ui {

// F1 in any of the program's windows: asks for the guide at the section
// about that window (its contents for a window it has no section for).
class HelpKey : public QObject {
    Q_OBJECT
public:
    using Open = std::function<void(const QString& anchor)>;
    // Watches the whole application's keys while it lives.
    HelpKey(Open open, QObject* parent);

    // The window the guide would describe for a widget: a browser inside the
    // frame, else the widget's own window.
    static QWidget* GuideWindowOf(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Open open_;
};

}  // namespace hrln::ui
