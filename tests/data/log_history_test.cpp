#include "data/event_log.h"
#include "data/housekeeping.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

namespace hrln::test {
namespace {

using namespace data;

std::vector<std::string> Lines(const std::string& path)
{
    std::istringstream in(ReadFile(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(EventLogTest, NothingIsWrittenWhileLoggingIsOff)
{
    TempDir dir;
    FakeClock clock;
    Settings settings;
    EventLog log(dir.file(kEventLogFile), clock, settings);
    log.logEvent("Started", "Horalyn");
    EXPECT_FALSE(std::filesystem::exists(dir.file(kEventLogFile)));
    EXPECT_EQ(log.openCount(), 0);
}

TEST(EventLogTest, TheObserverHearsEveryEventWhetherOrNotTheFileIsWritten)
{
    TempDir dir;
    FakeClock clock;
    Settings settings;
    EventLog log(dir.file(kEventLogFile), clock, settings);
    std::vector<std::string> heard;
    log.setObserver([&heard](std::string_view label, std::string_view data) {
        heard.push_back(std::string(label) + "|" + std::string(data));
    });
    log.logEvent("Started", "Horalyn");
    EXPECT_FALSE(std::filesystem::exists(dir.file(kEventLogFile))) << "the observer does not switch the log on";
    settings.logEvents = true;
    log.logEvent("Message", "Stand up");
    EXPECT_EQ(heard, (std::vector<std::string>{"Started|Horalyn", "Message|Stand up"}));
    ASSERT_EQ(Lines(dir.file(kEventLogFile)).size(), 1u);
    EXPECT_NE(Lines(dir.file(kEventLogFile)).front().find("Stand up"), std::string::npos);
}

TEST(EventLogTest, LinesAreFixedWidthAndTheFileClosesAfterEvery101st)
{
    TempDir dir;
    FakeClock clock(MakeDate(12, 8, 2026), MakeTime(14, 3, 9));
    Settings settings;
    settings.logEvents = true;
    EventLog log(dir.file(kEventLogFile), clock, settings);

    log.logEvent("Message", "Ünïcödé data " + std::string(60, '.'));
    EXPECT_TRUE(log.isOpen());
    for (int i = 2; i <= 100; ++i)
        log.logEvent("Script", std::to_string(i));
    EXPECT_EQ(log.openCount(), 100);
    EXPECT_TRUE(log.isOpen());
    log.logEvent("Script", "101");
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(log.openCount(), 0);
    log.logEvent("Exit Horalyn", "");
    EXPECT_TRUE(log.isOpen());
    EXPECT_EQ(log.openCount(), 1);

    const auto lines = Lines(dir.file(kEventLogFile));
    ASSERT_EQ(lines.size(), 102u);
    for (const std::string& line : lines)
        EXPECT_EQ(text::CharCount(line), 100u) << line;
    EXPECT_EQ(lines[0].substr(0, 20), "2026-12-08  14:03:09");
    EXPECT_EQ(lines[0].substr(20, 30), "Message" + std::string(23, ' '));
    EXPECT_EQ(lines[100].substr(50, 3), "101");
    EXPECT_EQ(lines[101].substr(20, 12), "Exit Horalyn");
}

class HistoryTest : public StoreTest {
protected:
    void addEntry(Long id, Date date, bool completed, Byte disabled = 1)
    {
        Table<ScheduleRecord> s(db);
        s.rec = Task(id, date, MakeTime(9, 0));
        s.rec.disabled = disabled;
        s.rec.completed = completed ? 1 : 0;
        ASSERT_EQ(s.add(), kOk);
    }

    std::vector<Long> remaining()
    {
        std::vector<Long> ids;
        Table<ScheduleRecord> s(db);
        s.set(ScheduleRecord::KeyID);
        while (s.next() == kOk)
            ids.push_back(s.rec.id);
        return ids;
    }

    int sweep(Date today)
    {
        HistorySweep sweep{db, settings, log, prompter, [this] { ++notified; }};
        return RemoveExpiredHistory(sweep, today, lastDay);
    }

    Settings settings;
    FakeClock clock;
    FakePrompter prompter;
    EventLog log{dir.file(kEventLogFile), clock, settings};
    Table<ScheduleRecord> alias{db};
    Date lastDay = 0;
    int notified = 0;
};

TEST_F(HistoryTest, EntriesGoWhenTheirAgeReachesTheLimit)
{
    settings.historyExpires = 30;
    settings.logEvents = true;
    const Date march1 = MakeDate(3, 1, 2027);
    addEntry(1, march1, true);
    addEntry(2, march1 + 1, true);
    addEntry(3, march1 - 400, false);  // disabled by the user, never completed
    addEntry(4, 0, true);              // never scheduled
    Table<ScheduleRecord> s(db);
    s.rec = Task(5, march1 - 500, MakeTime(9, 0));  // enabled: never touched
    ASSERT_EQ(s.add(), kOk);

    EXPECT_EQ(sweep(MakeDate(3, 30, 2027)), 1);
    EXPECT_EQ(remaining(), (std::vector<Long>{1, 2, 3, 5}));
    EXPECT_EQ(notified, 1);
    // Once a day only.
    EXPECT_EQ(sweep(MakeDate(3, 30, 2027)), 0);
    EXPECT_EQ(notified, 1);

    EXPECT_EQ(sweep(MakeDate(3, 31, 2027)), 1);
    EXPECT_EQ(remaining(), (std::vector<Long>{2, 3, 5}));

    settings.removeUncompleted = true;
    EXPECT_EQ(sweep(MakeDate(4, 1, 2027)), 2);
    EXPECT_EQ(remaining(), std::vector<Long>{5});

    const auto lines = Lines(dir.file(kEventLogFile));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(20, 7), "History");
    EXPECT_EQ(text::Clip(lines[0].substr(50)), "Checked for tasks needing removal");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(HistoryTest, TheWholeDisabledEndIsWalkedWhateverTheDateOrFlagValue)
{
    settings.historyExpires = 30;
    const Date today = MakeDate(3, 30, 2027);
    addEntry(1, today, true);           // young: stays, and must not end the walk
    addEntry(2, today - 100, true, 2);  // an old entry flagged 2
    addEntry(3, -20, true);             // dated before 1801
    addEntry(4, today, true, 2);        // young, flagged 2: stays
    EXPECT_EQ(sweep(today), 2);
    EXPECT_EQ(remaining(), (std::vector<Long>{1, 4}));

    addEntry(5, -7000, false);
    addEntry(6, 3, false, 200);
    Table<ScheduleRecord> s(db);
    s.rec = Task(7, -7000, MakeTime(9, 0));  // enabled: never touched
    ASSERT_EQ(s.add(), kOk);
    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(RemoveDisabledTasks(db, prompter));
    EXPECT_EQ(remaining(), std::vector<Long>{7});
}

TEST_F(HistoryTest, AZeroLimitKeepsEverything)
{
    settings.historyExpires = 0;
    settings.removeUncompleted = true;
    addEntry(1, 0, true);
    addEntry(2, 10, false);
    EXPECT_EQ(sweep(MakeDate(1, 1, 2100)), 0);
    EXPECT_EQ(remaining(), (std::vector<Long>{1, 2}));
    EXPECT_EQ(notified, 0);
}

TEST_F(HistoryTest, HousekeepingButtonsAskFirstAndReport)
{
    addEntry(1, 100, true);
    addEntry(2, 200, false);
    Table<ScheduleRecord> s(db);
    s.rec = Task(3, 300, 1);
    ASSERT_EQ(s.add(), kOk);
    Table<TodoRecord> todo(db);
    for (const char* item : {"one", "two", ""}) {
        todo.rec.toDo = item;
        ASSERT_EQ(todo.add(), kOk);
    }

    EXPECT_FALSE(RemoveCompletedTasks(db, prompter));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Remove completed tasks?");
    EXPECT_EQ(prompter.shown[0].defaultButton, platform::MessageButton::No);
    EXPECT_EQ(prompter.shown[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(remaining().size(), 3u);

    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(RemoveCompletedTasks(db, prompter));
    EXPECT_EQ(prompter.shown.back().text, "Completed tasks removed.");
    EXPECT_EQ(remaining(), (std::vector<Long>{2, 3}));

    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(RemoveDisabledTasks(db, prompter));
    EXPECT_EQ(prompter.shown.back().text, "Disabled tasks removed.");
    EXPECT_EQ(remaining(), std::vector<Long>{3});

    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(ClearTodoList(db, prompter));
    EXPECT_EQ(prompter.shown.back().text, "To Do list removed.");
    Table<TodoRecord> check(db);
    check.set(TodoRecord::KeyToDo);
    EXPECT_EQ(check.next(), kRecordNotAvailable);

    bool cleared = false;
    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(RemoveActiveScripts(prompter, [&] { cleared = true; }));
    EXPECT_TRUE(cleared);
    EXPECT_EQ(prompter.shown.back().text, "All active scripts have been removed");
    EXPECT_EQ(prompter.shown.back().caption, "Housekeeping");
}

TEST_F(HistoryTest, SweepsGoInBatchesAndWaitOutALock)
{
    const int expired = 2 * kSweepBatch + 50;
    ASSERT_EQ(db.begin(), kOk);
    for (Long id = 1; id <= expired; ++id)
        addEntry(id, 100, true);
    addEntry(expired + 1, 5000, true);  // young enough to stay
    ASSERT_EQ(db.commit(), kOk);

    DisabledSweep walk(db, prompter, [](const ScheduleRecord&) { return true; },
                       [](const ScheduleRecord& r) { return r.date > 1000; });
    EXPECT_TRUE(walk.step());
    EXPECT_EQ(walk.removed(), kSweepBatch);

    // Another writer holds the file: the batch waits for a later step, nothing is said.
    Database other(db.path(), MainLayout());
    ASSERT_EQ(other.open(), kOk);
    ASSERT_EQ(other.begin(), kOk);
    EXPECT_TRUE(walk.step());
    EXPECT_EQ(walk.removed(), kSweepBatch);
    ASSERT_EQ(other.rollback(), kOk);

    EXPECT_TRUE(walk.step());
    EXPECT_FALSE(walk.step());
    EXPECT_EQ(walk.removed(), expired);
    EXPECT_EQ(remaining(), std::vector<Long>{expired + 1});
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(HistoryTest, TheDailySweepRunsBesideTheTicksAndEndsOnOne)
{
    settings.historyExpires = 30;
    settings.logEvents = true;
    const Date today = MakeDate(3, 30, 2027);
    ASSERT_EQ(db.begin(), kOk);
    for (Long id = 1; id <= 3 * kSweepBatch; ++id)
        addEntry(id, today - 100, true);
    ASSERT_EQ(db.commit(), kOk);

    HistorySweep sweep{db, settings, log, prompter, [this] { ++notified; }};
    sweep.step(today, lastDay);
    EXPECT_EQ(lastDay, today);
    // The ticks go on meanwhile; the end is noticed on one of them.
    ASSERT_TRUE(sweep.running());
    for (int tick = 0; tick < 10'000 && sweep.running(); ++tick) {
        sweep.step(today, lastDay);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(sweep.running());
    EXPECT_EQ(sweep.removed(), 3 * kSweepBatch);
    EXPECT_TRUE(remaining().empty());
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(Lines(dir.file(kEventLogFile)).size(), 1u);  // one "History" line for the whole sweep
    sweep.step(today, lastDay);  // once a day
    EXPECT_FALSE(sweep.running());
}

TEST_F(HistoryTest, EveryDisabledValueAndEveryDateIsSwept)
{
    settings.historyExpires = 30;
    addEntry(1, -5, true);  // dated before 1801
    Table<ScheduleRecord> s(db);
    s.rec = Task(2, MakeDate(1, 1, 2027) - 100, MakeTime(9, 0));
    s.rec.disabled = 2;  // not 1, still at the disabled end
    s.rec.completed = 1;
    ASSERT_EQ(s.add(), kOk);
    addEntry(3, MakeDate(1, 1, 2027), true);  // young: stays, yet the walk goes on past it
    s.rec = Task(4, MakeDate(1, 1, 2027) - 400, MakeTime(9, 0));
    s.rec.disabled = 7;
    s.rec.completed = 1;
    ASSERT_EQ(s.add(), kOk);

    EXPECT_EQ(sweep(MakeDate(1, 5, 2027)), 3);
    EXPECT_EQ(remaining(), std::vector<Long>{3});

    addEntry(5, -100000, false);
    prompter.answer(platform::MessageButton::Yes);
    EXPECT_TRUE(RemoveDisabledTasks(db, prompter));
    EXPECT_TRUE(remaining().empty());
}

}  // namespace
}  // namespace hrln::test
