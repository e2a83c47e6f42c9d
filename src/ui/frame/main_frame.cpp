#include "ui/frame/main_frame.h"

#include "ui/frame/guide_topics.h"
#include "ui/frame/help_key.h"
#include "ui/frame/help_window.h"

#include "scheduler/scheduler.h"
#include "scheduler/script_runner.h"
#include "scheduler/tray_controller.h"
#include "exchange/calendar_export.h"
#include "exchange/calendar_import.h"
#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "exchange/vcard_exchange.h"
#include "ui/exchange/field_chooser_window.h"
#include "ui/frame/about_window.h"
#include "ui/frame/icons.h"
#include "ui/frame/setup_window.h"
#include "ui/pim/category_windows.h"
#include "ui/pim/clipboard_windows.h"
#include "ui/pim/contact_windows.h"
#include "ui/pim/todo_windows.h"
#include "ui/report/report_windows.h"
#include "ui/schedule/quick_reminder_window.h"
#include "ui/schedule/wizard_window.h"
#include "ui/widgets/file_dialogs.h"
#include "ui/widgets/nested_windows.h"
#include "ui/widgets/progress_window.h"
#include "ui/widgets/qt_prompter.h"
#include "ui/widgets/window_placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QStatusTipEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace hrln::ui {
namespace {

constexpr int kDefaultInterval = 100;  // hundredths, until the first tick sets its own

// Moves a window to another parent, where it was and as shown as it was.
void MoveWindowTo(QWidget* window, QWidget* parent)
{
    const QRect place = window->geometry();
    const bool shown = window->isVisible();
    window->setParent(parent, window->windowFlags());
    window->setGeometry(place);
    if (shown)
        window->show();
}

// Gives the help window back to the frame when the window that lent it its
// parenthood closes, so the guide stays open after that window is gone.
class HelpLoan : public QObject {
public:
    HelpLoan(QWidget* owner, HelpWindow* help, QWidget* frame) : QObject(owner), help_(help), frame_(frame)
    {
        setObjectName(QStringLiteral("helpLoan"));
        owner->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched == parent()) {
            if (help_ != nullptr && help_->parentWidget() == parent())
                MoveWindowTo(help_, frame_);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<HelpWindow> help_;
    QWidget* frame_;
};

}  // namespace

MainFrame::MainFrame(FrameServices services, QWidget* parent) : QMainWindow(parent), s_(std::move(services))
{
    setObjectName(QStringLiteral("MAIN$APPFRAME"));
    setWindowTitle(QString::fromUtf8(scheduler::kApplicationTitle));
    setWindowIcon(ProgramIcon(QStringLiteral("clock")));
    ResizeWithin(this, QSize(900, 620));
    new HelpKey([this](const QString& anchor) { openGuide(anchor); }, this);

    area_ = new QMdiArea(this);
    area_->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(area_);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("schedulerTimer"));
    timer_->setSingleShot(true);
    timer_->setInterval(kDefaultInterval * 10);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (scheduler_ != nullptr) {
            // The tick's questions are the frame's, whichever window is in front.
            const QtPrompter::OwnerScope frameAsks(this);
            scheduler_->onTimer();
        }
        if (!closing_)
            timer_->start();
    });

    buildMenus();
    buildToolBar();
    buildStatusBar();
    SetProgramPrinting([this] { return PrintServices{s_.clock, s_.settings.userId, printer()}; });
}

MainFrame::~MainFrame()
{
    SetProgramPrinting({});
}

void MainFrame::attach(scheduler::Scheduler* scheduler, scheduler::TrayController* tray,
                       scheduler::ScriptRunner* scripts)
{
    scheduler_ = scheduler;
    tray_ = tray;
    scripts_ = scripts;
}

QAction* MainFrame::unavailable(QMenu* menu, const QString& text, const QString& hint)
{
    QAction* action = menu->addAction(text);
    action->setStatusTip(hint);
    action->setEnabled(false);  // its window is not part of this build yet
    return action;
}

