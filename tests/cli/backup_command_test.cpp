#include "data_folder_test.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hrln::cli {
namespace {

class BackupCommandTest : public DataFolderTest {
protected:
    std::string File(const std::string& name) const { return (temp_.path() / name).string(); }
};

// The copy, put in place of the database of another data folder as the help
// says, gives the same schedule there.
TEST_F(BackupCommandTest, ACopyPutBackInAnotherDataFolderListsTheSame)
{
    ASSERT_EQ(Run({"add", "--description", "Water the plants", "--date", "2027-03-06", "--time", "08:00"}).status, 0);
    ASSERT_EQ(Run({"add", "--description", "Stand up", "--type", "Custom", "--every", "2", "--unit", "hour(s)",
                   "--time", "+3600"})
                  .status,
              0);
    const CliResult listed = Run({"list"});
    const CliResult copied = Run({"backup", File("copy.tps")});
    ASSERT_EQ(copied.status, 0) << copied.err;
    EXPECT_EQ(copied.out, "The database was copied to " + File("copy.tps") + "\n");

    const std::string second = File("second");
    std::filesystem::create_directories(second + "/horalyn");
    std::filesystem::copy_file(File("copy.tps"), second + "/horalyn/HRLN.TPS");
    setenv("XDG_DATA_HOME", second.c_str(), 1);
    EXPECT_EQ(Run({"list"}).out, listed.out);
}

TEST_F(BackupCommandTest, ACopyNeedsOneFileAndADatabaseAndNeverReplacesTheDatabase)
{
    ExpectRefused(Run({"backup"}), {"backup"});
    ExpectRefused(Run({"backup", "a.tps", "b.tps"}), {"backup", "a.tps", "b.tps"});
    // No database yet: nothing to copy, and none is made.
    EXPECT_EQ(Run({"backup", File("copy.tps")}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(File("copy.tps")));
    ASSERT_EQ(Run({"add", "--description", "x", "--date", "2027-03-06", "--time", "08:00"}).status, 0);
    const CliResult onto = Run({"backup", DatabasePath()});
    EXPECT_EQ(onto.status, 2);
    EXPECT_EQ(Run({"list"}).status, 0);
    EXPECT_NE(Run({"list"}).out.find("x"), std::string::npos);
}

}  // namespace
}  // namespace hrln::cli
