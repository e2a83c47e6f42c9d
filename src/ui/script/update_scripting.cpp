#include "ui/script/update_scripting.h"

#include "script/script_editing.h"
#include "script/script_file.h"
#include "script/window_match.h"
#include "ui/script/start_program_advanced.h"
#include "ui/script/view_script_keys.h"
#include "ui/widgets/stored_values.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/file_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <limits>

namespace hrln::ui {
namespace {

using data::ScriptingRecord;

constexpr int kOtherTab = static_cast<int>(script::kEditorActions.size());

// Made when a page is built, not at load, so that it reads in the language chosen at start.
QString PatternHelp()
{
    return UpdateScriptingWindow::tr(
        "A window is named by a title pattern, letter case ignored: the whole title (\"Untitled - Text Editor\"), "
        "the start of a title followed by * (\"Untitled*\"), * followed by a phrase the title contains "
        "(\"*Text Editor\"), or pick a title of an open window from the list.");
}

QLabel* Help(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setObjectName(QStringLiteral("helpLabel"));
    return label;
}

// A page of fields above its help text.
QWidget* Page(QLayout* fields, const QString& help)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    if (fields != nullptr)
        layout->addLayout(fields);
    layout->addWidget(Help(page, help));
    layout->addStretch(1);
    return page;
}

// Radio buttons in a group box; the buttons' texts are the stored values.
QButtonGroup* Options(const QString& title, const QString& objectPrefix, const QStringList& values, QBoxLayout* into)
{
    auto* box = new QGroupBox(title);
    auto* row = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    int id = 0;
    for (const QString& value : values) {
        auto* button = new QRadioButton(ShownValue(value.toStdString()), box);
        button->setObjectName(objectPrefix + QString::number(id));
        button->setProperty(kStoredValueProperty, value);
        group->addButton(button, id++);
        row->addWidget(button);
    }
    group->button(0)->setChecked(true);
    into->addWidget(box);
    return group;
}

QString Chosen(QButtonGroup* group)
{
    return group->checkedButton() != nullptr ? group->checkedButton()->property(kStoredValueProperty).toString()
                                             : QString();
}

QSpinBox* Number(QWidget* parent, const QString& objectName, int maximum)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(objectName);
    box->setRange(0, maximum);
    return box;
}

QLabel* Label(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

UpdateScriptingWindow::UpdateScriptingWindow(const ScriptWindowServices& services, pim::FormControl& form,
                                             data::Table<ScriptingRecord>& table, QWidget* parent)
    : FormWindow(form, QStringLiteral("UPDATESCRIPTING$QUICKWINDOW"), tr("Update Scripting"),
                 QStringLiteral("UpdateScripting"), services.window.positions, parent),
      s_(services), table_(table)
{
    auto* top = new QFormLayout;
    action_ = new QComboBox(this);
    action_->setObjectName(QStringLiteral("actionList"));
    // Shown in the user's language; the item keeps the action as stored.
    for (std::string_view action : script::kEditorActions)
        action_->addItem(ShownValue(std::string(action)), Text(action));
    top->addRow(tr("&Action"), action_);
    fields()->addLayout(top);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("actionTabs"));
    tabs_->addTab(buildKeystrokes(), tr("Keystrokes"));
    tabs_->addTab(buildWait(), tr("Wait"));
    tabs_->addTab(buildFocus(), tr("Set Focus"));
    tabs_->addTab(buildIfWindow(), tr("If Window"));
    tabs_->addTab(buildIfTime(), tr("If Time"));
    tabs_->addTab(buildEndIf(), tr("End If"));
    tabs_->addTab(buildMessage(), tr("Message"));
    tabs_->addTab(buildStart(), tr("Start Program"));
    tabs_->addTab(buildClose(), tr("Close Program"));
    tabs_->addTab(buildExit(), tr("Exit Script"));
    tabs_->addTab(buildDde(), tr("Desktop Bus"));
    tabs_->addTab(buildOther(), tr("Other"));
    tabs_->setTabVisible(kOtherTab, false);
    fields()->addWidget(tabs_, 1);
    // The action picks its tab, and a tab picked by hand picks its action.
    connect(action_, &QComboBox::currentIndexChanged, tabs_, &QTabWidget::setCurrentIndex);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index < action_->count())
            action_->setCurrentIndex(index);
    });
    finishLayout();
    fillWindowLists();
    action_->setFocus();
}

