#include "cli_run.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace hrln::cli {
namespace {

TEST(NextCommandTest, LastFridayOfTheMonth)
{
    const CliResult run = RunArgs({"next", "--type", "Day of Month", "--days", "fri", "--ordinals", "last", "--date",
                             "2027-01-29", "--count", "4"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "2027-01-29 00:00:00.00\n"
              "2027-02-26 00:00:00.00\n"
              "2027-03-26 00:00:00.00\n"
              "2027-04-30 00:00:00.00\n");
    EXPECT_EQ(run.err, "");
}

TEST(NextCommandTest, EachOccurrenceFollowsThePreviousOne)
{
    // Minutes cross midnight, and no occurrence is listed twice.
    CliResult run = RunArgs({"next", "--type", "Custom", "--every", "20", "--unit", "Minute(s)", "--date", "2027-12-31",
                       "--time", "23:35:10.50", "--count", "3"});
    EXPECT_EQ(run.out,
              "2027-12-31 23:35:10.50\n"
              "2027-12-31 23:55:10.50\n"
              "2028-01-01 00:15:10.50\n");

    // Months drift from a day that February lacks.
    run = RunArgs({"next", "--type=Custom", "--every=3", "--unit=MONTHS", "--date=2026-11-30", "--count=3"});
    EXPECT_EQ(run.out,
              "2026-11-30 00:00:00.00\n"
              "2027-03-02 00:00:00.00\n"
              "2027-06-02 00:00:00.00\n");

    run = RunArgs({"next", "--type", "Day of Week", "--days", "Mon,wed", "--date", "2027-03-01", "--time", "7:05",
                   "--count", "3"});
    EXPECT_EQ(run.out,
              "2027-03-01 07:05:00.00\n"
              "2027-03-03 07:05:00.00\n"
              "2027-03-08 07:05:00.00\n");

    // Ten lines unless told otherwise; a one-time task has only one.
    run = RunArgs({"next", "--type", "Monthly", "--date", "2027-01-31"});
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 10);
    EXPECT_EQ(run.out.substr(0, 46), "2027-01-31 00:00:00.00\n2027-03-03 00:00:00.00\n");
    run = RunArgs({"next", "--type", "Once", "--date", "2027-05-01", "--time", "12:00:30", "--count", "5"});
    EXPECT_EQ(run.out, "2027-05-01 12:00:30.00\n");
    // No rule goes past the last day the program keeps, 31 December 2099.
    run = RunArgs({"next", "--type", "Yearly", "--date", "2098-06-01", "--time", "09:00", "--count", "5"});
    EXPECT_EQ(run.out, "2098-06-01 09:00:00.00\n2099-06-01 09:00:00.00\n");
}

TEST(NextCommandTest, BadArgumentsGiveOneLineAndStatusTwo)
{
    const std::vector<std::vector<std::string_view>> cases = {
        {},
        {"previous"},
        {"next", "--type", "Monthly", "--date", "2027-01-01", "--colour", "red"},
        {"next", "--type", "Monthly", "--date", "2026-02-30"},
        {"next", "--type", "Monthly", "--date", "2027-1-05"},
        {"next", "--type", "Monthly", "--date", "1800-12-31"},
        {"next", "--type", "Monthly", "--date", "2100-01-01"},
        {"next", "--type", "Monthly", "--date", "2027-01-01", "--count", "0"},
        {"next", "--type", "Monthly", "--date", "2027-01-01", "--count", "ten"},
        {"next", "--type", "Day of Week", "--days", "mon,fry", "--date", "2027-01-01"},
        {"next", "--type", "Day of Month", "--days", "mon", "--ordinals", "5th", "--date", "2027-01-01"},
        {"next", "--type", "Monthly", "--date", "2027-01-01", "--time", "24:00"},
        {"next", "--type", "Monthly", "--date", "2027-01-01", "--time", "10:00:00.5"},
        {"next", "--type", "Custom", "--every", "2.5", "--unit", "days", "--date", "2027-01-01"},
        {"next", "--type", "Custom", "--unit", "fortnights", "--date", "2027-01-01"},
        {"next", "--type", "Custom", "--date", "2027-01-01"},
        {"next", "--date", "2027-01-01"},
        {"next", "--type", "Monthly"},
        {"next", "--type", "Monthly", "--date"},
    };
    for (const auto& args : cases)
        ExpectRefused(RunArgs(args), args);
}

TEST(NextCommandTest, HelpExplainsEveryOption)
{
    const CliResult run = RunArgs({"next", "--type", "Monthly", "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* option :
         {"--type", "--days", "--ordinals", "--every", "--unit", "--date", "--time", "--count", "--help"})
        EXPECT_NE(run.out.find(std::string("  ") + option), std::string::npos) << option;
    EXPECT_EQ(RunArgs({"--help"}).status, 0);
}

std::string Slurp(FILE* f)
{
    std::string text;
    char buf[256];
    while (std::fgets(buf, sizeof buf, f) != nullptr)
        text += buf;
    return text;
}

TEST(NextCommandTest, TheProgramWritesOnlyOccurrencesToStandardOutput)
{
    const std::string program = HORALYN_CLI_PATH;
    FILE* pipe = popen(("'" + program + "' next --type Yearly --date 2028-02-29 --count 3 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    const std::string out = Slurp(pipe);
    const int status = pclose(pipe);
    EXPECT_EQ(out, "2028-02-29 00:00:00.00\n2029-03-01 00:00:00.00\n2030-03-01 00:00:00.00\n");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    pipe = popen(("'" + program + "' next --type Yearly --date 2027-02-29 2>/dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(Slurp(pipe), "");
    const int badStatus = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(badStatus));
    EXPECT_EQ(WEXITSTATUS(badStatus), 2);
}

}  // namespace
}  // namespace hrln::cli
