#include "ui/schedule/browse_schedule.h"

#include "data/event_log.h"
#include "data/settings.h"
#include "modal.h"
#include "scheduler/message_window.h"
#include "scheduler/scheduler.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/fake_station_probe.h"
#include "support/scheduler_doubles.h"
#include "ui/frame/message_dialog.h"
#include "ui/schedule/search_schedule.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/schedule_notifier.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionViewItem>
#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>

namespace hrln::test {
namespace {

using data::ScheduleRecord;
using ui::BrowseScheduleWindow;

const Date kMarch1 = MakeDate(3, 1, 2027);

class BrowseScheduleTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ASSERT_EQ(data::OpenTagFile(tagFile, db), data::kOk);
        scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
            db, settings, log, clock, prompter, sound, frame, tray, scripts, messages, windows, nullptr,
            ui::NotifyScheduleBrowsers, &probe, &gate});
    }

    std::unique_ptr<BrowseScheduleWindow> open(bool full = true)
    {
        auto w = std::make_unique<BrowseScheduleWindow>(ui::ScheduleBrowserServices{
            {{db, positions, prompter}, clock, ini, &sound},
            tags,
            selectedDay,
            "",
            full,
            [this](std::int64_t rowid) { return scheduler->runNow(rowid); },
        });
        w->show();
        return w;
    }

    std::int64_t add(ScheduleRecord r)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec = std::move(r);
        EXPECT_EQ(t.add(), data::kOk);
        return t.rowId();
    }

    static QString cell(BrowseScheduleWindow& w, int row, int column, int role = Qt::DisplayRole)
    {
        return w.list()->model()->data(w.list()->model()->index(row, column), role).toString();
    }
    template <class W>
    static W* child(QWidget& w, const char* name)
    {
        W* found = w.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static QAction* menuEntry(BrowseScheduleWindow& w, const QString& text)
    {
        for (QAction* a : w.list()->popupMenu()->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }

    FakeClock clock{kMarch1, MakeTime(8, 0)};
    data::Settings settings;
    FakePrompter prompter;
    data::EventLog log{dir.file(data::kEventLogFile), clock, settings};
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
    data::ProfileFile ini{dir.file(data::kSettingsFile)};
    FakeFrame frame;
    FakeTray trayBackend;
    FakeSound sound;
    FakeScripts scripts;
    FakeMessages messages;
    scheduler::MessageWindowCounter windows;
    scheduler::TrayController tray{trayBackend, frame, settings};
    FakeStationProbe probe{1};
    FakeStartGate gate;
    std::unique_ptr<scheduler::Scheduler> scheduler;
    data::Database tagFile{dir.file(data::kTagFile), data::TagLayout()};
    data::RecordTags tags{tagFile, 0, data::TaggedTable::Schedule};
    Date selectedDay = 0;
};

TEST_F(BrowseScheduleTest, AnEmptyDayLeavesOnlyAddAndAPickedDayBecomesTheNewTasksDefault)
{
    add(Task(1, kMarch1 + 3, MakeTime(9, 0), "Later"));
    auto w = open(false);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("View Schedule"));
    EXPECT_EQ(w->list()->tabs()->currentIndex(), BrowseScheduleWindow::DayTab);
    EXPECT_EQ(w->list()->model()->rowCount(), 0);  // nothing today
    EXPECT_TRUE(menuEntry(*w, QStringLiteral("&Add"))->isEnabled());
    for (const char* text : {"&Edit", "&Delete", "Cop&y", "&Scripting"})
        EXPECT_FALSE(menuEntry(*w, QString::fromLatin1(text))->isEnabled()) << text;
    for (const char* name : {"copyButton", "changeButton", "deleteButton", "rescheduleButton", "runNowButton"})
        EXPECT_FALSE(child<QPushButton>(*w, name)->isEnabled()) << name;
    EXPECT_TRUE(child<QPushButton>(*w, "pickDayButton")->isVisible());
    EXPECT_FALSE(child<QPushButton>(*w, "searchButton")->isVisible());

    w->showDay(kMarch1 + 3);
    EXPECT_EQ(w->list()->model()->rowCount(), 1);
    EXPECT_EQ(selectedDay, kMarch1 + 3);  // published
    EXPECT_TRUE(menuEntry(*w, QStringLiteral("Cop&y"))->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*w, "runNowButton")->isEnabled());
}

