// The real program on a private display: a question belongs to the window
// that asks it. It takes Return and Escape, the focus goes back to the asking
// window once it is answered, a key meant for another window does nothing
// while it is open, and one key raises one question.
#include "data/database.h"
#include "data/records.h"
#include "data/settings.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <signal.h>
#include <string>
#include <thread>

namespace hrln::test {
namespace {

std::string Trimmed(std::string text)
{
    text.erase(text.find_last_not_of(" \n") + 1);
    return text;
}

// The title of the window the desktop has active (_NET_ACTIVE_WINDOW).
std::string ActiveTitle()
{
    return Trimmed(CommandOutput("xdotool getactivewindow getwindowname 2>/dev/null"));
}

// Waits until the window titled `title` is the active one.
void ActiveIs(const std::string& title)
{
    ASSERT_TRUE(WaitUntil([&] { return ActiveTitle() == title; }))
        << "active: \"" << ActiveTitle() << "\", expected \"" << title << "\"; shown:\n"
        << VisibleTitles();
}

void Gone(const std::string& title)
{
    ASSERT_TRUE(WaitUntil([&] { return !Shown(title); })) << "\"" << title << "\" stayed open; shown:\n"
                                                          << VisibleTitles();
}

// `key` raises the question titled `question` over the window titled
// `asker`; answered with `answer`, the focus is back in the asker.
void AskAndAnswer(const std::string& key, const std::string& question, const std::string& asker,
                  const std::string& answer)
{
    Keys(key);
    ASSERT_NO_FATAL_FAILURE(ActiveIs(question));
    Keys(answer);
    ASSERT_NO_FATAL_FAILURE(Gone(question));
    ActiveIs(asker);
}

// Every row of task `id`'s script, placeholders of unsaved items included.
int ScriptRows(const std::string& file, long long id)
{
    sqlite3* db = nullptr;
    int rows = -1;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* query = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM Script WHERE ID = ?", -1, &query, nullptr) == SQLITE_OK) {
            sqlite3_bind_int64(query, 1, id);
            if (sqlite3_step(query) == SQLITE_ROW)
                rows = sqlite3_column_int(query, 0);
        }
        sqlite3_finalize(query);
    }
    sqlite3_close(db);
    return rows;
}

bool Running(pid_t program)
{
    return kill(program, 0) == 0;
}

// From the schedule browser to the key list of a new script item of the only
// task: its form, the script, "&Add", and the keystrokes' list.
void OpenKeyList()
{
    Keys("alt+b");
    Keys("v");
    // The browser is a window inside the frame, which the desktop does not list.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Keys("Return");
    ASSERT_NO_FATAL_FAILURE(ActivateTitled("Changing a Schedule Task"));
    Keys("alt+s");
    ASSERT_NO_FATAL_FAILURE(ActivateTitled("Scripting"));
    Keys("alt+a");
    ASSERT_NO_FATAL_FAILURE(ActivateTitled("Adding Scripting"));
    // "View List of Abbreviations" follows the keystrokes.
    Keys("alt+k");
    Keys("Tab");
    Keys("space");
    ActiveIs("List of Key Abbreviations");
}