void MainFrame::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* setup = file->addAction(tr("&Setup"), this, &MainFrame::openSetup);
    setup->setObjectName(QStringLiteral("actionSetup"));
    setup->setStatusTip(tr("Change the program's options"));
    QAction* printSetup = file->addAction(tr("&Print Setup"), this, &MainFrame::openPrintSetup);
    printSetup->setObjectName(QStringLiteral("actionPrintSetup"));
    printSetup->setStatusTip(tr("Choose a printer"));
    QMenu* import = file->addMenu(tr("&Import"));
    QMenu* exportMenu = file->addMenu(tr("&Export"));
    import->setObjectName(QStringLiteral("menuImport"));
    exportMenu->setObjectName(QStringLiteral("menuExport"));
    const struct {
        exchange::ExchangeTable table;
        const char* text;
        const char* name;
        const char* tip;
    } tables[] = {
        {exchange::ExchangeTable::Schedule, QT_TR_NOOP("&Schedule"), "Schedule", QT_TR_NOOP("Comma-delimited schedule file")},
        {exchange::ExchangeTable::Contacts, QT_TR_NOOP("&Contacts"), "Contacts", QT_TR_NOOP("Comma-delimited contacts file")},
        {exchange::ExchangeTable::Todo, QT_TR_NOOP("&To Do"), "Todo", QT_TR_NOOP("Comma-delimited to-do file")},
    };
    for (const auto& t : tables) {
        const exchange::ExchangeTable table = t.table;
        QAction* in = import->addAction(tr(t.text), this, [this, table] { runImport(table); });
        in->setObjectName(QStringLiteral("actionImport") + QString::fromUtf8(t.name));
        in->setStatusTip(tr(t.tip));
        QAction* out = exportMenu->addAction(tr(t.text), this, [this, table] { runExport(table); });
        out->setObjectName(QStringLiteral("actionExport") + QString::fromUtf8(t.name));
        out->setStatusTip(tr(t.tip));
    }
    import->addSeparator();
    exportMenu->addSeparator();
    // Calendars and address books of other programs.
    const struct {
        Exchange format;
        exchange::ExchangeTable table;
        const char* text;
        const char* name;
        const char* tip;
        bool import;
    } others[] = {
        {Exchange::Calendar, exchange::ExchangeTable::Schedule, QT_TR_NOOP("Schedule as &iCalendar"), "ScheduleIcal",
         QT_TR_NOOP("iCalendar (.ics) file: each task an event"), true},
        {Exchange::Calendar, exchange::ExchangeTable::Todo, QT_TR_NOOP("To Do as iCalen&dar"), "TodoIcal",
         QT_TR_NOOP("iCalendar (.ics) file: each item a to-do"), true},
        {Exchange::Cards, exchange::ExchangeTable::Contacts, QT_TR_NOOP("Contacts as &vCards"), "ContactsVcard",
         QT_TR_NOOP("vCard (.vcf) file, version 3.0 or 4.0"), true},
        {Exchange::Calendar, exchange::ExchangeTable::Schedule, QT_TR_NOOP("Schedule as &iCalendar"), "ScheduleIcal",
         QT_TR_NOOP("iCalendar (.ics) file: each enabled task an event"), false},
        {Exchange::CalendarHistory, exchange::ExchangeTable::Schedule, QT_TR_NOOP("Schedule with &History as iCalendar"),
         "ScheduleHistoryIcal", QT_TR_NOOP("iCalendar (.ics) file: the enabled tasks, and each history entry a past event"),
         false},
        {Exchange::Calendar, exchange::ExchangeTable::Todo, QT_TR_NOOP("To Do as iCalen&dar"), "TodoIcal",
         QT_TR_NOOP("iCalendar (.ics) file: each item a to-do"), false},
        {Exchange::Cards, exchange::ExchangeTable::Contacts, QT_TR_NOOP("Contacts as &vCards 4.0"), "ContactsVcard",
         QT_TR_NOOP("vCard 4.0 (.vcf) file"), false},
        {Exchange::Cards3, exchange::ExchangeTable::Contacts, QT_TR_NOOP("Contacts as vCards &3.0"), "ContactsVcard3",
         QT_TR_NOOP("vCard 3.0 (.vcf) file, for older address books"), false},
    };
    for (const auto& o : others) {
        const Exchange format = o.format;
        const exchange::ExchangeTable table = o.table;
        QAction* action =
            o.import ? import->addAction(tr(o.text), this, [this, format, table] { runImportOf(format, table); })
                     : exportMenu->addAction(tr(o.text), this,
                                             [this, format, table] { runExportOf(format, table); });
        action->setObjectName(QString::fromUtf8(o.import ? "actionImport" : "actionExport") + QString::fromUtf8(o.name));
        action->setStatusTip(tr(o.tip));
    }
    file->addSeparator();
    QAction* exit = file->addAction(ProgramIcon(QStringLiteral("exit")), tr("E&xit"), this,
                                    &QWidget::close);
    exit->setObjectName(QStringLiteral("actionExit"));
    exit->setStatusTip(tr("Close Horalyn"));

    QMenu* browse = menuBar()->addMenu(tr("&Browse"));
    QAction* viewSchedule = browse->addAction(tr("&View Schedule"), this, &MainFrame::openSchedule);
    viewSchedule->setObjectName(QStringLiteral("actionViewSchedule"));
    viewSchedule->setStatusTip(tr("Browse the schedule"));
    QMenu* wizards = browse->addMenu(tr("&Wizards"));
    wizards->setObjectName(QStringLiteral("menuWizards"));
    const auto wizard = [&](const QString& text, const QString& name, const QString& tip, scheduler::AddWizard kind) {
        QAction* action = wizards->addAction(text, this, [this, kind] { openWizard(kind); });
        action->setObjectName(name);
        action->setStatusTip(tip);
        return action;
    };
    addMessage_ = wizard(tr("Add &Message"), QStringLiteral("actionAddMessage"),
                         tr("Add a message to be displayed"), scheduler::AddWizard::Message);
    addProgram_ = wizard(tr("Add &Program"), QStringLiteral("actionAddProgram"),
                         tr("Add a program to the schedule"), scheduler::AddWizard::Program);
    wizard(tr("Generic &Add "), QStringLiteral("actionGenericAdd"),
           tr("Add a message, program, both or neither"), scheduler::AddWizard::Task);
    quickReminder_ = wizards->addAction(tr("&Quick Reminder"), this, &MainFrame::openQuickReminder);
    quickReminder_->setObjectName(QStringLiteral("actionQuickReminder"));
    quickReminder_->setStatusTip(tr("Add a message in one line: what, then when"));
    toDo_ = browse->addAction(tr("&To Do List"), this, &MainFrame::openToDo);
    toDo_->setObjectName(QStringLiteral("actionToDoList"));
    toDo_->setStatusTip(tr("View the To Do List with options to add or modify"));
    QAction* contacts = browse->addAction(tr("&Contacts"), this, &MainFrame::openContacts);
    contacts->setObjectName(QStringLiteral("actionBrowseContacts"));
    contacts->setStatusTip(tr("Browse Contacts"));
    QAction* clipboard = browse->addAction(tr("Clip&board Saver"), this, &MainFrame::openClipboardSaver);
    clipboard->setObjectName(QStringLiteral("actionClipboardSaver"));
    clipboard->setStatusTip(tr("Browse Clipboard Saver"));
    clipboard->setEnabled(s_.clipboard != nullptr);
    QAction* categories = browse->addAction(tr("Schedule Cate&gories"), this, &MainFrame::openCategories);
    categories->setObjectName(QStringLiteral("actionBrowseCategories"));
    categories->setStatusTip(tr("Browse Categories"));
    QAction* contactCategories =
        browse->addAction(tr("Contact Cat&egories"), this, &MainFrame::openContactCategories);
    contactCategories->setObjectName(QStringLiteral("actionBrowseContactCategories"));
    contactCategories->setStatusTip(tr("Browse Contact Categories"));

    QMenu* reports = menuBar()->addMenu(tr("&Reports"));
    reports->setObjectName(QStringLiteral("menuReports"));
    const auto report = [this](QMenu* menu, const QString& text, const char* name, const QString& tip,
                               scheduler::ReportKind kind) {
        QAction* action = menu->addAction(text, this, [this, kind] { openReport(kind); });
        action->setObjectName(QStringLiteral("actionReport") + QString::fromLatin1(name));
        action->setStatusTip(tip);
    };
    using scheduler::ReportKind;
    QMenu* schedule = reports->addMenu(tr("&Schedule"));
    schedule->setObjectName(QStringLiteral("menuReportSchedule"));
    report(schedule, tr("&Date Order"), "DateOrder", tr("Tasks by date"),
           ReportKind::ScheduleByDate);
    report(schedule, tr("&Category Order"), "CategoryOrder", tr("Tasks by category"),
           ReportKind::ScheduleByCategory);
    report(schedule, tr("&Brief Schedule"), "BriefSchedule", tr("A brief schedule"),
           ReportKind::BriefSchedule);
    report(schedule, tr("For &Specific Category"), "SpecificCategory",
           tr("Tasks of one category"), ReportKind::ScheduleForCategory);
    report(reports, tr("C&ontacts"), "Contacts", tr("List of contacts"),
           ReportKind::Contacts);
    report(reports, tr("C&ategories"), "Categories", tr("Categories in category order"),
           ReportKind::Categories);
    QMenu* todo = reports->addMenu(tr("&To Do List"));
    todo->setObjectName(QStringLiteral("menuReportToDo"));
    report(todo, tr("&Priority"), "ToDoPriority", tr("To-do items by priority"),
           ReportKind::TodoByPriority);
    report(todo, tr("&Category"), "ToDoCategory", tr("To-do items by category"),
           ReportKind::TodoByCategory);

    QMenu* window = menuBar()->addMenu(tr("&Window"));
    window->addAction(tr("&Tile"), area_, &QMdiArea::tileSubWindows)
        ->setStatusTip(tr("Arrange the windows side by side"));
    window->addAction(tr("&Cascade"), area_, &QMdiArea::cascadeSubWindows)
        ->setStatusTip(tr("Arrange the windows overlapping"));
    window->addAction(tr("&Arrange Icons"), this, [this] {
        for (QMdiSubWindow* w : area_->subWindowList())
            if (w->isMinimized())
                w->showMinimized();  // lays the minimised windows out along the bottom again
    })->setStatusTip(tr("Line up the minimised windows"));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* contents = help->addAction(tr("&Contents"), this,
                                        [this] { openGuide(QString::fromLatin1(kGuideContents)); });
    contents->setObjectName(QStringLiteral("actionHelpContents"));
    contents->setStatusTip(tr("Open the user guide at its contents"));
    QAction* search = help->addAction(tr("&Search for Help On..."), this, [this] {
        // The index opens beside the page last read, or the contents.
        openGuide(help_ != nullptr ? QString() : QString::fromLatin1(kGuideContents))->showIndex();
    });
    search->setObjectName(QStringLiteral("actionHelpSearch"));
    search->setStatusTip(tr("Find a topic or a word in the user guide"));
    QAction* howTo = help->addAction(tr("&How to Use Help"), this,
                                     [this] { openGuide(QString::fromLatin1(kGuideUsingHelp)); });
    howTo->setObjectName(QStringLiteral("actionHelpHowTo"));
    howTo->setStatusTip(tr("How to find your way in the user guide"));
    help->addSeparator();
    QAction* about = help->addAction(tr("&About"), this, &MainFrame::openAbout);
    about->setObjectName(QStringLiteral("actionAbout"));
}