QWidget* UpdateScriptingWindow::buildKeystrokes()
{
    auto* grid = new QGridLayout;
    keystrokes_ = Entry(nullptr, QStringLiteral("keystrokesEdit"), 80);
    grid->addWidget(Label(tr("&Keystrokes:"), keystrokes_), 0, 0);
    grid->addWidget(keystrokes_, 0, 1);
    auto* keys = new QPushButton(tr("View List of Abbreviations"));
    keys->setObjectName(QStringLiteral("viewKeysButton"));
    connect(keys, &QPushButton::clicked, this, [this] { ViewScriptKeysWindow::Show(s_.window, this); });
    grid->addWidget(keys, 1, 1, Qt::AlignLeft);
    return Page(grid, tr("Send Keystrokes:  The keys are typed into the program that has the focus when "
                                     "the item runs.  Special keys are written as a key name in square brackets, "
                                     "for example \"[AltB]\" or \"[Enter]\"."));
}

QWidget* UpdateScriptingWindow::buildWait()
{
    auto* layout = new QVBoxLayout;
    combination_ = Options(QString(), QStringLiteral("combination"), {QString::fromLatin1(QT_TRANSLATE_NOOP("StoredValue", "And")), QString::fromLatin1(QT_TRANSLATE_NOOP("StoredValue", "Or"))}, layout);
    auto* form = new QFormLayout;
    seconds_ = Number(nullptr, QStringLiteral("secondsEdit"), script::kMaxSecondsToWait);
    form->addRow(tr("&Seconds To Wait Before Next Script Item Executes:"), seconds_);
    waitWindow_ = windowList(nullptr, QStringLiteral("waitWindowList"));
    form->addRow(tr("Wait For &Window:"), waitWindow_);
    layout->addLayout(form);
    return Page(layout,
                tr("Wait:  Waits a number of seconds, for a window, or both: with \"And\" until both have "
                               "come, with \"Or\" until the first of them.  Leave blank what does not apply.  ") +
                    PatternHelp() +
                    tr("  A leading ~ waits for the window to disappear (\"~Untitled*\")."));
}

QWidget* UpdateScriptingWindow::buildFocus()
{
    auto* form = new QFormLayout;
    focusWindow_ = windowList(nullptr, QStringLiteral("focusWindowList"));
    form->addRow(tr("Foc&us On Window:"), focusWindow_);
    return Page(form, tr("Set Focus:  Brings the window to the front with the keyboard focus.  ") +
                          PatternHelp());
}

QWidget* UpdateScriptingWindow::buildIfWindow()
{
    auto* layout = new QVBoxLayout;
    existance_ = Options(tr("Condition"), QStringLiteral("existance"),
                         {QString::fromLatin1(QT_TRANSLATE_NOOP("StoredValue", "Window Exists")),
                          QString::fromLatin1(QT_TRANSLATE_NOOP("StoredValue", "Window Doesn't Exist"))}, layout);
    auto* form = new QFormLayout;
    checkWindow_ = windowList(nullptr, QStringLiteral("checkWindowList"));
    form->addRow(tr("Window &Title To Check For:"), checkWindow_);
    layout->addLayout(form);
    return Page(layout, tr("If Window:  The items up to the next \"...End If\" run only if the condition "
                                       "holds.  ") +
                            PatternHelp());
}