TEST(QuestionOwnerProgramTest, QuestionsOfTheKeyListFormAndCalendarBelongToThemAndTakeReturnAndEscape)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::filesystem::path home;
    ASSERT_NO_FATAL_FAILURE(OpenDesktop(desktop, home));
    WriteFile((home / "horalyn" / data::kSettingsFile).string(), "[Settings]\nFullSchedule=1\n");
    const std::string file = (home / "horalyn" / data::kMainDatabaseFile).string();
    const std::string id = Trimmed(CommandOutput(std::string(HORALYN_CLI) +
                                                 " add --task-type 'Run Program' --description Scripted --command N/A"
                                                 " --type Yearly --date 2099-01-01 --time 09:00"));
    ASSERT_FALSE(id.empty());
    const long long task = std::stoll(id);
    const pid_t program = desktop.start({HORALYN_PROGRAM});
    ActivateFrame();
    ASSERT_NO_FATAL_FAILURE(OpenKeyList());

    // "&Find..." for a text the list lacks: the search ends at the end of
    // the file and asks whether to start again.
    const std::string viewer = "List of Key Abbreviations";
    Keys("alt+f");
    ASSERT_NO_FATAL_FAILURE(ActiveIs("Searching Text..."));
    Type("qqzzqq");
    ASSERT_NO_FATAL_FAILURE(AskAndAnswer("Return", "Find", viewer, "Escape"));
    // The search window keeps the text; Return finds again and asks again.
    Keys("alt+f");
    ASSERT_NO_FATAL_FAILURE(ActiveIs("Searching Text..."));
    ASSERT_NO_FATAL_FAILURE(AskAndAnswer("Return", "Find", viewer, "Return"));

    // Alt+O is the schedule browser's "Cl&ose" behind all these windows: with
    // the question open it reaches nothing, and the question stays.
    Keys("alt+f");
    ASSERT_NO_FATAL_FAILURE(ActiveIs("Searching Text..."));
    Keys("Return");
    ASSERT_NO_FATAL_FAILURE(ActiveIs("Find"));
    Keys("alt+o");
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    ASSERT_TRUE(Running(program)) << "the program ended";
    EXPECT_TRUE(Shown("Find")) << VisibleTitles();
    EXPECT_TRUE(Shown("Changing a Schedule Task")) << VisibleTitles();
    Keys("Escape");
    ASSERT_NO_FATAL_FAILURE(ActiveIs(viewer));

    // Closed, the viewer, the unsaved item and the script leave no item behind.
    Keys("alt+c");
    ASSERT_NO_FATAL_FAILURE(ActiveIs("Adding Scripting"));
    Keys("Escape");
    ASSERT_NO_FATAL_FAILURE(ActiveIs("Scripting"));
    EXPECT_EQ(ScriptRows(file, task), 0);
    const std::string form = "Changing a Schedule Task";
    Keys("alt+o");
    ASSERT_NO_FATAL_FAILURE(ActiveIs(form));

    // The form afresh, the focus on its description: a date that is none,
    // finished with Return, is one box, and the Return goes no further to
    // "&OK"; leaving the entry asks no more.
    Keys("Escape");
    ASSERT_NO_FATAL_FAILURE(Gone(form));
    Keys("Return");
    ASSERT_NO_FATAL_FAILURE(ActiveIs(form));
    // Back to the pages' tabs, then "When".
    ASSERT_EQ(DesktopSession::run({"xdotool", "key", "--delay", "80", "shift+Tab", "shift+Tab", "shift+Tab", "Right"}),
              0);
    Keys("alt+n");
    Keys("ctrl+a");
    Type("2027-02-31");
    ASSERT_NO_FATAL_FAILURE(AskAndAnswer("Return", "Invalid Entry", form, "Return"));
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_FALSE(Shown("Invalid Entry")) << "asked again";
    Keys("Tab");
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_FALSE(Shown("Invalid Entry")) << "asked again on leaving the entry";
    EXPECT_EQ(ActiveTitle(), form);

    // The calendar of the next date: a year out of range asks, and either
    // answer brings the focus back to the calendar.
    Keys("alt+n");
    Keys("ctrl+a");
    Type("2099-01-01");
    Keys("Tab");  // its "..."
    Keys("space");
    ASSERT_NO_FATAL_FAILURE(ActiveIs("Select Date"));
    for (const char* answer : {"Return", "Escape"}) {
        Keys("alt+y");
        Keys("ctrl+a");
        Type("1700");
        ASSERT_NO_FATAL_FAILURE(AskAndAnswer("Return", "Error Message", "Select Date", answer));
    }
    Keys("alt+o");
    ASSERT_NO_FATAL_FAILURE(ActiveIs(form));
    Keys("Escape");
    Gone(form);
    EXPECT_TRUE(Running(program));
    EXPECT_EQ(ScriptRows(file, task), 0);
    desktop.stop(program);
}

TEST(QuestionOwnerProgramTest, AWizardsQuestionBelongsToTheWizard)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::string file;
    ASSERT_NO_FATAL_FAILURE(StartProgram(desktop, file));
    // Browse, Wizards, Add Message; on to the page of dates.
    Keys("alt+b");
    Keys("w");
    Keys("m");
    const std::string wizard = "Add Message Wizard";
    ASSERT_NO_FATAL_FAILURE(ActivateTitled(wizard));
    Keys("alt+d");
    Type("Wizard question");
    Keys("alt+n");
    // An advance warning typed decades on, long after the task
    // (today), finished with Return: refused in a box over the wizard.
    for (const char* answer : {"Return", "Escape"}) {
        Keys("alt+a");
        Keys("ctrl+a");
        Type("2098-01-01");
        ASSERT_NO_FATAL_FAILURE(AskAndAnswer("Return", "Warning", wizard, answer));
    }
    Keys("Escape");
    Gone(wizard);
}

}  // namespace
}  // namespace hrln::test