void MainFrame::buildToolBar()
{
    QToolBar* bar = addToolBar(tr("Tools"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setVisible(!s_.settings.hideToolbar);
    const auto button = [&](const char* icon, const QString& text, const QString& tip) {
        QAction* a = bar->addAction(ProgramIcon(QString::fromLatin1(icon)), text);
        a->setToolTip(tip);
        a->setStatusTip(tip);
        a->setEnabled(false);  // their windows are not part of this build yet
        return a;
    };
    // The wizard buttons act as their menu items do.
    QAction* program = button("program", tr("Program Wizard"), tr("Add a task to run a program"));
    program->setObjectName(QStringLiteral("toolProgramWizard"));
    program->setEnabled(true);
    connect(program, &QAction::triggered, addProgram_, &QAction::trigger);
    QAction* message =
        button("message", tr("Message Wizard"), tr("Add a task to display a message"));
    message->setObjectName(QStringLiteral("toolMessageWizard"));
    message->setEnabled(true);
    connect(message, &QAction::triggered, addMessage_, &QAction::trigger);
    QAction* reminder = button("reminder", tr("Quick Reminder"),
                               tr("Add a message in one line: what, then when"));
    reminder->setObjectName(QStringLiteral("toolQuickReminder"));
    reminder->setEnabled(true);
    connect(reminder, &QAction::triggered, quickReminder_, &QAction::trigger);
    QAction* schedule = button("schedule", tr("View Schedule"), tr("View Schedule"));
    schedule->setObjectName(QStringLiteral("toolViewSchedule"));
    schedule->setEnabled(true);
    connect(schedule, &QAction::triggered, this, &MainFrame::openSchedule);
    QAction* todo = button("todo", tr("To Do List"),
                           tr("View the To Do List with options to add or modify"));
    todo->setObjectName(QStringLiteral("toolToDoList"));
    todo->setEnabled(true);
    connect(todo, &QAction::triggered, toDo_, &QAction::trigger);
    bar->addSeparator();
    indicator_ = new QLabel(bar);
    indicator_->setObjectName(QStringLiteral("scriptIndicator"));
    indicator_->setMinimumWidth(12);
    indicator_->setAlignment(Qt::AlignCenter);
    bar->addWidget(indicator_);
    stopScript_ = bar->addAction(ProgramIcon(QStringLiteral("stop")), tr("Stop Running Script"));
    stopScript_->setObjectName(QStringLiteral("actionStopScript"));
    stopScript_->setEnabled(false);
    connect(stopScript_, &QAction::triggered, this, [this] {
        if (scripts_ != nullptr && scripts_->pending())
            scripts_->stop();
    });
}

void MainFrame::buildStatusBar()
{
    for (int i = 0; i < 4; ++i) {
        zones_[i] = new QLabel(this);
        zones_[i]->setObjectName(QStringLiteral("zone%1").arg(i + 1));
    }
    statusBar()->addWidget(zones_[0], 1);
    statusBar()->addPermanentWidget(zones_[1], 2);
    statusBar()->addPermanentWidget(zones_[2]);
    statusBar()->addPermanentWidget(zones_[3]);
}

void MainFrame::start()
{
    RestoreWindowPosition(this, s_.positions, QStringLiteral("Main"));
    opened_ = true;
    if (tray_ != nullptr)
        tray_->prepare();
    if (scheduler_ != nullptr)
        scheduler_->refreshClockZones();
    openStartUpWindows();
    timer_->start();
}

void MainFrame::openStartUpWindows()
{
    if (s_.settings.startUpContacts)
        openContacts();
    if (s_.settings.startUpClipboardSaver && s_.clipboard != nullptr)
        openClipboardSaver();
    if (s_.settings.startUpToDo)
        openToDo();
    if (s_.settings.startUpSchedule)
        openSchedule();
}

std::string MainFrame::title() const
{
    return windowTitle().toStdString();
}

void MainFrame::setTitle(const std::string& text)
{
    const QString t = QString::fromStdString(text);
    if (t != windowTitle())
        setWindowTitle(t);
}

void MainFrame::setZoneText(int zone, std::string_view text)
{
    if (zone < 1 || zone > 4)
        return;
    const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (zones_[zone - 1]->text() != t)
        zones_[zone - 1]->setText(t);
}

QString MainFrame::zoneText(int zone) const
{
    return zone >= 1 && zone <= 4 ? zones_[zone - 1]->text() : QString();
}

void MainFrame::setScriptIndicator(bool running)
{
    indicator_->setText(running ? QStringLiteral("*") : QString());
    stopScript_->setEnabled(running);
}

void MainFrame::setTimerInterval(int hundredths)
{
    timer_->setInterval(hundredths * 10);
}

int MainFrame::timerInterval() const
{
    return timer_->interval() / 10;
}

bool MainFrame::isMinimized() const
{
    // Hidden in the tray is minimised, whatever state the desktop reports for
    // a window it no longer maps.
    return QMainWindow::isMinimized() || (tray_ != nullptr && tray_->shown());
}

bool MainFrame::isVisible() const
{
    return QMainWindow::isVisible();
}

void MainFrame::unminimize()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
}

void MainFrame::showNormal()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    QMainWindow::show();
    raise();
    activateWindow();
}

