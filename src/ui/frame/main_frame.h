#pragma once

#include "data/database.h"
#include "data/event_log.h"
#include "data/profile_file.h"
#include "data/record_tags.h"
#include "data/settings.h"
#include "exchange/field_layout.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/sound.h"
#include "platform/windows.h"
#include "scheduler/add_wizards.h"
#include "scheduler/frame_view.h"
#include "scheduler/report_catalogue.h"
#include "scheduler/window_close.h"
#include "ui/schedule/browse_schedule.h"
#include "ui/pim/pim_services.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QLabel;
class QMdiArea;
class QTimer;
class QAction;
class QMenu;
class QPrinter;

namespace hrln::scheduler {
class Scheduler;
class ScriptRunner;
class TrayController;
}  // namespace hrln::scheduler

namespace hrln::pim {
class ClipboardMonitor;
}
namespace hrln::platform {
class Clipboard;
}

namespace hrln::ui {

class HelpWindow;

struct FrameServices {
    data::Database& db;
    data::Settings& settings;
    data::EventLog& log;
    data::ProfileFile& ini;
    data::ProfileFile& positions;
    const platform::Clock& clock;
    platform::Prompter& prompter;
    QString dataFolder;
    QString guide;  // the user guide (an HTML file)
    std::function<void(int)> setClipboardLimit;
    platform::Sound* sound = nullptr;  // the wizards' "&Play"
    platform::Clipboard* clipboard = nullptr;  // the clipboard saver's; none: its browser is not offered
    pim::ClipboardMonitor* clipboardMonitor = nullptr;
    data::RecordTags* tags = nullptr;  // the user's marks on the schedule (none: no search)
    platform::Windows* windows = nullptr;  // the desktop's windows, for the script editor's lists
};

// The application frame MAIN$APPFRAME: menus, toolbar, the four-zone status
// bar, the client area for browsing windows, and the one timer that drives
// the scheduler.
class MainFrame : public QMainWindow, public scheduler::FrameView {
    Q_OBJECT

public:
    explicit MainFrame(FrameServices services, QWidget* parent = nullptr);

    ~MainFrame() override;

    void attach(scheduler::Scheduler* scheduler, scheduler::TrayController* tray, scheduler::ScriptRunner* scripts);
    // The frame's opening: position, the tray record, the first clock zones,
    // the timer. Call once, after attach().
    void start();

    // scheduler::FrameView
    std::string title() const override;
    void setTitle(const std::string& title) override;
    void setZoneText(int zone, std::string_view text) override;
    void setScriptIndicator(bool running) override;
    void setTimerInterval(int hundredths) override;
    bool isMinimized() const override;
    bool isVisible() const override;
    void unminimize() override;
    void showNormal() override;
    void showBehind() override;
    void hide() override;
    void runCommand(scheduler::FrameCommand command) override;

    QMdiArea* clientArea() const { return area_; }
    int timerInterval() const;
    QString zoneText(int zone) const;
    // The tray menu as offered now, separators included.
    QMenu* trayMenu();
    // The user closed the window (not Exit): tells whether the program keeps
    // running, the frame then gone to the tray, minimised, or left open.
    bool keepRunningOnWindowClose();

Q_SIGNALS:
    // The frame has closed: the program ends.
    void closed();

public Q_SLOTS:
    // A click on the tray icon restores the frame; `context` opens the menu instead.
    void onTrayActivated(bool context);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void openSetup();
    void openCategories();
    void openContacts();
    void openContactCategories();
    // "View Schedule"; with a category, its view, over `parent` and modal to it.
    void openSchedule();
    void openScheduleOfCategory(const std::string& category, QWidget* parent);
    ScheduleBrowserServices browserServices();
    void openToDo();
    void openClipboardSaver();
    // The browsers the settings open with the frame, in their set order.
    void openStartUpWindows();
    PimWindowServices pimServices() const;
    // Starts an add wizard beside the frame; several may be open at once.
    void openWizard(scheduler::AddWizard wizard);
    void openQuickReminder();
    void runExport(exchange::ExchangeTable table);
    void runImport(exchange::ExchangeTable table);
    // iCalendar files for the schedule and the to-do list, vCards for contacts.
    // CalendarHistory: the schedule with its history entries as past events.
    enum class Exchange { Calendar, CalendarHistory, Cards, Cards3 };
    void runExportOf(Exchange format, exchange::ExchangeTable table);
    void runImportOf(Exchange format, exchange::ExchangeTable table);
    // Opens the child window `objectName` in the client area, made by `make` unless it is open.
    void openChild(const QString& objectName, const std::function<QWidget*()>& make);
    void openAbout();
    // The guide's window, open at the element with id `anchor`. Over a window that
    // waits for an answer it belongs to that window, which would otherwise block it.
    HelpWindow* openGuide(const QString& anchor);
    // File, Print Setup: the page and printer every report prints with.
    void openPrintSetup();
    void openReport(scheduler::ReportKind kind);
    QPrinter& printer();
    QAction* unavailable(QMenu* menu, const QString& text, const QString& hint);

    FrameServices s_;
    scheduler::Scheduler* scheduler_ = nullptr;
    scheduler::TrayController* tray_ = nullptr;
    scheduler::ScriptRunner* scripts_ = nullptr;
    QMdiArea* area_ = nullptr;
    QTimer* timer_ = nullptr;
    QLabel* zones_[4] = {};
    QLabel* indicator_ = nullptr;
    QAction* stopScript_ = nullptr;
    QAction* addMessage_ = nullptr;
    QAction* addProgram_ = nullptr;
    QAction* quickReminder_ = nullptr;
    QAction* toDo_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    Date selectedDay_ = 0;  // the schedule browser's day, a new task's default
    bool opened_ = false;
    bool closing_ = false;
    scheduler::WindowCloseState windowClose_;
    QPointer<HelpWindow> help_;  // the user guide's window while it is open
    std::unique_ptr<QPrinter> printer_;  // made on first use: finding printers takes a while
};

}  // namespace hrln::ui
