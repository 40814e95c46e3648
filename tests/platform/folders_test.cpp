// Creating folder chains and the existence and listing questions.
#include "platform/folders.h"

#include "support/test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace testing_support;

namespace {

TEST(ForceDirectoriesTest, CreatesMissingParentsAndAcceptsExistingFolders) {
    TTempDir dir;
    const std::string deep = dir / "a/b//c/";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(dir / "a/b/c"));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(ForceDirectories(dir.Path()));

    struct stat st {};
    ASSERT_EQ(stat((dir / "a").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u) << "new folders are private to the user";
}

TEST(ForceDirectoriesTest, FailsWhenAFileIsInTheWay) {
    TTempDir dir;
    WriteFileBytes(dir / "file", "x");
    EXPECT_FALSE(ForceDirectories(dir / "file"));
    EXPECT_FALSE(ForceDirectories(dir / "file/below"));
    EXPECT_FALSE(ForceDirectories(""));
}

TEST(FolderQueriesTest, TellFilesFromFoldersAndListEntries) {
    TTempDir dir;
    WriteFileBytes(dir / "one.txt", "1");
    WriteFileBytes(dir / ".hidden", "2");
    ASSERT_TRUE(ForceDirectories(dir / "sub"));

    EXPECT_TRUE(FileExists(dir / "one.txt"));
    EXPECT_FALSE(FileExists(dir / "sub"));
    EXPECT_FALSE(FileExists(dir / "missing"));
    EXPECT_TRUE(DirectoryExists(dir / "sub"));
    EXPECT_FALSE(DirectoryExists(dir / "one.txt"));

    std::vector<std::string> names{"stale"};
    ASSERT_TRUE(ListFolderEntries(dir.Path(), names));
    EXPECT_THAT(names, ::testing::UnorderedElementsAre("one.txt", ".hidden", "sub"));
    EXPECT_FALSE(ListFolderEntries(dir / "missing", names));
    EXPECT_TRUE(names.empty());
}

}  // namespace

namespace {

TEST(XdgCacheHomeTest, FollowsXdgCacheHomeOnlyWhenAbsoluteElseHomeCache) {
    TTempDir home;
    TEnvGuard homeEnv("HOME", home.Path());
    {
        TEnvGuard unset("XDG_CACHE_HOME", std::nullopt);
        EXPECT_EQ(XdgCacheHome(), home / ".cache");
    }
    {
        TEnvGuard absolute("XDG_CACHE_HOME", "/srv/cache//");
        EXPECT_EQ(XdgCacheHome(), "/srv/cache");
    }
    {
        TEnvGuard relative("XDG_CACHE_HOME", "relative/cache");
        EXPECT_EQ(XdgCacheHome(), home / ".cache");
    }
    TEnvGuard rootHome("HOME", "/");
    TEnvGuard unset("XDG_CACHE_HOME", std::nullopt);
    EXPECT_EQ(XdgCacheHome(), "/.cache");
}

}  // namespace
