#include "ui/frame/setup_window.h"

#include "data/housekeeping.h"
#include "ui/frame/autostart.h"
#include "ui/widgets/text_limit.h"
#include "ui/widgets/window_placement.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace hrln::ui {

QCheckBox* SetupWindow::flag(const char* key, const QString& text, bool on)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::fromLatin1(key));
    box->setChecked(on);
    return box;
}

QSpinBox* SetupWindow::number(const char* key, int value, int min, int max, const QString& suffix)
{
    auto* spin = new QSpinBox(this);
    spin->setObjectName(QString::fromLatin1(key));
    spin->setRange(min, max);
    spin->setValue(value);
    spin->setSuffix(suffix);
    return spin;
}

SetupWindow::SetupWindow(SetupServices services, QWidget* parent) : QDialog(parent), s_(std::move(services))
{
    setObjectName(QStringLiteral("SETUP$WINDOW"));
    setWindowTitle(tr("Setup"));
    const data::Settings& o = s_.settings;

    auto* startup = new QGroupBox(tr("When Horalyn starts"), this);
    auto* startupLayout = new QVBoxLayout(startup);
    startUpActive_ = flag("StartUpActive", tr("Scheduler &active"), o.startUpActive);
    startUpMinimized_ = flag("StartUpMinimized", tr("Start minimi&zed"), o.startUpMinimized);
    startUpSchedule_ = flag("StartUpSchedule", tr("Open the &schedule"), o.startUpSchedule);
    startUpToDo_ = flag("StartUpToDo", tr("Open the &to-do list"), o.startUpToDo);
    startUpClipboardSaver_ =
        flag("StartUpClipboardSaver", tr("Open the clip&board saver"), o.startUpClipboardSaver);
    startUpContacts_ = flag("StartUpContacts", tr("Open the &contacts"), o.startUpContacts);
    autostart_ = flag("Autostart", tr("Start Horalyn when I &log in"), AutostartEnabled());
    for (QCheckBox* b : {startUpActive_, startUpMinimized_, startUpSchedule_, startUpToDo_, startUpClipboardSaver_,
                         startUpContacts_, autostart_})
        startupLayout->addWidget(b);

    auto* windows = new QGroupBox(tr("Windows and messages"), this);
    auto* windowLayout = new QFormLayout(windows);
    fullSchedule_ = flag("FullSchedule", tr("Show the &full schedule"), o.fullSchedule);
    hideToolbar_ = flag("HideToolbar", tr("&Hide the toolbar"), o.hideToolbar);
    noTray_ = flag("NoTray", tr("Ne&ver use the notification area"), o.noTray);
    keepRunningInTray_ = flag("KeepRunningInTray",
                              tr("&Keep running in the notification area when the window is closed"),
                              o.keepRunningInTray);
    maximizeOnRun_ = flag("MaximizeOnRun", tr("Brin&g Horalyn back when a task runs"), o.maximizeOnRun);
    useExternalMessage_ =
        flag("UseExternalMessage", tr("Show messages as desktop notificat&ions"), o.useExternalMessage);
    useModalMessage_ = flag("UseModalMessage", tr("Messages wait for an ans&wer"), o.useModalMessage);
    repeatAlarmInterval_ = number("RepeatAlarmInterval", o.repeatAlarmInterval, 0, 86400, tr(" s"));
    repeatAlarmInterval_->setSpecialValueText(QStringLiteral("never"));
    for (QCheckBox* b : {fullSchedule_, hideToolbar_, noTray_, keepRunningInTray_, maximizeOnRun_, useExternalMessage_,
                         useModalMessage_})
        windowLayout->addRow(b);
    windowLayout->addRow(tr("&Repeat the alarm every:"), repeatAlarmInterval_);

    auto* records = new QGroupBox(tr("History, users and clipboard"), this);
    auto* dataLayout = new QFormLayout(records);
    historyExpires_ = number("HistoryExpires", o.historyExpires, 0, 36500, tr(" days"));
    historyExpires_->setSpecialValueText(QStringLiteral("never"));
    removeUncompleted_ =
        flag("RemoveUncompleted", tr("Also remove &disabled tasks"), o.removeUncompleted);
    logEvents_ = flag("LogEvents", tr("Keep an &event log"), o.logEvents);
    multiUser_ = flag("MultiUser", tr("Several &users share the schedule"), o.multiUser);
    userId_ = new QLineEdit(QString::fromStdString(o.userId), this);
    userId_->setObjectName(QStringLiteral("UserID"));
    LimitCharacters(userId_, data::kUserIdWidth);
    monitorClipboard_ = flag("MonitorClipboard", tr("Save what is c&opied"), o.monitorClipboard);
    maxClipboardEntries_ =
        number("MaxClipboardEntries", o.maxClipboardEntries, 0, 100000, tr(" texts"));
    maxClipboardEntries_->setSpecialValueText(tr("no limit"));
    dataLayout->addRow(tr("Re&move history after:"), historyExpires_);
    dataLayout->addRow(removeUncompleted_);
    dataLayout->addRow(logEvents_);
    dataLayout->addRow(multiUser_);
    dataLayout->addRow(tr("User &name:"), userId_);
    dataLayout->addRow(monitorClipboard_);
    dataLayout->addRow(tr("Ma&ximum kept:"), maxClipboardEntries_);

    auto* scripts = new QGroupBox(tr("Scripts"), this);
    auto* scriptsLayout = new QFormLayout(scripts);
    scriptingDelay_ = number("ScriptingDelay", o.scriptingDelay, 0, 100000, tr(" hundredths"));
    burstSize_ = number("BurstSize", o.burstSize, 0, 255, tr(" keys"));
    scriptsLayout->addRow(tr("&Pause between items:"), scriptingDelay_);
    scriptsLayout->addRow(tr("Ke&ys sent at once:"), burstSize_);

    auto* housekeeping = new QGroupBox(tr("Housekeeping"), this);
    auto* houseLayout = new QVBoxLayout(housekeeping);
    const auto action = [&](const char* name, const QString& text, std::function<void()> act) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, std::move(act));
        houseLayout->addWidget(button);
    };
    // Large tables go in batches; between them the frame repaints and its scheduler ticks.
    const std::function<void()> serve = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    action("removeDisabled", tr("Remove disabled tasks"),
           [this, serve] { data::RemoveDisabledTasks(s_.db, s_.prompter, serve); });
    action("removeCompleted", tr("Remove completed tasks"),
           [this, serve] { data::RemoveCompletedTasks(s_.db, s_.prompter, serve); });
    action("clearTodo", tr("Clear To Do list"),
           [this, serve] { data::ClearTodoList(s_.db, s_.prompter, serve); });
    action("resetWindows", tr("Reset saved window settings"),
           [this] { data::ResetWindowSettings(s_.positions, s_.prompter); });
    action("removeScripts", tr("Remove active scripts"),
           [this] { data::RemoveActiveScripts(s_.prompter, s_.clearPendingScripts); });
    houseLayout->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(startup, 0, 0);
    grid->addWidget(windows, 0, 1);
    grid->addWidget(records, 1, 0);
    grid->addWidget(scripts, 1, 1);
    grid->addWidget(housekeeping, 0, 2, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    RestoreWindowPosition(this, s_.positions, QStringLiteral("Setup"));
}