TEST_F(BrowseScheduleTest, TheDayViewSaysWhichDayItLists)
{
    auto w = open(false);
    auto* day = child<QLabel>(*w, "dayLabel");
    EXPECT_TRUE(day->isVisible());
    EXPECT_EQ(day->text(), QStringLiteral("Monday, March 1, 2027"));
    w->showDay(kMarch1 + 3);
    EXPECT_EQ(day->text(), QStringLiteral("Thursday, March 4, 2027"));
    w->list()->tabs()->setCurrentIndex(BrowseScheduleWindow::DateTab);
    EXPECT_FALSE(day->isVisible());  // the other views list no one day
    w->list()->tabs()->setCurrentIndex(BrowseScheduleWindow::DayTab);
    EXPECT_TRUE(day->isVisible());
}

// Dates and times in the list as the user's locale writes them, read again
// when the list is refreshed.
TEST_F(BrowseScheduleTest, DatesAndTimesFollowTheLocale)
{
    struct LocaleScope {
        QLocale before;
        ~LocaleScope() { QLocale::setDefault(before); }
    } scope;
    add(Task(1, kMarch1, MakeTime(21, 5), "Evening"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto w = open(false);
    w->showDay(kMarch1);
    ASSERT_EQ(w->list()->model()->rowCount(), 1);
    EXPECT_EQ(cell(*w, 0, 1), QStringLiteral("3/1/2027"));
    EXPECT_EQ(cell(*w, 0, 2), QStringLiteral("9:05 PM"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    w->list()->refresh();
    EXPECT_EQ(cell(*w, 0, 1), QStringLiteral("01.03.2027"));
    EXPECT_EQ(cell(*w, 0, 2), QStringLiteral("21:05"));
}

TEST_F(BrowseScheduleTest, TheIconAndDateColourFollowDoneSkipDisabledInThatOrder)
{
    // A history entry: performed, or passed over (its skip flag kept).
    ScheduleRecord doneAndSkip = Task(1, kMarch1, 100, "done and skip");
    doneAndSkip.completed = 1;
    doneAndSkip.disabled = 1;
    ScheduleRecord passedOver = doneAndSkip;
    passedOver.skipNextTime = 1;
    ScheduleRecord completedAndSkip = Task(5, kMarch1, 500, "completed and skip");
    completedAndSkip.completed = 1;
    completedAndSkip.skipNextTime = 1;
    ScheduleRecord offAndSkip = Task(2, kMarch1, 200, "disabled and skip");
    offAndSkip.disabled = 1;
    offAndSkip.skipNextTime = 1;
    ScheduleRecord skip = Task(3, kMarch1, 300, "skip");
    skip.skipNextTime = 1;
    ScheduleRecord plain = Task(4, kMarch1, 400, "plain");
    for (const auto* r : {&doneAndSkip, &offAndSkip, &skip, &plain})
        add(*r);

    EXPECT_EQ(ui::ScheduleStateIcon(doneAndSkip), QStringLiteral("done"));
    EXPECT_EQ(ui::ScheduleStateIcon(passedOver), QStringLiteral("skip"));
    EXPECT_EQ(ui::ScheduleStateIcon(completedAndSkip), QStringLiteral("done"));
    EXPECT_EQ(ui::ScheduleStateIcon(offAndSkip), QStringLiteral("skip"));
    EXPECT_EQ(ui::ScheduleStateIcon(skip), QStringLiteral("skip"));
    EXPECT_EQ(ui::ScheduleStateIcon(plain), QStringLiteral("notdone"));

    auto w = open();
    ASSERT_EQ(w->list()->model()->rowCount(), 4);
    const QColor grey(128, 128, 128);
    const QColor blue(0, 0, 255);
    const auto colour = [&](int row) {
        return w->list()->model()->data(w->list()->model()->index(row, 1), Qt::ForegroundRole).value<QColor>();
    };
    EXPECT_EQ(colour(0), grey);
    EXPECT_EQ(colour(1), grey);  // disabled wins over skip for the date
    EXPECT_EQ(colour(2), blue);
    EXPECT_FALSE(colour(3).isValid());
    EXPECT_EQ(cell(*w, 3, 4), QStringLiteral("plain"));
    EXPECT_EQ(cell(*w, 3, 1), QStringLiteral("2027-03-01"));
}

// On a highlighted row the skipped task's blue date and the disabled one's
// grey date are drawn as the delegate draws them, and each reads on the
// highlight about as well as the highlight's own text, still tinted.
TEST_F(BrowseScheduleTest, ColouredDatesStayReadableOnAHighlightedRow)
{
    ScheduleRecord skip = Task(3, kMarch1, 300, "skip");
    skip.skipNextTime = 1;
    ScheduleRecord off = Task(2, kMarch1, 200, "disabled");
    off.disabled = 1;
    add(skip);
    add(off);
    auto w = open();
    QTableView* view = w->list()->view();
    ASSERT_EQ(view->model()->rowCount(), 2);
    const QPalette palette = view->palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor highlightedText = palette.color(QPalette::Active, QPalette::HighlightedText);
    const double wanted = std::min(4.5, 0.85 * ui::ContrastRatio(highlightedText, highlight));
    for (int row = 0; row < 2; ++row) {
        const QModelIndex date = view->model()->index(row, 1);
        const QColor own = date.data(Qt::ForegroundRole).value<QColor>();
        ASSERT_TRUE(own.isValid());
        QImage image(view->columnWidth(1), view->rowHeight(row), QImage::Format_RGB32);
        image.fill(highlight);
        {
            QPainter painter(&image);
            QStyleOptionViewItem option;
            option.initFrom(view);
            option.rect = image.rect();
            option.state |= QStyle::State_Selected | QStyle::State_Active | QStyle::State_Enabled;
            option.palette = palette;
            option.font = view->font();
            option.fontMetrics = view->fontMetrics();
            view->itemDelegate()->paint(&painter, option, date);
        }
        double best = 1.0;
        QColor strongest;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const QColor c = image.pixelColor(x, y); ui::ContrastRatio(c, highlight) > best) {
                    best = ui::ContrastRatio(c, highlight);
                    strongest = c;
                }
        EXPECT_GE(best, wanted) << "row " << row;
        const QColor drawn = ui::ColourOnHighlight(own, highlight, highlightedText);
        EXPECT_NE(drawn, highlightedText) << "row " << row;  // some of the meaning is left
        EXPECT_GE(ui::ContrastRatio(drawn, highlight), wanted) << "row " << row;
    }
    // Unselected, the colours are the task's own.
    EXPECT_EQ(view->model()->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(128, 128, 128));
    EXPECT_EQ(view->model()->index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
}

TEST_F(BrowseScheduleTest, TheCategoryViewIgnoresCase)
{
    add(Task(1, kMarch1, 100, "a", "Work"));
    add(Task(2, kMarch1, 200, "b", "work"));
    add(Task(3, kMarch1, 300, "c", "Home"));
    add(Task(4, kMarch1, 400, "d", "WORK"));
    auto w = open();
    w->showCategory("wOrK");
    EXPECT_EQ(w->list()->tabs()->currentIndex(), BrowseScheduleWindow::CategoryTab);
    EXPECT_EQ(w->list()->model()->rowCount(), 3);
    EXPECT_TRUE(child<QPushButton>(*w, "pickCategoryButton")->isVisible());
}

TEST_F(BrowseScheduleTest, ATaskWrittenByAnotherProgramShowsAfterOneTickAndTheSelectionStays)
{
    add(Task(1, kMarch1 + 1, 100, "first"));
    const std::int64_t second = add(Task(2, kMarch1 + 2, 100, "second"));
    auto w = open();
    ASSERT_TRUE(w->list()->selectRowId(second));
    scheduler->tick();  // the file as it is now

    data::Database other(db.path(), data::MainLayout());
    ASSERT_EQ(other.open(), data::kOk);
    data::Table<ScheduleRecord> t(other);
    t.rec = Task(3, kMarch1, 100, "from elsewhere");
    ASSERT_EQ(t.add(), data::kOk);

    EXPECT_EQ(w->list()->model()->rowCount(), 2);
    scheduler->tick();
    EXPECT_EQ(w->list()->model()->rowCount(), 3);
    EXPECT_EQ(w->list()->selectedRowId(), second);
}

TEST_F(BrowseScheduleTest, OurOwnSnoozeAndEditsShowWithinOneTickButTheHeartbeatRefreshesNothing)
{
    const std::int64_t first = add(Task(1, kMarch1 + 1, 100, "first"));
    auto w = open();
    scheduler->tick();
    ASSERT_EQ(w->list()->model()->rowCount(), 1);

    // A snooze written through the frame's own connection: the message window's button.
    FakeLauncher launcher;
    ui::QtMessageLauncher messagesUi({db, settings, log, clock, prompter, sound, launcher, windows}, positions,
                                     nullptr);
    messagesUi.startMessage(scheduler::MakeMessageSlots("Stretch", "Stand up", ""));
    QPointer<QWidget> message;
    for (QWidget* shown : QApplication::topLevelWidgets())
        if (shown->objectName() == QStringLiteral("SHOWMESSAGE$WINDOW") && shown->isVisible())
            message = shown;
    ASSERT_FALSE(message.isNull());
    QTest::mouseClick(message->findChild<QPushButton*>(QStringLiteral("snoozeButton")), Qt::LeftButton);
    QTRY_VERIFY(message.isNull());
    scheduler->tick();
    EXPECT_EQ(w->list()->model()->rowCount(), 2);

    // An edit through the same connection (a form) also shows.
    data::Table<ScheduleRecord> t(db);
    ASSERT_EQ(t.reget(ScheduleRecord::KeyID, first), data::kOk);
    t.rec.description = "renamed";
    ASSERT_EQ(t.put(), data::kOk);
    scheduler->tick();
    bool renamed = false;
    for (int row = 0; row < w->list()->model()->rowCount(); ++row)
        renamed = renamed || cell(*w, row, 4) == QStringLiteral("renamed");
    EXPECT_TRUE(renamed);

    // The station's own heartbeat is no change of the schedule: the list is not read again.
    int refreshes = 0;
    const QMetaObject::Connection counting = QObject::connect(
        &ui::ScheduleNotifier::instance(), &ui::ScheduleNotifier::changed, [&refreshes] { ++refreshes; });
    clock.advance(100 * 60 * 2);  // past a heartbeat, before the snooze comes due
    scheduler->tick();
    scheduler->tick();
    QObject::disconnect(counting);
    EXPECT_EQ(refreshes, 0);
}

TEST_F(BrowseScheduleTest, RunNowLeavesOneHistoryEntryAndAGoneTaskIsSaidSo)
{
    const std::int64_t rowid = add(Task(1, kMarch1 + 5, MakeTime(9, 0), "Report"));
    auto w = open();
    ASSERT_TRUE(w->list()->selectRowId(rowid));
    QTest::mouseClick(child<QPushButton>(*w, "runNowButton"), Qt::LeftButton);
    ASSERT_EQ(messages.started.size(), 1u);
    int history = 0;
    data::Table<ScheduleRecord> t(db);
    t.set(ScheduleRecord::KeyID);
    while (t.next() == data::kOk)
        history += t.rec.isHistoryEntry() ? 1 : 0;
    EXPECT_EQ(history, 1);
    EXPECT_TRUE(prompter.shown.empty());
    // The "Once" task is spent: only its history entry is left, shown done.
    ASSERT_EQ(w->list()->model()->rowCount(), 1);
    EXPECT_EQ(w->list()->model()->data(w->list()->model()->index(0, 1), Qt::ForegroundRole).value<QColor>(),
              QColor(128, 128, 128));

    // Another program deletes the highlighted task: the next action says so.
    const std::int64_t doomed = add(Task(2, kMarch1 + 6, MakeTime(9, 0), "Doomed"));
    w->list()->refresh();
    ASSERT_TRUE(w->list()->selectRowId(doomed));
    data::Database other(db.path(), data::MainLayout());
    ASSERT_EQ(other.open(), data::kOk);
    data::Table<ScheduleRecord> gone(other);
    ASSERT_EQ(gone.reget(ScheduleRecord::KeyID, doomed), data::kOk);
    ASSERT_EQ(gone.remove(), data::kOk);
    QTest::mouseClick(child<QPushButton>(*w, "runNowButton"), Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("Not Found"), std::string::npos) << prompter.shown[0].text;
    EXPECT_EQ(w->list()->model()->rowCount(), 1);
    EXPECT_EQ(messages.started.size(), 1u);
}

// The labels of rows with several fields take their Alt letter to the first field.
TEST_F(BrowseScheduleTest, TheSearchWindowsRowLabelsReachTheirFields)
{
    ui::SearchScheduleWindow search(ui::SearchServices{{{db, positions, prompter}, clock, ini, &sound}, tags, 0});
    search.show();
    search.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&search));
    const std::pair<Qt::Key, const char*> routes[] = {{Qt::Key_R, "everySpin"},
                                                      {Qt::Key_X, "dateEdit"},
                                                      {Qt::Key_L, "lastRunEdit"},
                                                      {Qt::Key_V, "warnDateEdit"},
                                                      {Qt::Key_D, "descriptionEdit"}};
    for (const auto& [key, name] : routes) {
        QTest::keyClick(&search, key, Qt::AltModifier);
        ASSERT_NE(QApplication::focusWidget(), nullptr) << name;
        EXPECT_TRUE(QApplication::focusWidget() == child<QWidget>(search, name) ||
                    child<QWidget>(search, name)->isAncestorOf(QApplication::focusWidget()))
            << name << " got " << QApplication::focusWidget()->objectName().toStdString();
    }
}

TEST_F(BrowseScheduleTest, ASearchMarksTheMatchesAndNoToClearingAddsToThem)
{
    add(Task(1, kMarch1, 100, "Pay rent", "Home"));
    add(Task(2, kMarch1 + 1, 100, "Gym", "Sport"));
    add(Task(3, kMarch1 + 2, 100, "Rent a car", "Travel"));
    auto w = open();

    ui::SearchScheduleWindow search(ui::SearchServices{{{db, positions, prompter}, clock, ini, &sound}, tags, 0},
                                    w.get());
    search.show();
    QPushButton* go = child<QPushButton>(search, "searchButton");
    QTest::mouseClick(go, Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "You must specify at least one search field!");
    EXPECT_EQ(tags.count(), 0);

    QTest::keyClicks(child<QLineEdit>(search, "descriptionEdit"), QStringLiteral("RENT"));
    prompter.answer(platform::MessageButton::Yes);
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(tags.count(), 2);
    EXPECT_EQ(prompter.shown.back().text, "Clear old selections first?");

    child<QLineEdit>(search, "descriptionEdit")->clear();
    child<QComboBox>(search, "categoryList")->setCurrentText(QStringLiteral("sport"));
    prompter.answer(platform::MessageButton::No);
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(tags.count(), 3);

    w->list()->setTab(BrowseScheduleWindow::SelectedTab);
    EXPECT_EQ(w->list()->model()->rowCount(), 3);
    EXPECT_TRUE(child<QPushButton>(*w, "searchButton")->isVisible());

    child<QComboBox>(search, "categoryList")->setCurrentText(QStringLiteral("nowhere"));
    prompter.answer(platform::MessageButton::Yes);
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back().text, "There are no matching records!");
    QTest::mouseClick(child<QPushButton>(search, "findNextButton"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back().text, "There are no more matching records!");
}

TEST_F(BrowseScheduleTest, ATaskDeletedFromTheListTakesItsMarkAlong)
{
    add(Task(1, kMarch1, 100, "Pay rent"));
    const std::int64_t last = add(Task(2, kMarch1 + 1, 100, "Rent a car"));
    ASSERT_EQ(tags.mark(last), data::kOk);
    auto w = open();
    ASSERT_TRUE(w->list()->selectRowId(last));
    prompter.answer(platform::MessageButton::Ok);
    QTest::keyClick(w->list()->view(), Qt::Key_Delete);
    ASSERT_EQ(prompter.shown.size(), 1u);
    // The next task added takes the freed row id: it was never marked.
    const std::int64_t next = add(Task(3, kMarch1 + 2, 100, "Gym"));
    ASSERT_EQ(next, last);
    EXPECT_FALSE(tags.marked(next));
    w->list()->setTab(BrowseScheduleWindow::SelectedTab);
    EXPECT_EQ(w->list()->model()->rowCount(), 0);
}


// The agenda: every occurrence of the coming week, each row acting on its task.
class AgendaTabTest : public BrowseScheduleTest {
protected:
    ScheduleRecord daily(data::Long id, Date date, Time time, const char* description, const char* unit = "day(s)")
    {
        ScheduleRecord r = Task(id, date, time, description);
        r.scheduleType = "Custom";
        r.every = 1;
        r.everyType = unit;
        return r;
    }

    std::unique_ptr<BrowseScheduleWindow> openAgenda()
    {
        auto w = open();
        w->list()->tabs()->setCurrentIndex(BrowseScheduleWindow::AgendaTab);
        return w;
    }

    // The wizard opened by "Reschedule" on `row`: the date its copy starts on, and whether its skip box is enabled.
    std::pair<QString, bool> rescheduleRow(BrowseScheduleWindow& w, int row)
    {
        std::pair<QString, bool> seen;
        w.list()->selectRow(row);
        WhenModalOpens(
            [&seen](QWidget* wizard) {
                seen.first = child<QLineEdit>(*wizard, "nextDateEdit")->text();
                seen.second = child<QCheckBox>(*wizard, "skipCheck")->isEnabled();
                child<QPushButton>(*wizard, "cancelButton")->click();
            },
            QStringLiteral("SPECIALEVENTWIZARD$WINDOW"));
        QTest::mouseClick(child<QPushButton>(w, "rescheduleButton"), Qt::LeftButton);
        return seen;
    }

    int schedule()
    {
        int n = 0;
        data::Table<ScheduleRecord> t(db);
        t.set(ScheduleRecord::KeyID);
        while (t.next() == data::kOk)
            ++n;
        return n;
    }
};

TEST_F(AgendaTabTest, ListsEachOccurrenceOfTheWeekAndActsOnItsTask)
{
    add(daily(1, kMarch1, MakeTime(9, 0), "Standup"));
    add(Task(2, kMarch1 + 2, MakeTime(10, 0), "Dentist"));
    ScheduleRecord off = daily(3, kMarch1 + 1, MakeTime(9, 30), "Off");
    off.disabled = 1;
    add(off);
    add(Task(4, kMarch1 + 7, MakeTime(0, 0), "Next week"));
    auto w = openAgenda();
    auto* label = child<QLabel>(*w, "dayLabel");
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), QStringLiteral("From now to the end of Sunday, March 7, 2027"));

    // Seven mornings of the daily task, the dentist among them; nothing disabled or after the week.
    auto* model = w->list()->model();
    ASSERT_EQ(model->rowCount(), 8);
    const QString dentistDate = ui::Text(FormatD17(kMarch1 + 2));
    EXPECT_EQ(cell(*w, 3, 1), dentistDate);
    EXPECT_EQ(cell(*w, 3, 4), QStringLiteral("Dentist"));
    for (int row : {0, 1, 2, 4, 5, 6, 7}) {
        EXPECT_EQ(cell(*w, row, 4), QStringLiteral("Standup")) << row;
        EXPECT_EQ(cell(*w, row, 1), ui::Text(FormatD17(kMarch1 + (row < 3 ? row : row - 1)))) << row;
        EXPECT_EQ(cell(*w, row, 2), QStringLiteral("09:00")) << row;
    }
    for (const char* name : {"copyButton", "changeButton", "deleteButton", "rescheduleButton", "runNowButton"})
        EXPECT_TRUE(child<QPushButton>(*w, name)->isEnabled()) << name;
    EXPECT_FALSE(child<QPushButton>(*w, "pickDayButton")->isVisible());

    // Rescheduling starts the copy on the occurrence chosen; only the task's
    // next occurrence can be marked to skip.
    const auto later = rescheduleRow(*w, 1);
    EXPECT_EQ(later.first, ui::Text(FormatD17(kMarch1 + 1)));
    EXPECT_FALSE(later.second);
    const auto next = rescheduleRow(*w, 0);
    EXPECT_EQ(next.first, ui::Text(FormatD17(kMarch1)));
    EXPECT_TRUE(next.second);
    EXPECT_EQ(schedule(), 4);  // both cancelled: no copy left

    // "&Edit" on an occurrence edits its task.
    w->list()->selectRow(4);
    QString edited;
    WhenModalOpens(
        [&edited](QWidget* form) {
            edited = child<QLineEdit>(*form, "descriptionEdit")->text();
            child<QPushButton>(*form, "cancelButton")->click();
        },
        QStringLiteral("UPDATESCHEDULE$QUICKWINDOW"));
    QTest::mouseClick(child<QPushButton>(*w, "changeButton"), Qt::LeftButton);
    EXPECT_EQ(edited, QStringLiteral("Standup"));

    // "Run Now" on the dentist performs it: a once-only task is spent and leaves the agenda.
    w->list()->selectRow(3);
    QTest::mouseClick(child<QPushButton>(*w, "runNowButton"), Qt::LeftButton);
    ASSERT_EQ(messages.started.size(), 1u);
    EXPECT_EQ(messages.started[0].title, "Dentist");
    ASSERT_EQ(model->rowCount(), 7);
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(cell(*w, row, 4), QStringLiteral("Standup")) << row;
    EXPECT_EQ(w->list()->tabs()->currentIndex(), BrowseScheduleWindow::AgendaTab);
}

