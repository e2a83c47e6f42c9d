#pragma once

#include "data/records.h"
#include "data/profile_file.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QSpinBox;

namespace hrln::ui {

// ScriptingStartProgramAdvanced: how a "Start Program" item starts its
// program (the options code at the start of DDEApplicationName) and how long
// it waits for its end (TimeElapsed).
class StartProgramAdvancedWindow : public QDialog {
    Q_OBJECT

public:
    StartProgramAdvancedWindow(data::ScriptingRecord& item, data::ProfileFile& positions, QWidget* parent = nullptr);

    void accept() override;

protected:
    void done(int result) override;

private:
    data::ScriptingRecord& item_;
    data::ProfileFile& positions_;
    QCheckBox* wait_ = nullptr;
    QSpinBox* timeout_ = nullptr;
    QButtonGroup* priority_ = nullptr;
    QButtonGroup* mode_ = nullptr;
};

}  // namespace hrln::ui
