// The files of the data folder are the user's alone, and the programs a task
// starts still make files with the user's own mask.
#include "platform/posix/data_folder.h"
#include "platform/posix/private_files.h"
#include "platform/posix/spawn.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace hrln::platform::posix {
namespace {

unsigned ModeOf(const std::filesystem::path& path)
{
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0)
        return 01000000;
    return st.st_mode & 07777;
}

void Touch(const std::filesystem::path& path)
{
    std::ofstream(path) << "x";
}

TEST(PrivateFilesTest, AnExistingDataFolderAndItsFilesAreClosedToOthers)
{
    test::TempDir home;
    const std::filesystem::path folder = home.path() / "horalyn";
    std::filesystem::create_directory(folder);
    ::chmod(folder.c_str(), 0755);
    for (const char* name : {"HRLN.TPS", "HRLN.TPS-wal", "HRLN.INI", "POSITION.INI", "HRLNEvnt.LOG"}) {
        Touch(folder / name);
        ::chmod((folder / name).c_str(), 0644);
    }
    ::chmod((folder / "HRLN.INI").c_str(), 0664);
    Touch(home.path() / "elsewhere");
    ::chmod((home.path() / "elsewhere").c_str(), 0644);
    // A link in the folder is not followed to a file outside it.
    std::filesystem::create_symlink(home.path() / "elsewhere", folder / "link");

    ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    const std::filesystem::path before = std::filesystem::current_path();
    std::string error;
    ASSERT_TRUE(EnterDataFolder(error)) << error;
    std::filesystem::current_path(before);
    ::unsetenv("XDG_DATA_HOME");

    EXPECT_EQ(ModeOf(folder), 0700u);
    for (const char* name : {"HRLN.TPS", "HRLN.TPS-wal", "HRLN.INI", "POSITION.INI", "HRLNEvnt.LOG"})
        EXPECT_EQ(ModeOf(folder / name), 0600u) << name;
    EXPECT_EQ(ModeOf(home.path() / "elsewhere"), 0644u);

    // A folder made anew is private from the start.
    test::TempDir other;
    ::setenv("XDG_DATA_HOME", other.path().c_str(), 1);
    ASSERT_TRUE(EnterDataFolder(error)) << error;
    std::filesystem::current_path(before);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(ModeOf(other.path() / "horalyn"), 0700u);
}

TEST(PrivateFilesTest, NewFilesArePrivateButStartedProgramsKeepTheUsersMask)
{
    const mode_t original = ::umask(022);
    KeepNewFilesPrivate();
    test::TempDir dir;
    Touch(dir.path() / "ours");
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_EQ(ModeOf(dir.path() / "ours"), 0600u);
    EXPECT_EQ(ModeOf(dir.path() / "folder"), 0700u);
    ASSERT_TRUE(UserFileMask().has_value());
    EXPECT_EQ(*UserFileMask(), 022u);

    // A task's program makes its files as the user would.
    const std::string theirs = (dir.path() / "theirs").string();
    SpawnRequest request;
    request.arguments = {"/bin/sh", "-c", "umask > '" + theirs + "'"};
    const SpawnResult started = Spawn(request);
    ASSERT_EQ(started.error, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(started.pid, &status, 0), started.pid);
    std::ifstream in(theirs);
    std::string mask;
    in >> mask;
    EXPECT_EQ(mask, "0022");
    EXPECT_EQ(ModeOf(theirs), 0644u);
    // And ours stays private after the start.
    Touch(dir.path() / "after");
    EXPECT_EQ(ModeOf(dir.path() / "after"), 0600u);
    ::umask(original);
}

}  // namespace
}  // namespace hrln::platform::posix
