#include "app/application.h"

#include "app/engine_runner.h"
#include "app/qt_event_pump.h"
#include "app/single_instance.h"
#include "app/termination.h"
#include "data/event_log.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/record_tags.h"
#include "data/table_open.h"
#include "pim/clipboard_monitor.h"
#include "platform/dbus/qt_desktop_bus.h"
#include "platform/dbus/qt_notifications.h"
#include "platform/posix/helper_programs.h"
#include "platform/posix/inotify_store_watch.h"
#include "platform/posix/posix_processes.h"
#include "platform/posix/start_target.h"
#include "platform/posix/station_probe.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/user_session.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/media_playback.h"
#include "platform/qt/qt_sound.h"
#include "platform/qt/qt_tray.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_keyboard.h"
#include "platform/x11/window_title.h"
#include "platform/x11/x11_windows.h"
#include "scheduler/scheduler.h"
#include "script/key_list_file.h"
#include "script/script_engine.h"
#include "ui/frame/main_frame.h"
#include "ui/frame/message_dialog.h"
#include "ui/widgets/qt_prompter.h"
#include "ui/widgets/schedule_notifier.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace hrln::app {
namespace {

// How soon a started program is first looked for, and how seldom at most
// while it keeps running (milliseconds).
constexpr int kFirstReap = 500;
constexpr int kLongestReap = 8000;

// Our own helper programs start with their arguments exactly as given.
class QtProgramLauncher : public platform::ProgramLauncher {
public:
    bool startDetached(const std::string& program, const std::vector<std::string>& arguments) override
    {
        QStringList args;
        for (const std::string& a : arguments)
            args << QString::fromStdString(a);
        return QProcess::startDetached(QString::fromStdString(program), args);
    }
};

// The helpers lie beside the program in the build tree and in the helper
// folder once installed.
std::string Helper(const char* name)
{
    return platform::posix::HelperProgram(QCoreApplication::applicationDirPath().toStdString(), HRLN_HELPER_FOLDER,
                                          name);
}

// hrlnmsg, when neither place has it, is looked for on the path.
std::string MessageProgram()
{
    const std::string found = Helper("hrlnmsg");
    if (found.empty())
        qWarning("hrlnmsg not found beside the program nor in its helper folder");
    return found.empty() ? std::string("hrlnmsg") : found;
}

// hrlnstart holds a task's programs until the occurrence is recorded; without
// it they start at once.
std::string GateProgram()
{
    std::string found = Helper("hrlnstart");
    if (found.empty())
        found = platform::posix::FindOnPath("hrlnstart");
    if (found.empty())
        qWarning("hrlnstart not found: the programs of a task start before its run is recorded");
    return found;
}

}  // namespace

QString ShippedFile(const QString& relativePath)
{
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/" HRLN_DATA_FOLDER "/") +
                              relativePath;
    if (QFileInfo::exists(installed))
        return QFileInfo(installed).canonicalFilePath();
    return QStringLiteral(HRLN_SOURCE_DIR "/resources/") + relativePath;
}

namespace {

// The guide is installed as the program's help; the source tree keeps it as the guide.
QString GuideFile()
{
    const QString installed = ShippedFile(QStringLiteral("help/index.html"));
    return QFileInfo::exists(installed) ? installed : ShippedFile(QStringLiteral("guide/index.html"));
}

}  // namespace