void MainFrame::showBehind()
{
    // An activation asked for before the window is mapped is carried out once
    // it is exposed, which would put the frame over a message opened meanwhile.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    QMainWindow::show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void MainFrame::hide()
{
    // Into the tray as a normal window: one hidden while minimised keeps the
    // iconic hint, maps iconic when shown again and so goes straight back.
    if (QMainWindow::isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    QMainWindow::hide();
}

void MainFrame::runCommand(scheduler::FrameCommand command)
{
    switch (command) {
    case scheduler::FrameCommand::Setup: openSetup(); break;
    case scheduler::FrameCommand::About: openAbout(); break;
    case scheduler::FrameCommand::Close: close(); break;
    case scheduler::FrameCommand::AddMessage: addMessage_->trigger(); break;
    case scheduler::FrameCommand::AddProgram: addProgram_->trigger(); break;
    case scheduler::FrameCommand::QuickReminder: quickReminder_->trigger(); break;
    case scheduler::FrameCommand::ToDoList: toDo_->trigger(); break;
    }
}

QMenu* MainFrame::trayMenu()
{
    delete trayMenu_;
    trayMenu_ = new QMenu(this);
    trayMenu_->setObjectName(QStringLiteral("trayMenu"));
    const bool pending = scripts_ != nullptr && scripts_->pending();
    const QStringList texts = QString::fromStdString(scheduler::TrayController::MenuText(pending)).split('|');
    const auto choices = scheduler::TrayController::Choices(pending);
    std::size_t next = 0;
    for (const QString& text : texts) {
        if (text == QLatin1String("-")) {
            trayMenu_->addSeparator();
            continue;
        }
        const scheduler::TrayChoice choice = choices[next++];
        QAction* action = trayMenu_->addAction(text);
        connect(action, &QAction::triggered, this, [this, choice] {
            if (tray_ != nullptr && scripts_ != nullptr)
                tray_->choose(choice, *scripts_);
        });
    }
    return trayMenu_;
}

void MainFrame::onTrayActivated(bool context)
{
    if (tray_ == nullptr)
        return;
    if (context)
        trayMenu()->popup(QCursor::pos());
    else
        tray_->restoreFromTray();
}

bool MainFrame::event(QEvent* event)
{
    // Menu and control hints belong in zone 1; the status bar's own message
    // line would cover the zones instead.
    if (event->type() == QEvent::StatusTip) {
        setZoneText(1, static_cast<QStatusTipEvent*>(event)->tip().toStdString());
        return true;
    }
    return QMainWindow::event(event);
}

void MainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && QMainWindow::isMinimized() && tray_ != nullptr &&
        !tray_->shown()) {
        // Leave the event first: hiding a window while it minimises confuses some window managers.
        QTimer::singleShot(0, this, [this] {
            if (QMainWindow::isMinimized())
                tray_->minimiseToTray();
        });
    }
}

