// The real program on a private display: a message comes due, "&Add to To Do
// List" keeps it, and the to-do list opened from the frame's menu shows it, all
// by keyboard.
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hrln::test {
namespace {

std::vector<std::string> StoredItems(const std::string& file)
{
    data::Database db(file, data::MainLayout());
    std::vector<std::string> out;
    if (db.open(data::AccessMode::ReadOnly) != data::kOk)
        return out;
    data::Table<data::TodoRecord> t(db);
    t.set(data::TodoRecord::KeyToDo);
    while (t.next() == data::kOk)
        out.push_back(t.rec.toDo.str() + "|" + t.rec.category.str());
    return out;
}

void ActivateWindow(const std::string& title)
{
    ASSERT_EQ(DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$", "windowactivate",
                                   "--sync"}),
              0);
}

TEST(ToDoProgramTest, AMessageAddedToTheListShowsInTheListOpenedFromTheMenu)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::string file;
    StartProgram(desktop, file);
    if (testing::Test::HasFatalFailure())
        return;
    ASSERT_EQ(DesktopSession::run({HORALYN_CLI, "add", "--description", "Water the plants", "--message",
                                   "The ferns first", "--time", "+3"}),
              0);
    ASSERT_TRUE(WaitUntil([] { return Shown("Message"); }, std::chrono::seconds(30))) << "no message window";
    ActivateWindow("Message");
    Keys("alt+a");  // "&Add to To Do List"
    ASSERT_TRUE(WaitUntil([] { return Shown("Saved"); })) << "no word that it was added";
    ActivateWindow("Saved");
    Keys("Return");
    ASSERT_TRUE(WaitUntil([&] { return StoredItems(file) == std::vector<std::string>{"Water the plants|General"}; }))
        << "not added";

    // Browse, To Do List: Enter on the list edits its highlighted item, so a
    // form means the item is there.
    ActivateFrame();
    Keys("alt+b");
    Keys("t");
    Keys("Return");
    ASSERT_TRUE(WaitUntil([] { return Shown("Changing a To Do Item"); })) << "the list did not show the item";
    Keys("Escape");
    EXPECT_TRUE(WaitUntil([] { return !Shown("Changing a To Do Item"); }));
}

}  // namespace
}  // namespace hrln::test
