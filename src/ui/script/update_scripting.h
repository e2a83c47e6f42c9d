#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "platform/windows.h"
#include "ui/widgets/form_window.h"
#include "ui/widgets/window_services.h"

#include <vector>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace hrln::ui {

// What the script windows need beside every window's services: the desktop's
// windows for the drop-downs of window titles (none: the lists stay empty).
struct ScriptWindowServices {
    WindowServices window;
    platform::Windows* windows = nullptr;
};

// UpdateScripting: one script item, an action and a tab of its fields.
class UpdateScriptingWindow : public FormWindow {
    Q_OBJECT

public:
    UpdateScriptingWindow(const ScriptWindowServices& services, pim::FormControl& form,
                          data::Table<data::ScriptingRecord>& table, QWidget* parent = nullptr);

    // Runs a request on task `taskId`'s item with row id `rowid` (none for an
    // insert); the response, and in `rowid` the item's row id when one stands.
    static pim::Response Run(const ScriptWindowServices& services, pim::Request request, data::Long taskId,
                             std::int64_t& rowid, QWidget* parent);

    QComboBox* actionList() const { return action_; }
    QTabWidget* actionTabs() const { return tabs_; }

protected:
    void showRecord() override;
    bool takeRecord() override;
    QWidget* fieldWidget(int field) const override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* buildKeystrokes();
    QWidget* buildWait();
    QWidget* buildFocus();
    QWidget* buildIfWindow();
    QWidget* buildIfTime();
    QWidget* buildEndIf();
    QWidget* buildMessage();
    QWidget* buildStart();
    QWidget* buildClose();
    QWidget* buildExit();
    QWidget* buildDde();
    QWidget* buildOther();
    QComboBox* windowList(QWidget* parent, const QString& objectName);
    // The drop-downs of window titles from the windows open now; what the user typed stays.
    void fillWindowLists();
    void browseCommand();
    void editStartOptions();

    ScriptWindowServices s_;
    data::Table<data::ScriptingRecord>& table_;
    QComboBox* action_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* keystrokes_ = nullptr;
    QButtonGroup* combination_ = nullptr;
    QSpinBox* seconds_ = nullptr;
    QComboBox* waitWindow_ = nullptr;
    QComboBox* focusWindow_ = nullptr;
    QButtonGroup* existance_ = nullptr;
    QComboBox* checkWindow_ = nullptr;
    QButtonGroup* elapsedCondition_ = nullptr;
    QSpinBox* elapsed_ = nullptr;
    // The numbers as shown: a stored number the boxes cannot hold stays
    // stored until the user sets another.
    int shownSeconds_ = 0;
    int shownElapsed_ = 0;
    QLineEdit* messageTitle_ = nullptr;
    QLineEdit* messageText_ = nullptr;
    QLineEdit* command_ = nullptr;
    QLineEdit* path_ = nullptr;
    QLineEdit* ddeName_ = nullptr;
    QLineEdit* ddeTopic_ = nullptr;
    QLineEdit* ddeCommand_ = nullptr;
    QLineEdit* other_ = nullptr;
    std::vector<QComboBox*> windowLists_;
};

}  // namespace hrln::ui
