#include "ui/script/start_program_advanced.h"

#include "script/program_start.h"
#include "ui/widgets/window_placement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

namespace hrln::ui {
namespace {

const QString kPosition = QStringLiteral("ScriptingStartProgramAdvanced");

// Radio buttons whose ids are the code digits they stand for.
QButtonGroup* Options(QWidget* owner, const QString& title, const QString& objectPrefix,
                      const std::vector<std::pair<QString, int>>& values, int chosen, QBoxLayout* into)
{
    auto* box = new QGroupBox(title, owner);
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (const auto& [text, digit] : values) {
        auto* button = new QRadioButton(text, box);
        button->setObjectName(objectPrefix + QString::number(digit));
        group->addButton(button, digit);
        column->addWidget(button);
    }
    group->button(chosen)->setChecked(true);
    into->addWidget(box);
    return group;
}

}  // namespace

StartProgramAdvancedWindow::StartProgramAdvancedWindow(data::ScriptingRecord& item, data::ProfileFile& positions,
                                                       QWidget* parent)
    : QDialog(parent), item_(item), positions_(positions)
{
    setObjectName(QStringLiteral("SCRIPTINGSTARTPROGRAMADVANCED$WINDOW"));
    setWindowTitle(tr("Advanced..."));
    const script::StartOptions options = script::ReadStartOptions(item_.ddeApplicationName.view());
    auto* layout = new QVBoxLayout(this);
    wait_ = new QCheckBox(tr("&Wait For Program End"), this);
    wait_->setObjectName(QStringLiteral("waitCheck"));
    wait_->setChecked(options.waitForEnd);
    layout->addWidget(wait_);
    auto* form = new QFormLayout;
    timeout_ = new QSpinBox(this);
    timeout_->setObjectName(QStringLiteral("timeoutEdit"));
    timeout_->setRange(0, std::numeric_limits<int>::max());
    timeout_->setValue(static_cast<int>(std::max<data::Long>(item_.timeElapsed, 0)));
    timeout_->setToolTip(tr("0: wait as long as the program runs"));
    timeout_->setEnabled(options.waitForEnd);
    form->addRow(tr("&Time out for wait (seconds):"), timeout_);
    layout->addLayout(form);
    connect(wait_, &QCheckBox::toggled, timeout_, &QWidget::setEnabled);
    priority_ = Options(this, tr("Process Priority"), QStringLiteral("priority"),
                        {{tr("&Low"), 1}, {tr("&Normal"), 2}, {tr("&High"), 3}},
                        options.priority, layout);
    mode_ = Options(this, tr("Window Mode"), QStringLiteral("mode"),
                    {{tr("Start and give &focus"), 1},
                     {tr("Start &minimized with focus"), 2},
                     {tr("Start minimized without foc&us"), 7},
                     {tr("Start without focu&s"), 8}},
                    options.windowMode, layout);
    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
    RestoreWindowPosition(this, positions_, kPosition);
}

void StartProgramAdvancedWindow::accept()
{
    const script::StartOptions options{wait_->isChecked(), priority_->checkedId(), mode_->checkedId()};
    item_.ddeApplicationName = script::WriteStartOptions(options, item_.ddeApplicationName.view());
    item_.timeElapsed = timeout_->value();
    QDialog::accept();
}

void StartProgramAdvancedWindow::done(int result)
{
    SaveWindowPosition(this, positions_, kPosition);
    QDialog::done(result);
}

}  // namespace hrln::ui
