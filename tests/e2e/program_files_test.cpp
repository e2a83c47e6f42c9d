// The real program's files: what it makes or finds in its data folder is its
// user's alone, and a second start hands over to the first and says so.
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace hrln::test {
namespace {

unsigned ModeOf(const std::filesystem::path& path)
{
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 01000000u;
}

TEST(ProgramFilesTest, TheDataFolderAndEveryFileInItAreTheUsersAlone)
{
    if (!DesktopSession::XvfbInstalled())
        GTEST_SKIP() << DesktopSession::kNoXvfb;
    DesktopSession desktop;
    std::filesystem::path home;
    OpenDesktop(desktop, home);
    if (HasFatalFailure())
        return;
    // As an older version left it, under the usual mask.
    const std::filesystem::path folder = home / "horalyn";
    const mode_t mask = ::umask(022);
    ::chmod(folder.c_str(), 0755);
    WriteFile((folder / "HRLN.INI").string(), "[Settings]\nLogEvents=1\n");

    const pid_t program = desktop.start({HORALYN_PROGRAM});
    ASSERT_TRUE(WaitUntil([] {
        return !CommandOutput("xdotool search --onlyvisible --name '^Horalyn 97' 2>/dev/null").empty();
    })) << "no frame";
    // Bounded: a start that failed to hand over would run on as a second program.
    const std::string second =
        CommandOutput("timeout 20 '" + std::string(HORALYN_PROGRAM) + "' 2>&1; echo \"status $?\"");
    EXPECT_NE(second.find("already running"), std::string::npos) << second;
    EXPECT_NE(second.find("status 0"), std::string::npos) << second;
    desktop.stop(program);
    ::umask(mask);

    EXPECT_EQ(ModeOf(folder), 0700u);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_EQ(ModeOf(entry.path()), 0600u) << entry.path().filename();
        ++files;
    }
    for (const char* name : {"HRLN.TPS", "TagFile_.TPS", "HRLN.INI", "POSITION.INI", "HRLNEvnt.LOG"})
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    EXPECT_GE(files, 5);
}

}  // namespace
}  // namespace hrln::test
