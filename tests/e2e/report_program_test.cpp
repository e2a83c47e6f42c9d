// The real program on a private display: a report opened from the Reports
// menu by keyboard, through its options window and its preview, is printed to
// a PDF file through the desktop's print dialog, and the file holds the tasks
// horalyn-cli stored, under their categories, in order.
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace hrln::test {
namespace {

// Brings the window titled exactly `title` forward, so keys reach it.
void Activate(const std::string& title)
{
    ASSERT_EQ(DesktopSession::run(
                  {"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$", "windowactivate", "--sync"}),
              0)
        << title;
}

std::string VisibleWindows()
{
    return CommandOutput("for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do xdotool getwindowname $w; "
                         "done");
}

// The PDF's lines with their blanks trimmed, empty lines left out.
std::vector<std::string> PdfLines(const std::string& pdf)
{
    std::istringstream text(CommandOutput("pdftotext -layout '" + pdf + "' - 2>/dev/null"));
    std::vector<std::string> out;
    for (std::string line; std::getline(text, line);) {
        const auto b = line.find_first_not_of(" \f");
        if (b != std::string::npos)
            out.push_back(line.substr(b, line.find_last_not_of(' ') - b + 1));
    }
    return out;
}

TEST(ReportProgramTest, AReportFromTheMenuIsPrintedToAPdfFileThroughThePreview)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::filesystem::path home;
    OpenDesktop(desktop, home);
    if (HasFatalFailure())
        return;

    // Stored before the program starts, added out of order; the switched-off
    // one is printed only because the options window is told to take it.
    const struct {
        const char* description;
        const char* category;
        const char* date;
        bool disabled;
    } tasks[] = {{"Water the plants", "Home", "2099-01-02", false},
                 {"Call the bank", "Work", "2099-01-01", false},
                 {"Pay the rent", "Home", "2099-01-01", false},
                 {"Cancel the magazine", "Work", "2099-01-03", true}};
    for (const auto& task : tasks) {
        std::vector<std::string> add{HORALYN_CLI,   "add",    "--description", task.description, "--category",
                                     task.category, "--date", task.date,       "--time",         "09:00"};
        if (task.disabled)
            add.emplace_back("--disabled");
        ASSERT_EQ(DesktopSession::run(add), 0) << task.description;
    }
    desktop.start({HORALYN_PROGRAM});
    ActivateFrame();
    if (testing::Test::HasFatalFailure())
        return;

    // Reports, Schedule, Category Order.
    Keys("alt+r");
    Keys("s");
    Keys("c");
    ASSERT_TRUE(WaitUntil([] { return Shown("Report Options"); })) << "no options window: " << VisibleWindows();
    Activate("Report Options");
    Keys("alt+d");   // Include disabled tasks
    Keys("Return");  // Preview, the default button
    ASSERT_TRUE(WaitUntil([] { return Shown("Schedule by Category"); })) << "no preview: " << VisibleWindows();
    ASSERT_FALSE(Shown("Report Options"));
    Activate("Schedule by Category");
    Keys("ctrl+p");
    ASSERT_TRUE(WaitUntil([] { return Shown("Print"); })) << "no print dialog: " << VisibleWindows();
    Activate("Print");
    // The PDF printer comes last among the printers; its output file is then open to typing.
    const std::string pdf = (home / "category-order.pdf").string();
    Keys("alt+n");
    Keys("End");
    Keys("alt+f");
    Keys("ctrl+a");
    Type(pdf);
    Keys("Return");  // Print, the default button
    // The preview closes once the pages are written.
    ASSERT_TRUE(WaitUntil([] { return !Shown("Print") && !Shown("Schedule by Category"); }))
        << "still shown: " << VisibleWindows();
    ASSERT_TRUE(std::filesystem::exists(pdf)) << "no PDF written";

    const std::vector<std::string> lines = PdfLines(pdf);
    ASSERT_FALSE(lines.empty()) << "pdftotext read nothing from " << pdf;
    EXPECT_EQ(lines.front(), "Schedule by Category");
    EXPECT_EQ(lines.back(), "Page 1 of 1");
    // Each group header and each task once, Home before Work, by date within each.
    const std::vector<std::string> expected{"Home", "Pay the rent",  "Water the plants",
                                            "Work", "Call the bank", "Cancel the magazine"};
    std::vector<std::string> seen;
    for (const std::string& line : lines)
        for (const std::string& want : expected)
            if (line == want || (want.find(' ') != std::string::npos && line.find(want) != std::string::npos))
                seen.push_back(want);
    EXPECT_EQ(seen, expected);
    const auto disabled = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("Cancel the magazine") != std::string::npos;
    });
    // The type column wraps its "(disabled)" mark on to the row's next line.
    ASSERT_NE(disabled, lines.end());
    ASSERT_NE(disabled + 1, lines.end());
    EXPECT_EQ(disabled[1], "(disabled)");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "disabled tasks included"), lines.end());
}

}  // namespace
}  // namespace hrln::test