void SetupWindow::accept()
{
    data::Settings o = s_.settings;
    o.historyExpires = historyExpires_->value();
    o.removeUncompleted = removeUncompleted_->isChecked();
    o.startUpSchedule = startUpSchedule_->isChecked();
    o.startUpToDo = startUpToDo_->isChecked();
    o.startUpClipboardSaver = startUpClipboardSaver_->isChecked();
    o.startUpContacts = startUpContacts_->isChecked();
    o.startUpActive = startUpActive_->isChecked();
    o.startUpMinimized = startUpMinimized_->isChecked();
    o.fullSchedule = fullSchedule_->isChecked();
    o.hideToolbar = hideToolbar_->isChecked();
    o.noTray = noTray_->isChecked();
    o.keepRunningInTray = keepRunningInTray_->isChecked();
    o.maximizeOnRun = maximizeOnRun_->isChecked();
    o.useExternalMessage = useExternalMessage_->isChecked();
    o.multiUser = multiUser_->isChecked();
    o.userId = userId_->text().toStdString();
    o.logEvents = logEvents_->isChecked();
    o.monitorClipboard = monitorClipboard_->isChecked();
    o.useModalMessage = useModalMessage_->isChecked();
    o.maxClipboardEntries = maxClipboardEntries_->value();
    o.repeatAlarmInterval = repeatAlarmInterval_->value();
    o.scriptingDelay = scriptingDelay_->value();
    o.burstSize = burstSize_->value();
    data::SaveSettings(s_.ini, o);
    // The user's name is settled once per run, at start-up.
    o.currentUser = s_.settings.currentUser;
    s_.settings = o;
    if (s_.setClipboardLimit)
        s_.setClipboardLimit(o.maxClipboardEntries);
    SetAutostart(autostart_->isChecked(), QCoreApplication::applicationFilePath());
    QDialog::accept();
}

void SetupWindow::done(int result)
{
    SaveWindowPosition(this, s_.positions, QStringLiteral("Setup"));
    QDialog::done(result);
}

}  // namespace hrln::ui
