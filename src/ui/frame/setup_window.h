#pragma once

#include "data/database.h"
#include "data/profile_file.h"
#include "data/settings.h"
#include "platform/prompter.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace hrln::ui {

struct SetupServices {
    data::Database& db;
    data::Settings& settings;
    data::ProfileFile& ini;
    data::ProfileFile& positions;
    platform::Prompter& prompter;
    std::function<void()> clearPendingScripts;
    std::function<void(int)> setClipboardLimit;
};

// SETUP$WINDOW: every option, the five housekeeping buttons, and starting with
// the desktop session. OK writes the options; Cancel leaves them as they were.
class SetupWindow : public QDialog {
    Q_OBJECT

public:
    explicit SetupWindow(SetupServices services, QWidget* parent = nullptr);

    void accept() override;
    void done(int result) override;

private:
    QCheckBox* flag(const char* key, const QString& text, bool on);
    QSpinBox* number(const char* key, int value, int min, int max, const QString& suffix);

    SetupServices s_;
    QCheckBox *removeUncompleted_, *startUpSchedule_, *startUpToDo_, *startUpClipboardSaver_, *startUpContacts_,
        *startUpActive_, *startUpMinimized_, *fullSchedule_, *hideToolbar_, *noTray_, *keepRunningInTray_, *multiUser_,
        *monitorClipboard_, *useExternalMessage_, *useModalMessage_, *logEvents_, *maximizeOnRun_, *autostart_;
    QSpinBox *historyExpires_, *repeatAlarmInterval_, *scriptingDelay_, *burstSize_, *maxClipboardEntries_;
    QLineEdit* userId_;
};

}  // namespace hrln::ui
