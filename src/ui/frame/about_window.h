#pragma once

#include "data/profile_file.h"

#include <QDialog>

namespace hrln::ui {

// ABOUT$WINDOW: the program's name, version and where its files live.
class AboutWindow : public QDialog {
    Q_OBJECT

public:
    AboutWindow(const QString& dataFolder, data::ProfileFile& positions, QWidget* parent = nullptr);
    void done(int result) override;

private:
    data::ProfileFile& positions_;
};

}  // namespace hrln::ui
