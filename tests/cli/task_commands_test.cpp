#include "cli_run.h"
#include "data_folder_test.h"
#include "data/database.h"
#include "data/errors.h"
#include "data/records.h"
#include "data/schedule_store.h"
#include "data/table.h"
#include "support/fake_clock.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace hrln::cli {
namespace {

using data::ScheduleRecord;

class TaskCommandsTest : public DataFolderTest {
protected:
    // Reads a stored task as the running program would, through a connection of its own.
    std::optional<ScheduleRecord> Stored(data::Long id)
    {
        data::Database db(DatabasePath(), data::MainLayout());
        if (db.open() != data::kOk)
            return std::nullopt;
        data::Table<ScheduleRecord> table(db);
        table.rec.id = id;
        if (table.get(ScheduleRecord::KeyID) != data::kOk)
            return std::nullopt;
        return table.rec;
    }

    std::vector<std::string> Categories()
    {
        data::Database db(DatabasePath(), data::MainLayout());
        EXPECT_EQ(db.open(), data::kOk);
        data::Table<data::CategoryRecord> table(db);
        std::vector<std::string> names;
        table.set(data::CategoryRecord::KeyCategory);
        while (table.next() == data::kOk)
            names.push_back(table.rec.category.str());
        return names;
    }

};

TEST_F(TaskCommandsTest, AddStoresEveryOptionAndPrintsTheNewId)
{
    const std::string bell = (temp_.path() / "bell.wav").string();
    test::WriteFile(bell, "RIFF");
    CliResult run = Run({"add", "--task-type", "Both", "--description", "Back up", "--message", "Copy the files",
                         "--command", "rsync -a src dst", "--path", "/srv", "--category", "Work", "--type",
                         "Day of Month", "--days", "mon,fri", "--ordinals", "1st,last", "--every", "3", "--unit",
                         "week(s)", "--date", "2027-04-05", "--time", "07:45:30.50", "--alarm", bell,
                         "--warn", "--skip-if-missed", "--no-history", "--confirm", "--skip-next", "--disabled"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1\n");
    EXPECT_EQ(run.err, "");

    const std::optional<ScheduleRecord> task = Stored(1);
    ASSERT_TRUE(task);
    EXPECT_EQ(task->taskType, "Both");
    EXPECT_EQ(task->description, "Back up");
    EXPECT_EQ(task->message, "Copy the files");
    EXPECT_EQ(task->command, "rsync -a src dst");
    EXPECT_EQ(task->path, "/srv");
    EXPECT_EQ(task->category, "Work");
    EXPECT_EQ(task->scheduleType, "Day of Month");
    EXPECT_EQ(std::vector<int>({task->sunday, task->monday, task->tuesday, task->wednesday, task->thursday,
                                task->friday, task->saturday}),
              std::vector<int>({0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(std::vector<int>({task->every1st, task->every2nd, task->every3rd, task->every4th, task->everyLast}),
              std::vector<int>({1, 0, 0, 0, 1}));
    EXPECT_EQ(task->every, 3);
    EXPECT_EQ(task->everyType, "week(s)");
    EXPECT_EQ(task->date, MakeDate(4, 5, 2027));
    EXPECT_EQ(task->time, MakeTime(7, 45, 30, 50));
    EXPECT_EQ(task->alarm, 1);
    EXPECT_EQ(task->alarmFile, bell);
    EXPECT_EQ(std::vector<int>({task->warn, task->skipIfMissed, task->noHistory, task->userSkip,
                                task->skipNextTime, task->disabled, task->completed}),
              std::vector<int>({1, 1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(task->user, "");

    // The next task takes the next number.
    run = Run({"add", "--description", "Second"});
    EXPECT_EQ(run.out, "2\n");
}

TEST_F(TaskCommandsTest, AddDefaultsToAMessageDueNowInGeneral)
{
    const CliResult run = Run({"add"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::optional<ScheduleRecord> task = Stored(1);
    ASSERT_TRUE(task);
    EXPECT_EQ(task->taskType, "Display Message");
    EXPECT_EQ(task->scheduleType, "Once");
    EXPECT_EQ(task->category, "General");
    EXPECT_EQ(task->date, clock_.current.date);
    EXPECT_EQ(task->time, clock_.current.time);
    EXPECT_EQ(task->alarm, 0);
    EXPECT_EQ(Categories(), std::vector<std::string>{"General"});
}

TEST_F(TaskCommandsTest, ARepeatingTaskWithoutADateStartsAtItsFirstMomentFromNow)
{
    // Now is Friday 2027-03-05 14:30:15.25.
    struct Case {
        std::vector<std::string_view> args;
        Date date;
        Time time;
    };
    const std::vector<Case> cases = {
        {{"--type", "Day of Week", "--days", "mon", "--time", "09:00"}, MakeDate(3, 8, 2027), MakeTime(9, 0)},
        {{"--type", "Day of Week", "--days", "fri", "--time", "09:00"}, MakeDate(3, 12, 2027), MakeTime(9, 0)},
        {{"--type", "Day of Week", "--days", "fri", "--time", "18:00"}, MakeDate(3, 5, 2027), MakeTime(18, 0)},
        {{"--type", "Custom", "--every", "2", "--unit", "hour(s)", "--time", "09:00"}, MakeDate(3, 5, 2027),
         MakeTime(15, 0)},
        {{"--type", "Custom", "--every", "1", "--unit", "day(s)", "--time", "08:00"}, MakeDate(3, 6, 2027),
         MakeTime(8, 0)},
    };
    for (const Case& c : cases) {
        std::vector<std::string_view> args{"add"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "") << c.args[1];  // neither past nor off the rule
        const std::optional<ScheduleRecord> task = Stored(std::stoi(run.out));
        ASSERT_TRUE(task);
        EXPECT_EQ(task->date, c.date) << c.args[1] << " " << c.args[3];
        EXPECT_EQ(task->time, c.time) << c.args[1] << " " << c.args[3];
    }
    // A date given is kept as given, and a one-time task without one is due now.
    const CliResult given = Run({"add", "--type", "Day of Week", "--days", "mon", "--date", "2027-03-05"});
    EXPECT_EQ(Stored(std::stoi(given.out))->date, MakeDate(3, 5, 2027));
    EXPECT_NE(given.err.find("does not match"), std::string::npos);
}

TEST_F(TaskCommandsTest, AddRefusesATaskNumberPastTheLargest)
{
    ASSERT_EQ(Run({"add"}).status, 0);
    {
        data::Database db(DatabasePath(), data::MainLayout());
        ASSERT_EQ(db.open(), data::kOk);
        data::Table<ScheduleRecord> table(db);
        table.rec.id = 1;
        ASSERT_EQ(table.get(ScheduleRecord::KeyID), data::kOk);
        table.rec.id = std::numeric_limits<data::Long>::max();
        ASSERT_EQ(table.put(), data::kOk);
    }
    const CliResult run = Run({"add", "--description", "after the last"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(data::ErrorText(data::kNoNumberLeft)), std::string::npos) << run.err;
    EXPECT_TRUE(Stored(std::numeric_limits<data::Long>::max()));
    EXPECT_FALSE(Stored(std::numeric_limits<data::Long>::min()));
}

TEST_F(TaskCommandsTest, TimeInSecondsFromNowCarriesPastMidnight)
{
    clock_.set(MakeDate(12, 31, 2027), MakeTime(23, 59, 50, 40));
    ASSERT_EQ(Run({"add", "--time", "+15"}).status, 0);
    ASSERT_EQ(Run({"add", "--time=+0"}).status, 0);
    ASSERT_EQ(Run({"add", "--time", "+86400"}).status, 0);
    EXPECT_EQ(Stored(1)->date, MakeDate(1, 1, 2028));
    EXPECT_EQ(Stored(1)->time, MakeTime(0, 0, 5, 40));
    EXPECT_EQ(Stored(2)->date, MakeDate(12, 31, 2027));
    EXPECT_EQ(Stored(2)->time, MakeTime(23, 59, 50, 40));
    EXPECT_EQ(Stored(3)->date, MakeDate(1, 1, 2028));
    EXPECT_EQ(Stored(3)->time, MakeTime(23, 59, 50, 40));

    // A given date keeps the current time unless one is given too.
    ASSERT_EQ(Run({"add", "--date", "2027-06-01"}).status, 0);
    EXPECT_EQ(Stored(4)->time, MakeTime(23, 59, 50, 40));

    // The last hundredth of the day is still that day.
    clock_.set(MakeDate(12, 31, 2027), MakeTime(23, 59, 58, 99));
    ASSERT_EQ(Run({"add", "--time", "+1"}).status, 0);
    EXPECT_EQ(Stored(5)->date, MakeDate(12, 31, 2027));
    EXPECT_EQ(Stored(5)->time, MakeTime(23, 59, 59, 99));
}

// The reminder phrases of the program's own window, counted from now; what
// --time took before means what it meant.
TEST_F(TaskCommandsTest, TimePhrasesCountFromNowAndTypedTimesStandOnTheirDay)
{
    clock_.set(MakeDate(12, 10, 2026), MakeTime(14, 30, 15, 50));
    const Date today = MakeDate(12, 10, 2026);
    ASSERT_EQ(Run({"add", "--time", "in 10 minutes"}).status, 0);
    ASSERT_EQ(Run({"add", "--time=in 2 h"}).status, 0);
    ASSERT_EQ(Run({"add", "--time", "at 14:30"}).status, 0);  // passed: tomorrow's
    ASSERT_EQ(Run({"add", "--time", "tomorrow 9:00"}).status, 0);
    ASSERT_EQ(Run({"add", "--time", "9.30pm"}).status, 0);
    ASSERT_EQ(Run({"add", "--date", "2027-01-05", "--time", "9"}).status, 0);
    const CliResult passed = Run({"add", "--time", "14:00"});  // as before: today, warned
    ASSERT_EQ(passed.status, 0);
    EXPECT_NE(passed.err.find("has already passed"), std::string::npos) << passed.err;

    const std::vector<std::pair<Date, Time>> expected = {
        {today, MakeTime(14, 40, 15, 50)},     {today, MakeTime(16, 30, 15, 50)},
        {today + 1, MakeTime(14, 30)},         {today + 1, MakeTime(9, 0)},
        {today, MakeTime(21, 30)},             {MakeDate(1, 5, 2027), MakeTime(9, 0)},
        {today, MakeTime(14, 0)},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto task = Stored(static_cast<data::Long>(i + 1));
        ASSERT_TRUE(task) << i + 1;
        EXPECT_EQ(task->date, expected[i].first) << i + 1;
        EXPECT_EQ(task->time, expected[i].second) << i + 1;
        EXPECT_EQ(task->scheduleType.str(), "Once");
    }

    // A phrase names its own day, so no --date beside it; nonsense is refused
    // with what --time takes.
    const CliResult both = Run({"add", "--date", "2027-01-05", "--time", "in 10 minutes"});
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.err.find("cannot be given with --date"), std::string::npos) << both.err;
    const CliResult nonsense = Run({"add", "--time", "in a while"});
    EXPECT_EQ(nonsense.status, 2);
    EXPECT_NE(nonsense.err.find("\"in 10 minutes\""), std::string::npos) << nonsense.err;
    EXPECT_FALSE(Stored(8));
}

TEST_F(TaskCommandsTest, CategoriesAreMatchedWithoutRegardToCase)
{
    ASSERT_EQ(Run({"add", "--category", "Work"}).status, 0);
    ASSERT_EQ(Run({"add", "--category", "WORK"}).status, 0);
    ASSERT_EQ(Run({"add", "--category", ""}).status, 0);
    EXPECT_EQ(Stored(2)->category, "Work");  // the stored spelling
    EXPECT_EQ(Stored(3)->category, "");
    EXPECT_EQ(Categories(), std::vector<std::string>{"Work"});
}

TEST_F(TaskCommandsTest, AddCutsTextsToTheirFieldsAndSpecialTasksFollowTheForm)
{
    const std::string longText(45, 'x');
    ASSERT_EQ(Run({"add", "--description", longText, "--category", "A category name too long"}).status, 0);
    EXPECT_EQ(Stored(1)->description.str(), std::string(40, 'x'));
    EXPECT_EQ(Stored(1)->category, "A category name too ");
    EXPECT_EQ(Categories(), std::vector<std::string>{"A category name too"});

    // A task that does nothing at a time of its own runs at 23:59:54.99.
    ASSERT_EQ(Run({"add", "--task-type", "None"}).status, 0);
    EXPECT_EQ(Stored(2)->time, MakeTime(23, 59, 54, 99));

    // A relative alarm file is kept as an absolute one: the scheduler runs in its data folder.
    std::filesystem::current_path(temp_.path());
    ASSERT_EQ(Run({"add", "--alarm", "bell.wav"}).status, 0);
    EXPECT_EQ(Stored(3)->alarmFile.str(), (temp_.path() / "bell.wav").string());
    // The word BEEP, in any case, is the system beep, not a file of that name.
    ASSERT_EQ(Run({"add", "--alarm", "beep"}).status, 0);
    EXPECT_EQ(Stored(4)->alarmFile.str(), "beep");
    EXPECT_EQ(Stored(4)->alarm, 1);

    // A date off the rule is warned about and kept.
    const CliResult run = Run({"add", "--type", "Day of Week", "--days", "mon", "--date", "2028-01-01"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "5\n");
    EXPECT_EQ(run.err, "Warning: Date given does not match schedule type.\n");
}

TEST_F(TaskCommandsTest, MultiUserModeStampsTheCurrentUser)
{
    std::filesystem::create_directories(Folder());
    test::WriteFile(Folder() + "/HRLN.INI", "[Settings]\nMultiUser=1\nUserID=alice\n");
    ASSERT_EQ(Run({"add"}).status, 0);
    EXPECT_EQ(Stored(1)->user, "alice");
    test::WriteFile(Folder() + "/HRLN.INI", "[Settings]\nMultiUser=0\nUserID=alice\n");
    ASSERT_EQ(Run({"add"}).status, 0);
    EXPECT_EQ(Stored(2)->user, "");
}

TEST_F(TaskCommandsTest, BadArgumentsGiveOneLineAndStatusTwoAndChangeNothing)
{
    ASSERT_EQ(Run({"add"}).out, "1\n");
    const std::vector<std::vector<std::string_view>> cases = {
        {"add", "--task-type", "Display"},
        {"add", "--task-type", "display message"},
        {"add", "--type", "custom", "--unit", "days"},
        {"add", "--type", "Fortnightly"},
        {"add", "--type", "Custom"},
        {"add", "--type", "Custom", "--unit", "fortnights"},
        {"add", "--date", "2027-02-29"},
        {"add", "--time", "25:00"},
        {"add", "--time", "+-5"},
        {"add", "--time", "+5s"},
        {"add", "--date", "2027-05-01", "--time", "+60"},
        {"add", "--task-type", "None", "--time", "10:00"},
        {"add", "--days", "someday"},
        {"add", "--warn=1"},
        {"add", "--alarm"},
        {"add", "--colour", "red"},
        {"add", "extra"},
        {"list", "--all"},
        {"list", "tasks"},
        {"show"},
        {"show", "abc"},
        {"show", "0"},
        {"show", "1", "2"},
        {"delete", "--force", "1"},
        {"delete"},
        {"remove", "1"},
    };
    for (const auto& args : cases)
        ExpectRefused(Run(args), args);
    EXPECT_TRUE(Stored(1));
    EXPECT_FALSE(Stored(2));
}

TEST_F(TaskCommandsTest, ListGivesTasksInDateOrderAndHistoryOnRequest)
{
    // No list before there is a database, and listing makes none.
    CliResult run = Run({"list"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(DatabasePath()));

    ASSERT_EQ(Run({"add", "--description", "Late", "--date", "2027-05-02", "--time", "08:00"}).status, 0);
    ASSERT_EQ(Run({"add", "--description", "Early\tone", "--task-type", "Run Program", "--command", "true", "--type",
                   "Custom", "--unit", "day(s)", "--date", "2027-05-01", "--time", "09:15:30.99"})
                  .status,
              0);
    ASSERT_EQ(Run({"add", "--description", "Same day, sooner", "--date", "2027-05-02", "--time", "07:59:59"}).status,
              0);
    {
        // The scheduler leaves a history entry behind when it performs a task.
        data::Database db(DatabasePath(), data::MainLayout());
        ASSERT_EQ(db.open(), data::kOk);
        data::Table<ScheduleRecord> table(db);
        table.rec.taskType = "Display Message";
        table.rec.scheduleType = "Once";
        table.rec.description = "Done before";
        table.rec.date = MakeDate(4, 1, 2027);
        table.rec.time = MakeTime(12, 0);
        table.rec.disabled = 1;
        table.rec.completed = 1;
        ASSERT_EQ(data::AddHistoryEntry(table), data::kOk);
        // A window of the program is adding a task: its placeholder is listed nowhere.
        data::Table<ScheduleRecord> form(db);
        form.rec = table.rec;
        form.rec.description = "Being added";
        form.rec.disabled = 0;
        form.rec.completed = 0;
        form.placeholderAdds(true);
        ASSERT_EQ(data::AddTaskWithNewId(form, nullptr), data::kOk);
    }

    run = Run({"list"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "2\t2027-05-01\t09:15:30\tRun Program\tCustom\tEarly\\tone\n"
              "3\t2027-05-02\t07:59:59\tDisplay Message\tOnce\tSame day, sooner\n"
              "1\t2027-05-02\t08:00:00\tDisplay Message\tOnce\tLate\n");
    run = Run({"list", "--history"});
    EXPECT_EQ(run.out, "4\t2027-04-01\t12:00:00\tDisplay Message\tOnce\tDone before\n");
}

// A schedule that cannot be read is never an empty list: the program's own
// message, status 2, and the file left as it was.
TEST_F(TaskCommandsTest, ListOnAnUnusableDatabaseFailsWithTheProgramsMessage)
{
    std::filesystem::create_directories(Folder());
    CliResult run = Run({"list"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("The File HRLN.TPS was not found"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(DatabasePath()));

    const auto expectFailure = [&](const std::string& what) {
        const std::string before = test::ReadFile(DatabasePath());
        const CliResult failed = Run({"list"});
        EXPECT_EQ(failed.status, 2) << what;
        EXPECT_EQ(failed.out, "") << what;
        EXPECT_NE(failed.err.find("HRLN.TPS"), std::string::npos) << what << ": " << failed.err;
        EXPECT_EQ(test::ReadFile(DatabasePath()), before) << what;
    };
    test::WriteFile(DatabasePath(), "Not a schedule at all, just some text.\n");
    expectFailure("a text file");

    std::filesystem::remove(DatabasePath());
    {
        // Another program's database.
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('hello');", nullptr,
                               nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(other);
    }
    expectFailure("another program's database");

    std::filesystem::remove(DatabasePath());
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(Run({"add", "--description", "task " + std::to_string(i)}).status, 0);
    ASSERT_EQ(Run({"list"}).status, 0);
    {
        // Another connection holds the file for itself.
        sqlite3* holder = nullptr;
        ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &holder), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(holder, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        const CliResult failed = Run({"list"});
        EXPECT_EQ(failed.status, 2);
        EXPECT_EQ(failed.out, "");
        EXPECT_NE(failed.err.find("HRLN.TPS"), std::string::npos) << failed.err;
        sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
    }
    ASSERT_EQ(Run({"list"}).status, 0);

    // Damaged: the pages after the first overwritten.
    std::string bytes = test::ReadFile(DatabasePath());
    ASSERT_GT(bytes.size(), 8192u);
    std::fill(bytes.begin() + 4096, bytes.end(), '\xa5');
    test::WriteFile(DatabasePath(), bytes);
    expectFailure("a damaged file");
}

// What would make a task that silently does something else than asked is
// refused; what is merely odd is warned about and the task is added.
TEST_F(TaskCommandsTest, AddRefusesTasksThatCouldNotWorkAndWarnsAboutOddOnes)
{
    const std::vector<std::vector<std::string_view>> refused = {
        {"add", "--task-type", "Run Program"},
        {"add", "--task-type", "Both", "--message", "and start nothing"},
        {"add", "--task-type", "Run Program", "--command", "   "},
        {"add", "--command", "make backup"},
        {"add", "--path", "/srv"},
        {"add", "--task-type", "Display Message", "--command", "make backup"},
        {"add", "--task-type", "None", "--command", "make backup"},
        {"add", "--days", "mon"},
        {"add", "--type", "Once", "--days", "mon,fri"},
        {"add", "--type", "Monthly", "--days", "mon"},
        {"add", "--type", "Day of Week", "--days", "mon", "--ordinals", "1st"},
        {"next", "--type", "Once", "--days", "mon", "--date", "2027-05-01"},
        // What the entry form refuses on OK is refused here too.
        {"add", "--date", "2150-01-01"},
        {"add", "--type", "Custom", "--every", "1000000", "--unit", "hour(s)", "--date", "2099-12-31"},
    };
    for (const auto& args : refused)
        ExpectRefused(Run(args), args);
    EXPECT_NE(Run({"add", "--date", "2150-01-01"}).err.find("December 31, 2099"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(DatabasePath()));
    EXPECT_NE(Run({"add", "--command", "x"}).err.find("--task-type"), std::string::npos);

    // Right as given: nothing said.
    CliResult run = Run({"add", "--task-type", "Run Program", "--command", "make backup", "--path", "/srv", "--type",
                         "Day of Week", "--days", "wed", "--date", "2027-05-05", "--time", "10:00"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");

    // Already past, on the day and before it: due at once, so said.
    for (const char* time : {"14:30:15.24", "23:00"}) {
        run = Run({"add", "--date", time[0] == '1' ? "2027-03-05" : "2027-03-04", "--time", time});
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out, "");
        EXPECT_NE(run.err.find("has already passed"), std::string::npos) << time << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(Run({"add", "--time", "14:30:15.25"}).err, "");  // now is not past

    // A missing alarm file is warned about and kept: it may be put there before
    // the task is due. The system beep is no file.
    run = Run({"add", "--alarm", (temp_.path() / "nowhere.wav").string(), "--date", "2027-06-01"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("alarm file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nowhere.wav"), std::string::npos) << run.err;
    const data::Long id = std::stoi(run.out);
    EXPECT_EQ(Stored(id)->alarmFile.str(), (temp_.path() / "nowhere.wav").string());
    EXPECT_EQ(Stored(id)->alarm, 1);
    EXPECT_EQ(Run({"add", "--alarm", "BEEP", "--date", "2027-06-01"}).err, "");
    EXPECT_NE(Run({"add", "--alarm", temp_.path().string(), "--date", "2027-06-01"}).err.find("alarm file"),
              std::string::npos);  // a folder is no sound
}

// Texts stored by anyone (an import, another program) reach the terminal only
// as visible characters.
TEST_F(TaskCommandsTest, ControlCharactersInStoredTextsAreShownEscaped)
{
    ASSERT_EQ(Run({"add", "--date", "2027-06-01", "--time", "09:00"}).status, 0);
    {
        data::Database db(DatabasePath(), data::MainLayout());
        ASSERT_EQ(db.open(), data::kOk);
        data::Table<ScheduleRecord> table(db);
        table.rec.id = 1;
        ASSERT_EQ(table.get(ScheduleRecord::KeyID), data::kOk);
        table.rec.description = "a\x1b]0;owned\x07" "b\x7f\x01\\";
        table.rec.message = "line\r\nC1 \xc2\x9b" "2J, reversed \xe2\x80\xae" "txt.exe, caf\xc3\xa9 \xe2\x82\xac";
        table.rec.scheduleType = "Once\tx";
        ASSERT_EQ(table.put(), data::kOk);
    }
    const CliResult list = Run({"list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "1\t2027-06-01\t09:00:00\tDisplay Message\tOnce\\tx\ta\\x1b]0;owned\\x07b\\x7f\\x01\\\\\n");

    const CliResult show = Run({"show", "1"});
    EXPECT_EQ(show.status, 0);
    EXPECT_NE(show.out.find("\nDescription: a\\x1b]0;owned\\x07b\\x7f\\x01\\\\\n"), std::string::npos) << show.out;
    // Ordinary letters beyond ASCII stay as they are.
    EXPECT_NE(show.out.find("\nMessage: line\\r\\nC1 \\u009b2J, reversed \\u202etxt.exe, caf\xc3\xa9 \xe2\x82\xac\n"),
              std::string::npos)
        << show.out;
    for (const std::string& out : {list.out, show.out})
        for (const char c : out)
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t') << static_cast<int>(c);
}

TEST_F(TaskCommandsTest, ShowPrintsEveryStoredField)
{
    ASSERT_EQ(Run({"add", "--description", "Tea", "--message", "Kettle\non", "--type", "Day of Week", "--days",
                   "sun,sat", "--date", "2027-05-01", "--time", "16:00", "--warn"})
                  .status,
              0);
    const CliResult run = Run({"show", "1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");

    std::vector<std::string> names;
    const ScheduleRecord blank;
    ScheduleRecord::fields(blank, [&](const char* name, const auto&) { names.emplace_back(name); });
    std::istringstream lines(run.out);
    std::string line;
    for (const std::string& name : names) {
        ASSERT_TRUE(std::getline(lines, line)) << name;
        EXPECT_TRUE(line.starts_with(name + ": ")) << line;
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;

    for (const char* expected : {"\nID: 1\n", "\nTaskType: Display Message\n", "\nDescription: Tea\n",
                                 "\nScheduleType: Day of Week\n", "\nSunday: 1\n", "\nMonday: 0\n",
                                 "\nSaturday: 1\n", "\nDate: 2027-05-01\n", "\nTime: 16:00:00.00\n",
                                 "\nLastRunDate: \n", "\nWarn: 1\n", "\nMessage: Kettle\\non\n"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected;
    EXPECT_TRUE(run.out.starts_with("User: \nID: 1\n"));
}

TEST_F(TaskCommandsTest, DeleteTakesTheScriptAndLinksAlong)
{
    ASSERT_EQ(Run({"add", "--description", "Doomed"}).status, 0);
    ASSERT_EQ(Run({"add", "--description", "Kept"}).status, 0);
    // Records of the task `id` in a table whose first key starts with the task ID.
    const auto count = [&](auto record, data::Long id) {
        data::Database db(DatabasePath(), data::MainLayout());
        EXPECT_EQ(db.open(), data::kOk);
        data::Table<decltype(record)> table(db);
        int n = 0;
        table.set(0);
        while (table.next() == data::kOk)
            n += table.rec.id == id ? 1 : 0;
        return n;
    };
    {
        data::Database db(DatabasePath(), data::MainLayout());
        ASSERT_EQ(db.open(), data::kOk);
        data::Table<data::ScriptingRecord> items(db);
        data::Table<data::LinkRecord> links(db);
        for (data::Long id : {1, 2}) {
            for (data::Long sequence : {1, 2}) {
                items.clear();
                items.rec.id = id;
                items.rec.sequence = sequence;
                items.rec.action = "Wait";
                ASSERT_EQ(items.add(), data::kOk);
            }
            links.clear();
            links.rec.id = id;
            links.rec.clientId = 7;
            ASSERT_EQ(links.add(), data::kOk);
        }
    }

    CliResult run = Run({"delete", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(Stored(1));
    EXPECT_TRUE(Stored(2));
    EXPECT_EQ(count(data::ScriptingRecord{}, 1), 0);
    EXPECT_EQ(count(data::LinkRecord{}, 1), 0);
    EXPECT_EQ(count(data::ScriptingRecord{}, 2), 2);
    EXPECT_EQ(count(data::LinkRecord{}, 2), 1);

    // A task that is not there: status 1 with the reason.
    for (const char* command : {"delete", "show"}) {
        run = Run({command, "1"});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string("horalyn-cli ") + command + ": no task with ID 1\n");
    }
}

TEST_F(TaskCommandsTest, HelpExplainsEachCommandsOptions)
{
    const std::vector<std::pair<std::string_view, std::vector<const char*>>> commands = {
        {"add",
         {"--task-type", "--description", "--message", "--command", "--path", "--category", "--type", "--days",
          "--ordinals", "--every", "--unit", "--date", "--time", "--alarm", "--warn", "--skip-if-missed",
          "--no-history", "--confirm", "--skip-next", "--disabled", "--help"}},
        {"list", {"--history", "--help"}},
        {"show", {"ID"}},
        {"delete", {"ID"}},
    };
    for (const auto& [command, options] : commands) {
        const CliResult run = Run({command, "--help"});
        EXPECT_EQ(run.status, 0);
        for (const char* option : options)
            EXPECT_NE(run.out.find(option), std::string::npos) << command << ' ' << option;
    }
    const std::string usage = Run({"--help"}).out;
    for (const char* command : {"next", "add", "list", "show ID", "delete ID"})
        EXPECT_NE(usage.find(std::string("  ") + command), std::string::npos) << command;
}

// The program itself: the data folder comes from the environment, only the ID
// reaches standard output, and the database is closed whole when it ends.
TEST_F(TaskCommandsTest, TheProgramAddsTasksARunningProgramSees)
{
    const std::string program =
        std::string("XDG_DATA_HOME='") + temp_.path().string() + "' '" + HORALYN_CLI_PATH + "'";
    const auto runProgram = [&](const std::string& args, std::string& out) {
        FILE* pipe = popen((program + ' ' + args + " 2>/dev/null").c_str(), "r");
        if (pipe == nullptr)
            return -1;
        out.clear();
        char buf[256];
        while (std::fgets(buf, sizeof buf, pipe) != nullptr)
            out += buf;
        const int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    std::string out;
    ASSERT_EQ(runProgram("add --description First", out), 0);
    EXPECT_EQ(out, "1\n");
    {
        // Stands for the running scheduler: its connection is open before the add.
        data::Database running(DatabasePath(), data::MainLayout());
        ASSERT_EQ(running.open(), data::kOk);
        data::Table<ScheduleRecord> alias(running);

        EXPECT_EQ(runProgram("add --description 'From a script' --time +5", out), 0);
        EXPECT_EQ(out, "2\n");
        alias.rec.id = 2;
        ASSERT_EQ(alias.get(ScheduleRecord::KeyID), data::kOk);
        EXPECT_EQ(alias.rec.description, "From a script");

        EXPECT_EQ(runProgram("show 3", out), 1);
        EXPECT_EQ(out, "");
        EXPECT_EQ(runProgram("add --type Weekly", out), 2);
        EXPECT_EQ(runProgram("delete 2", out), 0);
        EXPECT_EQ(alias.get(ScheduleRecord::KeyID), data::kRecordNotFound);
    }

    // With no other connection left, the write-ahead log is folded back in.
    EXPECT_EQ(runProgram("list", out), 0);
    EXPECT_TRUE(out.starts_with("1\t")) << out;
    EXPECT_FALSE(std::filesystem::exists(DatabasePath() + "-wal"));
}

}  // namespace
}  // namespace hrln::cli