int RunApplication(const QString& dataFolder, const StartOptions& options)
{
    SingleInstance instance(dataFolder);
    if (instance.otherIsRunning()) {
        // The running program comes to the front instead.
        std::fprintf(stderr, "horalyn: already running on %s; that program was asked to come to the front\n",
                     qPrintable(dataFolder));
        return 0;
    }
    // Without its socket the program still runs; a later start then cannot
    // find it and starts a second program on the same database, which the
    // stations keep apart.
    if (!instance.listen())
        std::fprintf(stderr, "horalyn: a later start will not find this program: %s\n",
                     qPrintable(instance.problem()));
    else if (!instance.problem().isEmpty())
        std::fprintf(stderr, "horalyn: %s\n", qPrintable(instance.problem()));

    ui::QtPrompter prompter;
    platform::posix::SystemClock clock;
    platform::posix::UserSession session;

    // The frame's tables; a first start makes the database.
    data::Database db(data::kMainDatabaseFile, data::MainLayout());
    db.checkpointInBackground();
    for (const data::TableSchema* table :
         {&data::ClipboardRecord::schema(), &data::ScheduleRecord::schema(), &data::ScriptingRecord::schema()}) {
        if (!data::CheckOpen(db, *table, true, false, data::AccessMode::ReadWrite, prompter).ok())
            return 1;
    }

    // The marks of the schedule search; without them the program still runs.
    data::Database tagFile(data::kTagFile, data::TagLayout());
    if (data::CheckOpen(tagFile, data::TagRecord::schema(), true, false, data::AccessMode::ReadWrite, prompter).ok())
        db.attach(tagFile.path(), data::RecordTags::kSchema);

    data::ProfileFile ini(data::kSettingsFile);
    data::ProfileFile positions(data::kPositionsFile);
    ini.write(data::kSettingsSection, "Version", std::string("Horalyn ") + HRLN_VERSION);
    data::Settings settings = data::LoadSettings(ini, &session);
    data::EventLog log(data::kEventLogFile, clock, settings);
    // What the event log records, also on standard error when asked to be verbose.
    log.setObserver([](std::string_view label, std::string_view data) {
        qDebug("event: %.*s: %.*s", static_cast<int>(label.size()), label.data(), static_cast<int>(data.size()),
               data.data());
    });
    data::RecordTags tags(tagFile, data::TagUser(settings.multiUser ? settings.userId : std::string()),
                          data::TaggedTable::Schedule);
    std::string keyListError;
    script::InstallKeyList(ShippedFile(QString::fromLatin1(script::kKeyListFile)).toStdString(),
                           dataFolder.toStdString(), keyListError);

    // The desktop.
    platform::x11::X11Connection x11;
    platform::x11::X11Windows windows(x11);
    prompter.setTitleEraser([&x11](unsigned long window) { platform::x11::ClearWindowTitle(x11, window); });
    platform::x11::X11Keyboard keyboard;
    platform::posix::PosixProcesses processes(GateProgram());
    platform::posix::PosixStationProbe stations;
    platform::dbus::QtDesktopBus bus;
    QtEventPump pump;
    platform::qt::QtTray trayBackend;
    platform::qt::QtSound sound(platform::posix::HelperModule(QCoreApplication::applicationDirPath().toStdString(),
                                                              HRLN_HELPER_FOLDER, platform::qt::kMediaModule));
    platform::qt::QtClipboard clipboard;
    QtProgramLauncher launcher;
    platform::dbus::QtNotifications notifications;

    pim::ClipboardMonitor monitor(db, clipboard, settings, clock);
    // The limit chosen in the settings window holds from one run to the next;
    // without it a restart would trim the saved texts back to the default.
    if (!ini.read(data::kSettingsSection, "MaxClipboardEntries").empty())
        monitor.limit = static_cast<int>(ini.readNumber(data::kSettingsSection, "MaxClipboardEntries"));
    settings.maxClipboardEntries = monitor.limit;

    ui::MainFrame frame({db, settings, log, ini, positions, clock, prompter, dataFolder,
                         GuideFile(), [&monitor](int n) { monitor.limit = n; }, &sound,
                         &clipboard, &monitor, &tags, &windows});
    prompter.setFallbackOwner(&frame);
    scheduler::TrayController tray(trayBackend, frame, settings);
    script::ScriptEngine engine({db, settings, log, clock, prompter, windows, keyboard, processes, bus, pump, frame,
                                 tray});
    EngineRunner runner(engine);
    scheduler::MessageWindowCounter messageWindows;
    ui::QtMessageLauncher messages({db, settings, log, clock, prompter, sound, launcher, messageWindows,
                                    MessageProgram(), &notifications},
                                   positions, nullptr);
    messages.setOwnBoxes(true);
    messages.useNotifications(notifications);
    messages.setUserElsewhere([&windows] { return windows.anotherProgramHasFocus(); });
    // A tick with nothing due reads the file only when somebody wrote it.
    platform::posix::InotifyStoreWatch storeWatch(db.path());
    scheduler::Scheduler scheduler({db, settings, log, clock, prompter, sound, frame, tray, runner, messages,
                                    messageWindows, &monitor, ui::NotifyScheduleBrowsers, &stations, &processes,
                                    &storeWatch});
    // A program that ends is collected soon after, not at the next start.
    // The timer runs only while children do, and looks less often while one
    // keeps running: a waiting program wakes for nothing.
    QTimer reaper;
    QObject::connect(&reaper, &QTimer::timeout, &reaper, [&processes, &reaper] {
        processes.reapEnded();
        if (processes.unreapedChildren() == 0)
            reaper.stop();
        else
            reaper.setInterval(std::min(2 * reaper.interval(), kLongestReap));
    });
    processes.setWhenChildStarts(
        [&reaper] { QMetaObject::invokeMethod(&reaper, [&reaper] { reaper.start(kFirstReap); }); });
    // A started program's window gets its window mode as soon as it shows;
    // the timer runs only while a mode waits for its window.
    QTimer startModes;
    QObject::connect(&startModes, &QTimer::timeout, &startModes, [&windows, &startModes] {
        if (!windows.tendStartModes())
            startModes.stop();
    });
    windows.setWhenModeWaits([&startModes] {
        QMetaObject::invokeMethod(&startModes, [&startModes] {
            if (!startModes.isActive())
                startModes.start(100);
        });
    });
    frame.attach(&scheduler, &tray, &runner);

    QObject::connect(&trayBackend.icon(), &QSystemTrayIcon::activated, &frame,
                     [&frame](QSystemTrayIcon::ActivationReason reason) {
                         frame.onTrayActivated(reason == QSystemTrayIcon::Context);
                     });
    QObject::connect(&instance, &SingleInstance::showRequested, &frame, [&] {
        if (tray.shown())
            tray.restoreFromTray();
        else
            frame.showNormal();
    });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &frame, [&frame] { frame.close(); });
    CloseOnTerminationSignals(&frame);

    frame.show();
    windows.setOwnMainWindow(static_cast<platform::WindowHandle>(frame.winId()));
    frame.start();
    // --minimized holds for this run only: the settings keep their own choice.
    if (settings.startUpMinimized || options.minimized)
        frame.setWindowState(frame.windowState() | Qt::WindowMinimized);
    log.logEvent("Started", frame.title());

    // The program ends with its frame, even while message windows are open.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&frame, &ui::MainFrame::closed, qApp, &QCoreApplication::quit);
    const int status = QApplication::exec();
    messages.closeNotices();
    // Message windows still open close now, while what they use is still there.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<ui::MessageDialog*>(window) != nullptr)
            window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

}  // namespace hrln::app