QWidget* UpdateScriptingWindow::buildIfTime()
{
    auto* layout = new QVBoxLayout;
    elapsedCondition_ =
        Options(tr("Condition"), QStringLiteral("elapsed"),
                {QString::fromLatin1(QT_TRANSLATE_NOOP("StoredValue", "Time Elapsed is Greater Than")),
                 QString::fromLatin1(QT_TRANSLATE_NOOP("StoredValue", "Time Elapsed is Less Than"))}, layout);
    auto* form = new QFormLayout;
    elapsed_ = Number(nullptr, QStringLiteral("timeElapsedEdit"), script::kMaxTimeElapsed);
    form->addRow(tr("Time (&seconds):"), elapsed_);
    layout->addLayout(form);
    return Page(layout, tr("If Time Elapsed:  The items up to the next \"...End If\" run only if the "
                                       "condition holds.  The time is measured from the script's first item."));
}

QWidget* UpdateScriptingWindow::buildEndIf()
{
    return Page(nullptr, tr("No information is required for this action."));
}

QWidget* UpdateScriptingWindow::buildMessage()
{
    auto* form = new QFormLayout;
    messageTitle_ = Entry(nullptr, QStringLiteral("messageTitleEdit"), 80);
    form->addRow(tr("Message &Title:"), messageTitle_);
    messageText_ = Entry(nullptr, QStringLiteral("messageEdit"), 80);
    form->addRow(tr("&Message:"), messageText_);
    return Page(form, tr("This will display a message with a title, and OK button."));
}

QWidget* UpdateScriptingWindow::buildStart()
{
    auto* grid = new QGridLayout;
    command_ = Entry(nullptr, QStringLiteral("commandEdit"), 80, tr("Program to start"));
    grid->addWidget(Label(tr("Comma&nd:"), command_), 0, 0);
    grid->addWidget(command_, 0, 1);
    auto* browse = new QPushButton(tr("&Browse"));
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setToolTip(tr("Select an application to start"));
    connect(browse, &QPushButton::clicked, this, &UpdateScriptingWindow::browseCommand);
    grid->addWidget(browse, 0, 2);
    path_ = Entry(nullptr, QStringLiteral("pathEdit"), 80, tr("Directory (Folder) to start the command in"));
    grid->addWidget(Label(tr("Start &in:"), path_), 1, 0);
    grid->addWidget(path_, 1, 1, 1, 2);
    auto* advanced = new QPushButton(tr("Ad&vanced"));
    advanced->setObjectName(QStringLiteral("advancedButton"));
    connect(advanced, &QPushButton::clicked, this, &UpdateScriptingWindow::editStartOptions);
    grid->addWidget(advanced, 2, 1, Qt::AlignLeft);
    return Page(grid, tr("Start Program:  Starts a program, or opens a document with the program the "
                                     "desktop associates with it.  The start folder defaults to the folder of a "
                                     "program chosen with Browse; left blank, the program starts in the scheduler's "
                                     "own folder."));
}

QWidget* UpdateScriptingWindow::buildClose()
{
    return Page(nullptr, tr("Close Program:  Closes the window or application that has the focus when "
                                        "the item runs, as its own close button would.  Sending the keys [AltF4] is "
                                        "usually the safer way to end a program."));
}

QWidget* UpdateScriptingWindow::buildExit()
{
    return Page(nullptr, tr("Exit Script:  This will exit the script at this point. Usually this script "
                                        "action is used in conjunction with an \"If...\" script action."));
}

QWidget* UpdateScriptingWindow::buildDde()
{
    auto* form = new QFormLayout;
    ddeName_ = Entry(nullptr, QStringLiteral("ddeNameEdit"), 80, tr("Bus name of the program"));
    form->addRow(tr("DDE Application &Name:"), ddeName_);
    ddeTopic_ = Entry(nullptr, QStringLiteral("ddeTopicEdit"), 80, tr("Object path"));
    form->addRow(tr("DDE A&pplication Topic:"), ddeTopic_);
    ddeCommand_ = Entry(nullptr, QStringLiteral("ddeCommandEdit"), 80, tr("interface.Method(args)"));
    form->addRow(tr("DDE &Command:"), ddeCommand_);
    return Page(form,
                tr(
                    "Desktop bus:  Calls a method of a program on the session bus; the program must already be "
                    "running.  Application Name is the program's bus name, Topic the path of the object, and Command "
                    "the interface, a dot, the method and its arguments in brackets.  The names are those the "
                    "program documents (busctl --user list shows who is on the bus).  For example, to pause a media "
                    "player: Application Name \"org.mpris.MediaPlayer2.vlc\", Topic \"/org/mpris/MediaPlayer2\", "
                    "Command \"org.mpris.MediaPlayer2.Player.Pause()\"."));
}

