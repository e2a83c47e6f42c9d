#include "data_folder_test.h"

#include "data/database.h"
#include "data/records.h"
#include "data/table.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>

namespace hrln::cli {
namespace {

class ExchangeCommandsTest : public DataFolderTest {
protected:
    std::string File(const std::string& name) const { return (temp_.path() / name).string(); }
    // Later commands work in a second data folder.
    void UseSecondFolder()
    {
        const std::string second = File("second");
        std::filesystem::create_directories(second);
        setenv("XDG_DATA_HOME", second.c_str(), 1);
    }
};

TEST_F(ExchangeCommandsTest, AScheduleExportedAndImportedElsewhereListsTheSame)
{
    ASSERT_EQ(Run({"add", "--description", "Water, the \"plants\"", "--date", "2027-03-06", "--time", "08:00"}).status, 0);
    ASSERT_EQ(Run({"add", "--description", "Stand up", "--type", "Custom", "--every", "2", "--unit", "hour(s)",
                   "--time", "+3600", "--category", "Health"})
                  .status,
              0);
    ASSERT_EQ(Run({"add", "--task-type", "Run Program", "--command", "xterm", "--type", "Day of Week", "--days",
                   "mon,fri", "--date", "2027-03-08", "--time", "09:15:30.50"})
                  .status,
              0);
    const CliResult listed = Run({"list"});

    const CliResult exported = Run({"export", "schedule", File("all.csv")});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "3 records written to " + File("all.csv") + "\n");

    UseSecondFolder();
    const CliResult imported = Run({"import", "schedule", File("all.csv")});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "3 records added, 0 skipped.\n");
    EXPECT_EQ(Run({"list"}).out, listed.out);
    // Every field came along, the category with its task.
    const CliResult again = Run({"export", "schedule", File("again.csv")});
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(test::ReadFile(File("again.csv")), test::ReadFile(File("all.csv")));
}