bool MainFrame::keepRunningOnWindowClose()
{
    const auto toTray = [this] {
        if (tray_ != nullptr)
            tray_->minimiseToTray();
        // No notification area (or none allowed): an ordinary minimised window still runs.
        if (tray_ == nullptr || !tray_->shown())
            setWindowState(windowState() | Qt::WindowMinimized);
    };
    switch (scheduler::DecideWindowClose(s_.settings, windowClose_, scheduler::TaskToCome(s_.db))) {
    case scheduler::WindowClose::Exit:
        return false;
    case scheduler::WindowClose::ToTray:
        toTray();
        return true;
    case scheduler::WindowClose::Ask:
        break;
    }
    switch (s_.prompter.ask(scheduler::KeepRunningQuestion())) {
    case platform::MessageButton::Yes:
        toTray();
        return true;
    case platform::MessageButton::No:
        return false;
    default:
        return true;  // cancelled: the window stays as it was
    }
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    // Only the window's own close (from the window manager) may keep the
    // program; Exit, the tray's Exit and the session's end close it directly.
    if (!closing_ && event->spontaneous() && keepRunningOnWindowClose()) {
        event->ignore();
        return;
    }
    closing_ = true;
    timer_->stop();
    area_->closeAllSubWindows();  // each child keeps its place as it closes
    if (tray_ != nullptr)
        tray_->removeForFrame(false);  // no icon is left behind
    if (opened_)
        SaveWindowPosition(this, s_.positions, QStringLiteral("Main"));
    s_.log.logEvent("Exit Horalyn", "");
    event->accept();
    Q_EMIT closed();
}

