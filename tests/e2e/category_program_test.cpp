// The real program on a private display: the category list opened from the
// frame's menu, a category added and then renamed through its form, all by
// keyboard, as a user without a mouse would.
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace hrln::test {
namespace {

std::vector<std::string> StoredCategories(const std::string& file)
{
    data::Database db(file, data::MainLayout());
    std::vector<std::string> out;
    if (db.open(data::AccessMode::ReadOnly) != data::kOk)
        return out;
    data::Table<data::CategoryRecord> t(db);
    t.set(data::CategoryRecord::KeyCategory);
    while (t.next() == data::kOk)
        out.push_back(t.rec.category.str());
    return out;
}

TEST(CategoryProgramTest, AddedAndRenamedByKeyboardFromTheMenu)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    ASSERT_EQ(desktop.startDisplay(), "");
    ASSERT_EQ(desktop.startWindowManager(), "");
    const std::filesystem::path home = desktop.scratch();
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    const std::string file = (home / "horalyn" / data::kMainDatabaseFile).string();
    std::filesystem::create_directories(home / "horalyn");
    {
        data::Database db(file, data::MainLayout());
        ASSERT_EQ(db.create(), data::kOk);
        data::Table<data::CategoryRecord> t(db);
        for (const char* name : {"Alpha", "Zeta"}) {
            t.rec.category = name;
            ASSERT_EQ(t.add(), data::kOk);
        }
    }

    desktop.start({HORALYN_PROGRAM});
    ActivateFrame();

    // Browse, Schedule Categories; then Insert opens the form on the list.
    Keys("alt+b");
    Keys("g");
    Keys("Insert");
    ASSERT_TRUE(WaitUntil([] { return Shown("Adding a Categories Record"); })) << "no form for a new category";
    Type("Middle");
    Keys("Return");
    ASSERT_TRUE(WaitUntil([&] { return StoredCategories(file) == std::vector<std::string>{"Alpha", "Middle", "Zeta"}; }))
        << "not added";

    // The list now highlights the new category between the others: Enter
    // renames that one.
    ASSERT_TRUE(WaitUntil([] { return !Shown("Adding a Categories Record"); }));
    Keys("Return");
    ASSERT_TRUE(WaitUntil([] { return Shown("Changing a Categories Record"); })) << "no form for the change";
    Keys("End");
    Type("Ground");
    Keys("Return");
    EXPECT_TRUE(WaitUntil([&] {
        return StoredCategories(file) == std::vector<std::string>{"Alpha", "MiddleGround", "Zeta"};
    })) << "the highlighted category was not the one renamed";
}

}  // namespace
}  // namespace hrln::test