TEST_F(AgendaTabTest, IsReadAPageAtATimeAndARefreshKeepsWhatWasRead)
{
    // Hourly from 08:00 today: 16 today and 24 on each of the six days after.
    add(daily(1, kMarch1, MakeTime(8, 0), "Hourly", "hour(s)"));
    ScheduleRecord skipped = daily(2, kMarch1, MakeTime(8, 30), "Skipped");
    skipped.skipNextTime = 1;
    add(skipped);
    auto w = openAgenda();
    auto* model = w->list()->model();
    EXPECT_EQ(model->rowCount(), ui::BrowseModel::kPageRows);
    ASSERT_TRUE(model->canFetchMore({}));
    // The skipped occurrence looks as a task flagged to skip does; the next morning's does not.
    EXPECT_EQ(cell(*w, 1, 4), QStringLiteral("Skipped"));
    EXPECT_EQ(model->data(model->index(1, 1), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    const int nextMorning = 16 + 1 + 1;  // today's hours, the skipped one, then 00:00 and 01:00 ... 08:00 tomorrow
    EXPECT_EQ(cell(*w, nextMorning + 8, 4), QStringLiteral("Skipped"));
    EXPECT_FALSE(model->data(model->index(nextMorning + 8, 1), Qt::ForegroundRole).isValid());

    while (model->canFetchMore({}))
        model->fetchMore({});
    const int all = 16 + 6 * 24 + 7;
    EXPECT_EQ(model->rowCount(), all);
    // Scrolled to the end and refreshed: still every row, the highlight where it was.
    w->list()->selectRow(all - 1);
    w->list()->refresh();
    EXPECT_EQ(model->rowCount(), all);
    EXPECT_EQ(w->list()->selectedRow(), all - 1);

    // Read again after midnight, the agenda runs a day further and says so.
    clock.set(kMarch1 + 1, MakeTime(0, 5));
    w->list()->refresh();
    EXPECT_EQ(child<QLabel>(*w, "dayLabel")->text(), QStringLiteral("From now to the end of Monday, March 8, 2027"));
    // Not performed meanwhile, yesterday's two stand first as overdue; then the hours from now on.
    EXPECT_EQ(cell(*w, 1, 1), ui::Text(FormatD17(kMarch1)));
    EXPECT_EQ(cell(*w, 2, 1), ui::Text(FormatD17(kMarch1 + 1)));
    EXPECT_EQ(cell(*w, 2, 2), QStringLiteral("01:00"));

    // Back on a key, the feed is gone and the list is the tasks again.
    w->list()->tabs()->setCurrentIndex(BrowseScheduleWindow::DateTab);
    EXPECT_EQ(model->feed(), nullptr);
    EXPECT_EQ(model->rowCount(), 2);
}

}  // namespace
}  // namespace hrln::test