void MainFrame::openChild(const QString& objectName, const std::function<QWidget*()>& make)
{
    // One window of each kind: asking again brings the open one forward.
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (sub->widget() != nullptr && sub->widget()->objectName() == objectName) {
            area_->setActiveSubWindow(sub);
            return;
        }
    }
    QWidget* window = make();
    QMdiSubWindow* sub = area_->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Its forms and questions run on its stack: closed by its own button or
    // by its frame, it stays until they end.
    KeepOpenWhileNested(sub);
    KeepOpenWhileNested(window);
    sub->setWindowIcon(window->windowIcon());
    window->show();
}

void MainFrame::openCategories()
{
    openChild(QStringLiteral("BROWSECATEGORIES$QUICKWINDOW"), [this] {
        return new BrowseCategoriesWindow(WindowServices{s_.db, s_.positions, s_.prompter},
                                          [this](const std::string& category, QWidget* parent) {
                                              openScheduleOfCategory(category, parent);
                                          });
    });
}

void MainFrame::openContacts()
{
    openChild(QStringLiteral("BROWSECONTACTS$QUICKWINDOW"), [this] {
        return new BrowseContactsWindow(WindowServices{s_.db, s_.positions, s_.prompter}, s_.clipboard);
    });
}

void MainFrame::openContactCategories()
{
    openChild(QStringLiteral("BROWSECONTACTCATEGORIES$QUICKWINDOW"), [this] {
        return new BrowseContactCategoriesWindow(WindowServices{s_.db, s_.positions, s_.prompter});
    });
}

ScheduleBrowserServices MainFrame::browserServices()
{
    return ScheduleBrowserServices{
        {{s_.db, s_.positions, s_.prompter}, s_.clock, s_.ini, s_.sound},
        *s_.tags,
        selectedDay_,
        s_.settings.multiUser ? s_.settings.userId : std::string(),
        s_.settings.fullSchedule,
        [this](std::int64_t rowid) {
            return scheduler_ != nullptr ? scheduler_->runNow(rowid) : scheduler::Scheduler::RunNow::Busy;
        },
        s_.windows,
    };
}

void MainFrame::openSchedule()
{
    if (s_.tags == nullptr)
        return;
    openChild(QStringLiteral("BROWSESCHEDULE$QUICKWINDOW"), [this] { return new BrowseScheduleWindow(browserServices()); });
}

