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
    ActiveIs(question);
    if (testing::Test::HasFatalFailure())
        return;
    Keys(answer);
    Gone(question);
    if (testing::Test::HasFatalFailure())
        return;
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
    ActivateTitled("Changing a Schedule Task");
    if (testing::Test::HasFatalFailure())
        return;
    Keys("alt+s");
    ActivateTitled("Scripting");
    if (testing::Test::HasFatalFailure())
        return;
    Keys("alt+a");
    ActivateTitled("Adding Scripting");
    if (testing::Test::HasFatalFailure())
        return;
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
    OpenDesktop(desktop, home);
    if (HasFatalFailure())
        return;
    WriteFile((home / "horalyn" / data::kSettingsFile).string(), "[Settings]\nFullSchedule=1\n");
    const std::string file = (home / "horalyn" / data::kMainDatabaseFile).string();
    const std::string id = Trimmed(CommandOutput(std::string(HORALYN_CLI) +
                                                 " add --task-type 'Run Program' --description Scripted --command N/A"
                                                 " --type Yearly --date 2099-01-01 --time 09:00"));
    ASSERT_FALSE(id.empty());
    const long long task = std::stoll(id);
    const pid_t program = desktop.start({HORALYN_PROGRAM});
    ActivateFrame();
    OpenKeyList();
    if (HasFatalFailure())
        return;

    // "&Find..." for a text the list lacks: the search ends at the end of
    // the file and asks whether to start again.
    const std::string viewer = "List of Key Abbreviations";
    Keys("alt+f");
    ActiveIs("Searching Text...");
    if (HasFatalFailure())
        return;
    Type("qqzzqq");
    AskAndAnswer("Return", "Find", viewer, "Escape");
    if (HasFatalFailure())
        return;
    // The search window keeps the text; Return finds again and asks again.
    Keys("alt+f");
    ActiveIs("Searching Text...");
    if (HasFatalFailure())
        return;
    AskAndAnswer("Return", "Find", viewer, "Return");
    if (HasFatalFailure())
        return;

    // Alt+O is the schedule browser's "Cl&ose" behind all these windows: with
    // the question open it reaches nothing, and the question stays.
    Keys("alt+f");
    ActiveIs("Searching Text...");
    if (HasFatalFailure())
        return;
    Keys("Return");
    ActiveIs("Find");
    if (HasFatalFailure())
        return;
    Keys("alt+o");
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    ASSERT_TRUE(Running(program)) << "the program ended";
    EXPECT_TRUE(Shown("Find")) << VisibleTitles();
    EXPECT_TRUE(Shown("Changing a Schedule Task")) << VisibleTitles();
    Keys("Escape");
    ActiveIs(viewer);
    if (HasFatalFailure())
        return;

    // Closed, the viewer, the unsaved item and the script leave no item behind.
    Keys("alt+c");
    ActiveIs("Adding Scripting");
    if (HasFatalFailure())
        return;
    Keys("Escape");
    ActiveIs("Scripting");
    if (HasFatalFailure())
        return;
    EXPECT_EQ(ScriptRows(file, task), 0);
    const std::string form = "Changing a Schedule Task";
    Keys("alt+o");
    ActiveIs(form);
    if (HasFatalFailure())
        return;

    // The form afresh, the focus on its description: a date that is none,
    // finished with Return, is one box, and the Return goes no further to
    // "&OK"; leaving the entry asks no more.
    Keys("Escape");
    Gone(form);
    if (HasFatalFailure())
        return;
    Keys("Return");
    ActiveIs(form);
    if (HasFatalFailure())
        return;
    // Back to the pages' tabs, then "When".
    ASSERT_EQ(DesktopSession::run({"xdotool", "key", "--delay", "80", "shift+Tab", "shift+Tab", "shift+Tab", "Right"}),
              0);
    Keys("alt+n");
    Keys("ctrl+a");
    Type("2027-02-31");
    AskAndAnswer("Return", "Invalid Entry", form, "Return");
    if (HasFatalFailure())
        return;
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
    ActiveIs("Select Date");
    if (HasFatalFailure())
        return;
    for (const char* answer : {"Return", "Escape"}) {
        Keys("alt+y");
        Keys("ctrl+a");
        Type("1700");
        AskAndAnswer("Return", "Error Message", "Select Date", answer);
        if (HasFatalFailure())
            return;
    }
    Keys("alt+o");
    ActiveIs(form);
    if (HasFatalFailure())
        return;
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
    StartProgram(desktop, file);
    if (HasFatalFailure())
        return;
    // Browse, Wizards, Add Message; on to the page of dates.
    Keys("alt+b");
    Keys("w");
    Keys("m");
    const std::string wizard = "Add Message Wizard";
    ActivateTitled(wizard);
    if (HasFatalFailure())
        return;
    Keys("alt+d");
    Type("Wizard question");
    Keys("alt+n");
    // An advance warning 230 years on from the empty one, long after the
    // task (today), finished with Return: refused in a box over the wizard.
    for (const char* answer : {"Return", "Escape"}) {
        Keys("alt+a");
        ASSERT_EQ(DesktopSession::run({"xdotool", "key", "--delay", "40", "--repeat", "23", "Prior"}), 0);
        AskAndAnswer("Return", "Warning", wizard, answer);
        if (HasFatalFailure())
            return;
    }
    Keys("Escape");
    Gone(wizard);
}

}  // namespace
}  // namespace hrln::test