QWidget* UpdateScriptingWindow::buildOther()
{
    auto* form = new QFormLayout;
    other_ = Entry(nullptr, QStringLiteral("otherActionEdit"), 20);
    form->addRow(tr("O&ther action:"), other_);
    return Page(form, tr("This item's action is not one the editor knows.  Enter the action it should "
                                     "run, or pick one from the Action list."));
}

QComboBox* UpdateScriptingWindow::windowList(QWidget* parent, const QString& objectName)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(objectName);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMaxCount(1000);
    LimitCharacters(list->lineEdit(), 80);
    list->setMinimumContentsLength(40);
    windowLists_.push_back(list);
    return list;
}

void UpdateScriptingWindow::fillWindowLists()
{
    QStringList titles;
    if (s_.windows != nullptr)
        for (const script::OpenWindow& w : script::ListOpenWindows(*s_.windows))
            titles.push_back(Text(w.title).left(80));
    titles.removeDuplicates();
    for (QComboBox* list : windowLists_) {
        const QString typed = list->currentText();
        list->clear();
        list->addItems(titles);
        list->setEditText(typed);
    }
}

void UpdateScriptingWindow::changeEvent(QEvent* event)
{
    // Back from another program, where the user may have opened the window wanted.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        fillWindowLists();
    FormWindow::changeEvent(event);
}

void UpdateScriptingWindow::browseCommand()
{
    const QString chosen = ChooseProgram(this, command_->text().trimmed());
    if (chosen.isEmpty())
        return;
    command_->setText(chosen.left(80));
    if (path_->text().trimmed().isEmpty())
        path_->setText(QFileInfo(chosen).absolutePath().left(80));
}

void UpdateScriptingWindow::editStartOptions()
{
    // The options share their fields with other actions' entries: edited as
    // the entries hold them now, and put back there for OK to store.
    data::ScriptingRecord options = table_.rec;
    options.ddeApplicationName = ddeName_->text().toStdString();
    options.timeElapsed = elapsed_->value();
    StartProgramAdvancedWindow window(options, s_.window.positions, this);
    if (window.exec() != QDialog::Accepted)
        return;
    ddeName_->setText(Text(options.ddeApplicationName.view()));
    elapsed_->setValue(static_cast<int>(options.timeElapsed));
}

void UpdateScriptingWindow::showRecord()
{
    const ScriptingRecord& r = table_.rec;
    const script::WorkingFields working = script::LoadWorkingFields(r);
    const int index = action_->findData(Text(r.action.view()));
    if (index >= 0) {
        action_->setCurrentIndex(index);
    } else {
        // An action the editor does not offer stays as it is unless the user picks another.
        if (action_->count() == kOtherTab)
            action_->addItem(ShownValue(std::string(script::kOtherAction)), Text(script::kOtherAction));
        tabs_->setTabVisible(kOtherTab, true);
        action_->setCurrentIndex(kOtherTab);
        other_->setText(Text(working.otherAction));
    }
    tabs_->setCurrentIndex(action_->currentIndex());
    keystrokes_->setText(Text(r.keystrokes.view()));
    combination_->button(working.combination == "Or" ? 1 : 0)->setChecked(true);
    seconds_->setValue(static_cast<int>(r.secondsToWait));
    shownSeconds_ = seconds_->value();
    waitWindow_->setEditText(Text(r.waitForWindow.view()));
    focusWindow_->setEditText(Text(r.focusOnWindow.view()));
    existance_->button(r.windowExistance.str().find("Doesn") != std::string::npos ? 1 : 0)->setChecked(true);
    checkWindow_->setEditText(Text(r.windowTitleToCheckFor.view()));
    elapsedCondition_->button(Text(r.ifTimeElapsed.view()).contains(QStringLiteral("less"), Qt::CaseInsensitive) ? 1 : 0)
        ->setChecked(true);
    elapsed_->setValue(static_cast<int>(std::max<data::Long>(r.timeElapsed, 0)));
    shownElapsed_ = elapsed_->value();
    messageTitle_->setText(Text(working.messageTitle));
    messageText_->setText(Text(working.messageText));
    command_->setText(Text(r.command.view()));
    path_->setText(Text(r.path.view()));
    ddeName_->setText(Text(r.ddeApplicationName.view()));
    ddeTopic_->setText(Text(r.ddeApplicationTopic.view()));
    ddeCommand_->setText(Text(r.ddeCommand.view()));
}

