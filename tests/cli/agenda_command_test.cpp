#include "cli_run.h"
#include "data_folder_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace hrln::cli {
namespace {

// date, time, state, ID and description of each line; task and schedule type checked apart.
std::vector<std::string> Lines(const std::string& out)
{
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string f; std::getline(cells, f, '\t');)
            fields.push_back(f);
        EXPECT_EQ(fields.size(), 7u) << line;
        if (fields.size() == 7)
            lines.push_back(fields[0] + ' ' + fields[1] + ' ' + fields[2] + ' ' + fields[3] + ' ' + fields[6]);
    }
    return lines;
}

class AgendaCommandTest : public DataFolderTest {
protected:
    // The clock stands at Friday 2027-03-05 14:30.
    void AddWeek()
    {
        ASSERT_EQ(Run({"add", "--description", "Standup", "--type", "Day of Week", "--days", "mon,tue,wed,thu,fri",
                       "--date", "2027-03-05", "--time", "09:00"})
                      .status,
                  0);
        ASSERT_EQ(Run({"add", "--description", "Call", "--date", "2027-03-06", "--time", "10:00"}).status, 0);
        ASSERT_EQ(Run({"add", "--description", "Water the plants", "--type", "Custom", "--every", "2", "--unit",
                       "day(s)", "--date", "2027-03-07", "--time", "08:00", "--skip-next"})
                      .status,
                  0);
        ASSERT_EQ(Run({"add", "--description", "Off", "--date", "2027-03-06", "--time", "11:00", "--disabled"}).status,
                  0);
        ASSERT_EQ(Run({"add", "--description", "Next week", "--date", "2027-03-12", "--time", "00:00"}).status, 0);
    }
};

TEST_F(AgendaCommandTest, ListsTheComingWeekInTimeOrder)
{
    AddWeek();
    const CliResult week = Run({"agenda"});
    ASSERT_EQ(week.status, 0) << week.err;
    EXPECT_EQ(week.err, "");
    const std::vector<std::string> expected{
        "2027-03-05 09:00:00 late 1 Standup",  // passed this morning, not yet performed
        "2027-03-06 10:00:00 due 2 Call",
        "2027-03-07 08:00:00 skip 3 Water the plants",
        "2027-03-08 09:00:00 due 1 Standup",
        "2027-03-09 08:00:00 due 3 Water the plants",
        "2027-03-09 09:00:00 due 1 Standup",
        "2027-03-10 09:00:00 due 1 Standup",
        "2027-03-11 08:00:00 due 3 Water the plants",
        "2027-03-11 09:00:00 due 1 Standup",
    };
    EXPECT_EQ(Lines(week.out), expected);
    EXPECT_NE(week.out.find("\tDisplay Message\tDay of Week\tStandup\n"), std::string::npos) << week.out;

    // One day is the rest of today; the days end at midnight, not at this hour.
    EXPECT_EQ(Lines(Run({"agenda", "--days", "1"}).out),
              std::vector<std::string>(expected.begin(), expected.begin() + 1));
    EXPECT_EQ(Lines(Run({"agenda", "--days=2"}).out), std::vector<std::string>(expected.begin(), expected.begin() + 2));
    const std::vector<std::string> eight = Lines(Run({"agenda", "--days", "8"}).out);
    ASSERT_EQ(eight.size(), expected.size() + 2);
    EXPECT_EQ(eight[expected.size()], "2027-03-12 00:00:00 due 5 Next week");
    EXPECT_EQ(eight.back(), "2027-03-12 09:00:00 due 1 Standup");  // a Friday again
}

TEST_F(AgendaCommandTest, RefusesBadDaysAndAMissingSchedule)
{
    const CliResult missing = Run({"agenda"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_FALSE(std::filesystem::exists(DatabasePath()));

    AddWeek();
    for (const std::vector<std::string_view>& args :
         {std::vector<std::string_view>{"agenda", "--days", "0"}, {"agenda", "--days", "367"},
          {"agenda", "--days", "seven"}, {"agenda", "--days"}, {"agenda", "tomorrow"}, {"agenda", "--count", "3"}})
        ExpectRefused(Run(args), args);
    EXPECT_EQ(Run({"agenda", "--days", "366"}).status, 0);
    EXPECT_NE(Run({"agenda", "--help"}).out.find("Usage: horalyn-cli agenda"), std::string::npos);
}

}  // namespace
}  // namespace hrln::cli
