#include "data_folder_test.h"

#include "pdf_text.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace hrln::cli {
namespace {

class ReportCommandTest : public DataFolderTest {
protected:
    void SetUp() override
    {
        DataFolderTest::SetUp();
        ASSERT_EQ(Run({"add", "--description", "Dentist", "--date", "2027-03-09", "--time", "10:15", "--category",
                       "Health", "--message", "Bring the \x1b[31mcard\x1b[0m"})
                      .status,
                  0);
        ASSERT_EQ(Run({"add", "--description", "Pay rent", "--type", "Day of Month", "--days", "fri", "--ordinals",
                       "last", "--date", "2027-03-26", "--time", "09:00", "--category", "Home"})
                      .status,
                  0);
        ASSERT_EQ(Run({"add", "--description", "Old one", "--date", "2027-03-07", "--time", "08:00", "--disabled"})
                      .status,
                  0);
    }
    std::string File(const std::string& name) const { return (temp_.path() / name).string(); }
};

TEST_F(ReportCommandTest, PlainTextGoesToStandardOutputWithTheRuleInWords)
{
    const CliResult run = Run({"report", "schedule-date"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out.starts_with("Schedule by Date\n")) << run.out;
    EXPECT_NE(run.out.find("Printed: March 5, 2027 2:30 PM"), std::string::npos);
    const auto dentistDay = run.out.find("Tuesday, March 9, 2027\n");
    const auto rentDay = run.out.find("Friday, March 26, 2027\n");
    ASSERT_NE(dentistDay, std::string::npos) << run.out;
    ASSERT_NE(rentDay, std::string::npos);
    EXPECT_LT(dentistDay, run.out.find("Dentist"));
    EXPECT_LT(run.out.find("Dentist"), rentDay);
    EXPECT_NE(run.out.find("Every last Friday of the month"), std::string::npos);  // wrapped in its column
    EXPECT_EQ(run.out.find("Old one"), std::string::npos);  // disabled
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << "a control character reached the terminal";
    EXPECT_NE(run.out.find("Bring the \xEF\xBF\xBD[31mcard"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("2 rows\n"));

    const CliResult withOld = Run({"report", "brief", "--disabled", "--to", "2027-03-09"});
    ASSERT_EQ(withOld.status, 0) << withOld.err;
    EXPECT_NE(withOld.out.find("Old one"), std::string::npos);
    EXPECT_EQ(withOld.out.find("Pay rent"), std::string::npos);
    EXPECT_NE(withOld.out.find("Up to March 9, 2027; disabled tasks included"), std::string::npos);
}

TEST_F(ReportCommandTest, CsvGoesToAFileNamedFromWhereTheCommandStarted)
{
    std::filesystem::current_path(temp_.path());
    const CliResult run = Run({"report", "category", "--category", "HOME", "--format", "csv", "--output", "rent.csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(test::ReadFile(File("rent.csv")),
              "\"Category\",\"Date\",\"Time\",\"Task\",\"Type\",\"Repeats\",\"Details\"\r\n"
              "\"Home\",\"Mar 26, 2027\",\"9:00 AM\",\"Pay rent\",\"Display Message\","
              "\"Every last Friday of the month at 9:00 AM\",\"\"\r\n");
}

TEST_F(ReportCommandTest, WrongNamesAndChoicesAreRefused)
{
    const std::vector<std::vector<std::string_view>> bad = {
        {"report"},
        {"report", "weekly"},
        {"report", "brief", "extra"},
        {"report", "brief", "--format", "html"},
        {"report", "brief", "--from", "2027-02-30"},
        {"report", "brief", "--from", "2027-03-09", "--to", "2027-03-01"},
        {"report", "category"},
        {"report", "categories", "--category", "Home"},
        {"report", "todo-priority", "--history"},
        {"report", "brief", "--open"},
        {"report", "brief", "--format", "pdf"},  // no page drawing in the library alone
    };
    for (const auto& args : bad)
        ExpectRefused(Run(args), args);
    const CliResult unwritable = Run({"report", "brief", "--output", File("no/such/folder/r.txt")});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}

// The program itself draws the PDF without a display.
TEST_F(ReportCommandTest, TheProgramWritesAPdfReport)
{
    const std::string pdf = File("schedule.pdf");
    const std::string command = "env -u DISPLAY XDG_DATA_HOME='" + temp_.path().string() + "' '" + HORALYN_CLI_PATH +
                                "' report schedule-category --format pdf --output '" + pdf + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string said;
    char buf[256];
    while (std::fgets(buf, sizeof buf, pipe) != nullptr)
        said += buf;
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << said;
    EXPECT_EQ(said, "");
    const auto pages = test::PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    std::vector<std::string> order;
    for (const std::string& line : pages[0])
        for (const char* want : {"Health", "Dentist", "Home", "Pay rent", "Page 1 of 1"})
            if (line.find(want) != std::string::npos)
                order.emplace_back(want);
    EXPECT_EQ(order, (std::vector<std::string>{"Health", "Dentist", "Home", "Pay rent", "Page 1 of 1"}));
}

}  // namespace
}  // namespace hrln::cli
