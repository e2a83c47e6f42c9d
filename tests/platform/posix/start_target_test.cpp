#include "platform/posix/start_target.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace hrln::test {
namespace {

namespace fs = std::filesystem;
using platform::posix::LooksLikeUrl;
using platform::posix::ResolveStartTarget;
using Kind = platform::posix::StartTarget::Kind;

class StartTargetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "hrln-target-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        std::ofstream(dir / "notes.txt") << "text";
        std::ofstream(dir / "tool") << "#!/bin/sh\n";
        fs::permissions(dir / "tool", fs::perms::owner_all);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(StartTargetTest, PathsAreProgramsDocumentsOrMissingAtTheRightLevel)
{
    EXPECT_EQ(ResolveStartTarget((dir / "tool").string(), "").kind, Kind::Program);
    EXPECT_EQ(ResolveStartTarget((dir / "notes.txt").string(), "").kind, Kind::Document);
    EXPECT_EQ(ResolveStartTarget(dir.string(), "").kind, Kind::Document);  // a folder opens too
    EXPECT_EQ(ResolveStartTarget((dir / "nothing.txt").string(), "").kind, Kind::NotFound);
    EXPECT_EQ(ResolveStartTarget((dir / "no folder" / "x").string(), "").kind, Kind::PathNotFound);
    EXPECT_EQ(ResolveStartTarget((dir / "notes.txt" / "x").string(), "").kind, Kind::PathNotFound);
}

TEST_F(StartTargetTest, RelativeNamesAreTakenFromTheStartFolder)
{
    const auto relative = ResolveStartTarget("./tool", dir.string());
    EXPECT_EQ(relative.kind, Kind::Program);
    EXPECT_EQ(relative.path, (dir / "./tool").string());
    // A bare name is a program on PATH, or a document in the folder, never
    // a program from the folder (as a shell would have it).
    EXPECT_EQ(ResolveStartTarget("notes.txt", dir.string()).kind, Kind::Document);
    EXPECT_EQ(ResolveStartTarget("tool", dir.string()).kind, Kind::NotFound);
    const auto sh = ResolveStartTarget("sh", dir.string());
    EXPECT_EQ(sh.kind, Kind::Program);
    EXPECT_EQ(fs::path(sh.path).filename(), "sh");
}

TEST_F(StartTargetTest, UnreadableFileIsAccessDenied)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    fs::permissions(dir / "notes.txt", fs::perms::none);
    EXPECT_EQ(ResolveStartTarget((dir / "notes.txt").string(), "").kind, Kind::AccessDenied);
}

TEST(StartTargetUrlTest, UrlsNeedASchemeOfTwoOrMoreCharacters)
{
    EXPECT_TRUE(LooksLikeUrl("https://example.org/a b"));
    EXPECT_TRUE(LooksLikeUrl("mailto:someone@example.org"));
    EXPECT_TRUE(LooksLikeUrl("x-scheme+1.2:payload"));
    EXPECT_FALSE(LooksLikeUrl("C:\\file.txt"));
    EXPECT_FALSE(LooksLikeUrl("notes.txt"));
    EXPECT_FALSE(LooksLikeUrl("/tmp/a:b"));
    EXPECT_FALSE(LooksLikeUrl("1http://x"));
    EXPECT_FALSE(LooksLikeUrl("http:"));
    EXPECT_EQ(ResolveStartTarget("https://example.org", "").kind, Kind::Document);
}

}  // namespace
}  // namespace hrln::test