TEST_F(ExchangeCommandsTest, FieldsAndLayoutFilesChooseTheColumns)
{
    ASSERT_EQ(Run({"add", "--description", "Backup", "--date", "2027-12-24", "--time", "18:05"}).status, 0);
    // A file named relative to where the command was started, not the data folder.
    std::filesystem::current_path(temp_.path());
    const CliResult exported = Run({"export", "schedule", "few.csv", "--fields", "Description, Date:D4,Time:T3",
                                    "--no-header", "--save-layout", "few.layout"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(test::ReadFile(File("few.csv")), "\"Backup\",\"December 24, 2027\",\"6:05 PM\"\r\n");

    std::filesystem::current_path(temp_.path());
    UseSecondFolder();
    const CliResult imported = Run({"import", "schedule", File("few.csv"), "--layout", File("few.layout")});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(Run({"list"}).out, "1\t2027-12-24\t18:05:00\tDisplay Message\tOnce\tBackup\n");
}

TEST_F(ExchangeCommandsTest, BadRequestsAreRefusedInOneLine)
{
    ASSERT_EQ(Run({"add", "--description", "x"}).status, 0);
    const std::vector<std::vector<std::string_view>> refused = {
        {"export"},
        {"export", "scripts", "f.csv"},
        {"export", "todo", "f.csv", "--fields", "Nothing"},
        {"export", "todo", "f.csv", "--fields", "ToDo:d3"},
        {"export", "todo", "f.csv", "--fields", "ToDo", "--layout", "x"},
        {"import", "todo", "/nowhere/at/all.csv"},
        {"import", "todo", "f.csv", "--layout", "/nowhere/layout"},
    };
    for (const auto& args : refused)
        ExpectRefused(Run(args), args);
    const CliResult none = Run({"export", "contacts", File("none.csv"), "--fields", ""});
    ExpectRefused(none, {"export --fields \"\""});
    EXPECT_NE(none.err.find("No Fields Selected for Export!"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(File("none.csv")));
}

TEST_F(ExchangeCommandsTest, SkippedLinesGiveStatusOneAndTheirFile)
{
    test::WriteFile(File("todo.csv"), "ToDo,Priority\r\n\"Call\",1\r\n\"Write\",high\r\n");
    const CliResult run = Run({"import", "todo", File("todo.csv"), "--fields", "ToDo,Priority"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("1 record added, 1 skipped."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Line 3: column 2 (Priority): \"high\" is no number"), std::string::npos) << run.out;
    EXPECT_EQ(test::ReadFile(File("todo.rejected.csv")), "ToDo,Priority\r\n\"Write\",high\r\n");
}

TEST_F(ExchangeCommandsTest, CalendarsAndCardsGoByTheFileEndingOrTheFormatNamed)
{
    ASSERT_EQ(Run({"add", "--description", "Stand up", "--type", "Custom", "--every", "2", "--unit", "hour(s)",
                   "--date", "2027-03-06", "--time", "08:00"})
                  .status,
              0);
    ASSERT_EQ(Run({"add", "--description", "Month end", "--type", "Monthly", "--date", "2027-01-31", "--time",
                   "17:00"})
                  .status,
              0);
    const CliResult listed = Run({"list"});
    const CliResult exported = Run({"export", "schedule", File("all.ics")});
    ASSERT_EQ(exported.status, 0) << exported.err;
    // The rule iCalendar cannot say is named.
    EXPECT_NE(exported.out.find("2 records written.\nTask 2 (\"Month end\")"), std::string::npos) << exported.out;
    EXPECT_TRUE(test::ReadFile(File("all.ics")).starts_with("BEGIN:VCALENDAR\r\n"));
    test::WriteFile(File("contacts.csv"), "LastName,FirstName,Email\r\n\"Doe\",\"Jane\",\"jane@example.org\"\r\n");
    ASSERT_EQ(Run({"import", "contacts", File("contacts.csv")}).status, 0);
    const CliResult cards = Run({"export", "contacts", File("cards.txt"), "--format", "vcard3"});
    ASSERT_EQ(cards.status, 0) << cards.err;
    EXPECT_NE(test::ReadFile(File("cards.txt")).find("VERSION:3.0\r\nFN:Jane Doe\r\n"), std::string::npos);

    UseSecondFolder();
    const CliResult imported = Run({"import", "schedule", File("all.ics")});
    EXPECT_EQ(imported.status, 0) << imported.err << imported.out;
    EXPECT_EQ(Run({"list"}).out, listed.out);
    const CliResult people = Run({"import", "contacts", File("cards.txt"), "--format", "vcard"});
    EXPECT_EQ(people.status, 0) << people.err;
    EXPECT_EQ(people.out, "1 record added, 0 skipped.\n");

    const std::vector<std::vector<std::string_view>> refused = {
        {"export", "contacts", "c.ics"},
        {"export", "schedule", "s.vcf"},
        {"export", "schedule", "s.ics", "--fields", "Description"},
        {"export", "schedule", "s.txt", "--format", "xml"},
    };
    for (const auto& args : refused)
        ExpectRefused(Run(args), args);
}

// A calendar gets the enabled tasks; the history entries only when asked for.
TEST_F(ExchangeCommandsTest, HistoryGoesIntoACalendarOnlyWithTheHistoryOption)
{
    ASSERT_EQ(Run({"add", "--description", "Mondays", "--type", "Day of Week", "--days", "mon", "--date", "2027-03-08",
                   "--time", "09:00"})
                  .status,
              0);
    {
        data::Database db(DatabasePath(), data::MainLayout());
        ASSERT_EQ(db.open(), data::kOk);
        data::Table<data::ScheduleRecord> table(db);
        table.rec.id = 1;
        ASSERT_EQ(table.get(data::ScheduleRecord::KeyID), data::kOk);
        const data::ScheduleRecord daily = table.rec;
        table.rec.id = 2;
        table.rec.description = "Was done";
        table.rec.date = MakeDate(3, 4, 2027);
        table.rec.disabled = table.rec.completed = 1;
        ASSERT_EQ(table.add(), data::kOk);
        table.rec = daily;
        table.rec.id = 3;
        table.rec.description = "Off";
        table.rec.disabled = 1;
        ASSERT_EQ(table.add(), data::kOk);
    }
    const CliResult plain = Run({"export", "schedule", File("plain.ics")});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, "1 record written. Not written: 1 disabled task and 1 history entry.\n");
    EXPECT_EQ(test::ReadFile(File("plain.ics")).find("Was done"), std::string::npos);

    const CliResult history = Run({"export", "schedule", File("history.ics"), "--history"});
    ASSERT_EQ(history.status, 0) << history.err;
    EXPECT_EQ(history.out, "2 records written. Not written: 1 disabled task.\n");
    const std::string text = test::ReadFile(File("history.ics"));
    const std::size_t done = text.find("SUMMARY:Was done");
    ASSERT_NE(done, std::string::npos);
    // The history entry is the one past event, without rule or reminder.
    const std::size_t begin = text.rfind("BEGIN:VEVENT", done), end = text.find("END:VEVENT", done);
    const std::string event = text.substr(begin, end - begin);
    EXPECT_NE(event.find("DTSTART:20270304T090000"), std::string::npos) << event;
    EXPECT_EQ(event.find("RRULE"), std::string::npos) << event;
    EXPECT_EQ(event.find("VALARM"), std::string::npos) << event;

    const std::vector<std::vector<std::string_view>> refused = {
        {"export", "schedule", "s.csv", "--history"},
        {"export", "todo", "t.ics", "--history"},
        {"import", "schedule", "s.ics", "--history"},
    };
    for (const auto& args : refused)
        ExpectRefused(Run(args), args);
}

// The program itself, started with the usual mask (022) by a user whose data
// folder an older version left open: what it makes or finds there is the
// user's alone, and so are its exports and reports.
TEST_F(ExchangeCommandsTest, TheProgramsFilesAreTheUsersAlone)
{
    std::filesystem::create_directories(Folder());
    ::chmod(Folder().c_str(), 0755);
    test::WriteFile(Folder() + "/HRLN.INI", "[Settings]\nUserID=ann\n");
    ::chmod((Folder() + "/HRLN.INI").c_str(), 0644);
    const auto runProgram = [&](const std::string& args) {
        const std::string command = "umask 022; XDG_DATA_HOME='" + temp_.path().string() + "' '" +
                                    HORALYN_CLI_PATH + "' " + args + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(runProgram("add --description Private"), 0);
    ASSERT_EQ(runProgram("export schedule '" + File("out.csv") + "' --save-layout '" + File("layout.txt") + "'"), 0);
    ASSERT_EQ(runProgram("export schedule '" + File("out.ics") + "'"), 0);
    ASSERT_EQ(runProgram("report brief --format csv --output '" + File("report.csv") + "'"), 0);

    const auto mode = [](const std::string& path) {
        struct stat st{};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 01000000u;
    };
    EXPECT_EQ(mode(Folder()), 0700u);
    EXPECT_EQ(mode(Folder() + "/HRLN.INI"), 0600u);
    EXPECT_EQ(mode(DatabasePath()), 0600u);
    for (const char* name : {"out.csv", "out.ics", "layout.txt", "report.csv"})
        EXPECT_EQ(mode(File(name)), 0600u) << name;
    EXPECT_NE(test::ReadFile(File("out.csv")).find("Private"), std::string::npos);
    EXPECT_NE(test::ReadFile(File("report.csv")).find("Private"), std::string::npos);
}

}  // namespace
}  // namespace hrln::cli
