// The real program on a private display: a contact is added by keyboard and
// linked to a task through the link form and its task selector; deleting the
// task takes the link and leaves the contact.
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

// "ClientID:LastName" of every contact and "ID-ClientID" of every link, as stored.
struct Stored {
    std::vector<std::string> contacts;
    std::vector<std::string> links;
    std::vector<data::Long> tasks;
};

Stored Read(const std::string& file)
{
    data::Database db(file, data::MainLayout());
    Stored out;
    if (db.open(data::AccessMode::ReadOnly) != data::kOk)
        return out;
    data::Table<data::ContactRecord> c(db);
    c.set(data::ContactRecord::KeyClientID);
    while (c.next() == data::kOk)
        out.contacts.push_back(std::to_string(c.rec.clientId) + ":" + c.rec.lastName.str());
    data::Table<data::LinkRecord> l(db);
    l.set(data::LinkRecord::KeySchedule);
    while (l.next() == data::kOk)
        out.links.push_back(std::to_string(l.rec.id) + "-" + std::to_string(l.rec.clientId));
    data::Table<data::ScheduleRecord> s(db);
    s.set(data::ScheduleRecord::KeyID);
    while (s.next() == data::kOk)
        out.tasks.push_back(s.rec.id);
    return out;
}

TEST(ContactProgramTest, AContactAddedByKeyboardIsLinkedToATaskAndTheLinkGoesWithTheTask)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::string file;
    StartProgram(desktop, file);
    if (testing::Test::HasFatalFailure())
        return;
    // Due in an hour: it stands in the schedule while the test runs.
    ASSERT_EQ(DesktopSession::run({HORALYN_CLI, "add", "--description", "Call the plumber", "--message",
                                   "About the boiler", "--time", "+3600"}),
              0);
    ASSERT_TRUE(WaitUntil([&] { return Read(file).tasks.size() == 1; })) << "no task";
    const data::Long task = Read(file).tasks.front();

    // Browse, Contacts; "&Add" opens the form on a new contact.
    ActivateFrame();
    Keys("alt+b");
    Keys("c");
    Keys("alt+a");
    ASSERT_TRUE(WaitUntil([] { return Shown("Adding a Contact Record"); })) << "no contact form";
    Type("Okafor");
    // "&Insert" under Related Tasks: the link form, its selector, the task.
    Keys("alt+i");
    ASSERT_TRUE(WaitUntil([] { return Shown("Adding a Link Record"); })) << "no link form";
    Keys("Return");  // the focus stands on "&Select Task..."
    ASSERT_TRUE(WaitUntil([] { return Shown("Select a Task"); })) << "no task selector";
    Keys("alt+t");
    ASSERT_TRUE(WaitUntil([] { return !Shown("Select a Task"); })) << "the selector stayed";
    Keys("alt+o");
    ASSERT_TRUE(WaitUntil([] { return !Shown("Adding a Link Record"); })) << "the link was not saved";
    // Back on the name, Enter is the contact form's OK.
    Keys("alt+l");
    Keys("Return");
    ASSERT_TRUE(WaitUntil([] { return !Shown("Adding a Contact Record"); })) << "the contact was not saved";
    Stored stored = Read(file);
    EXPECT_EQ(stored.contacts, std::vector<std::string>{"1:Okafor"});
    EXPECT_EQ(stored.links, std::vector<std::string>{std::to_string(task) + "-1"});

    ASSERT_EQ(DesktopSession::run({HORALYN_CLI, "delete", std::to_string(task)}), 0);
    stored = Read(file);
    EXPECT_TRUE(stored.links.empty());
    EXPECT_EQ(stored.contacts, std::vector<std::string>{"1:Okafor"});
    EXPECT_TRUE(stored.tasks.empty());
}

}  // namespace
}  // namespace hrln::test