bool UpdateScriptingWindow::takeRecord()
{
    ScriptingRecord& r = table_.rec;
    r.action = action_->currentData().toString().toStdString();
    r.keystrokes = keystrokes_->text().toStdString();
    if (seconds_->value() != shownSeconds_ || (r.secondsToWait >= 0 && r.secondsToWait <= script::kMaxSecondsToWait))
        r.secondsToWait = seconds_->value();
    r.waitForWindow = waitWindow_->currentText().toStdString();
    r.focusOnWindow = focusWindow_->currentText().toStdString();
    r.windowExistance = Chosen(existance_).toStdString();
    r.windowTitleToCheckFor = checkWindow_->currentText().toStdString();
    r.ifTimeElapsed = Chosen(elapsedCondition_).toStdString();
    if (elapsed_->value() != shownElapsed_ || r.timeElapsed >= 0)
        r.timeElapsed = elapsed_->value();
    r.command = command_->text().toStdString();
    r.path = path_->text().toStdString();
    r.ddeApplicationName = ddeName_->text().toStdString();
    r.ddeApplicationTopic = ddeTopic_->text().toStdString();
    r.ddeCommand = ddeCommand_->text().toStdString();
    const script::WorkingFields working{Chosen(combination_).toStdString(), messageTitle_->text().toStdString(),
                                        messageText_->text().toStdString(), other_->text().toStdString()};
    if (!script::StoreWorkingFields(r, working, s_.window.prompter)) {
        other_->setFocus();
        return false;
    }
    return true;
}

QWidget* UpdateScriptingWindow::fieldWidget(int) const
{
    return action_;
}

pim::Response UpdateScriptingWindow::Run(const ScriptWindowServices& services, pim::Request request,
                                         data::Long taskId, std::int64_t& rowid, QWidget* parent)
{
    data::Table<ScriptingRecord> table(services.window.db);
    pim::RecordWarnings warnings(services.window.prompter);
    if (request == pim::Request::Insert) {
        // Nothing is added for no task.
        ScriptingRecord probe;
        probe.id = taskId;
        if (!script::CheckItemTask(probe, services.window.prompter))
            return pim::Response::Cancelled;
    }
    pim::RecordForm<ScriptingRecord> form(
        table, warnings, request,
        script::ScriptingFormRules(taskId, [&warnings] { return warnings.retry("Scripting", data::kDuplicateKey); }));
    if (!form.open(ScriptingRecord::KeyID, rowid))
        return pim::Response::Cancelled;
    if (request != pim::Request::Insert)
        script::CheckItemTask(table.rec, services.window.prompter);
    if (request == pim::Request::Delete) {
        form.complete();  // the confirmation is the whole dialog of a delete
    } else {
        UpdateScriptingWindow window(services, form, table, parent);
        window.exec();
    }
    if (form.response() == pim::Response::Completed)
        rowid = table.rowId();
    return form.response();
}

}  // namespace hrln::ui