void MainFrame::openScheduleOfCategory(const std::string& category, QWidget* parent)
{
    if (s_.tags == nullptr)
        return;
    auto* window = new BrowseScheduleWindow(browserServices(), parent);
    window->setWindowFlag(Qt::Window);
    window->setWindowModality(Qt::WindowModal);
    window->setAttribute(Qt::WA_DeleteOnClose);
    KeepOpenWhileNested(window);
    window->showCategory(category);
    window->show();
}

void MainFrame::openToDo()
{
    openChild(QStringLiteral("VIEWTODO$QUICKWINDOW"), [this] { return new ViewToDoWindow(pimServices()); });
}

void MainFrame::openClipboardSaver()
{
    if (s_.clipboard == nullptr)
        return;
    openChild(QStringLiteral("BROWSECLIPBOARD$QUICKWINDOW"), [this] {
        return new BrowseClipboardWindow(WindowServices{s_.db, s_.positions, s_.prompter}, *s_.clipboard,
                                         s_.clipboardMonitor);
    });
}

PimWindowServices MainFrame::pimServices() const
{
    return {WindowServices{s_.db, s_.positions, s_.prompter}, s_.clock, QString::fromStdString(s_.settings.userId)};
}

namespace {

constexpr int kExchangeBatch = 200;
QString CsvFilter()
{
    return MainFrame::tr("Comma-Delimited Files (*.csv *.CSV);;All Files (*)");
}

// The table as the user reads it; file names keep the English title.
QString TableShown(exchange::ExchangeTable table)
{
    switch (table) {
    case exchange::ExchangeTable::Schedule: return MainFrame::tr("Schedule");
    case exchange::ExchangeTable::Contacts: return MainFrame::tr("Contacts");
    case exchange::ExchangeTable::Todo: return MainFrame::tr("To Do");
    }
    return {};
}

QString JobName(const char* job, exchange::ExchangeTable table)
{
    return QString::fromUtf8(job) + QString::fromUtf8(exchange::TableTitle(table)).toUpper().remove(QLatin1Char(' ')) +
           QStringLiteral("$PROGRESSWINDOW");
}

}  // namespace

namespace {

QString OthersFilter(bool calendar)
{
    return calendar ? MainFrame::tr("iCalendar Files (*.ics *.ICS);;All Files (*)")
                    : MainFrame::tr("vCard Files (*.vcf *.VCF);;All Files (*)");
}

QString ImportTitle(exchange::ExchangeTable table)
{
    return MainFrame::tr("Import %1").arg(TableShown(table));
}

QString ExportTitle(exchange::ExchangeTable table)
{
    return MainFrame::tr("Export %1").arg(TableShown(table));
}

void ShowSummary(platform::Prompter& prompter, const exchange::ImportSummary& summary, exchange::ExchangeTable table)
{
    prompter.ask({exchange::SummaryText(summary), ImportTitle(table).toStdString(), platform::MessageIcon::Information});
}

}  // namespace

