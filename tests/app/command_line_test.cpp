#include "app/command_line.h"
#include "app/message_log.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace hrln::app {
namespace {

ProgramOptions Read(std::vector<std::string_view> args)
{
    return ReadProgramOptions(args);
}

TEST(ProgramOptionsTest, ShortAndLongFormsMeanTheSame)
{
    EXPECT_EQ(Read({}).action, ProgramOptions::Action::Run);
    for (const auto& [shortForm, longForm] : std::vector<std::pair<std::string_view, std::string_view>>{
             {"-m", "--minimized"}, {"-v", "--verbose"}}) {
        for (const std::string_view form : {shortForm, longForm}) {
            SCOPED_TRACE(std::string(form));
            const ProgramOptions options = Read({form});
            EXPECT_EQ(options.action, ProgramOptions::Action::Run);
            EXPECT_EQ(options.minimized, longForm == "--minimized");
            EXPECT_EQ(options.verbose, longForm == "--verbose");
        }
    }
    const ProgramOptions both = Read({"--verbose", "-m"});
    EXPECT_TRUE(both.verbose);
    EXPECT_TRUE(both.minimized);
    EXPECT_EQ(Read({"-h"}).action, ProgramOptions::Action::Help);
    EXPECT_EQ(Read({"--version"}).action, ProgramOptions::Action::Version);
    EXPECT_EQ(Read({"-V"}).action, ProgramOptions::Action::Version);
}

TEST(ProgramOptionsTest, HelpWinsAndUnknownWordsAreRefusedByName)
{
    // --help answers even after a word that would be refused.
    EXPECT_EQ(Read({"--bogus", "--help"}).action, ProgramOptions::Action::Help);
    EXPECT_EQ(Read({"--version", "--help"}).action, ProgramOptions::Action::Help);

    const ProgramOptions unknown = Read({"-m", "--bogus", "--other"});
    EXPECT_EQ(unknown.action, ProgramOptions::Action::Fail);
    EXPECT_EQ(unknown.problem, "unknown option '--bogus'") << "the first bad word is named";

    const ProgramOptions stray = Read({"schedule.db"});
    EXPECT_EQ(stray.action, ProgramOptions::Action::Fail);
    EXPECT_EQ(stray.problem, "unexpected argument 'schedule.db'");
    // A refused line is not answered with the version.
    EXPECT_EQ(Read({"--bogus", "--version"}).action, ProgramOptions::Action::Fail);
}

TEST(ProgramOptionsTest, HelpNamesEveryOptionAndTheDataFolder)
{
    const std::string help = ProgramHelp("/home/u/.local/share/horalyn");
    EXPECT_TRUE(help.starts_with("Usage: horalyn [OPTION]...\n"));
    for (const char* option : {"--minimized", "--verbose", "--help", "--version", "HORALYN_DEBUG"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_NE(help.find("Data folder: /home/u/.local/share/horalyn\n"), std::string::npos);
    EXPECT_EQ(ProgramVersion(), "horalyn " HRLN_VERSION "\n");
}

TEST(MessageLogTest, DebuggingOnlyWhenAskedWarningsAndErrorsAlways)
{
    EXPECT_FALSE(LogLine(LogLevel::Debug, false, "opened"));
    EXPECT_FALSE(LogLine(LogLevel::Info, false, "opened"));
    EXPECT_EQ(LogLine(LogLevel::Debug, true, "opened"), "horalyn: debug: opened\n");
    EXPECT_EQ(LogLine(LogLevel::Info, true, "opened"), "horalyn: opened\n");
    for (const bool verbose : {false, true}) {
        EXPECT_EQ(LogLine(LogLevel::Warning, verbose, "no tray"), "horalyn: warning: no tray\n");
        EXPECT_EQ(LogLine(LogLevel::Critical, verbose, "no database"), "horalyn: error: no database\n");
        EXPECT_EQ(LogLine(LogLevel::Fatal, verbose, "gone"), "horalyn: fatal: gone\n");
    }
    // A message of several lines stays one line, without trailing blanks.
    EXPECT_EQ(LogLine(LogLevel::Warning, false, "cannot open\nschedule.db\n"),
              "horalyn: warning: cannot open schedule.db\n");
}

TEST(MessageLogTest, TheEnvironmentAsksForDebuggingUnlessEmptyOrZero)
{
    EXPECT_FALSE(DebugFromEnvironment(nullptr));
    EXPECT_FALSE(DebugFromEnvironment(""));
    EXPECT_FALSE(DebugFromEnvironment("0"));
    EXPECT_TRUE(DebugFromEnvironment("1"));
    EXPECT_TRUE(DebugFromEnvironment("yes"));
}

}  // namespace
}  // namespace hrln::app