void MainFrame::runExport(exchange::ExchangeTable table)
{
    FieldChooserWindow chooser(table, SavedLayout(table, s_.dataFolder), false, this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    const exchange::FieldLayout layout = chooser.layout();
    SaveLayout(table, layout, s_.dataFolder);
    const QString title = QString::fromUtf8(exchange::TableTitle(table));
    const QString file = ChooseFile(this, {FileRequest::Kind::Save, ExportTitle(table), CsvFilter(),
                                           title.toLower().remove(QLatin1Char(' ')) + QStringLiteral(".csv")});
    if (file.isEmpty())
        return;
    exchange::ExportJob job(s_.db, table, layout, file.toStdString(), s_.prompter);
    ProgressWindow::Run(job, kExchangeBatch, JobName("EXPORT", table), this);
}

void MainFrame::runImport(exchange::ExchangeTable table)
{
    const QString file = ChooseFile(this, {FileRequest::Kind::Open, ImportTitle(table), CsvFilter(), {}});
    if (file.isEmpty())
        return;
    FieldChooserWindow chooser(table, SavedLayout(table, s_.dataFolder), true, this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    const exchange::FieldLayout layout = chooser.layout();
    SaveLayout(table, layout, s_.dataFolder);
    exchange::ImportJob job(s_.db, table, layout, file.toStdString(), s_.prompter);
    ProgressWindow::Run(job, kExchangeBatch, JobName("IMPORT", table), this);
    if (!job.refused())
        ShowSummary(s_.prompter, job.summary(), table);
}

void MainFrame::runExportOf(Exchange format, exchange::ExchangeTable table)
{
    const QString title = QString::fromUtf8(exchange::TableTitle(table));
    const bool calendar = format == Exchange::Calendar || format == Exchange::CalendarHistory;
    const QString file =
        ChooseFile(this, {FileRequest::Kind::Save, ExportTitle(table), OthersFilter(calendar),
                          title.toLower().remove(QLatin1Char(' ')) + (calendar ? QStringLiteral(".ics") : QStringLiteral(".vcf"))});
    if (file.isEmpty())
        return;
    if (calendar) {
        exchange::CalendarExportJob job(s_.db, table, file.toStdString(), s_.clock.nowUtc(), s_.prompter,
                                        {.history = format == Exchange::CalendarHistory});
        ProgressWindow::Run(job, kExchangeBatch, JobName("EXPORT", table), this);
        // A rule written as occurrences, and a record left out, is said, not passed over.
        if (job.ok() && (!job.notes().empty() || job.disabledLeftOut() > 0 || job.historyLeftOut() > 0))
            s_.prompter.ask({exchange::CalendarExportSummary(job), ExportTitle(table).toStdString(),
                             platform::MessageIcon::Information});
        return;
    }
    exchange::VCardExportJob job(s_.db, file.toStdString(),
                                 format == Exchange::Cards3 ? exchange::VCardVersion::V3 : exchange::VCardVersion::V4,
                                 s_.prompter);
    ProgressWindow::Run(job, kExchangeBatch, JobName("EXPORT", table), this);
}

void MainFrame::runImportOf(Exchange format, exchange::ExchangeTable table)
{
    const bool calendar = format == Exchange::Calendar;
    const QString file = ChooseFile(
        this, {FileRequest::Kind::Open, ImportTitle(table), OthersFilter(calendar), {}});
    if (file.isEmpty())
        return;
    if (calendar) {
        exchange::CalendarImportJob job(s_.db, table, file.toStdString(), s_.clock, s_.prompter);
        ProgressWindow::Run(job, kExchangeBatch, JobName("IMPORT", table), this);
        if (!job.refused())
            ShowSummary(s_.prompter, job.summary(), table);
        return;
    }
    exchange::VCardImportJob job(s_.db, file.toStdString(), s_.prompter);
    ProgressWindow::Run(job, kExchangeBatch, JobName("IMPORT", table), this);
    if (!job.refused())
        ShowSummary(s_.prompter, job.summary(), table);
}

void MainFrame::openWizard(scheduler::AddWizard wizard)
{
    const ScheduleWindowServices services{{s_.db, s_.positions, s_.prompter}, s_.clock, s_.ini, s_.sound, s_.windows};
    if (WizardWindow* window = WizardWindow::OpenAddWizard(services, wizard, this)) {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        window->raise();
        window->activateWindow();
    }
}

void MainFrame::openQuickReminder()
{
    const ScheduleWindowServices services{{s_.db, s_.positions, s_.prompter}, s_.clock, s_.ini, s_.sound, s_.windows};
    auto* window = new QuickReminderWindow(services, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
}

QPrinter& MainFrame::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void MainFrame::openPrintSetup()
{
    QPageSetupDialog setup(&printer(), this);
    setup.setObjectName(QStringLiteral("PRINTSETUP$WINDOW"));
    setup.exec();
}

void MainFrame::openReport(scheduler::ReportKind kind)
{
    const std::string user = s_.settings.userId;
    OpenReport({{s_.db, s_.positions, s_.prompter}, s_.clock, user, printer()}, kind, this);
}

void MainFrame::openSetup()
{
    SetupWindow setup({s_.db, s_.settings, s_.ini, s_.positions, s_.prompter,
                       [this] {
                           if (scripts_ != nullptr)
                               scripts_->stop();
                       },
                       s_.setClipboardLimit},
                      this);
    setup.exec();
    if (QToolBar* bar = findChild<QToolBar*>(QStringLiteral("toolBar")))
        bar->setVisible(!s_.settings.hideToolbar);
}

void MainFrame::openAbout()
{
    AboutWindow about(s_.dataFolder, s_.positions, this);
    about.exec();
}

HelpWindow* MainFrame::openGuide(const QString& anchor)
{
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr || owner == help_)
        owner = this;
    // One help window, brought to the front when it is open already.
    if (help_ == nullptr) {
        help_ = new HelpWindow(s_.guide, s_.positions, owner);
    } else if (help_->parentWidget() != owner) {
        MoveWindowTo(help_, owner);
    }
    if (owner != this && help_->parentWidget() == owner && 
        owner->findChild<QObject*>(QStringLiteral("helpLoan"), Qt::FindDirectChildrenOnly) == nullptr)
        new HelpLoan(owner, help_, this);
    if (!anchor.isEmpty())
        help_->showAnchor(anchor);
    help_->show();
    help_->raise();
    help_->activateWindow();
    return help_;
}

}  // namespace hrln::ui
